// The timed progress curve and the watch for the end of the Chromium installer process, both
// reported to the setup window by posted messages.
#pragma once

#include <windows.h>

#include <atomic>

#include "common/seam.h"
#include "common/unique_handle.h"

namespace vesk {

// wParam: progress in percent, 0 to 100.
constexpr UINT WM_INSTALL_PROGRESS = WM_USER + 100;
// Posted once no installer process is left and the uninstaller has been moved into place.
constexpr UINT WM_INSTALL_COMPLETE = WM_USER + 101;

// Manual-reset, set once by the process monitor when the installer has gone; never reset.
extern const HANDLE g_installFinishedEvent;

// The curve's value at step counter t: 100 * t / 6 evaluated as a quadratic Bezier curve with
// control values 0, 50 and 100, truncated toward zero.
[[nodiscard]] int FakeProgressValue(double t);

// The process opening used by the process monitor; tests replace it to produce an installer that
// runs with higher rights than setup (the elevated road), which refuses to be opened.
extern Seam<decltype(&::OpenProcess)> g_monitorOpenProcess;

// What the two monitor threads of one install share with the runner that starts them.
struct InstallMonitors {
  explicit InstallMonitors(HWND progressWindow) : window(progressWindow) {}
  // Waits, without a time limit, for the progress thread and then for the process thread.
  ~InstallMonitors();
  InstallMonitors(const InstallMonitors&) = delete;
  InstallMonitors& operator=(const InstallMonitors&) = delete;

  // Starts the progress thread, which starts the process thread when its curve is done.
  void StartProgressMonitor();

  // Receives WM_INSTALL_PROGRESS and WM_INSTALL_COMPLETE.
  const HWND window;
  // True while the monitors are meant to run; shown in the monitors' log lines.
  std::atomic<bool> m_threadRunning{false};
  UniqueKernelHandle progressThread;
  // Written by the progress thread before it ends; read only after that thread has been joined.
  UniqueKernelHandle processThread;
};

// Thread procedures; the parameter is the InstallMonitors. Both return 0.
DWORD WINAPI ProgressMonitorThread(LPVOID monitors);
DWORD WINAPI ProcessMonitorThread(LPVOID monitors);

}  // namespace vesk
