// Move-only owner of one Win32 handle, driven by a traits type that names the invalid value
// and the close function. Closing keeps the thread's last error intact, so a caller can log
// GetLastError() after the owner has gone out of scope.
#pragma once

#include <windows.h>

#include <utility>

namespace vesk {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : m_handle(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : m_handle(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  [[nodiscard]] Handle get() const noexcept { return m_handle; }
  [[nodiscard]] bool valid() const noexcept { return m_handle != Traits::Invalid(); }
  explicit operator bool() const noexcept { return valid(); }

  // Address of the slot for APIs that return the handle through an out-parameter.
  Handle* put() noexcept {
    reset();
    return &m_handle;
  }

  Handle release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }

  void reset(Handle handle = Traits::Invalid()) noexcept {
    Handle old = std::exchange(m_handle, handle);
    if (old != Traits::Invalid()) {
      DWORD lastError = GetLastError();
      Traits::Close(old);
      SetLastError(lastError);
    }
  }

 private:
  Handle m_handle = Traits::Invalid();
};

struct KernelHandleTraits {  // processes, threads, events, snapshots
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { CloseHandle(h); }
};

struct FileHandleTraits {  // CreateFileW answers INVALID_HANDLE_VALUE on failure
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { CloseHandle(h); }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { FindClose(h); }
};

struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { RegCloseKey(h); }
};

struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { FreeLibrary(h); }
};

template <typename GdiObject>
struct GdiObjectTraits {
  using Handle = GdiObject;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { DeleteObject(h); }
};

// Memory the system allocated with LocalAlloc for the caller (CommandLineToArgvW, FormatMessageW).
template <typename Pointer>
struct LocalMemoryTraits {
  using Handle = Pointer;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle memory) noexcept { LocalFree(reinterpret_cast<HLOCAL>(memory)); }
};

struct SidTraits {  // AllocateAndInitializeSid
  using Handle = PSID;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle sid) noexcept { FreeSid(sid); }
};

struct MemoryDCTraits {  // CreateCompatibleDC, CreateDCW
  using Handle = HDC;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle dc) noexcept { DeleteDC(dc); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueFind = UniqueHandle<FindHandleTraits>;
using UniqueRegKey = UniqueHandle<RegKeyTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
template <typename GdiObject>
using UniqueGdiObject = UniqueHandle<GdiObjectTraits<GdiObject>>;
using UniqueRegion = UniqueGdiObject<HRGN>;
using UniqueBitmap = UniqueGdiObject<HBITMAP>;
using UniqueFont = UniqueGdiObject<HFONT>;
using UniqueMemoryDC = UniqueHandle<MemoryDCTraits>;
using UniqueSid = UniqueHandle<SidTraits>;
template <typename Pointer>
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits<Pointer>>;

// A window's device context from GetDC, released to that window at the end of the scope.
class ScopedWindowDC {
 public:
  explicit ScopedWindowDC(HWND window) noexcept : m_window(window), m_dc(GetDC(window)) {}
  ~ScopedWindowDC() {
    if (m_dc != nullptr) ReleaseDC(m_window, m_dc);
  }
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;

  HDC get() const noexcept { return m_dc; }
  explicit operator bool() const noexcept { return m_dc != nullptr; }

 private:
  HWND m_window;
  HDC m_dc;
};

// Selects a GDI object into a device context for the life of the value, then selects back what
// was there before (an object must be deselected before it can be deleted).
class ScopedSelectObject {
 public:
  ScopedSelectObject(HDC dc, HGDIOBJ object) noexcept
      : m_dc(dc), m_previous(dc != nullptr && object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~ScopedSelectObject() {
    if (m_previous != nullptr && m_previous != HGDI_ERROR) SelectObject(m_dc, m_previous);
  }
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

}  // namespace vesk
