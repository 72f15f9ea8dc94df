// A replaceable system call (or table of calls) for the conditions a test machine cannot produce:
// a full disk, a given free-space figure, a process that refuses to be opened, a user without
// administrator rights. The real target is the default; a test installs its replacement with a
// ScopedOverride, which puts the previous target back when it goes out of scope, so no test can
// leave a fake behind for the next one.
//
//   vesk::Seam<decltype(&::WriteFile)> g_payloadWriteFile{&::WriteFile};   // shipped code
//   g_payloadWriteFile(file, data, size, &written, nullptr);                // call through it
//   vesk::ScopedOverride fail(g_payloadWriteFile, &WriteHalfThenFail);      // in a test
//
// Plain standard C++, so that units built natively on Linux can use it too.
#pragma once

#include <atomic>
#include <utility>

namespace vesk {

template <typename Target>
class ScopedOverride;

// `Target` is a function pointer type, or a pointer to a table of them.
template <typename Target>
class Seam {
 public:
  explicit Seam(Target real) noexcept : m_real(real), m_current(real) {}
  Seam(const Seam&) = delete;
  Seam& operator=(const Seam&) = delete;

  // The target in use: a test's replacement while one is installed, else the real one. Safe to
  // read from any thread.
  Target get() const noexcept { return m_current.load(std::memory_order_acquire); }
  Target real() const noexcept { return m_real; }

  template <typename... Args>
  decltype(auto) operator()(Args&&... args) const {
    return get()(std::forward<Args>(args)...);
  }

 private:
  friend class ScopedOverride<Target>;
  Target Exchange(Target target) noexcept {
    return m_current.exchange(target, std::memory_order_acq_rel);
  }

  const Target m_real;
  std::atomic<Target> m_current;
};

// Installs a replacement into a seam for the life of the value; overrides nest.
template <typename Target>
class ScopedOverride {
 public:
  ScopedOverride(Seam<Target>& seam, Target replacement) noexcept
      : m_seam(seam), m_previous(seam.Exchange(replacement)) {}
  ~ScopedOverride() { m_seam.Exchange(m_previous); }
  ScopedOverride(const ScopedOverride&) = delete;
  ScopedOverride& operator=(const ScopedOverride&) = delete;

 private:
  Seam<Target>& m_seam;
  Target m_previous;
};

// The replacement converts to the seam's type: captureless lambdas and functions declared
// without the system's calling-convention spelling are accepted.
template <typename Target, typename Replacement>
ScopedOverride(Seam<Target>&, Replacement) -> ScopedOverride<Target>;

}  // namespace vesk
