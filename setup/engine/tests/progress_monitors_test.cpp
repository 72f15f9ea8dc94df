#include "setup/engine/progress_monitors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "common/product.h"
#include "setup/engine/installer_runner.h"
#include "setup/engine/process_control.h"
#include "setup/engine/tests/engine_test_support.h"
#include "testsupport/log_capture.h"
#include "testsupport/scoped_settings.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

using testing::ChildProcess;
using testing::FileExists;
using testing::LogCapture;
using testing::MessageRecorder;
using testing::PlaceTestChild;
using testing::ScopedCurrentUserOverride;
using testing::ScopedEnvironmentVariable;
using testing::ScopedTempFolder;
using testing::WriteFileBytes;

// Posted by the install thread once its runner has been destroyed.
constexpr UINT kRunnerDestroyed = WM_APP + 1;

// Prints a measured figure beside the test's output (timings are reported, never asserted).
void Measured(const char* name, const std::string& milliseconds) {
  std::printf("[ MEASURED ] %s = %s\n", name, milliseconds.c_str());
}

const std::vector<int> kCurve = {0,  1,  3,  5,  6,  8,  10, 11, 13, 15, 16, 18, 20, 21, 23, 25,
                                 26, 28, 30, 31, 33, 35, 36, 38, 40, 41, 43, 45, 46, 48, 50, 51,
                                 53, 55, 56, 58, 60, 61, 63, 65, 66, 68, 70, 71, 73, 75, 76, 78,
                                 79, 81, 83, 84, 86, 88, 89, 91, 93, 94, 96, 98, 99};

class MonitorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The event is process-wide and never reset by setup; each test starts a fresh install.
    ResetEvent(g_installFinishedEvent);
    ASSERT_TRUE(testing::WriteUserString(kProductKey, kInstallPathValue, m_folder.path()));
    ASSERT_TRUE(WriteFileBytes(m_folder / L"VeskUninstall.exe", "uninstaller"));
  }
  void TearDown() override { ResetEvent(g_installFinishedEvent); }

  // The window road's install thread: a runner with progress, then its destruction.
  void StartInstallThread() {
    m_installThread = std::thread([this] {
      {
        InstallerRunner runner(m_recorder.window(), false);
        m_installerResult = runner.LaunchMiniInstaller(m_folder.path(), true);
        m_installerEnded = GetTickCount64();
      }
      PostMessageW(m_recorder.window(), kRunnerDestroyed, 0, 0);
    });
  }

  ScopedCurrentUserOverride m_user;
  LogCapture m_log;
  testing::TrustPayloadFiles m_trust;  // the test child records no digest
  ScopedTempFolder m_folder{L"vesk install"};
  MessageRecorder m_recorder;
  std::thread m_installThread;
  std::atomic<int> m_installerResult{-1};
  std::atomic<ULONGLONG> m_installerEnded{0};
};

// A window receives the 61 curve values, then 100, then the completion, all before the runner's
// destruction returns; the uninstaller is already in place when the completion arrives.
TEST_F(MonitorTest, WindowReceivesTheCurveThenCompletion) {
  ASSERT_TRUE(PlaceTestChild(m_folder / L"mini_installer.exe"));
  bool uninstallerInPlaceAtCompletion = false;
  m_recorder.OnMessage([&](UINT message, WPARAM) {
    if (message == WM_INSTALL_COMPLETE) {
      uninstallerInPlaceAtCompletion = FileExists(m_folder / L"uninstall\\VeskUninstall.exe") &&
                                       !FileExists(m_folder / L"VeskUninstall.exe");
    }
  });
  StartInstallThread();
  bool destroyed = m_recorder.PumpUntil(kRunnerDestroyed, 60000);
  m_installThread.join();
  ASSERT_TRUE(destroyed);

  std::vector<int> expectedProgress = kCurve;
  expectedProgress.push_back(100);
  EXPECT_EQ(m_recorder.ValuesOf(WM_INSTALL_PROGRESS), expectedProgress);
  const auto& received = m_recorder.received();
  ASSERT_EQ(received.size(), 64u);
  EXPECT_EQ(received[62].message, WM_INSTALL_COMPLETE);
  EXPECT_EQ(received[62].wParam, 0u);
  EXPECT_EQ(received[63].message, kRunnerDestroyed);
  EXPECT_TRUE(uninstallerInPlaceAtCompletion);
  EXPECT_EQ(m_installerResult, 0);
  // Progress is 99 after about 6 s and 100 two seconds later.
  Measured(
      "ms_from_99_to_100", std::to_string(received[61].tick - received[60].tick));

  std::vector<std::string> messages = m_log.Messages();
  std::vector<std::string> expected = {
      "Progress monitoring thread started, m_threadRunning: 1",
      "Current fake progress: 0%",
      "Current fake progress: 99%",
      // The installer ended long before: the runner's destruction has cleared the flag.
      "process monitoring thread started, m_threadRunning: 0",
      "mini_installer process PID: 0",
      "mini_installer process not found",
      "MoveUninstallPosition: Uninstaller moved to Uninstall directory successfully",
      "process monitoring thread ended"};
  EXPECT_TRUE(testing::ContainsInOrder(messages, expected))
      << ::testing::PrintToString(std::vector<std::string>(
             messages.end() - std::min<size_t>(messages.size(), 8), messages.end()));
  // The progress thread's last line races with the process thread's first one.
  EXPECT_GT(testing::IndexOf(messages, "Progress monitoring thread ended"),
            testing::IndexOf(messages, "Current fake progress: 99%"));
  EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                          [](const std::string& line) {
                            return line.rfind("Current fake progress: ", 0) == 0;
                          }),
            61);
}

