#include "uilib/controls/CDialogMessage.h"

#include "uilib/controls/CButton.h"
#include "uilib/controls/CPanel.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QPointer>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace {

constexpr int kLongestWrappedWord = 100;

} // namespace

bool hasOverlongWord(const QString& text)
{
    const QString visible = Qt::mightBeRichText(text) ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
    int run = 0;
    for (const QChar c : visible) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongestWrappedWord)
            return true;
    }
    return false;
}

struct CDialogMessage::Private
{
    QBoxLayout* outerLayout = nullptr;
    QBoxLayout* messageLayout = nullptr;
    CWidgetIcon* icon = nullptr;
    CWidgetText* text = nullptr;
    QPointer<QLineEdit> linkedEdit;
};

CDialogMessage::CDialogMessage(QWidget* parent, bool deferStyle)
    : CDialog(2, 1, parent, CWindow::Default, true)
    , d(new Private)
{
    CPanel* panel = contentPanel();
    d->outerLayout = qobject_cast<QBoxLayout*>(panel->layout());
    if (!d->outerLayout) {
        d->outerLayout = new QVBoxLayout(panel);
        d->outerLayout->setContentsMargins(0, 0, 0, 0);
        d->outerLayout->setSpacing(0);
    }
    const bool beside = currentPalette()->metric(6) == 1;
    if (beside)
        d->messageLayout = new QHBoxLayout();
    else
        d->messageLayout = new QVBoxLayout();
    d->messageLayout->setContentsMargins(0, 0, 0, 0);
    d->messageLayout->setSpacing(0);
    d->outerLayout->addLayout(d->messageLayout);
    d->icon = new CWidgetIcon(panel);
    d->icon->hide();
    d->text = new CWidgetText(9, panel);
    if (beside)
        d->messageLayout->addWidget(d->icon, 0);
    else
        d->messageLayout->addWidget(d->icon, 0, Qt::AlignHCenter);
    d->messageLayout->addWidget(d->text, 1);
    d->messageLayout->addStretch();
    connect(d->text, &CWidgetText::textChanged, this, &CDialogMessage::measureText);
    if (!deferStyle)
        applyStyle();
}

CDialogMessage::~CDialogMessage() = default;

CWidgetText* CDialogMessage::textLabel() const { return d->text; }

void CDialogMessage::setText(const QString& text)
{
    d->text->setText(text);
}

void CDialogMessage::measureText()
{
    if (d->text->wordWrap())
        d->text->setWrapAnywhere(hasOverlongWord(d->text->text()));
}

void CDialogMessage::setIcon(const QString& name)
{
    d->icon->setIconName(name);
    d->icon->setVisible(!name.isEmpty());
}

void CDialogMessage::setSpacing(int spacing)
{
    d->messageLayout->setSpacing(spacing);
}

void CDialogMessage::addExtraWidget(QWidget* widget, bool noDefaultLink)
{
    if (!widget)
        return;
    d->outerLayout->addWidget(widget);
    auto* edit = qobject_cast<QLineEdit*>(widget);
    if (noDefaultLink || !edit)
        return;
    d->linkedEdit = edit;
    connect(edit, &QLineEdit::textChanged, this, &CDialogMessage::applyDefaultLink);
    applyDefaultLink();
}

void CDialogMessage::applyDefaultLink()
{
    CButton* defaultButton = this->defaultButton();
    if (d->linkedEdit && defaultButton)
        defaultButton->setEnabled(!d->linkedEdit->text().isEmpty());
}

void CDialogMessage::showModeless(CWindow::ShowStrategy placement)
{
    // The default button may have come after the edit.
    applyDefaultLink();
    CDialog::showModeless(placement);
}
