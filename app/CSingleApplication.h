#pragma once

#include <QApplication>

class SingleInstanceChannel;

// An application of which one instance runs per user: the first to ask isRunning() takes the
// role, later ones hand it a message and end.
class CSingleApplication : public QApplication
{
    Q_OBJECT
public:
    // No role is taken here: an application object that never asks holds no lock.
    CSingleApplication(int& argc, char** argv, const QString& id);
    ~CSingleApplication() override;

    bool isRunning();
    // True once the running instance acknowledged the message within timeoutMs.
    bool sendMessage(const QString& message, int timeoutMs);

signals:
    void messageReceived(const QString& message);

private:
    SingleInstanceChannel* m_channel;
};
