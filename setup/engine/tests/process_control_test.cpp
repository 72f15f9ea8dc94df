#include "setup/engine/process_control.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "setup/engine/quiet_install.h"
#include "setup/engine/tests/engine_test_support.h"
#include "testsupport/log_capture.h"
#include "testsupport/scoped_settings.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

using testing::ChildProcess;
using testing::LogCapture;
using testing::Narrow;
using testing::PlaceTestChild;
using testing::ScopedEnvironmentVariable;
using testing::ScopedTempFolder;

class ProcessControlTest : public ::testing::Test {
 protected:
  // Children run for a minute and would end with 7 on their own.
  ScopedEnvironmentVariable m_sleep{L"VESK_TEST_CHILD_SLEEP_MS", std::wstring(L"60000")};
  ScopedEnvironmentVariable m_exitCode{L"VESK_TEST_CHILD_EXIT", std::wstring(L"7")};
  LogCapture m_log;
  ScopedTempFolder m_install{L"install"};
  ScopedTempFolder m_elsewhere{L"elsewhere"};
};

// Every "vesk.helm.exe" is terminated with exit code 0, also one started from another folder;
// each gets a log line naming the install folder's application.
TEST_F(ProcessControlTest, KillTerminatesEveryExactMatch) {
  ASSERT_TRUE(PlaceTestChild(m_install / L"vesk.helm.exe"));
  ASSERT_TRUE(PlaceTestChild(m_elsewhere / L"vesk.helm.exe"));
  ChildProcess first(m_install / L"vesk.helm.exe");
  ChildProcess second(m_elsewhere / L"vesk.helm.exe");
  ASSERT_TRUE(first.started() && second.started());
  ASSERT_TRUE(IsProcessRunning(L"vesk.helm.exe"));

  killTargetApp(m_install.path());
  EXPECT_TRUE(first.WaitForExit(5000));
  EXPECT_TRUE(second.WaitForExit(5000));
  EXPECT_EQ(first.ExitCode(), 0u);
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_FALSE(IsProcessRunning(L"vesk.helm.exe"));
  std::string application = Narrow(m_install / L"vesk.helm.exe");
  std::vector<std::string> expected = {"killTargetApp processName: " + application,
                                       "Successfully terminated process: " + application,
                                       "Successfully terminated process: " + application};
  EXPECT_EQ(m_log.Messages(), expected);
}

// Names that differ only in letter case, or that merely contain the name, are neither terminated
// nor reported as running.
TEST_F(ProcessControlTest, OtherNamesAreLeftAlone) {
  std::vector<std::wstring> names = {L"Vesk.Helm.exe", L"VESK.HELM.EXE", L"old_vesk.helm.exe",
                                     L"vesk.helm.exe.exe"};
  std::vector<std::unique_ptr<ChildProcess>> children;
  // One folder each: the file system does not tell names apart by letter case.
  for (size_t i = 0; i < names.size(); ++i) {
    std::wstring folder = m_elsewhere / std::to_wstring(i);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring name = names[i];
    ASSERT_TRUE(PlaceTestChild(folder + L"\\" + name));
    children.push_back(std::make_unique<ChildProcess>(folder + L"\\" + name));
    ASSERT_TRUE(children.back()->started()) << Narrow(name);
  }
  EXPECT_FALSE(IsProcessRunning(L"vesk.helm.exe"));
  killTargetApp(m_install.path());
  for (auto& child : children) EXPECT_FALSE(child->WaitForExit(0));
  std::vector<std::string> expected = {"killTargetApp processName: " +
                                       Narrow(m_install / L"vesk.helm.exe")};
  EXPECT_EQ(m_log.Messages(), expected);
}

// Without a match only the first line is written, and the call still pauses a second so that
// terminated programs can leave.
TEST_F(ProcessControlTest, NoMatchLogsOneLineAndPauses) {
  ULONGLONG start = GetTickCount64();
  killTargetApp(L"C:\\nowhere");
  EXPECT_GE(GetTickCount64() - start, 900u);
  std::vector<std::string> expected = {"killTargetApp processName: C:\\nowhere\\vesk.helm.exe"};
  EXPECT_EQ(m_log.Messages(), expected);
}

