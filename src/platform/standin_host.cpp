// The host system's clock, sleep and threads, as the stand-in uses them
// (see standin_system.h).
#include <pthread.h>
#include <time.h>

#include "platform/standin_system.h"

namespace standin {

int64_t hostNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void hostSleep(DWORD milliseconds) {
  timespec delay{static_cast<time_t>(milliseconds / 1000),
                 static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&delay, &delay) != 0) {
  }
}

bool hostStartThread(void *(*entry)(void *), void *argument) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  pthread_t thread;
  int failed = pthread_create(&thread, &attributes, entry, argument);
  pthread_attr_destroy(&attributes);
  return failed == 0;
}

} // namespace standin
