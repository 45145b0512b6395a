#include "InterruptSignal.h"

#include <atomic>
#include <csignal>

namespace
{
std::atomic<bool> g_bInterrupted{false};

extern "C" void OnInterrupt(int)
{
    g_bInterrupted.store(true);
}
} // namespace

void CatchInterrupts()
{
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    for (const int nSignal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(nSignal, &action, nullptr);
}

bool WasInterrupted()
{
    return g_bInterrupted.load();
}
