#include "platform/TaskbarProgress.h"

#include "platform/DBusTaskbarProgress.h"

namespace {

TaskbarProgress::Factory& factory()
{
    static TaskbarProgress::Factory current;
    return current;
}

} // namespace

TaskbarProgress::TaskbarProgress(QObject* parent)
    : QObject(parent)
{
}

TaskbarProgress::~TaskbarProgress() = default;

TaskbarProgress* TaskbarProgress::create(QWindow* window, QObject* parent)
{
    if (factory())
        return factory()(window, parent);
    return new DBusTaskbarProgress(parent);
}

void TaskbarProgress::setFactory(const Factory& made)
{
    factory() = made;
}

void TaskbarProgress::setRange(int minimum, int maximum)
{
    if (minimum == m_minimum && maximum == m_maximum)
        return;
    m_minimum = minimum;
    m_maximum = maximum;
    publish();
}

void TaskbarProgress::setValue(int value)
{
    if (value == m_value)
        return;
    m_value = value;
    publish();
}

void TaskbarProgress::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    publish();
}

void TaskbarProgress::setPaused(bool paused)
{
    m_paused = paused;
}
