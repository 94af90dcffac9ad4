#include "pages/ProjectPageOutFileName.h"

#include "app/SettingsProvider.h"
#include "pages/AbstractRow.h"
#include "pages/InterfaceText.h"
#include "uilib/controls/CComboBase.h"
#include "uilib/controls/CLinEdit.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CWidgetText.h"

#include <QRegularExpressionValidator>

namespace {

// None of slash, <, >, colon, double quote, backslash, |, ? and *.
const QString kNamePattern = QStringLiteral(R"([^\/<>:"\\|?*]+)");
const char* const kFormats[] = {"mp4", "avi", "mov", "webm"};

void storeFormat(const QVariant& value)
{
    if (SettingsProvider* settings = SettingsProvider::instance())
        settings->setOutFileFormat(value.toString());
}

} // namespace

ProjectPage::OutFileName::OutFileName()
    : m_label(new CWidgetText(1067))
    , m_name(new CLinEdit(1074))
    , m_format(new CComboBase(1032, QSizePolicy::Fixed, 1))
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(16);
    addWidget(m_label);
    addWidget(m_name);

    m_name->setMaxLength(kMaxNameLength);
    m_name->setValidator(new QRegularExpressionValidator(QRegularExpression(kNamePattern), m_name));

    for (const char* format : kFormats)
        m_format->addItem(QString::fromLatin1(format));
    m_format->setCurrentDataSilently(QStringLiteral("webm"));
    m_format->setPopupPosition(1);

    auto* frame = new CPanel(1052);
    frame->setBorderWidths(QMargins(1, 0, 0, 0));
    frame->setCursor(Qt::ArrowCursor);
    frame->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
    ensureHBoxLayout(frame)->addWidget(m_format);
    // The edit makes room for its trailing widgets as wide as they are: the frame is as wide as
    // the combo asks, not a new widget's default width.
    frame->adjustSize();
    m_name->addTrailingWidget(frame);

    QObject::connect(m_format, &CComboBase::currentDataChanged, m_format, &storeFormat);
}

ProjectPage::OutFileName::~OutFileName() = default;

void ProjectPage::OutFileName::setName(const QString& name)
{
    m_name->setText(name);
    m_name->setPlaceholderText(name);
}

void ProjectPage::OutFileName::updateTexts()
{
    m_label->setText(interfaceText(107));
}
