#include "pages/SettingsBox.h"

#include "app/SettingsProvider.h"
#include "pages/AbstractRow.h"
#include "pages/EffectSelectors.h"
#include "pages/InterfaceText.h"
#include "pages/PageShell.h"
#include "pages/SettingsBoxPrivate.h"
#include "pages/TimeSelector.h"
#include "pages/VideoFormatSelectors.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CWidgetText.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>

namespace {

enum Text {
    SlideGroup = 178,
    AudioGroup = 179,
    SlideTime = 180,
    FolderDialog = 181,
    Transition = 182,
    Motion = 183,
    AudioOffset = 184,
    AudioFade = 185,
    ExportGroup = 186,
    Fps = 187,
    SystemGroup = 188,
    UpdateCheck = 189,
    ScaleToFit = 190,
    Resolution = 191,
    Folder = 192,
    TransitionTime = 193,
    Back = 194,
    BlurBackground = 197,
};

constexpr int kSelectorKind = 18;
constexpr int kCheckBoxKind = 15;

template <class T>
Labeled<T>* labeled(T* control, QWidget* parent)
{
    return new Labeled<T>(control, parent);
}

Labeled<TimeSelector>* timeSelector(QWidget* parent)
{
    return labeled(new TimeSelector(kSelectorKind), parent);
}

CButton* checkBox(QWidget* parent)
{
    auto* box = new CButton(kCheckBoxKind, parent);
    box->setCheckable(true);
    return box;
}

QString shownFolder(const QString& folder)
{
    return QDir::toNativeSeparators(folder);
}

} // namespace

SettingsBox::Private::Private(SettingsBox* owner, SettingsProvider* settings)
    : owner(owner)
    , settings(settings)
    , versionLabel(new CWidgetText(1058, owner))
    , backButton(new CButton(1022, QStringLiteral(":/back.svg"), owner))
    , topRow(new QHBoxLayout)
    , slideGroup(new GroupLayout<QHBoxLayout>(12, 0, owner))
    , slideTime(timeSelector(owner))
    , transitionTime(timeSelector(owner))
    , transition(labeled(new TransitionSelector(kSelectorKind, 0), owner))
    , motion(labeled(new MotionSelector(kSelectorKind), owner))
    , audioGroup(new GroupLayout<QHBoxLayout>(12, 0, owner))
    , audioOffset(timeSelector(owner))
    , audioFade(timeSelector(owner))
    , exportGroup(new GroupLayout<QGridLayout>(12, 13, owner))
    , resolution(labeled(new ResolutionSelector(kSelectorKind, 1), owner))
    , fps(labeled(new FpsSelector(kSelectorKind), owner))
    , folder(labeled(new CButton(1033, QStringLiteral(":/folder-outline.svg")), owner))
    , scaleToFit(checkBox(owner))
    , blurBackground(checkBox(owner))
    , systemGroup(new GroupLayout<QGridLayout>(12, 13, owner))
    , updateCheck(checkBox(owner))
{
}

void SettingsBox::Private::layOut()
{
    QVBoxLayout* column = ensureVBoxLayout(owner, QMargins(32, 8, 32, 32), 0);
    column->setContentsMargins(32, 8, 32, 32);
    column->setSpacing(0);
    column->addWidget(versionLabel, 0, Qt::AlignHCenter);
    column->addSpacing(16);
    column->addWidget(backButton, 0, Qt::AlignLeft);
    column->addSpacing(24);

    topRow->setContentsMargins(0, 0, 0, 0);
    topRow->setSpacing(32);
    for (QWidget* control : {static_cast<QWidget*>(slideTime), static_cast<QWidget*>(transitionTime),
                             static_cast<QWidget*>(transition), static_cast<QWidget*>(motion)})
        slideGroup->inner()->addWidget(control);
    audioGroup->inner()->addWidget(audioOffset);
    audioGroup->inner()->addWidget(audioFade);
    topRow->addLayout(slideGroup);
    topRow->addLayout(audioGroup);
    column->addLayout(topRow);
    column->addSpacing(32);

    QGridLayout* exportGrid = exportGroup->inner();
    exportGrid->addWidget(resolution, 0, 0);
    exportGrid->addWidget(fps, 0, 1);
    exportGrid->addWidget(folder, 0, 2);
    exportGrid->addWidget(scaleToFit, 1, 0);
    exportGrid->addWidget(blurBackground, 2, 0);
    exportGrid->setColumnStretch(0, 0);
    exportGrid->setColumnStretch(1, 0);
    exportGrid->setColumnStretch(2, 1);
    column->addLayout(exportGroup);
    column->addSpacing(32);

    QGridLayout* systemGrid = systemGroup->inner();
    systemGrid->addWidget(updateCheck, 1, 0);
    systemGrid->setColumnStretch(0, 1);
    systemGrid->setColumnStretch(1, 1);
    column->addLayout(systemGroup);
    column->addSpacing(34);
    column->addStretch(1);
}

