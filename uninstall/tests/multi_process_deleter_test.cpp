#include "uninstall/multi_process_deleter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/module_path.h"
#include "common/unique_handle.h"
#include "uninstall/directory_checks.h"
#include "testsupport/scoped_settings.h"
#include "uninstall/tests/uninstall_test_support.h"

namespace vesk::uninstall {
namespace {

using testing::HoldOpen;
using testing::LogCapture;
using testing::MakeTree;
using testing::N;
using testing::PlaceTestChild;
using vesk::testing::ScopedEnvironmentVariable;
using vesk::testing::FileExists;
using vesk::testing::FolderExists;
using vesk::testing::ListFolder;
using vesk::testing::ScopedTempFolder;

class MultiProcessTest : public ::testing::Test {
 protected:
  ScopedTempFolder m_folder{L"mpd"};
  LogCapture m_log;
  MultiProcessDeleter m_deleter;
};

// cmd.exe deletes the file, the deletion is verified, and the parent folders that became empty
// are removed one after the other up to the first folder that still holds something.
TEST_F(MultiProcessTest, CmdDeletesTheFileAndEmptyParentsGo) {
  std::wstring root = m_folder / L"install";
  std::wstring file = root + L"\\1.0\\Installer\\setup.exe";
  MakeTree(root, {L"uninstall\\VeskUninstall.exe", L"1.0\\Installer\\setup.exe"});
  EXPECT_TRUE(m_deleter.DeleteFileMultiProcess(file));
  EXPECT_FALSE(FolderExists(root + L"\\1.0"));
  EXPECT_EQ(ListFolder(root), (std::vector<std::wstring>{L"uninstall"}));
  std::wstring installer = root + L"\\1.0\\Installer";
  std::wstring version = root + L"\\1.0";
  EXPECT_EQ(m_log.Entries(),
            (std::vector<std::string>{
                "[INFO] Attempting to delete file using child process: " + N(file),
                "[INFO] Executing command: cmd.exe /D /V:OFF /C del /F /Q \"" + N(file) + "\"",
                "[INFO] Child process successfully delete file",
                "[INFO] Target deletion verified: " + N(file),
                "[INFO] Attempting to delete parent directory of: " + N(file),
                "[INFO] Parent directory: " + N(installer),
                "[INFO] Parent directory is empty, attempting to delete: " + N(installer),
                "[INFO] Successfully deleted empty parent directory: " + N(installer),
                "[INFO] Attempting to delete parent directory of: " + N(installer),
                "[INFO] Parent directory: " + N(version),
                "[INFO] Parent directory is empty, attempting to delete: " + N(version),
                "[INFO] Successfully deleted empty parent directory: " + N(version),
                "[INFO] Attempting to delete parent directory of: " + N(version),
                "[INFO] Parent directory: " + N(root),
                "[INFO] Parent directory is not empty, found: uninstall",
                "[INFO] Parent directory is not empty, skipping deletion: " + N(root),
            }));
}

// cmd.exe removes a whole folder tree; no parent folder is touched.
TEST_F(MultiProcessTest, CmdDeletesAFolderTree) {
  std::wstring root = m_folder / L"install";
  std::wstring target = root + L"\\uninstall";
  MakeTree(root, {L"uninstall\\VeskUninstall.exe", L"uninstall\\logs\\a.log"});
  EXPECT_TRUE(m_deleter.DeleteDirectoryMultiProcess(target));
  EXPECT_FALSE(FolderExists(target));
  EXPECT_TRUE(FolderExists(root));
  EXPECT_EQ(m_log.Entries(),
            (std::vector<std::string>{
                "[INFO] Attempting to delete directory using child process: " + N(target),
                "[INFO] Executing command: cmd.exe /D /V:OFF /C rmdir /S /Q \"" + N(target) + "\"",
                "[INFO] Child process successfully delete directory",
                "[INFO] Target deletion verified: " + N(target),
            }));
}

// A file that cmd.exe cannot delete goes on to PowerShell, whose claimed success is not trusted
// either: the whole attempt ends with the summary error and the file is still there.
TEST_F(MultiProcessTest, LockedFileFallsBackToPowerShellAndFails) {
  std::wstring file = m_folder / L"held.dll";
  MakeTree(m_folder.path(), {L"held.dll"});
  UniqueFile holder = HoldOpen(file);
  ASSERT_TRUE(holder.valid());
  EXPECT_FALSE(m_deleter.DeleteFileMultiProcess(file));
  EXPECT_TRUE(FileExists(file));
  std::vector<std::string> entries = m_log.Entries();
  ASSERT_GE(entries.size(), 8u);
  // Wine's cmd.exe answers 0 although the file stays: the verification catches it.
  EXPECT_EQ(std::vector<std::string>(entries.begin(), entries.begin() + 6),
            (std::vector<std::string>{
                "[INFO] Attempting to delete file using child process: " + N(file),
                "[INFO] Executing command: cmd.exe /D /V:OFF /C del /F /Q \"" + N(file) + "\"",
                "[INFO] Child process successfully delete file",
                "[WARNING] Child process reported success but target still exists: " + N(file),
                "[INFO] Trying PowerShell delete file method",
                "[INFO] Executing PowerShell command: powershell.exe -Command \"Remove-Item "
                "-LiteralPath '" + N(file) + "' -Force\"",
            }));
  // Wine's powershell.exe is a stub that does nothing and answers 0; a system without
  // powershell.exe fails to start it, a real one reports its failure. All three must fail here.
  std::vector<std::string> outcome(entries.begin() + 6, entries.end() - 1);
  bool stubAnswered =
      outcome == std::vector<std::string>{
                     "[INFO] PowerShell process successfully delete file",
                     "[WARNING] PowerShell process reported success but target still exists: " +
                         N(file)};
  bool notStarted =
      outcome.size() == 1 && outcome[0] == "[ERROR] Failed to create child process for delete file, error: 2";
  bool reportedFailure =
      outcome.size() == 1 && outcome[0].rfind("[WARNING] PowerShell process failed with exit code: ", 0) == 0;
  EXPECT_TRUE(stubAnswered || notStarted || reportedFailure) << outcome.front();
  EXPECT_EQ(entries.back(), "[ERROR] All multi-process delete file methods failed for: " + N(file));
}

// A child that does not end within its time-out is terminated and counts as not successful,
// without an exit-code line.
TEST_F(MultiProcessTest, HangingChildIsTerminatedAtItsTimeOut) {
  std::wstring hanging = m_folder / L"vesk_hang_probe.exe";
  ASSERT_TRUE(PlaceTestChild(hanging));
  std::wstring command = L"\"" + hanging + L"\" --sleep 60000";
  std::wstring target = m_folder / L"target.dll";
  MakeTree(m_folder.path(), {L"target.dll"});
  EXPECT_FALSE(m_deleter.RunDeletionCommands(command, command, target, 300, L"delete file"));
  EXPECT_TRUE(testing::WaitUntilNoProcess(L"vesk_hang_probe.exe", 10000));
  EXPECT_TRUE(FileExists(target));
  EXPECT_EQ(m_log.Entries(),
            (std::vector<std::string>{
                "[INFO] Attempting to delete file using child process: " + N(target),
                "[INFO] Executing command: " + N(command),
                "[WARNING] Child process timed out, terminating it",
                "[INFO] Trying PowerShell delete file method",
                "[INFO] Executing PowerShell command: " + N(command),
                "[WARNING] Child process timed out, terminating it",
                "[ERROR] All multi-process delete file methods failed for: " + N(target),
            }));
}

// cmd.exe and powershell.exe are started from the system folder: programs of those names planted
// beside the uninstaller (here, beside the test program) never run, and the real cmd.exe deletes.
TEST_F(MultiProcessTest, PlantedShellProgramsBesideTheProgramNeverRun) {
  const std::wstring programFolder = FolderOf(GetModulePath());
  struct Planted {
    std::wstring path;
    ~Planted() { DeleteFileW(path.c_str()); }
  } const planted[] = {{programFolder + L"\\cmd.exe"}, {programFolder + L"\\powershell.exe"}};
  for (const Planted& program : planted) ASSERT_TRUE(PlaceTestChild(program.path));
  const std::wstring record = m_folder / L"planted_ran.txt";
  ScopedEnvironmentVariable recordTo(L"VESK_TEST_CHILD_RECORD", record);
  const std::wstring file = m_folder / L"gone.dll";
  MakeTree(m_folder.path(), {L"gone.dll"});
  (void)m_deleter.RunHiddenCommand(PowerShellDeleteFileCommand(file), 10000, L"delete file");
  EXPECT_EQ(0u, m_deleter.RunHiddenCommand(CmdDeleteFileCommand(file), 10000, L"delete file"));
  EXPECT_FALSE(FileExists(record));
  EXPECT_FALSE(FileExists(file));
}

// A child's own exit code is passed through and reported when it is not 0.
TEST_F(MultiProcessTest, ChildExitCodesAreReported) {
  std::wstring child = m_folder / L"vesk_exit_probe.exe";
  ASSERT_TRUE(PlaceTestChild(child));
  ScopedEnvironmentVariable exitCode(L"VESK_TEST_CHILD_EXIT", L"7");
  std::wstring command = L"\"" + child + L"\"";
  EXPECT_EQ(m_deleter.RunHiddenCommand(command, 10000, L"delete file"), 7u);
  std::wstring target = m_folder / L"target.dll";
  MakeTree(m_folder.path(), {L"target.dll"});
  EXPECT_FALSE(m_deleter.RunDeletionCommands(command, command, target, 10000, L"delete file"));
  std::vector<std::string> entries = m_log.Entries();
  EXPECT_EQ(entries, (std::vector<std::string>{
                         "[INFO] Attempting to delete file using child process: " + N(target),
                         "[INFO] Executing command: " + N(command),
                         "[WARNING] Child process failed with exit code: 7",
                         "[INFO] Trying PowerShell delete file method",
                         "[INFO] Executing PowerShell command: " + N(command),
                         "[WARNING] PowerShell process failed with exit code: 7",
                         "[ERROR] All multi-process delete file methods failed for: " + N(target),
                     }));
}

// A child reporting success while the target is gone counts as verified for the PowerShell
// method as well.
TEST_F(MultiProcessTest, SecondMethodSuccessIsVerified) {
  std::wstring child = m_folder / L"vesk_zero_probe.exe";
  ASSERT_TRUE(PlaceTestChild(child));
  std::wstring failing = L"\"" + m_folder.path() + L"\\missing_program.exe\"";
  std::wstring succeeding = L"\"" + child + L"\"";
  std::wstring target = m_folder / L"already_gone.dll";
  EXPECT_TRUE(m_deleter.RunDeletionCommands(failing, succeeding, target, 10000, L"delete file"));
  EXPECT_EQ(m_log.Entries(),
            (std::vector<std::string>{
                "[INFO] Attempting to delete file using child process: " + N(target),
                "[INFO] Executing command: " + N(failing),
                "[ERROR] Failed to create child process for delete file, error: 2",
                "[INFO] Trying PowerShell delete file method",
                "[INFO] Executing PowerShell command: " + N(succeeding),
                "[INFO] PowerShell process successfully delete file",
                "[INFO] Target deletion verified using PowerShell: " + N(target),
            }));
}

struct CommandRow {
  std::wstring path;
  std::wstring cmdFile, powerShellFile, cmdFolder, powerShellFolder;
};

// The commands name the path literally: quoted for cmd.exe; for PowerShell as a single-quoted
// literal path whose own quotes are doubled, so no path can end the string or act as a pattern.
TEST(DeletionCommands, NameThePathLiterally) {
  const CommandRow rows[] = {
      {L"C:\\A b\\f.dll", L"cmd.exe /D /V:OFF /C del /F /Q \"C:\\A b\\f.dll\"",
       L"powershell.exe -Command \"Remove-Item -LiteralPath 'C:\\A b\\f.dll' -Force\"",
       L"cmd.exe /D /V:OFF /C rmdir /S /Q \"C:\\A b\\f.dll\"",
       L"powershell.exe -Command \"Remove-Item -LiteralPath 'C:\\A b\\f.dll' -Recurse -Force\""},
      {L"C:\\Users\\O'Brien\\x[1]", L"cmd.exe /D /V:OFF /C del /F /Q \"C:\\Users\\O'Brien\\x[1]\"",
       L"powershell.exe -Command \"Remove-Item -LiteralPath 'C:\\Users\\O''Brien\\x[1]' -Force\"",
       L"cmd.exe /D /V:OFF /C rmdir /S /Q \"C:\\Users\\O'Brien\\x[1]\"",
       L"powershell.exe -Command \"Remove-Item -LiteralPath 'C:\\Users\\O''Brien\\x[1]' -Recurse "
       L"-Force\""},
  };
  for (const CommandRow& row : rows) {
    EXPECT_EQ(CmdDeleteFileCommand(row.path), row.cmdFile);
    EXPECT_EQ(PowerShellDeleteFileCommand(row.path), row.powerShellFile);
    EXPECT_EQ(CmdDeleteFolderCommand(row.path), row.cmdFolder);
    EXPECT_EQ(PowerShellDeleteFolderCommand(row.path), row.powerShellFolder);
  }
}

// A path with an apostrophe is still deleted by cmd.exe, and the logged PowerShell command keeps
// it as one literal path.
TEST_F(MultiProcessTest, ApostropheInAPathIsHandled) {
  std::wstring root = m_folder / L"O'Brien";
  MakeTree(root, {L"data\\a.bin"});
  EXPECT_TRUE(m_deleter.DeleteDirectoryMultiProcess(root + L"\\data"));
  EXPECT_FALSE(FolderExists(root + L"\\data"));
}

// The lone "uninstall" folder is removed through cmd.exe.
TEST_F(MultiProcessTest, LoneUninstallFolderIsRemoved) {
  std::wstring install = m_folder / L"Application";
  MakeTree(install, {L"uninstall\\VeskUninstall.exe", L"uninstall\\vesk_uninstall.log"});
  EXPECT_TRUE(RemoveLoneUninstallFolder(install, m_deleter));
  EXPECT_TRUE(FolderExists(install));
  EXPECT_EQ(ListFolder(install), std::vector<std::wstring>{});
  std::wstring uninstall = install + L"\\uninstall";
  std::vector<std::string> entries = m_log.Entries();
  ASSERT_EQ(entries.size(), 10u);
  EXPECT_EQ(std::vector<std::string>(entries.begin(), entries.begin() + 5),
            (std::vector<std::string>{
                "[INFO] Checking if current directory only contains uninstall folder: " + N(install),
                "[INFO] Found uninstall folder: " + N(uninstall),
                "[INFO] Total folders found: 1",
                "[INFO] Total files found: 0",
                "[INFO] Current directory only contains uninstall folder, attempting to delete it",
            }));
  EXPECT_EQ(entries.back(), "[INFO] Successfully deleted uninstall folder using multi-process deletion");
}

// The final check removes the lone "uninstall" folder that holds the program.
TEST_F(MultiProcessTest, FinalCheckRemovesTheLoneUninstallFolder) {
  std::wstring install = m_folder / L"Application";
  MakeTree(install, {L"uninstall\\VeskUninstall.exe"});
  EXPECT_TRUE(FinalDirectoryCheckFor(install + L"\\uninstall\\VeskUninstall.exe", m_deleter));
  EXPECT_FALSE(FolderExists(install + L"\\uninstall"));
  EXPECT_EQ(m_log.Entries().front(), "[INFO] Checking installation directory: " + N(install));
  EXPECT_EQ(m_log.Entries().back(), "[INFO] Final directory check completed successfully");
}

// A lone "uninstall" folder whose log file is held open cannot be removed: the failure is
// reported and nothing else changes.
TEST_F(MultiProcessTest, LockedUninstallFolderFailureIsReported) {
  std::wstring install = m_folder / L"Application";
  MakeTree(install, {L"uninstall\\vesk_uninstall.log"});
  UniqueFile holder = HoldOpen(install + L"\\uninstall\\vesk_uninstall.log");
  ASSERT_TRUE(holder.valid());
  EXPECT_FALSE(RemoveLoneUninstallFolder(install, m_deleter));
  EXPECT_TRUE(FileExists(install + L"\\uninstall\\vesk_uninstall.log"));
  EXPECT_EQ(m_log.Entries().back(),
            "[ERROR] Failed to delete uninstall folder using multi-process deletion");
}

// An empty parent that cannot be removed directly is handed to the child processes, and the
// climb ends there.
TEST_F(MultiProcessTest, EmptyParentThatCannotBeRemovedGoesToChildProcesses) {
  std::wstring parent = m_folder / L"busy";
  MakeTree(m_folder.path(), {L"busy\\"});
  UniqueFile holder(CreateFileW(parent.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_TRUE(holder.valid());
  m_deleter.DeleteEmptyParents(parent + L"\\setup.exe");
  std::vector<std::string> entries = m_log.Entries();
  ASSERT_GE(entries.size(), 6u);
  EXPECT_EQ(entries[3].rfind("[WARNING] Failed to delete parent directory: " + N(parent) +
                                 ", error: ",
                             0),
            0u)
      << entries[3];
  EXPECT_EQ(entries[4], "[INFO] Trying multi-process deletion for empty parent directory");
  EXPECT_EQ(entries[5], "[INFO] Attempting to delete directory using child process: " + N(parent));
  EXPECT_EQ(std::count(entries.begin(), entries.end(),
                       "[INFO] Attempting to delete parent directory of: " + N(parent)),
            0);
}

// A path without a backslash has no parent to remove.
TEST_F(MultiProcessTest, PathWithoutParent) {
  m_deleter.DeleteEmptyParents(L"setup.exe");
  EXPECT_EQ(m_log.Entries(), (std::vector<std::string>{
                                "[INFO] Attempting to delete parent directory of: setup.exe",
                                "[WARNING] No parent directory found for file: setup.exe",
                            }));
}

// A folder whose name holds "%NAME%" is never handed to cmd.exe, which would expand it into
// another path: the folder the variable names keeps its files.
TEST_F(MultiProcessTest, PercentPathIsNotExpandedByCmd) {
  std::wstring victim = m_folder / L"victim";
  std::wstring target = m_folder / L"%VESK_TEST_VICTIM%";
  MakeTree(m_folder.path(), {L"victim\\precious.txt", L"%VESK_TEST_VICTIM%\\app.dll"});
  ScopedEnvironmentVariable variable(L"VESK_TEST_VICTIM", L"victim");
  m_deleter.DeleteDirectoryMultiProcess(target);
  EXPECT_TRUE(FileExists(victim + L"\\precious.txt"));
  EXPECT_TRUE(m_log.Contains("[WARNING] Path holds '%', not handed to cmd.exe: " + N(target)));
  EXPECT_FALSE(m_log.Contains("[INFO] Executing command: " + N(CmdDeleteFolderCommand(target))));
}

// The same holds for a single file: the file the expanded name would point at stays.
TEST_F(MultiProcessTest, PercentFileIsNotExpandedByCmd) {
  MakeTree(m_folder.path(), {L"victim.txt", L"%VESK_TEST_VICTIM%"});
  ScopedEnvironmentVariable variable(L"VESK_TEST_VICTIM", L"victim.txt");
  m_deleter.DeleteFileMultiProcess(m_folder / L"%VESK_TEST_VICTIM%");
  EXPECT_TRUE(FileExists(m_folder / L"victim.txt"));
}

// The lone "uninstall" folder holding a linked folder: the link is removed as a link before the
// child processes see the tree, so the files it points to stay.
TEST_F(MultiProcessTest, LinkInsideTheLoneUninstallFolderIsNotFollowed) {
  std::wstring install = m_folder / L"Application";
  std::wstring outside = m_folder / L"outside";
  MakeTree(install, {L"uninstall\\VeskUninstall.exe", L"uninstall\\logs\\"});
  MakeTree(outside, {L"precious.txt", L"deeper\\keep.txt"});
  std::wstring link = install + L"\\uninstall\\logs\\linked";
  if (!vesk::testing::MakeFolderLink(link, outside)) GTEST_SKIP() << "folder links cannot be made here";
  const bool removed = RemoveLoneUninstallFolder(install, m_deleter);
  EXPECT_TRUE(FileExists(outside + L"\\precious.txt"));
  EXPECT_TRUE(FileExists(outside + L"\\deeper\\keep.txt"));
  // Where the link cannot be removed as a link (Wine follows a Unix link), the tree is not handed
  // to the child processes at all.
  const std::string refused =
      "[ERROR] Linked folders inside could not be removed, not handed to child processes: " +
      N(install + L"\\uninstall");
  EXPECT_TRUE(removed ? m_log.Contains("[INFO] Removed linked folder without entering it: " + N(link))
                      : m_log.Contains(refused))
      << ::testing::PrintToString(m_log.Entries());
}

// A folder that is itself a linked folder is removed as a link, never handed to the child
// processes; its target keeps its files.
TEST_F(MultiProcessTest, LinkedParentIsRemovedAsALink) {
  std::wstring outside = m_folder / L"outside";
  MakeTree(outside, {L"precious.txt"});
  std::wstring link = m_folder / L"linked";
  if (!vesk::testing::MakeFolderLink(link, outside)) GTEST_SKIP() << "folder links cannot be made here";
  m_deleter.DeleteDirectoryMultiProcess(link);
  EXPECT_TRUE(FileExists(outside + L"\\precious.txt"));
  EXPECT_FALSE(m_log.Contains("[INFO] Executing command: " + N(CmdDeleteFolderCommand(link))));
}

}  // namespace
}  // namespace vesk::uninstall
