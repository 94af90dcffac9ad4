#include "pages/AudioBox.h"

#include "app/DroppedFiles.h"
#include "app/SettingsProvider.h"
#include "app/audio/AudioFilesController.h"
#include "model/ProjectFile.h"
#include "model/TimeText.h"
#include "pages/AbstractRow.h"
#include "pages/DragIcon.h"
#include "pages/DropIndicator.h"
#include "pages/InterfaceText.h"
#include "pages/PageShell.h"
#include "pages/TimeSelector.h"
#include "pages/VideoPlayerWidget.h"
#include "uilib/controls/CShadowInner.h"
#include "uilib/controls/CWidgetIcon.h"
#include "uilib/controls/CWidgetText.h"
#include "uilib/controls/CWidgetTextIcon.h"
#include "uilib/style/CDragDrop.h"
#include "uilib/style/CListWidget.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QDropEvent>
#include <QHBoxLayout>
#include <QMimeData>

namespace {

enum Text {
    Loop = 84,
    OffsetCaption = 91,
    OffsetHint = 94,
    FadeHint = 95,
    FadeCaption = 96,
    DropHint = 119,
    Total = 130,
    OneTrack = 131,
    Tracks = 132,
    AddAudio = 133,
};

constexpr int kCornerMetric = 23;
constexpr int kListMinimumHeight = 64;
constexpr int kRowHeight = 32;
constexpr int kHintColorRole = 1019;
constexpr int kHandleColorRole = 1009;
const QString kPlusIcon = QStringLiteral(":/plus.svg");

int cornerRadius()
{
    return currentPalette()->metric(kCornerMetric);
}

CButton* addAudioButton(QWidget* parent)
{
    return new CButton(1038, kPlusIcon, parent);
}

// The data names at least one music file, in folders too.
bool holdsAudio(const QMimeData* data)
{
    return !filesFromMimeData(data, audioFileExtensions()).isEmpty();
}

} // namespace

AudioBox::IsEmptyLayout::IsEmptyLayout(AudioBox* owner, QWidget* list)
    : QVBoxLayout(list)
    , m_owner(owner)
    , m_hint(new CWidgetTextIcon(1051, QStringLiteral(":/add-audio.svg"), list))
    , m_addButton(addAudioButton(list))
{
    setContentsMargins(32, 16, 32, 16);
    setSpacing(8);
    addStretch(1);
    addWidget(m_addButton, 0, Qt::AlignHCenter);
    addWidget(m_hint, 0, Qt::AlignHCenter);
    addStretch(1);
    m_hint->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_addButton->setAcceptDrops(true);
    m_addButton->installEventFilter(this);
    QObject::connect(m_addButton, &CButton::clicked, owner, [this] { m_owner->addAudioFiles(); });
}

bool AudioBox::IsEmptyLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_addButton)
        return QVBoxLayout::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!holdsAudio(drop->mimeData()))
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (event->type() == QEvent::Drop) {
            emit m_owner->m_list->dragDrop()->dropped(drop->mimeData(), Qt::CopyAction, 0);
            m_owner->updateEmptyState();
        } else {
            // The empty state gives way, as over the list; the next move reaches the list.
            setShown(false);
        }
        return true;
    }
    case QEvent::DragLeave: m_owner->updateEmptyState(); return true;
    default: return false;
    }
}

void AudioBox::IsEmptyLayout::setShown(bool shown)
{
    m_hint->setVisible(shown);
    m_addButton->setVisible(shown);
}

