#include "pages/HistoryPage.h"

#include "app/Application.h"
#include "app/HistoryModel.h"
#include "model/ProjectFile.h"
#include "model/TimeText.h"
#include "pages/AbstractRow.h"
#include "pages/InterfaceText.h"
#include "pages/PageShell.h"
#include "platform/FileTime.h"
#include "uilib/controls/CShadowInner.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/style/CButtonGroup.h"
#include "uilib/style/CListWidget.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QBoxLayout>
#include <QMouseEvent>
#include <QSortFilterProxyModel>

namespace {

enum Text {
    Deleted = 56,
    Date = 57,
    ResolutionHeading = 58,
    DurationHeading = 59,
    FileSize = 60,
    Action = 61,
    ClearHistory = 62,
    OpenProject = 63,
    FileNameHeading = 64,
};

enum Column { DateColumn = 0, NameColumn = 1 };

constexpr int kHeadingMinimum = 120;
constexpr int kActionMinimum = 128;

CWidgetText* cellLabel(QWidget* parent)
{
    return new CWidgetText(1068, parent);
}

HistoryModel* applicationHistory()
{
    auto* app = dynamic_cast<Application*>(QCoreApplication::instance());
    return app ? app->historyModel() : nullptr;
}

// Fixed at its size hint's width, at least `minimum` pixels.
void fixToHint(QWidget* widget, int minimum)
{
    widget->setFixedWidth(qMax(widget->sizeHint().width(), minimum));
}

} // namespace

HistoryPage::Header::Header(QWidget* parent)
    : CWidgetBase(parent)
    , dateHeading(new CButton(1050, this))
    , nameHeading(new CButton(1050, this))
    , resolutionLabel(cellLabel(this))
    , durationLabel(cellLabel(this))
    , sizeLabel(cellLabel(this))
    , actionLabel(cellLabel(this))
{
    QHBoxLayout* box = ensureHBoxLayout(this, QMargins(16, 0, 16, 0), 0);
    box->addWidget(dateHeading);
    box->addWidget(nameHeading, 1);
    for (QWidget* label : {resolutionLabel, durationLabel, sizeLabel, actionLabel})
        box->addWidget(label);
    setFixedHeight(36);
}

HistoryPage::Header::~Header() = default;

HistoryPage::Footer::Footer(QWidget* parent)
    : CWidgetBase(parent)
    , openButton(new CButton(1015, QStringLiteral(":/resume-project.svg"), this))
    , clearButton(new CButton(1018, QStringLiteral(":/clear.svg"), this))
{
    QHBoxLayout* box = ensureHBoxLayout(this, QMargins(16, 16, 16, 16), 8);
    box->addWidget(openButton);
    box->addStretch();
    box->addWidget(clearButton);
}

HistoryPage::Footer::~Footer() = default;

HistoryPage::RowWidget::RowWidget(HistoryPage* page, QWidget* parent)
    : CButton(1043, parent)
    , m_page(page)
    , m_dateLabel(cellLabel(this))
    , m_nameLabel(cellLabel(this))
    , m_resolutionLabel(cellLabel(this))
    , m_durationLabel(cellLabel(this))
    , m_sizeLabel(cellLabel(this))
    , m_actions(new QWidget(this))
    , m_folder(new CButton(1040, QStringLiteral(":/folder-filled.svg"), m_actions))
    , m_play(new CButton(1040, QStringLiteral(":/play.svg"), m_actions))
    , m_delete(new CButton(1041, QStringLiteral(":/trash.svg"), m_actions))
{
    // A file may be named like markup; it shows as written.
    m_nameLabel->setTextFormat(Qt::PlainText);
    m_nameLabel->setElideMode(Qt::ElideMiddle);
    m_nameLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    auto* actionBox = new QHBoxLayout(m_actions);
    actionBox->setContentsMargins(0, 0, 0, 0);
    actionBox->setSpacing(16);
    for (CButton* button : {m_folder, m_play, m_delete})
        actionBox->addWidget(button);

    QHBoxLayout* box = ensureHBoxLayout(this, QMargins(16, 0, 16, 0), 0);
    for (QWidget* cell : {static_cast<QWidget*>(m_dateLabel), static_cast<QWidget*>(m_nameLabel),
                          static_cast<QWidget*>(m_resolutionLabel), static_cast<QWidget*>(m_durationLabel),
                          static_cast<QWidget*>(m_sizeLabel), m_actions})
        box->addWidget(cell);
    setFixedHeight(48);

    connect(m_folder, &CButton::clicked, this, [this] { PageShell::showInFolder(m_fileName); });
    connect(m_play, &CButton::clicked, this, [this] { PageShell::openUrl(m_fileName); });
    connect(m_delete, &CButton::clicked, this, [this] {
        if (m_page && m_page->m_history)
            m_page->m_history->removeProject(m_fileName);
    });
}

