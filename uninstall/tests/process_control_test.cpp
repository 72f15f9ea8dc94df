#include "uninstall/process_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uninstall/tests/uninstall_test_support.h"

namespace vesk::uninstall {
namespace {

using testing::ChildProcess;
using testing::CountProcesses;
using testing::LogCapture;
using testing::PlaceTestChild;
using vesk::testing::ScopedTempFolder;

// A process is found only by its exact executable name: no other letter case, no missing
// extension, no part of the name.
TEST(IsProcessRunning, MatchesTheExactExecutableNameOnly) {
  ScopedTempFolder folder;
  std::wstring program = folder / L"vesk_probe_run.exe";
  ASSERT_TRUE(PlaceTestChild(program));
  ChildProcess child(program, 60000);
  ASSERT_TRUE(child.started());
  LogCapture log;
  EXPECT_TRUE(IsProcessRunning(L"vesk_probe_run.exe"));
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{
                               "[INFO] Checking if process is running: vesk_probe_run.exe",
                               "[INFO] Process found running: vesk_probe_run.exe",
                           }));
  for (const wchar_t* other :
       {L"Vesk_Probe_Run.exe", L"vesk_probe_run.EXE", L"vesk_probe_run", L"probe_run.exe",
        L"vesk_probe_run.exe ", L"vesk_probe_run.exe.exe"}) {
    EXPECT_FALSE(IsProcessRunning(other)) << other;
    EXPECT_EQ(log.Entries().back(), "[INFO] Process not running: " + testing::N(other));
  }
}

// Of two processes with the same name only the first is terminated, with exit code 0; a second
// call terminates the other one.
TEST(KillProcess, TerminatesOnlyTheFirstMatch) {
  ScopedTempFolder folder;
  std::wstring program = folder / L"vesk_probe_kill.exe";
  ASSERT_TRUE(PlaceTestChild(program));
  ChildProcess first(program, 60000);
  ChildProcess second(program, 60000);
  ASSERT_TRUE(first.started() && second.started());
  ASSERT_EQ(CountProcesses(L"vesk_probe_kill.exe"), 2);
  LogCapture log;

  EXPECT_TRUE(KillProcess(L"vesk_probe_kill.exe"));
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{
                               "[INFO] Attempting to kill process: vesk_probe_kill.exe",
                               "[INFO] Successfully killed process: vesk_probe_kill.exe",
                           }));
  // Termination completes asynchronously: wait until one of them has ended.
  ULONGLONG deadline = GetTickCount64() + 10000;
  while (CountProcesses(L"vesk_probe_kill.exe") == 2 && GetTickCount64() < deadline) Sleep(20);
  bool firstEnded = first.WaitForExit(0);
  bool secondEnded = second.WaitForExit(0);
  EXPECT_NE(firstEnded, secondEnded);
  EXPECT_EQ((firstEnded ? first : second).ExitCode(), 0u);

  EXPECT_TRUE(KillProcess(L"vesk_probe_kill.exe"));
  EXPECT_TRUE(first.WaitForExit(10000));
  EXPECT_TRUE(second.WaitForExit(10000));
}

// No process of that name (also one differing only in letter case): nothing is terminated.
TEST(KillProcess, ReportsWhenNoProcessMatches) {
  ScopedTempFolder folder;
  std::wstring program = folder / L"vesk_probe_case.exe";
  ASSERT_TRUE(PlaceTestChild(program));
  ChildProcess child(program, 60000);
  ASSERT_TRUE(child.started());
  LogCapture log;
  EXPECT_FALSE(KillProcess(L"VESK_PROBE_CASE.EXE"));
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{
                               "[INFO] Attempting to kill process: VESK_PROBE_CASE.EXE",
                               "[WARNING] Process not found for killing: VESK_PROBE_CASE.EXE",
                           }));
  EXPECT_FALSE(child.WaitForExit(200));
}

// The program file of a running process is read in full.
TEST(FirstProcessImagePath, ReadsTheWholeProgramPath) {
  ScopedTempFolder folder;
  std::wstring program = folder / L"some folder\\vesk_probe_path.exe";
  ASSERT_TRUE(PlaceTestChild(program));
  ChildProcess child(program, 60000);
  ASSERT_TRUE(child.started());
  // A process that has only just been created may not have its main module listed yet.
  std::wstring found;
  for (int tries = 0; tries < 200 && found.empty(); ++tries) {
    found = FirstProcessImagePath(L"vesk_probe_path.exe");
    if (found.empty()) Sleep(50);
  }
  EXPECT_EQ(CompareStringOrdinal(found.c_str(), -1, program.c_str(), -1, TRUE), CSTR_EQUAL)
      << testing::N(found);
  EXPECT_EQ(FirstProcessImagePath(L"vesk_probe_none.exe"), L"");
}

// A process of the name that cannot be opened is left alone, and the log says so.
TEST(OpenProcessesByName, ProcessThatCannotBeOpenedIsLogged) {
  ScopedTempFolder folder;
  const std::wstring program = folder / L"vesk_probe_closed.exe";
  ASSERT_TRUE(PlaceTestChild(program));
  ChildProcess child(program, 60000);
  ASSERT_TRUE(child.started());
  LogCapture log;
  ScopedOverride refuse(g_openProcessByName, [](DWORD, BOOL, DWORD) -> HANDLE {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  });
  EXPECT_TRUE(OpenProcessesByName(L"vesk_probe_closed.exe").empty());
  ASSERT_EQ(log.Entries().size(), 1u);
  EXPECT_EQ(log.Entries()[0].rfind("[WARNING] vesk_probe_closed.exe (process ", 0), 0u);
  EXPECT_NE(log.Entries()[0].find(") cannot be opened to read its path, left alone, error: 5"),
            std::string::npos);
}

}  // namespace
}  // namespace vesk::uninstall