AudioBox::RowWidget::RowWidget(AudioBox* owner, QWidget* parent)
    : CButton(1042, parent, true)
    , m_owner(owner)
    , m_handle(new CWidgetIcon(":/burger.svg", this))
    , m_number(new CWidgetText(1061, this))
    , m_name(new CWidgetText(1060, this))
    , m_duration(new CWidgetText(1060, this))
    , m_play(new CButton(1040, QStringLiteral(":/play.svg"), this))
    , m_delete(new CButton(1041, QStringLiteral(":/trash.svg"), this))
{
    setFixedHeight(kRowHeight);
    QHBoxLayout* box = ensureHBoxLayout(this, QMargins(4, 0, 12, 0), 0);
    box->addWidget(m_handle);
    box->addSpacing(8);
    box->addWidget(m_number);
    box->addSpacing(8);
    box->addWidget(m_name);
    box->addSpacing(8);
    box->addWidget(m_duration);
    box->addSpacing(4);
    box->addWidget(m_play);
    box->addWidget(m_delete);

    m_number->setFixedWidth(m_number->fontMetrics().horizontalAdvance(QStringLiteral("000")));
    // A file may be named like markup; it shows as written.
    m_name->setTextFormat(Qt::PlainText);
    m_name->setElideMode(Qt::ElideRight);
    m_name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    m_duration->setFixedWidth(m_duration->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")));
    m_duration->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_play->setCheckable(true);

    connect(m_play, &CButton::toggled, this, [this](bool checked) { onPlayToggled(checked); });
    connect(m_delete, &CButton::clicked, this, [this] { onDelete(); });
    applyStyle();
}

AudioBox::RowWidget::~RowWidget() = default;

QSize AudioBox::RowWidget::sizeHint() const
{
    return QWidget::sizeHint();
}

void AudioBox::RowWidget::applyStyle()
{
    m_handle->setIconColor(currentPalette()->color(kHandleColorRole));
    CButton::applyStyle();
}

void AudioBox::RowWidget::setModelIndex(const QModelIndex& index)
{
    m_index = index;
    m_number->setText(QString::number(index.row() + 1));
    if (!index.model()) {
        m_name->setText(QStringLiteral(" "));
        m_duration->setText(QStringLiteral(" "));
        m_play->setChecked(false);
        return;
    }
    m_name->setText(index.sibling(index.row(), 1).data().toString());
    m_duration->setText(index.sibling(index.row(), 2).data().toString());
    m_play->setChecked(index.sibling(index.row(), 3).data().toBool());
}

void AudioBox::RowWidget::clearModelIndex()
{
    m_index = QPersistentModelIndex();
}

AudioFilesController* AudioBox::RowWidget::model() const
{
    return m_owner && m_index.isValid() ? m_owner->m_model.data() : nullptr;
}

void AudioBox::RowWidget::onPlayToggled(bool checked)
{
    AudioFilesController* tracks = model();
    if (!tracks)
        return;
    if (m_owner->m_preview)
        m_owner->m_preview->stop();
    if (checked)
        tracks->togglePlay(m_index);
    else
        tracks->stop();
}

void AudioBox::RowWidget::onDelete()
{
    if (AudioFilesController* tracks = model())
        tracks->removeTrack(m_index);
}

AudioBox::AudioBox(VideoPlayerWidget* preview, QWidget* parent)
    : AudioBox(preview, SettingsProvider::instance(), parent)
{
}

AudioBox::AudioBox(VideoPlayerWidget* preview, SettingsProvider* settings, QWidget* parent)
    : CPanel(1052, parent, true)
    , m_preview(preview)
    , m_settings(settings)
    , m_list(new CListWidget(39, this))
    , m_emptyLayout(new IsEmptyLayout(this, m_list))
    , m_footer(new CPanel(1053, this))
    , m_addButton(addAudioButton(m_footer))
    , m_totalLabel(new CWidgetText(1062, m_footer))
    , m_loopButton(new CButton(15, m_footer))
    , m_offsetHint(new CWidgetIcon(":/hint-offset.svg", m_footer))
    , m_offsetLabel(new CWidgetText(1062, m_footer))
    , m_offsetSelector(new TimeSelector(1034, m_footer))
    , m_fadeHint(new CWidgetIcon(":/hint-fade.svg", m_footer))
    , m_fadeLabel(new CWidgetText(1062, m_footer))
    , m_fadeSelector(new TimeSelector(1034, m_footer))
    , m_dragIcon(new DragIcon(this))
{
    const int radius = cornerRadius();
    setBorderWidths(QMargins(1, 1, 1, 1));
    setRadius({radius, radius, radius, radius});
    QVBoxLayout* column = ensureVBoxLayout(this, QMargins(), 0);
    column->addWidget(m_list);
    column->addWidget(m_footer);

    setUpList();
    setUpFooter();

    if (m_settings) {
        connect(m_settings, &SettingsProvider::audioOffsetChanged, this, [this] { updateAudioSettings(); });
        connect(m_settings, &SettingsProvider::audioFadeChanged, this, [this] { updateAudioSettings(); });
    }
    connect(m_addButton, &CButton::clicked, this, [this] { addAudioFiles(); });
    connect(m_list, &CListWidget::rowCountChanged, this, [this] {
        updateEmptyState();
        updateTotal();
    });
    connect(m_loopButton, &CButton::toggled, this, [this](bool on) { setLoop(on); });
    connect(m_offsetSelector, &TimeSelector::secValueChanged, this, [this](int sec) { setOffset(sec); });
    connect(m_fadeSelector, &TimeSelector::secValueChanged, this, [this](int sec) { setFade(sec); });

    applyStyle();
    m_list->setMinimumHeight(kListMinimumHeight);
    setMinimumHeight(m_footer->sizeHint().height() + m_list->minimumHeight());
    updateEmptyState();
    updateTotal();
    updateAudioSettings();
}

AudioBox::~AudioBox() = default;

void AudioBox::setUpList()
{
    m_list->setAutoFillBackground(false);
    m_list->widget()->setAutoFillBackground(false);
    m_list->shadowInner()->setEdgeShadows(Qt::TopEdge | Qt::BottomEdge, 42, 9);

    auto* rows = new QVBoxLayout;
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    m_list->addLayout(0, rows);
    m_list->setCurrentLayoutId(0);
    m_list->setDelegateFactory([this](QWidget* parent, const QModelIndex& index) {
        auto* row = new RowWidget(this, parent);
        row->setModelIndex(index);
        return row;
    });

    CDragDrop* dragDrop = m_list->dragDrop();
    dragDrop->setLocalMoveEnabled(true);
    dragDrop->setExternalDropEnabled(true);
    dragDrop->setMimeDataFilter(holdsAudio);
    auto* indicator = new DropIndicator(m_list->widget(), 1, false);
    indicator->setHighlight(1.0);
    dragDrop->setDropIndicator(indicator);

    connect(dragDrop, &CDragDrop::dragStarted, m_dragIcon, &DragIcon::showFor);
    connect(dragDrop, &CDragDrop::dragStopped, m_dragIcon, &DragIcon::hideIcon);
    connect(dragDrop, &CDragDrop::dropAllowedChanged, m_dragIcon, &DragIcon::setDropAllowed);
    connect(dragDrop, &CDragDrop::dropAllowedChanged, this, [this] { updateEmptyState(); });
}

void AudioBox::setUpFooter()
{
    const int radius = cornerRadius();
    m_footer->setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Fixed);
    m_footer->setRadius({0, 0, radius, radius});
    m_footer->setMargins(QMargins(1, 0, 1, 1));

    QVBoxLayout* rows = ensureVBoxLayout(m_footer, QMargins(8, 8, 8, 8), 8);
    auto* first = new QHBoxLayout;
    first->setContentsMargins(0, 0, 0, 0);
    first->setSpacing(16);
    first->addWidget(m_addButton);
    first->addStretch();
    first->addWidget(m_totalLabel);
    rows->addLayout(first);

    auto* second = new QHBoxLayout;
    second->setContentsMargins(0, 0, 0, 0);
    second->setSpacing(6);
    second->addWidget(m_loopButton);
    second->addStretch();
    for (QWidget* widget : {static_cast<QWidget*>(m_offsetHint), static_cast<QWidget*>(m_offsetLabel),
                            static_cast<QWidget*>(m_offsetSelector)})
        second->addWidget(widget);
    second->addStretch();
    for (QWidget* widget : {static_cast<QWidget*>(m_fadeHint), static_cast<QWidget*>(m_fadeLabel),
                            static_cast<QWidget*>(m_fadeSelector)})
        second->addWidget(widget);
    rows->addLayout(second);

    m_offsetSelector->setSecPresets({-10, -7, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 7, 10});
    m_fadeSelector->setSecPresets({0, 1, 2, 3, 4, 5});
    for (TimeSelector* selector : {m_offsetSelector, m_fadeSelector}) {
        selector->setPopupEdge(Qt::TopEdge);
        selector->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::MinimumExpanding);
    }
}