// An installer that outlives the curve keeps the bar at 100: the process monitor takes over,
// sees the installer while it runs and completes only after it has gone.
TEST_F(MonitorTest, ProcessMonitorWaitsForALingeringInstaller) {
  ASSERT_TRUE(PlaceTestChild(m_folder / L"mini_installer.exe"));
  ScopedEnvironmentVariable linger(L"VESK_TEST_CHILD_SLEEP_MS", std::wstring(L"12000"));
  StartInstallThread();
  bool destroyed = m_recorder.PumpUntil(kRunnerDestroyed, 90000);
  m_installThread.join();
  ASSERT_TRUE(destroyed);

  const auto& received = m_recorder.received();
  ASSERT_EQ(received.size(), 64u);
  ASSERT_EQ(received[62].message, WM_INSTALL_COMPLETE);
  EXPECT_EQ(m_recorder.ValuesOf(WM_INSTALL_PROGRESS).back(), 100);
  // Completion came after the installer ended (the direct road returns when it ends).
  EXPECT_GE(received[62].tick, m_installerEnded.load());
  Measured(
      "ms_from_installer_end_to_completion",
      std::to_string(received[62].tick - m_installerEnded.load()));

  std::vector<std::string> messages = m_log.Messages();
  int firstLook = testing::IndexOf(messages, "process monitoring thread started, m_threadRunning: 1");
  int notFound = testing::IndexOf(messages, "mini_installer process not found");
  ASSERT_GE(firstLook, 0);
  ASSERT_GT(notFound, firstLook);
  // While the installer ran, the monitor saw its process under a real identifier.
  EXPECT_NE(messages[firstLook + 1], "mini_installer process PID: 0") << messages[firstLook + 1];
  EXPECT_EQ(messages[notFound - 1], "mini_installer process PID: 0");
}

// The process monitor alone: a process named "MINI_INSTALLER.EXE" counts as the installer, unlike
// for the exact-name test, and the monitor completes within its polling period after it ends.
TEST_F(MonitorTest, ProcessMonitorIgnoresLetterCase) {
  ASSERT_TRUE(PlaceTestChild(m_folder / L"MINI_INSTALLER.EXE"));
  ScopedEnvironmentVariable linger(L"VESK_TEST_CHILD_SLEEP_MS", std::wstring(L"60000"));
  ChildProcess installer(m_folder / L"MINI_INSTALLER.EXE");
  ASSERT_TRUE(installer.started());
  EXPECT_FALSE(IsProcessRunning(L"mini_installer.exe"));
  EXPECT_EQ(FindProcessIgnoringCase(L"mini_installer.exe"), installer.id());

  InstallMonitors monitors(m_recorder.window());
  monitors.m_threadRunning = true;
  UniqueKernelHandle thread(
      CreateThread(nullptr, 0, &ProcessMonitorThread, &monitors, 0, nullptr));
  EXPECT_FALSE(m_recorder.PumpUntil(WM_INSTALL_COMPLETE, 3000));
  TerminateProcess(installer.handle(), 0);
  ASSERT_TRUE(installer.WaitForExit(10000));
  ULONGLONG ended = GetTickCount64();
  ASSERT_TRUE(m_recorder.PumpUntil(WM_INSTALL_COMPLETE, 30000));
  WaitForSingleObject(thread.get(), INFINITE);
  Measured(
      "ms_from_installer_end_to_completion",
      std::to_string(m_recorder.received().back().tick - ended));

  EXPECT_FALSE(monitors.m_threadRunning);
  EXPECT_EQ(WaitForSingleObject(g_installFinishedEvent, 0), WAIT_OBJECT_0);
  std::vector<std::string> messages = m_log.Messages();
  EXPECT_EQ(messages[1], "mini_installer process PID: " + std::to_string(installer.id()));
}

