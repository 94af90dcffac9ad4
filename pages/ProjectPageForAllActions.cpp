#include "pages/ProjectPageForAllActions.h"

#include "app/SettingsProvider.h"
#include "model/ProjectFile.h"
#include "pages/EffectSelectors.h"
#include "pages/InterfaceText.h"
#include "pages/TimeSelector.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CWidgetText.h"

#include <QHBoxLayout>

namespace {

const QList<int> kTimePresets = {500, 1000, 2000, 3000, 4000, 5000, 7000, 10000, 15000, 20000};

} // namespace

ProjectPage::ForAllActions::ForAllActions(ProjectPage* page)
    : CPanel(1052, page)
    , AbstractRow(this, QMargins(0, 8, 0, 8))
{
    setFixedHeight(48);
    buildCells();
    connectParts(page);
    reload();
}

ProjectPage::ForAllActions::~ForAllActions() = default;

void ProjectPage::ForAllActions::buildCells()
{
    m_label = new CWidgetText(1063, cell(0));
    m_label->setContentsMargins(8, 0, 8, 0);
    ensureHBoxLayout(cell(0))->addWidget(m_label);

    m_time = new TimeSelector(1036, cell(1));
    m_time->setPresets(kTimePresets);
    m_time->setPopupEdge(Qt::TopEdge);
    m_time->setCustomValueEnabled(true);
    m_time->setMinimumPopupWidth(160);
    ensureHBoxLayout(cell(1))->addWidget(m_time);

    m_transition = new TransitionSelector(1036, 0, cell(2));
    ensureHBoxLayout(cell(2))->addWidget(m_transition, 0, Qt::AlignLeft | Qt::AlignVCenter);
    m_motion = new MotionSelector(1036, cell(3));
    ensureHBoxLayout(cell(3))->addWidget(m_motion, 0, Qt::AlignLeft | Qt::AlignVCenter);

    m_style = new CButton(1037, cell(4));
    m_clear = new CButton(1037, cell(4));
    QHBoxLayout* actions = ensureHBoxLayout(cell(4));
    actions->addWidget(m_style);
    actions->addStretch();
    actions->addSpacing(12);
    actions->addWidget(m_clear);
    actions->addSpacing(12);
}

void ProjectPage::ForAllActions::connectParts(ProjectPage* page)
{
    if (SettingsProvider* settings = SettingsProvider::instance()) {
        connect(settings, &SettingsProvider::defaultTime_msChanged, this, &ForAllActions::reload);
        connect(settings, &SettingsProvider::defaultTransitionChanged, this, &ForAllActions::reload);
        connect(settings, &SettingsProvider::defaultMotionChanged, this, &ForAllActions::reload);
    }
    connect(m_time, &TimeSelector::msecValueChanged, page, &ProjectPage::applyDurationToAll);
    connect(m_transition, &TransitionSelector::transitionChanged, page,
            [page](TransitionType transition) { page->applyTransitionToAll(transition); });
    connect(m_motion, &MotionSelector::motionChanged, page,
            [page](MotionType motion) { page->applyMotionToAll(motion); });
    connect(m_style, &CButton::clicked, page, [page] { page->editCaption(nullptr); });
    connect(m_clear, &CButton::clicked, page, &ProjectPage::clearSlideList);
}

void ProjectPage::ForAllActions::setProject(ProjectFile* project)
{
    if (project == m_project)
        return;
    m_project = project;
    reload();
}

void ProjectPage::ForAllActions::reload()
{
    if (m_project) {
        m_time->setMsecValueSilently(m_project->defaultTime_ms);
        m_transition->setTransitionSilently(TransitionType(m_project->defaultTransition));
        m_motion->setMotionSilently(MotionType(m_project->defaultMotion));
        return;
    }
    const SettingsProvider* settings = SettingsProvider::instance();
    if (!settings)
        return;
    m_time->setMsecValueSilently(settings->defaultTime_ms());
    m_transition->setTransitionSilently(settings->defaultTransition());
    m_motion->setMotionSilently(settings->defaultMotion());
}

void ProjectPage::ForAllActions::updateTexts()
{
    m_label->setText(interfaceText(104));
    m_style->setText(interfaceText(105));
    m_time->updateText();
    m_transition->updateTexts();
    m_motion->updateTexts();
    updateClearButton(m_slideCount);
}

void ProjectPage::ForAllActions::updateClearButton(int slideCount)
{
    m_slideCount = slideCount;
    const bool hasSlides = slideCount > 1;
    QString text = interfaceText(106);
    if (hasSlides)
        text += QStringLiteral(" (%1)").arg(slideCount - 1);
    m_clear->setText(text);
    m_clear->setEnabled(hasSlides);
}
