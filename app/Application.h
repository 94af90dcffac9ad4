#pragma once

#include "app/CApplicaiton.h"

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

    // TLS warm-up, thumbnail thread, history, then the main window; always true.
    bool init() override;

    HistoryModel* historyModel() const;
    // "<user cache>/{uuid}", made on the first call and the same for the whole run.
    QString tempFolder();
    QString webAddress() const;

signals:
    void updateAvailable();

private:
    HistoryModel* m_historyModel = nullptr;
    ThubnailProvider* m_thumbnailProvider = nullptr;
    QString m_tempFolder;
    QString m_webAddress;
};
