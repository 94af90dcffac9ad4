#pragma once

#include "app/CApplicaiton.h"

#include <functional>

class HistoryModel;
class ThubnailProvider;

// The program's application: it owns the project history, the thumbnail thread and the
// per-run temporary folder, and releases them when the program ends.
class Application : public CApplicaiton
{
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    // The history goes first, then the thumbnail thread is stopped, then the run's folder removed.
    ~Application() override;

    // Milliseconds from any fixed point; tests hand in their own.
    using Clock = std::function<qint64()>;

    // TLS warm-up, thumbnail thread, history, then the main window; always true.
    bool init() override;

    using CApplicaiton::showStartScreen;
    // The product picture with the version in force and a running bar, up at least minimumTime,
    // then handed over to the main window when handOver is set.
    QWidget* showStartScreen(int minimumTime, bool handOver);
    // Keeps the start screen painted during long steps: events are handled at most every 33 ms.
    void processStartScreenEvents();
    // The clock of the start-up timer; an empty one puts back the steady clock.
    static void setStartScreenClock(Clock clock);

    HistoryModel* historyModel() const;
    // "<user cache>/{uuid}", made on the first call and the same for the whole run.
    QString tempFolder();
    QString webAddress() const;

signals:
    void updateAvailable();

protected:
    CSystemTools* createSystemTools() override;

private:
    HistoryModel* m_historyModel = nullptr;
    ThubnailProvider* m_thumbnailProvider = nullptr;
    QString m_tempFolder;
    QString m_webAddress;
};
