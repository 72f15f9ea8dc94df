// The timed progress curve and the watch for the end of the Chromium installer process, both
// reported to the setup window by posted messages.
#pragma once

#include <windows.h>

#include "common/seam.h"

namespace vesk {

// wParam: progress in percent, 0 to 100.
constexpr UINT WM_INSTALL_PROGRESS = WM_USER + 100;
// Posted once no installer process is left and the uninstaller has been moved into place.
constexpr UINT WM_INSTALL_COMPLETE = WM_USER + 101;

// Manual-reset, set once by the process monitor when the installer has gone; never reset.
extern const HANDLE g_installFinishedEvent;

// The curve's value at step counter t: 100 * t / 6 evaluated as a quadratic Bezier curve with
// control values 0, 50 and 100, truncated toward zero.
int FakeProgressValue(double t);

// The process opening used by the process monitor; tests replace it to produce an installer that
// runs with higher rights than setup (the elevated road), which refuses to be opened.
extern Seam<decltype(&::OpenProcess)> g_monitorOpenProcess;

// Thread procedures; the parameter is the InstallerRunner. Both return 0.
DWORD WINAPI ProgressMonitorThread(LPVOID runner);
DWORD WINAPI ProcessMonitorThread(LPVOID runner);

}  // namespace vesk