// Opens nothing: every process answers "access denied", as one running elevated does to a
// non-elevated setup. Records the rights asked for.
DWORD g_requestedAccess = 0;
HANDLE WINAPI RefuseToOpen(DWORD access, BOOL, DWORD) {
  g_requestedAccess = access;
  SetLastError(ERROR_ACCESS_DENIED);
  return nullptr;
}

// An installer that exists but refuses to be opened (elevated) is still waited for: the monitor
// completes only once its process has gone from the process list.
TEST_F(MonitorTest, InstallerThatRefusesToBeOpenedIsStillWaitedFor) {
  ASSERT_TRUE(PlaceTestChild(m_folder / L"mini_installer.exe"));
  ScopedEnvironmentVariable linger(L"VESK_TEST_CHILD_SLEEP_MS", std::wstring(L"60000"));
  ChildProcess installer(m_folder / L"mini_installer.exe");
  ASSERT_TRUE(installer.started());
  ScopedOverride refuse(g_monitorOpenProcess, &RefuseToOpen);
  InstallMonitors monitors(m_recorder.window());
  UniqueKernelHandle thread(CreateThread(nullptr, 0, &ProcessMonitorThread, &monitors, 0, nullptr));
  bool completedWhileRunning = m_recorder.PumpUntil(WM_INSTALL_COMPLETE, 5000);
  TerminateProcess(installer.handle(), 0);
  installer.WaitForExit(10000);
  bool completedAfterwards = m_recorder.PumpUntil(WM_INSTALL_COMPLETE, 30000);
  WaitForSingleObject(thread.get(), INFINITE);
  EXPECT_FALSE(completedWhileRunning);
  EXPECT_TRUE(completedAfterwards);
  EXPECT_EQ(g_requestedAccess, static_cast<DWORD>(PROCESS_QUERY_LIMITED_INFORMATION));
}

// Once the install is finished the progress monitor posts 100 at once and starts no process
// monitor, so no second completion follows.
TEST_F(MonitorTest, FinishedInstallJumpsTo100) {
  ASSERT_TRUE(PlaceTestChild(m_folder / L"mini_installer.exe"));
  SetEvent(g_installFinishedEvent);
  StartInstallThread();
  ASSERT_TRUE(m_recorder.PumpUntil(kRunnerDestroyed, 30000));
  m_installThread.join();
  EXPECT_EQ(m_recorder.ValuesOf(WM_INSTALL_PROGRESS), std::vector<int>{100});
  EXPECT_TRUE(m_recorder.ValuesOf(WM_INSTALL_COMPLETE).empty());
  std::vector<std::string> expected = {
      "Progress monitoring thread started, m_threadRunning: 1",
      "LaunchMiniInstaller installerPath: " + testing::Narrow(m_folder / L"mini_installer.exe"),
      "mini_installer.exe exited with code: 0", "Progress monitoring thread ended"};
  std::vector<std::string> messages = m_log.Messages();
  std::sort(messages.begin(), messages.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(messages, expected);
}

// The 61 steps of the curve, evaluated as the monitor does with its accumulating step counter.
TEST(ProgressCurve, AccumulatedStepsEndAt99) {
  std::vector<int> values;
  double t = 0.0;
  for (int step = 0; step < 61; ++step, t += 0.1) values.push_back(FakeProgressValue(t));
  EXPECT_EQ(values, kCurve);
  EXPECT_EQ(FakeProgressValue(6.0), 100);
}

}  // namespace
}  // namespace vesk
