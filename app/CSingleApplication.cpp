#include "app/CSingleApplication.h"

#include "platform/SingleInstanceChannel.h"

CSingleApplication::CSingleApplication(int& argc, char** argv, const QString& id)
    : QApplication(argc, argv), m_channel(new SingleInstanceChannel(id, this))
{
    connect(m_channel, &SingleInstanceChannel::messageReceived, this,
            &CSingleApplication::messageReceived);
}

CSingleApplication::~CSingleApplication() = default;

bool CSingleApplication::isRunning()
{
    return m_channel->isRunning();
}

bool CSingleApplication::sendMessage(const QString& message, int timeoutMs)
{
    return m_channel->sendMessage(message, timeoutMs);
}
