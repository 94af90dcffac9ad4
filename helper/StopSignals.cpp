#include "helper/StopSignals.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic_bool g_received{false};
static_assert(std::atomic_bool::is_always_lock_free, "set from a signal handler");

void onSignal(int)
{
    g_received = true;
}

} // namespace

namespace StopSignals {

void install()
{
    struct sigaction action {};
    action.sa_handler = &onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool received()
{
    return g_received;
}

} // namespace StopSignals