HistoryPage::RowWidget::~RowWidget() = default;

void HistoryPage::RowWidget::setModelIndex(const QModelIndex& index)
{
    const ProjectFile* project = index.data(Qt::UserRole).value<ProjectFile*>();
    if (!project) {
        clearModelIndex();
        return;
    }
    m_fileName = project->file_name;
    m_resolution = project->resolution;
    m_durationSeconds = project->totalDuration() / 1000;
    relayout();
}

void HistoryPage::RowWidget::clearModelIndex()
{
    m_fileName.clear();
    m_resolution = Resolution();
    m_durationSeconds = 0;
    // A pooled row is no longer the choice.
    setChecked(false);
    relayout();
}

void HistoryPage::RowWidget::relayout()
{
    const QFileInfo file(m_fileName);
    const bool exists = !m_fileName.isEmpty() && file.exists();
    if (exists) {
        m_dateLabel->setText(FileTime::created(file).toString(QStringLiteral("dd.MM.yyyy")));
        m_sizeLabel->setText(QStringLiteral("%1 MB").arg(double(file.size()) / 1048576.0, 5, 'f', 2));
    } else {
        m_dateLabel->setText(interfaceText(Deleted));
        m_sizeLabel->setText(interfaceText(Deleted));
    }
    m_nameLabel->setText(file.fileName());
    m_resolutionLabel->setText(m_resolution.toString());
    m_durationLabel->setText(msecsToDurationText(m_durationSeconds * 1000));
    m_folder->setEnabled(exists);
    m_play->setEnabled(exists);
    m_delete->setEnabled(true);
    alignColumns();
}

void HistoryPage::RowWidget::alignColumns()
{
    if (!m_page)
        return;
    const Header* header = m_page->m_header;
    m_dateLabel->setFixedWidth(header->dateHeading->width());
    m_resolutionLabel->setFixedWidth(header->resolutionLabel->width());
    m_durationLabel->setFixedWidth(header->durationLabel->width());
    m_sizeLabel->setFixedWidth(header->sizeLabel->width());
    m_actions->setFixedWidth(header->actionLabel->width());
}

bool HistoryPage::RowWidget::event(QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && mouse->buttons() == Qt::LeftButton && m_page) {
            event->accept();
            emit m_page->openProjectClicked(m_fileName);
        }
    }
    return CButton::event(event);
}

HistoryPage::HistoryPage(QWidget* parent)
    : HistoryPage(applicationHistory(), parent)
{
}

