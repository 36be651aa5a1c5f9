// Turns a hang into a failure: unless it is destroyed within its time
// limit, the watchdog says what was awaited and ends the process with exit
// code 1 (a test blocked in GetMessageW cannot be failed any other way).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

class Watchdog {
public:
  Watchdog(std::chrono::milliseconds limit, const char *awaited)
      : thread_([this, limit, awaited] {
          std::unique_lock<std::mutex> held(lock_);
          if (!woken_.wait_for(held, limit, [this] { return done_; })) {
            std::fprintf(stderr,
                         "watchdog: still waiting for %s after %lld ms\n",
                         awaited, static_cast<long long>(limit.count()));
            std::fflush(stderr);
            std::_Exit(1);
          }
        }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> held(lock_);
      done_ = true;
    }
    woken_.notify_one();
    thread_.join();
  }
  Watchdog(const Watchdog &) = delete;
  Watchdog &operator=(const Watchdog &) = delete;

private:
  std::mutex lock_;
  std::condition_variable woken_;
  bool done_ = false;
  std::thread thread_; // last: starts once the rest is made
};
