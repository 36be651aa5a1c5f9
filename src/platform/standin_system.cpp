// The program's system layer: every call goes straight to the host.
#include "platform/standin_system.h"

#include "platform/standin_window.h"

namespace standin {

int64_t clockNanoseconds() { return hostNanoseconds(); }
bool counterAvailable() { return true; }
void sleepMilliseconds(DWORD milliseconds) { hostSleep(milliseconds); }
bool startThread(void *(*entry)(void *), void *argument) {
  return hostStartThread(entry, argument);
}
void threadFinishing() {}
void idleUntil(int64_t due) { waitForDisplay(due); }

} // namespace standin
