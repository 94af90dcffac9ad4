#pragma once

#include <QObject>

#include <functional>

class QWindow;

// Progress on the application's entry in the desktop's task bar or dock: a range, a value,
// shown or not, and a paused flag. Which kind is made is the factory's choice; tests put a
// recording one in place of the desktop one.
class TaskbarProgress : public QObject
{
    Q_OBJECT
public:
    using Factory = std::function<TaskbarProgress*(QWindow* window, QObject* parent)>;

    explicit TaskbarProgress(QObject* parent);
    ~TaskbarProgress() override;

    // The desktop's progress for the window, through the factory in place.
    static TaskbarProgress* create(QWindow* window, QObject* parent);
    // An empty factory restores the desktop one.
    static void setFactory(const Factory& factory);

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int value() const { return m_value; }
    bool isVisible() const { return m_visible; }
    bool isPaused() const { return m_paused; }

    void setRange(int minimum, int maximum);
    void setValue(int value);
    void setVisible(bool visible);
    void setPaused(bool paused);

protected:
    // Shows the stored state on the desktop.
    virtual void publish() = 0;

private:
    int m_minimum = 0;
    int m_maximum = 100;
    int m_value = 0;
    bool m_visible = false;
    bool m_paused = false;
};
