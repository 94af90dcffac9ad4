#pragma once

#include "app/CApplicaiton.h"

#include <QPointer>

#include <functional>

class HistoryModel;
class ProductUpdateChecker;
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
    // The download page the update check was given.
    QString webAddress() const;

    // delayMs after this call, once per run while "updateCheckerEnabled" holds (and again each
    // time it is switched on), asks the update service. A newer version emits updateAvailable();
    // its notice shows once per version, at a noticeIntervalMs tick when the user is not busy.
    void setupUpdateChecker(const QString& machineId, const QString& productId, const QString& newFeaturesUrl,
                            const QString& downloadUrl, int delayMs = 5000, int timeoutMs = 5000,
                            int noticeIntervalMs = 10000);
    ProductUpdateChecker* updateChecker() const;

signals:
    void updateAvailable();

protected:
    CSystemTools* createSystemTools() override;

private:
    void requestUpdateOnce(int timeoutMs);
    void onNewVersion(const QString& newVersion, const QString& newFeaturesUrl, const QString& downloadUrl,
                      int noticeIntervalMs);

    HistoryModel* m_historyModel = nullptr;
    ThubnailProvider* m_thumbnailProvider = nullptr;
    QString m_tempFolder;
    QString m_webAddress;
    QPointer<ProductUpdateChecker> m_updateChecker;
    bool m_updateRequested = false;
};
