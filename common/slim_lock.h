// A mutual exclusion lock on the system's slim reader/writer lock, usable with std::lock_guard.
// Unlike std::mutex it never throws, so a program that locks only this way does not carry the
// standard library's error categories (some kilobytes in every program).
#pragma once

#include <windows.h>

namespace vesk {

class SlimLock {
 public:
  SlimLock() = default;
  SlimLock(const SlimLock&) = delete;
  SlimLock& operator=(const SlimLock&) = delete;

  void lock() { ::AcquireSRWLockExclusive(&m_lock); }
  void unlock() { ::ReleaseSRWLockExclusive(&m_lock); }

 private:
  SRWLOCK m_lock = SRWLOCK_INIT;
};

}  // namespace vesk