HistoryPage::HistoryPage(HistoryModel* history, QWidget* parent)
    : QWidget(parent)
    , m_history(history)
    , m_header(new Header(this))
    , m_list(new CListWidget(39, this))
    , m_footer(new Footer(this))
    , m_rowGroup(new CButtonGroup(this))
    , m_sortModel(new QSortFilterProxyModel(this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_header);
    column->addWidget(m_list);
    column->addWidget(m_footer);

    m_sortModel->setSourceModel(history);
    m_sortModel->sort(DateColumn, Qt::DescendingOrder);

    m_list->setUniformRowSizes(true);
    m_list->shadowInner()->setEdgeShadows(Qt::TopEdge | Qt::BottomEdge, 42, 8);
    auto* rows = new QVBoxLayout;
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    m_list->addLayout(0, rows);
    m_list->setCurrentLayoutId(0);
    m_list->setKeyboardNavigationEnabled(true);
    m_list->setDelegateFactory([this](QWidget* parent, const QModelIndex& index) {
        auto* row = new RowWidget(this, parent);
        row->setModelIndex(index);
        m_rowGroup->addButton(row, QVariant());
        return row;
    });
    m_list->setModel(m_sortModel, QModelIndex());

    connect(m_header->dateHeading, &CButton::clicked, this, [this] { sortBy(DateColumn); });
    connect(m_header->nameHeading, &CButton::clicked, this, [this] { sortBy(NameColumn); });
    connect(m_list, &CListWidget::rowCountChanged, this, &HistoryPage::updateButtons);
    connect(m_rowGroup, &CButtonGroup::toggled, this, &HistoryPage::updateButtons);
    connect(m_footer->clearButton, &CButton::clicked, this, &HistoryPage::clearHistory);
    connect(m_footer->openButton, &CButton::clicked, this, &HistoryPage::openChecked);

    updateSortIndicators();
    updateButtons();
}

HistoryPage::~HistoryPage() = default;

void HistoryPage::updateTexts()
{
    m_header->dateHeading->setText(interfaceText(Date));
    m_header->nameHeading->setText(interfaceText(FileNameHeading));
    m_header->resolutionLabel->setText(interfaceText(ResolutionHeading));
    m_header->durationLabel->setText(interfaceText(DurationHeading));
    m_header->sizeLabel->setText(interfaceText(FileSize));
    m_header->actionLabel->setText(interfaceText(Action));
    for (QWidget* heading : {static_cast<QWidget*>(m_header->dateHeading),
                             static_cast<QWidget*>(m_header->resolutionLabel),
                             static_cast<QWidget*>(m_header->durationLabel),
                             static_cast<QWidget*>(m_header->sizeLabel)})
        fixToHint(heading, kHeadingMinimum);
    fixToHint(m_header->actionLabel, kActionMinimum);
    m_list->relayoutRows();
    m_footer->clearButton->setText(interfaceText(ClearHistory));
    m_footer->openButton->setText(interfaceText(OpenProject));
}

void HistoryPage::sortBy(int column)
{
    const Qt::SortOrder order =
        m_sortModel->sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    m_sortModel->sort(column, order);
    updateSortIndicators();
}

void HistoryPage::updateSortIndicators()
{
    const ArrowSpec none{QSize(0, 0), QMargins(), Qt::DownArrow, 0.0};
    const ArrowSpec arrow =
        currentPalette()->arrowStyle(m_sortModel->sortOrder() == Qt::AscendingOrder ? 1002 : 1003);
    const int sorted = m_sortModel->sortColumn();
    m_header->dateHeading->setArrows(sorted == DateColumn ? arrow : none, none);
    m_header->nameHeading->setArrows(sorted == NameColumn ? arrow : none, none);
    m_header->dateHeading->update();
    m_header->nameHeading->update();
}

void HistoryPage::updateButtons()
{
    m_footer->clearButton->setEnabled(m_sortModel->rowCount() > 0);
    m_footer->openButton->setEnabled(m_rowGroup->checkedButton() != nullptr);
}

void HistoryPage::clearHistory()
{
    if (m_history && PageShell::confirmClearHistory())
        m_history->clear();
}

void HistoryPage::openChecked()
{
    const auto* row = dynamic_cast<RowWidget*>(m_rowGroup->checkedButton());
    if (row && !row->fileName().isEmpty())
        emit openProjectClicked(row->fileName());
}