// The test for a running installer matches the whole name exactly.
TEST_F(ProcessControlTest, IsProcessRunningMatchesExactly) {
  ASSERT_TRUE(PlaceTestChild(m_elsewhere / L"mini_installer.exe"));
  EXPECT_FALSE(IsProcessRunning(L"mini_installer.exe"));
  ChildProcess installer(m_elsewhere / L"mini_installer.exe");
  ASSERT_TRUE(installer.started());
  EXPECT_TRUE(IsProcessRunning(L"mini_installer.exe"));
  EXPECT_FALSE(IsProcessRunning(L"Mini_Installer.exe"));
  EXPECT_FALSE(IsProcessRunning(L"mini_installer"));
  EXPECT_FALSE(IsProcessRunning(L""));
}

// The quiet road's wait for a lingering installer ends as soon as the installer has gone.
TEST_F(ProcessControlTest, WaitEndsWhenTheInstallerHasGone) {
  ScopedEnvironmentVariable shortRun(L"VESK_TEST_CHILD_SLEEP_MS", std::wstring(L"2500"));
  ASSERT_TRUE(PlaceTestChild(m_elsewhere / L"mini_installer.exe"));
  ChildProcess installer(m_elsewhere / L"mini_installer.exe");
  ASSERT_TRUE(installer.started());
  WaitForInstallerToFinish(kInstallerLingerLimitMs);
  EXPECT_TRUE(installer.WaitForExit(0));
  EXPECT_FALSE(IsProcessRunning(L"mini_installer.exe"));
  EXPECT_TRUE(m_log.Messages().empty());
}

// An installer still running at the limit is left running and the time-out is logged.
TEST_F(ProcessControlTest, WaitGivesUpAtTheLimit) {
  ASSERT_TRUE(PlaceTestChild(m_elsewhere / L"mini_installer.exe"));
  ChildProcess installer(m_elsewhere / L"mini_installer.exe");
  ASSERT_TRUE(installer.started());
  WaitForInstallerToFinish(2000);
  EXPECT_FALSE(installer.WaitForExit(0));
  std::vector<std::string> expected = {"mini_installer.exe is timeout!!!"};
  EXPECT_EQ(m_log.Messages(), expected);
}

// The process the replacement list shows under a reused parent id, and that id.
DWORD g_strangerId = 0;
DWORD g_reusedParentId = 0;

ProcessListStatus ListWithReusedParentId(std::vector<ProcessEntry>& processes) {
  ProcessListStatus status = ListProcesses(processes);
  for (ProcessEntry& process : processes) {
    if (process.id == g_strangerId) process.parentId = g_reusedParentId;
  }
  return status;
}

// A running process whose parent id names one of this process's children, but which was created
// before that child (the id was reused), is neither waited for nor terminated; the child is
// waited for.
TEST(DescendantWaitTest, StrangerUnderAReusedParentIdIsNotWaitedFor) {
  ScopedTempFolder folder;
  ASSERT_TRUE(PlaceTestChild(folder / L"stranger.exe"));
  ASSERT_TRUE(PlaceTestChild(folder / L"child.exe"));
  ChildProcess stranger(folder / L"stranger.exe", 60000);
  ASSERT_TRUE(stranger.started());
  Sleep(50);
  ChildProcess child(folder / L"child.exe", 1000);
  ASSERT_TRUE(child.started());
  g_strangerId = stranger.id();
  g_reusedParentId = child.id();
  ScopedOverride reused(testing::g_listProcessesForDescendantWait, &ListWithReusedParentId);
  EXPECT_TRUE(testing::WaitForDescendantProcesses(15000));
  EXPECT_TRUE(child.WaitForExit(0));
  EXPECT_FALSE(stranger.WaitForExit(0));
}

}  // namespace
}  // namespace vesk
