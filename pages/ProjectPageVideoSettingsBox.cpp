#include "pages/ProjectPageVideoSettingsBox.h"

#include "app/SettingsProvider.h"
#include "model/ProjectFile.h"
#include "pages/ElasticSpacer.h"
#include "pages/InterfaceText.h"
#include "pages/LoopSelector.h"
#include "pages/TimeSelector.h"
#include "pages/VideoFormatSelectors.h"
#include "pages/VideoPlayerWidget.h"
#include "uilib/controls/CButton.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

#include <QGridLayout>

namespace {

constexpr int kSelectorKind = 1034;
constexpr int kCheckBoxKind = 15;
constexpr int kHintColorRole = 1019;

CButton* checkBox()
{
    auto* box = new CButton(kCheckBoxKind);
    box->setCheckable(true);
    return box;
}

} // namespace

ProjectPage::VideoSettingsBox::VideoSettingsBox(ProjectPage* page)
    : QWidget(page)
    , CDrawable(-1)
    , m_page(page)
{
    setSizePolicy(QSizePolicy::MinimumExpanding, QSizePolicy::Maximum);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(32);
    grid->setVerticalSpacing(0);
    m_resolution = addRow(new ResolutionSelector(kSelectorKind, 0), ":/hint-resolution.svg", 0, 0);
    m_scale = addRow(checkBox(), ":/hint-scaletofit.svg", 0, 1);
    grid->addItem(new ElasticSpacer(0, 8, Qt::Vertical), 1, 0);
    m_transitionTime = addRow(new TimeSelector(kSelectorKind), ":/hint-transitiontime.svg", 2, 0);
    m_blur = addRow(checkBox(), ":/hint-blurbackground.svg", 2, 1);
    grid->addItem(new ElasticSpacer(0, 8, Qt::Vertical), 3, 0);
    m_loop = addRow(new LoopSelector(kSelectorKind), ":/hint-loopcount.svg", 4, 0);
    m_fps = addRow(new FpsSelector(kSelectorKind), ":/hint-fps.svg", 4, 1);

    TimeSelector* transitionTime = m_transitionTime->control();
    transitionTime->setPresets({500, 1000, 2000, 3000});
    transitionTime->setPopupEdge(Qt::TopEdge);
    LoopSelector* loop = m_loop->control();
    loop->setPresets({1, 2, 3, 4, 5, 10});
    loop->setPopupEdge(Qt::TopEdge);

    connectControls();
    applyStyle();
    reload();
}

ProjectPage::VideoSettingsBox::~VideoSettingsBox() = default;

template <class T>
ProjectPage::VideoSettingsBox::Row<T>* ProjectPage::VideoSettingsBox::addRow(T* control, const char* icon,
                                                                           int gridRow, int gridColumn)
{
    auto* row = new Row<T>(QString::fromLatin1(icon), control);
    static_cast<QGridLayout*>(layout())->addLayout(row, gridRow, gridColumn);
    m_icons.append(row->icon());
    return row;
}

void ProjectPage::VideoSettingsBox::connectControls()
{
    // The box shows the settings' defaults without a project, so it follows every one it shows.
    if (SettingsProvider* settings = SettingsProvider::instance()) {
        connect(settings, &SettingsProvider::resolutionChanged, this, &VideoSettingsBox::reload);
        connect(settings, &SettingsProvider::scaleToFitChanged, this, &VideoSettingsBox::reload);
        connect(settings, &SettingsProvider::transitionTime_msChanged, this, &VideoSettingsBox::reload);
        connect(settings, &SettingsProvider::blurBackgroundChanged, this, &VideoSettingsBox::reload);
        connect(settings, &SettingsProvider::fpsChanged, this, &VideoSettingsBox::reload);
    }
    connect(m_resolution->control(), &ResolutionSelector::resolutionChanged, this,
            &VideoSettingsBox::onResolutionChanged);
    connect(m_scale->control(), &CButton::toggled, this, &VideoSettingsBox::onScaleToggled);
    connect(m_transitionTime->control(), &TimeSelector::msecValueChanged, this,
            &VideoSettingsBox::onTransitionTimeChanged);
    connect(m_blur->control(), &CButton::toggled, this, &VideoSettingsBox::onBlurToggled);
    connect(m_loop->control(), &LoopSelector::valueChanged, this, [this](int loops) {
        if (m_project)
            m_project->project_loop = loops;
    });
    connect(m_fps->control(), &FpsSelector::fpsChanged, this, [this](int fps) {
        if (m_project)
            m_project->fps = fps;
    });
}

