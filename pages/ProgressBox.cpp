#include "pages/ProgressBox.h"

#include "model/TimeText.h"
#include "pages/InterfaceText.h"
#include "uilib/controls/CButton.h"
#include "uilib/controls/CProgressBar.h"
#include "uilib/controls/CWidgetText.h"

#include <QElapsedTimer>
#include <QGridLayout>
#include <QTimer>

namespace {

enum Text { ImportAudio = 126, Paused = 127, Elapsed = 128, Remaining = 129 };

qint64 steadyClock()
{
    static QElapsedTimer timer;
    if (!timer.isValid())
        timer.start();
    return timer.elapsed();
}

} // namespace

ProgressBox::ProgressBox(QWidget* parent)
    : CPanel(1054, parent)
    , m_bar(new CProgressBar(38, this))
    , m_pause(new CButton(1023, QStringLiteral(":/pause.svg"), this))
    , m_cancel(new CButton(1024, QStringLiteral(":/clear.svg"), this))
    , m_elapsed(new CWidgetText(1057, this))
    , m_remaining(new CWidgetText(1057, this))
    , m_clock(steadyClock)
    , m_tick(new QTimer(this))
{
    m_bar->setRange(0, 100);
    m_pause->setCheckable(true);
    m_tick->setInterval(300);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 24, 16, 13);
    grid->setHorizontalSpacing(7);
    grid->setVerticalSpacing(4);
    grid->addWidget(m_bar, 0, 0, 1, 3);
    grid->addWidget(m_pause, 0, 3);
    grid->addWidget(m_cancel, 0, 4);
    grid->addWidget(m_elapsed, 1, 0);
    grid->addWidget(m_remaining, 1, 2, Qt::AlignRight | Qt::AlignVCenter);
    hide();

    connect(this, &CWidgetBase::showed, this, &QWidget::raise);
    connect(this, &CWidgetBase::visibilityChanged, m_bar, &CProgressBar::setTaskbarProgressVisible);
    connect(m_pause, &CButton::toggled, this, &ProgressBox::onPauseToggled);
    connect(m_cancel, &CButton::clicked, this, &ProgressBox::cancelClicked);
    connect(m_tick, &QTimer::timeout, this, &ProgressBox::updateElapsed);
}

ProgressBox::~ProgressBox() = default;

void ProgressBox::startComposing()
{
    start(QStringLiteral("%p%"), true);
}

void ProgressBox::startImport()
{
    start(interfaceText(ImportAudio) + QStringLiteral(": %p%"), false);
}

void ProgressBox::start(const QString& format, bool pausable)
{
    m_bar->setValue(0);
    m_format = format;
    m_pause->setVisible(pausable);
    m_pause->setChecked(false);
    m_remaining->hide();
    m_accumulatedMs = 0;
    m_runningSince = m_clock();
    m_tick->start();
    updateFormat();
    showAnimated();
}

void ProgressBox::setProgress(int value, qint64 remainingMs)
{
    m_bar->setValue(value);
    m_remaining->setVisible(remainingMs > 0);
    m_remaining->setText(interfaceText(Remaining).arg(msecsToDurationText(remainingMs)));
}

void ProgressBox::stop()
{
    closeStretch();
    m_tick->stop();
    hideAnimated();
}

void ProgressBox::setClock(const Clock& clock)
{
    m_clock = clock ? clock : Clock(steadyClock);
}

void ProgressBox::onPauseToggled(bool paused)
{
    if (paused)
        closeStretch();
    else
        m_runningSince = m_clock();
    updateFormat();
    emit pauseToggled(paused);
}

void ProgressBox::updateElapsed()
{
    qint64 elapsed = m_accumulatedMs;
    if (m_runningSince >= 0)
        elapsed += m_clock() - m_runningSince;
    m_elapsed->setText(interfaceText(Elapsed).arg(msecsToDurationText(elapsed)));
}

void ProgressBox::updateFormat()
{
    const bool paused = m_pause->isChecked();
    m_bar->setFormat(paused ? interfaceText(Paused) : m_format);
    m_bar->setEnabled(!paused);
}

void ProgressBox::closeStretch()
{
    if (m_runningSince < 0)
        return;
    m_accumulatedMs += m_clock() - m_runningSince;
    m_runningSince = -1;
}
