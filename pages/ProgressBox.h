#pragma once

#include "uilib/controls/CPanel.h"

#include <functional>

class CButton;
class CProgressBar;
class CWidgetText;
class QTimer;

// The panel of a running long job of the main window, composing a video or importing music:
// a progress bar mirrored on the task-bar entry, the elapsed and the remaining time, a pause
// toggle (composing only) and a cancel button.
class ProgressBox : public CPanel
{
    Q_OBJECT
public:
    // Milliseconds of a steady clock.
    using Clock = std::function<qint64()>;

    explicit ProgressBox(QWidget* parent = nullptr);
    ~ProgressBox() override;

    void startComposing();
    void startImport();
    // The remaining time shows only while it is above 0.
    void setProgress(int value, qint64 remainingMs);
    void stop();

    // The clock of the elapsed time; a steady one unless replaced.
    void setClock(const Clock& clock);

    CProgressBar* progressBar() const { return m_bar; }
    CButton* pauseButton() const { return m_pause; }
    CButton* cancelButton() const { return m_cancel; }
    CWidgetText* elapsedLabel() const { return m_elapsed; }
    CWidgetText* remainingLabel() const { return m_remaining; }

signals:
    void cancelClicked();
    void pauseToggled(bool paused);

private:
    void start(const QString& format, bool pausable);
    void onPauseToggled(bool paused);
    void updateElapsed();
    void updateFormat();
    // Ends the running stretch, adding it to the accumulated time.
    void closeStretch();

    CProgressBar* m_bar;
    CButton* m_pause;
    CButton* m_cancel;
    CWidgetText* m_elapsed;
    CWidgetText* m_remaining;
    QString m_format;
    qint64 m_accumulatedMs = 0;
    // Start of the running stretch on the clock; -1 while paused or stopped.
    qint64 m_runningSince = -1;
    Clock m_clock;
    QTimer* m_tick;
};
