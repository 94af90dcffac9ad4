#include "uilib/controls/CProgressBar.h"

#include "platform/TaskbarProgress.h"
#include "uilib/style/CStyle.h"
#include "uilib/style/Cpalette.h"

CProgressBar::CProgressBar(int styleKind, QWidget* parent, bool deferStyle)
    : QProgressBar(parent)
    , CDrawable(styleKind)
{
    setAlignment(Qt::AlignCenter);
    if (!deferStyle)
        applyStyle();
}

CProgressBar::~CProgressBar()
{
    setTaskbarProgressVisible(false);
}

bool CProgressBar::isTaskbarProgressVisible() const
{
    return !m_taskbar.isNull();
}

TaskbarProgress* CProgressBar::taskbarProgress() const
{
    return m_taskbar;
}

void CProgressBar::applyStyle()
{
    if (hasStyle())
        currentPalette()->styleProgressBar(this, styleKind());
}

int CProgressBar::percentage(int minimum, int maximum, int value)
{
    if (maximum <= minimum)
        return 0;
    const double fraction = (double(value) - minimum) / (double(maximum) - minimum);
    return qRound(qBound(0.0, fraction, 1.0) * 100.0);
}

CProgressBar::Mirror CProgressBar::mirror(State state, int minimum, int maximum, int value)
{
    if (state == Indeterminate)
        return {0, 0, 0, false};
    return {0, 100, percentage(minimum, maximum, value), state == Paused};
}

void CProgressBar::setTaskbarProgressVisible(bool on)
{
    if (on == isTaskbarProgressVisible())
        return;
    if (!on) {
        m_taskbar->setVisible(false);
        delete m_taskbar;
        return;
    }
    QWindow* handle = window()->windowHandle();
    if (!handle)
        return;
    m_taskbar = TaskbarProgress::create(handle, this);
    if (!m_taskbar)
        return;
    m_taskbar->setRange(0, 100);
    m_taskbar->setVisible(true);
    updateTaskbarProgress();
    connect(this, &QProgressBar::valueChanged, m_taskbar, [this] { updateTaskbarProgress(); });
}

void CProgressBar::updateTaskbarProgress()
{
    if (!m_taskbar)
        return;
    const Mirror shown = mirror(m_state, minimum(), maximum(), value());
    m_taskbar->setRange(shown.minimum, shown.maximum);
    m_taskbar->setValue(shown.value);
    m_taskbar->setPaused(shown.paused);
}