void AudioBox::setProject(ProjectFile* project)
{
    if (project == m_project)
        return;
    m_project = project;
    m_model = project && m_preview ? m_preview->audioFiles() : nullptr;
    m_list->setModel(m_model, QModelIndex());
    updateEmptyState();
    updateTotal();
    updateAudioSettings();
}

void AudioBox::updateTexts()
{
    m_emptyLayout->hint()->setText(interfaceText(DropHint));
    for (CButton* button : {m_emptyLayout->addButton(), m_addButton})
        button->setText(interfaceText(AddAudio));
    m_loopButton->setText(interfaceText(Loop));
    m_offsetHint->setToolTip(interfaceText(OffsetHint));
    m_offsetLabel->setText(interfaceText(OffsetCaption));
    m_offsetSelector->updateText();
    m_fadeHint->setToolTip(interfaceText(FadeHint));
    m_fadeLabel->setText(interfaceText(FadeCaption));
    m_fadeSelector->updateText();
    updateTotal();
}

void AudioBox::applyStyle()
{
    CPanel::applyStyle();
    colourHints();
}

void AudioBox::colourHints()
{
    const QColor color = currentPalette()->color(kHintColorRole);
    m_offsetHint->setIconColor(color);
    m_fadeHint->setIconColor(color);
}