void SettingsBox::Private::setPresets()
{
    slideTime->control()->setPresets({500, 1000, 2000, 3000, 4000, 5000, 7000, 10000, 15000, 20000});
    transitionTime->control()->setPresets({500, 1000, 2000, 3000});
    audioOffset->control()->setSecPresets({-10, -7, -5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5, 7, 10});
    audioFade->control()->setSecPresets({0, 1, 2, 3, 4, 5});
}

// Each control starts from its setting, follows the setting without emitting, and writes
// what the user chooses.
void SettingsBox::Private::bind()
{
    SettingsProvider* s = settings;
    if (!s)
        return;
    TimeSelector* slide = slideTime->control();
    slide->setMsecValue(s->defaultTime_ms());
    connect(s, &SettingsProvider::defaultTime_msChanged, slide, &TimeSelector::setMsecValueSilently);
    connect(slide, &TimeSelector::msecValueChanged, s, &SettingsProvider::setDefaultTime_ms);

    TimeSelector* transitionMs = transitionTime->control();
    transitionMs->setMsecValue(s->transitionTime_ms());
    connect(s, &SettingsProvider::transitionTime_msChanged, transitionMs, &TimeSelector::setMsecValueSilently);
    connect(transitionMs, &TimeSelector::msecValueChanged, s, &SettingsProvider::setTransitionTime_ms);

    TransitionSelector* effect = transition->control();
    effect->setTransition(s->defaultTransition());
    connect(s, &SettingsProvider::defaultTransitionChanged, effect,
            [effect](int value) { effect->setTransitionSilently(TransitionType(value)); });
    connect(effect, &TransitionSelector::transitionChanged, s, &SettingsProvider::setDefaultTransition);

    MotionSelector* movement = motion->control();
    movement->setMotion(s->defaultMotion());
    connect(s, &SettingsProvider::defaultMotionChanged, movement,
            [movement](int value) { movement->setMotionSilently(MotionType(value)); });
    connect(movement, &MotionSelector::motionChanged, s, &SettingsProvider::setDefaultMotion);

    TimeSelector* offset = audioOffset->control();
    offset->setSecValue(s->audioOffset());
    connect(s, &SettingsProvider::audioOffsetChanged, offset, &TimeSelector::setSecValueSilently);
    connect(offset, &TimeSelector::secValueChanged, s, &SettingsProvider::setAudioOffset);

    TimeSelector* fade = audioFade->control();
    fade->setSecValue(s->audioFade());
    connect(s, &SettingsProvider::audioFadeChanged, fade, &TimeSelector::setSecValueSilently);
    connect(fade, &TimeSelector::secValueChanged, s, &SettingsProvider::setAudioFade);

    ResolutionSelector* size = resolution->control();
    size->setResolution(s->resolution());
    connect(s, &SettingsProvider::resolutionChanged, size, &ResolutionSelector::setResolution);
    connect(size, &ResolutionSelector::resolutionChanged, s, &SettingsProvider::setResolution);

    FpsSelector* rate = fps->control();
    rate->setFps(s->fps());
    connect(s, &SettingsProvider::fpsChanged, rate, &FpsSelector::setFpsSilently);
    connect(rate, &FpsSelector::fpsChanged, s, &SettingsProvider::setFps);

    CButton* folderButton = folder->control();
    folderButton->setText(shownFolder(s->folder()));
    connect(s, &SettingsProvider::folderChanged, folderButton,
            [folderButton](const QString& value) { folderButton->setText(shownFolder(value)); });
    connect(folderButton, &CButton::clicked, owner, [this] { chooseFolder(); });

    scaleToFit->setChecked(s->scaleToFit());
    connect(s, &SettingsProvider::scaleToFitChanged, scaleToFit, &CButton::setChecked);
    connect(scaleToFit, &CButton::toggled, s, &SettingsProvider::setScaleToFit);

    blurBackground->setChecked(s->blurBackground());
    connect(s, &SettingsProvider::blurBackgroundChanged, blurBackground, &CButton::setChecked);
    connect(blurBackground, &CButton::toggled, s, &SettingsProvider::setBlurBackground);

    updateCheck->setChecked(s->updateCheckerEnabled());
    connect(s, &CSettingsStorage::updateCheckerEnabledChanged, updateCheck, &CButton::setChecked);
    connect(updateCheck, &CButton::toggled, s, &CSettingsStorage::setUpdateCheckerEnabled);
}

