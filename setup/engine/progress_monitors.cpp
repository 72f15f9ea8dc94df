#include "setup/engine/progress_monitors.h"

#include <cwchar>
#include <string>

#include "common/unique_handle.h"
#include "setup/engine/process_control.h"
#include "setup/engine/registration.h"
#include "setup/engine/setup_log.h"

namespace vesk {

const HANDLE g_installFinishedEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
Seam<decltype(&::OpenProcess)> g_monitorOpenProcess{&::OpenProcess};

int FakeProgressValue(double t) {
  double u = t / 6.0;
  double w = 1.0 - u;
  double value = (w + w) * u * 50.0 + w * w * 0.0 + u * u * 100.0;
  int percent = static_cast<int>(value);
  return percent > 100 ? 99 : percent;
}

namespace {

void PostProgress(HWND window, int percent) {
  PostMessageW(window, WM_INSTALL_PROGRESS, static_cast<WPARAM>(percent), 0);
}

std::wstring FlagText(const std::atomic<bool>& flag) { return flag.load() ? L"1" : L"0"; }

}  // namespace

InstallMonitors::~InstallMonitors() {
  m_threadRunning = false;
  // The progress thread first: it is the one that may still store the process thread's handle.
  if (progressThread) WaitForSingleObject(progressThread.get(), INFINITE);
  if (processThread) WaitForSingleObject(processThread.get(), INFINITE);
}

void InstallMonitors::StartProgressMonitor() {
  m_threadRunning = true;
  progressThread.reset(CreateThread(nullptr, 0, &ProgressMonitorThread, this, 0, nullptr));
}

DWORD WINAPI ProgressMonitorThread(LPVOID parameter) {
  InstallMonitors* monitors = static_cast<InstallMonitors*>(parameter);
  WriteLog(L"Progress monitoring thread started, m_threadRunning: " +
           FlagText(monitors->m_threadRunning));
  // The step counter accumulates 0.1 per step, rounding included: the last step gives 99.
  double t = 0.0;
  for (;;) {
    if (WaitForSingleObject(g_installFinishedEvent, 0) == WAIT_OBJECT_0) {
      PostProgress(monitors->window, 100);
      break;
    }
    int percent = FakeProgressValue(t);
    wchar_t line[50];
    swprintf(line, 50, L"Current fake progress: %d%%", percent);
    WriteLog(line);
    PostProgress(monitors->window, percent);
    t += 0.1;
    Sleep(100);
    if (percent == 99) {
      Sleep(2000);
      PostProgress(monitors->window, 100);
      monitors->processThread.reset(
          CreateThread(nullptr, 0, &ProcessMonitorThread, monitors, 0, nullptr));
      break;
    }
    if (percent >= 100) break;
  }
  WriteLog(L"Progress monitoring thread ended");
  return 0;
}

DWORD WINAPI ProcessMonitorThread(LPVOID parameter) {
  InstallMonitors* monitors = static_cast<InstallMonitors*>(parameter);
  WriteLog(L"process monitoring thread started, m_threadRunning: " +
           FlagText(monitors->m_threadRunning));
  for (;;) {
    unsigned long processId = FindProcessIgnoringCase(kInstallerExeName);
    WriteLog(L"mini_installer process PID: " + std::to_wstring(processId));
    if (processId == 0) break;
    // The limited right is granted across integrity levels, so an installer started elevated
    // by the batch file can be seen from the non-elevated setup. An installer that exists but
    // refuses to be opened is still running: only a process that has gone ends the watch.
    UniqueKernelHandle process(
        g_monitorOpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process && GetLastError() != ERROR_ACCESS_DENIED) break;
    process.reset();
    Sleep(2000);
  }
  WriteLog(L"mini_installer process not found");
  monitors->m_threadRunning = false;
  SetEvent(g_installFinishedEvent);
  Sleep(1000);
  MoveUninstallPosition();
  PostMessageW(monitors->window, WM_INSTALL_COMPLETE, 0, 0);
  WriteLog(L"process monitoring thread ended");
  return 0;
}

}  // namespace vesk