void ProjectPage::VideoSettingsBox::setProject(ProjectFile* project)
{
    if (project == m_project)
        return;
    m_project = project;
    reload();
}

void ProjectPage::VideoSettingsBox::reload()
{
    if (m_project) {
        m_resolution->control()->setResolutionSilently(m_project->resolution.toString());
        m_scale->control()->setChecked(m_project->scale_to_fit);
        m_blur->control()->setChecked(m_project->blur_background);
        m_transitionTime->control()->setMsecValueSilently(m_project->transition_time_ms);
        m_loop->control()->setValueSilently(m_project->project_loop);
        m_fps->control()->setFpsSilently(m_project->fps);
    } else if (const SettingsProvider* settings = SettingsProvider::instance()) {
        m_resolution->control()->setResolutionSilently(settings->resolution());
        m_scale->control()->setChecked(settings->scaleToFit());
        m_blur->control()->setChecked(settings->blurBackground());
        m_transitionTime->control()->setMsecValueSilently(settings->transitionTime_ms());
        m_loop->control()->setValueSilently(1);
        m_fps->control()->setFpsSilently(settings->fps());
    }
    updateBlurEnabled();
}

void ProjectPage::VideoSettingsBox::setTotalDuration()
{
    m_loop->control()->setOneLoopDuration(m_project ? m_project->durationFrom(nullptr, false, false) : 0);
}

void ProjectPage::VideoSettingsBox::updateTexts()
{
    m_resolution->setTexts(interfaceText(92), interfaceText(82));
    m_scale->setTexts(interfaceText(83), interfaceText(85));
    m_transitionTime->setTexts(interfaceText(93), interfaceText(87));
    m_blur->setTexts(interfaceText(110), interfaceText(86));
    m_loop->setTexts(interfaceText(111), interfaceText(112));
    m_fps->setTexts(interfaceText(113), interfaceText(114));
    m_resolution->control()->updateTexts();
    m_transitionTime->control()->updateText();
    m_loop->control()->updateText();
    m_fps->control()->updateTexts();
}

void ProjectPage::VideoSettingsBox::applyStyle()
{
    const QColor hint = currentPalette()->color(kHintColorRole);
    for (CWidgetIcon* icon : qAsConst(m_icons))
        icon->setIconColor(hint);
}

void ProjectPage::VideoSettingsBox::updateBlurEnabled()
{
    const bool enabled = m_scale->control()->isChecked();
    m_blur->label()->setEnabled(enabled);
    m_blur->control()->setEnabled(enabled);
}

void ProjectPage::VideoSettingsBox::onResolutionChanged(const QString& text)
{
    if (!m_project)
        return;
    m_project->resolution = Resolution(text);
    redrawPictures();
}

void ProjectPage::VideoSettingsBox::onScaleToggled(bool checked)
{
    if (m_project) {
        m_project->scale_to_fit = checked;
        redrawPictures();
    }
    updateBlurEnabled();
}

void ProjectPage::VideoSettingsBox::onBlurToggled(bool checked)
{
    if (!m_project)
        return;
    m_project->blur_background = checked;
    redrawPictures();
}

void ProjectPage::VideoSettingsBox::onTransitionTimeChanged(int ms)
{
    if (!m_project)
        return;
    VideoPlayerWidget* preview = m_page->previewPanel();
    preview->stop();
    m_project->transition_time_ms = ms;
    preview->setProject(m_project);
    preview->updateDuration();
}

void ProjectPage::VideoSettingsBox::redrawPictures()
{
    m_project->resetImageCaches();
    m_page->refreshSelectedPreview();
}
