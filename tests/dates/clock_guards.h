#pragma once
// Guards for tests that read today's date: a time zone for the process, and a clock that
// stands still at a given moment. Each puts back what was there before when it goes.

#include <cstdlib>
#include <ctime>
#include <string>

#include "dates/dates.h"

namespace quentara::testing {

// Sets the time zone for the process and restores the previous one.
class TimeZoneGuard {
 public:
  explicit TimeZoneGuard(const char* zone) {
    if (const char* old = std::getenv("TZ")) old_ = old, hadOld_ = true;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~TimeZoneGuard() {
    if (hadOld_) {
      setenv("TZ", old_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  TimeZoneGuard(const TimeZoneGuard&) = delete;
  TimeZoneGuard& operator=(const TimeZoneGuard&) = delete;

 private:
  std::string old_;
  bool hadOld_ = false;
};

// Makes CurrentDate read this moment (seconds since 1970 UTC) until the guard goes.
class FixedClock {
 public:
  explicit FixedClock(std::time_t now) {
    moment_ = now;
    SetClock([] { return moment_; });
  }
  ~FixedClock() { SetClock(nullptr); }
  FixedClock(const FixedClock&) = delete;
  FixedClock& operator=(const FixedClock&) = delete;

 private:
  static inline std::time_t moment_ = 0;
};

}  // namespace quentara::testing