void AudioBox::addAudioFiles()
{
    // Tracks added without a project would be lost when one is bound.
    if (!m_model)
        return;
    const QStringList files = PageShell::chooseAudioFiles();
    if (files.isEmpty())
        return;
    m_model->addFiles(files, -1);
}

void AudioBox::setLoop(bool loop)
{
    if (m_model)
        m_model->setLoop(loop);
}

void AudioBox::setOffset(int seconds)
{
    if (m_model)
        m_model->setOffset(seconds);
}

void AudioBox::setFade(int seconds)
{
    if (m_model)
        m_model->setFade(seconds);
}

void AudioBox::updateAudioSettings()
{
    if (m_project) {
        m_loopButton->setChecked(m_project->audio_loop);
        m_offsetSelector->setSecValueSilently(m_project->audio_offset);
        m_fadeSelector->setSecValueSilently(m_project->audio_fade);
        return;
    }
    if (!m_settings)
        return;
    m_offsetSelector->setSecValueSilently(m_settings->audioOffset());
    m_fadeSelector->setSecValueSilently(m_settings->audioFade());
}

AudioFilesController* AudioBox::model() const
{
    return m_model;
}

int AudioBox::rowCount() const
{
    return m_model ? m_model->rowCount() : 0;
}

void AudioBox::updateEmptyState()
{
    const int count = rowCount();
    m_emptyLayout->setShown(count == 0 && !m_list->dragDrop()->isDropAllowed());
    m_footer->setVisible(count != 0);
}

void AudioBox::updateTotal()
{
    const int count = rowCount();
    const qint64 total = m_model ? m_model->totalDuration() : 0;
    m_totalLabel->setText(interfaceText(Total).arg(QString::number(count),
                                                   interfaceText(count == 1 ? OneTrack : Tracks),
                                                   msecsToMinSecText(total)));
}
