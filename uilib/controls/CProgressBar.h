#pragma once

#include "uilib/style/CDrawable.h"

#include <QPointer>
#include <QProgressBar>

class TaskbarProgress;

// A progress bar in the palette's look that can mirror its progress on the application's
// task-bar entry: as a percentage, as a busy indicator, or paused.
class CProgressBar : public QProgressBar, public CDrawable
{
    Q_OBJECT
public:
    enum State { Normal = 0, Indeterminate = 1, Paused = 2 };
    Q_ENUM(State)

    // What the task-bar entry shows for a state of the bar.
    struct Mirror
    {
        int minimum = 0;
        int maximum = 100;
        int value = 0;
        bool paused = false;
    };

    CProgressBar(int styleKind, QWidget* parent = nullptr, bool deferStyle = false);
    ~CProgressBar() override;

    State state() const { return m_state; }
    // On needs the bar's top-level window to have a native window; off clears the entry.
    void setTaskbarProgressVisible(bool on);
    bool isTaskbarProgressVisible() const;
    TaskbarProgress* taskbarProgress() const;

    // The value in the range as a whole percentage, 0 to 100; 0 for an empty range.
    static int percentage(int minimum, int maximum, int value);
    static Mirror mirror(State state, int minimum, int maximum, int value);

    void applyStyle() override;

private:
    void updateTaskbarProgress();

    State m_state = Normal;
    QPointer<TaskbarProgress> m_taskbar;
};