void SettingsBox::Private::chooseFolder()
{
    if (!settings)
        return;
    const QString chosen = PageShell::chooseFolder(interfaceText(FolderDialog), settings->folder());
    if (!chosen.isEmpty())
        settings->setFolder(chosen);
}

SettingsBox::SettingsBox(QWidget* parent)
    : SettingsBox(SettingsProvider::instance(), parent)
{
}

SettingsBox::SettingsBox(SettingsProvider* settings, QWidget* parent)
    : CPanel(1055, parent)
    , d(std::make_unique<Private>(this, settings))
{
    d->layOut();
    d->setPresets();
    setFocusPolicy(Qt::ClickFocus);
    hide();
    connect(this, &CWidgetBase::showed, this, &QWidget::raise);
    d->bind();
    connect(d->backButton, &CButton::clicked, this, [this] { hideAnimated(); });
    connect(this, &CWidgetBase::showed, this, [this] { setFocus(); });
}

SettingsBox::~SettingsBox() = default;

void SettingsBox::updateTexts()
{
    d->versionLabel->setText(QString());
    d->versionLabel->setText(QCoreApplication::applicationVersion());
    d->backButton->setText(interfaceText(Back));
    d->slideGroup->caption()->setText(interfaceText(SlideGroup));
    d->audioGroup->caption()->setText(interfaceText(AudioGroup));
    d->exportGroup->caption()->setText(interfaceText(ExportGroup));
    d->systemGroup->caption()->setText(interfaceText(SystemGroup));
    d->slideTime->caption()->setText(interfaceText(SlideTime));
    d->transitionTime->caption()->setText(interfaceText(TransitionTime));
    d->transition->caption()->setText(interfaceText(Transition));
    d->motion->caption()->setText(interfaceText(Motion));
    d->audioOffset->caption()->setText(interfaceText(AudioOffset));
    d->audioFade->caption()->setText(interfaceText(AudioFade));
    d->resolution->caption()->setText(interfaceText(Resolution));
    d->fps->caption()->setText(interfaceText(Fps));
    d->folder->caption()->setText(interfaceText(Folder));
    d->scaleToFit->setText(interfaceText(ScaleToFit));
    d->blurBackground->setText(interfaceText(BlurBackground));
    d->updateCheck->setText(interfaceText(UpdateCheck));
    for (Labeled<TimeSelector>* time : {d->slideTime, d->transitionTime, d->audioOffset, d->audioFade})
        time->control()->updateText();
    d->transition->control()->updateTexts();
    d->motion->control()->updateTexts();
    d->resolution->control()->updateTexts();
    d->fps->control()->updateTexts();
}

void SettingsBox::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        hideAnimated();
        event->accept();
        return;
    }
    CPanel::keyPressEvent(event);
}
