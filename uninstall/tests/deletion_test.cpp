#include "uninstall/deletion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "testsupport/scoped_settings.h"
#include "uninstall/tests/uninstall_test_support.h"

namespace vesk::uninstall {
namespace {

using testing::IsPendingRebootDeletion;
using testing::HoldOpen;
using testing::LogCapture;
using testing::MakeTree;
using testing::N;
using vesk::testing::FileExists;
using vesk::testing::FolderExists;
using vesk::testing::ScopedTempFolder;

std::wstring TempFolderPath() {
  wchar_t buffer[MAX_PATH];
  DWORD length = GetTempPathW(MAX_PATH, buffer);
  return std::wstring(buffer, length);
}

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

// Test fixture: a folder for the files, the log captured, and every reboot request the test made
// withdrawn at the end.
class DeletionTest : public ::testing::Test {
 protected:
  ~DeletionTest() override {
    testing::ForgetPendingRebootOperations(m_folder.path());
    for (const std::wstring& name : m_movedToTemp) {
      SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(name.c_str());
      testing::ForgetPendingRebootOperations(name);
    }
  }
  // The temporary name the log reports for a move, remembered for clean-up.
  std::wstring GeneratedTempName() {
    for (const std::string& entry : m_log.Entries()) {
      for (const std::string& prefix : {std::string("[INFO] Generated temp file name (manual): "),
                                        std::string("[INFO] Generated temp file name: "),
                                        std::string("[INFO] Generated temp file name (fallback): ")}) {
        if (entry.rfind(prefix, 0) == 0) {
          std::wstring name = vesk::testing::Widen(entry.substr(prefix.size()));
          m_movedToTemp.push_back(name);
          return name;
        }
      }
    }
    return std::wstring();
  }

  ScopedTempFolder m_folder{L"del"};
  LogCapture m_log;
  std::vector<std::wstring> m_movedToTemp;
};

// A tree with a subfolder is deleted folder by folder, each folder removed once, and the result
// is true.
TEST_F(DeletionTest, DeletesATreeWithExactLines) {
  std::wstring root = m_folder / L"1.0";
  MakeTree(root, {L"Installer\\setup.exe"});
  EXPECT_TRUE(DeleteDirectoryRecursive(root));
  EXPECT_FALSE(FolderExists(root));
  EXPECT_EQ(m_log.Entries(), (std::vector<std::string>{
                                "[INFO] Recursively deleting directory: " + N(root),
                                "[INFO] Recursively deleting directory: " + N(root) + "\\Installer",
                                "[INFO] Successfully deleted file: " + N(root) + "\\Installer\\setup.exe",
                                "[INFO] Successfully deleted directory: " + N(root) + "\\Installer",
                                "[INFO] Successfully deleted directory: " + N(root),
                            }));
}

// Many files and nested subfolders: everything goes, one deletion line per file and folder, and
// no failure is reported.
TEST_F(DeletionTest, DeletesNestedFoldersAndReportsSuccess) {
  std::wstring root = m_folder / L"tree";
  MakeTree(root, {L"a.dll", L"b.dll", L"sub\\c.pak", L"sub\\deeper\\d.bin", L"sub\\empty\\"});
  EXPECT_TRUE(DeleteDirectoryRecursive(root));
  EXPECT_FALSE(FolderExists(root));
  std::vector<std::string> entries = m_log.Entries();
  auto count = [&](const std::string& prefix) {
    return std::count_if(entries.begin(), entries.end(),
                         [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
  };
  EXPECT_EQ(count("[INFO] Successfully deleted file: "), 4);
  EXPECT_EQ(count("[INFO] Successfully deleted directory: "), 4);
  EXPECT_EQ(count("[INFO] Recursively deleting directory: "), 4);
  EXPECT_EQ(count("[WARNING]"), 0);
  EXPECT_EQ(count("[ERROR]"), 0);
  EXPECT_EQ(entries.size(), 12u);
}

// A linked folder (junction or symbolic link) inside the tree is removed as a link and never
// entered: the files it points to stay, whatever becomes of the link itself.
TEST_F(DeletionTest, LinkedFolderIsNotEntered) {
  std::wstring root = m_folder / L"install";
  std::wstring outside = m_folder / L"outside";
  MakeTree(root, {L"app.dll"});
  MakeTree(outside, {L"precious.txt", L"deeper\\keep.txt"});
  const std::wstring link = root + L"\\linked";
  if (!vesk::testing::MakeFolderLink(link, outside)) GTEST_SKIP() << "folder links cannot be made here";

  const bool result = DeleteDirectoryRecursive(root);
  EXPECT_TRUE(FileExists(outside + L"\\precious.txt"));
  EXPECT_TRUE(FileExists(outside + L"\\deeper\\keep.txt"));
  EXPECT_FALSE(FileExists(root + L"\\app.dll"));
  EXPECT_EQ(result, !FolderExists(link));
  const std::vector<std::string> entries = m_log.Entries();
  EXPECT_EQ(std::find(entries.begin(), entries.end(),
                      "[INFO] Recursively deleting directory: " + N(link)),
            entries.end());
  const std::string linkLine = result ? "[INFO] Removed linked folder without entering it: " + N(link)
                                      : "[ERROR] Failed to remove linked folder: " + N(link);
  EXPECT_TRUE(std::any_of(entries.begin(), entries.end(), [&](const std::string& entry) {
    return entry.rfind(linkLine, 0) == 0;
  })) << linkLine;
}

// A folder that cannot be searched is reported and left alone.
TEST_F(DeletionTest, MissingFolderFails) {
  std::wstring missing = m_folder / L"missing";
  EXPECT_FALSE(DeleteDirectoryRecursive(missing));
  EXPECT_EQ(m_log.Entries(), (std::vector<std::string>{
                                "[INFO] Recursively deleting directory: " + N(missing),
                                "[ERROR] Failed to find files in directory: " + N(missing),
                            }));
}

// A file held open without delete sharing takes the move-to-temp road: five move attempts with
// growing pauses, then the file itself is recorded for deletion at reboot, and so is its folder,
// which cannot be removed now.
TEST_F(DeletionTest, LockedFileInATreeIsScheduledForReboot) {
  std::wstring root = m_folder / L"locked";
  std::wstring file = root + L"\\setup.exe";
  MakeTree(root, {L"setup.exe"});
  UniqueFile holder = HoldOpen(file);
  ASSERT_TRUE(holder.valid());
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(DeleteDirectoryRecursive(root));
  long long elapsed = MillisecondsSince(start);
  std::wstring tempName = GeneratedTempName();
  ASSERT_FALSE(tempName.empty());

  std::vector<std::string> expected = {
      "[INFO] Recursively deleting directory: " + N(root),
      "[INFO] File in use, moving to temp and scheduling for deletion: " + N(file),
      "[INFO] Moving file to temp and scheduling deletion: " + N(file),
      "[INFO] Cannot delete file directly, error: 32, trying to move to temp",
      "[INFO] Generated temp file name (manual): " + N(tempName),
  };
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (attempt > 0) {
      expected.push_back("[INFO] Retry attempt " + std::to_string(attempt) +
                         " to move file: " + N(file));
    }
    expected.push_back("[WARNING] Attempt " + std::to_string(attempt + 1) +
                       " failed to move file: " + N(file) + " -> " + N(tempName) + ", error: 32");
  }
  expected.push_back("[ERROR] Failed to move file to temp after all retries: " + N(file) + " -> " +
                     N(tempName));
  expected.push_back("[INFO] Scheduled original file deletion on reboot: " + N(file));
  expected.push_back("[INFO] Scheduled directory deletion on reboot: " + N(root));
  EXPECT_EQ(m_log.Entries(), expected);

  EXPECT_GE(elapsed, 1900);  // the pauses before attempts 2 to 5: 200 + 400 + 600 + 800 ms
  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(IsPendingRebootDeletion(file));
  EXPECT_TRUE(IsPendingRebootDeletion(root));
}

// A read-only file cannot be deleted (error 5) but can be moved: it lands in the temporary folder
// under the generated name, which is recorded for deletion at reboot, and its folder is removed.
TEST_F(DeletionTest, ReadOnlyFileIsMovedToTemp) {
  std::wstring root = m_folder / L"readonly";
  std::wstring file = root + L"\\crashlog.dll";
  MakeTree(root, {L"crashlog.dll"});
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(DeleteDirectoryRecursive(root));
  std::wstring tempName = GeneratedTempName();
  ASSERT_FALSE(tempName.empty());
  EXPECT_FALSE(FolderExists(root));
  EXPECT_TRUE(FileExists(tempName));
  EXPECT_TRUE(IsPendingRebootDeletion(tempName));
  EXPECT_EQ(m_log.Entries(), (std::vector<std::string>{
                                "[INFO] Recursively deleting directory: " + N(root),
                                "[INFO] File in use, moving to temp and scheduling for deletion: " + N(file),
                                "[INFO] Moving file to temp and scheduling deletion: " + N(file),
                                "[INFO] Cannot delete file directly, error: 5, trying to move to temp",
                                "[INFO] Generated temp file name (manual): " + N(tempName),
                                "[INFO] Successfully moved file to temp: " + N(tempName),
                                "[INFO] Scheduled temp file deletion on reboot: " + N(tempName),
                                "[INFO] Successfully deleted directory: " + N(root),
                            }));
}

// A file that can be deleted is deleted at once, without a temporary name.
TEST_F(DeletionTest, DeletableFileIsDeletedDirectly) {
  std::wstring file = m_folder / L"plain.txt";
  MakeTree(m_folder.path(), {L"plain.txt"});
  EXPECT_TRUE(MoveToTempAndScheduleDelete(file));
  EXPECT_FALSE(FileExists(file));
  EXPECT_EQ(m_log.Entries(), (std::vector<std::string>{
                                "[INFO] Moving file to temp and scheduling deletion: " + N(file),
                                "[INFO] Successfully deleted file directly: " + N(file),
                            }));
}

// A move that fails with "file not found" stops after the first attempt and asks for the
// deletion of the file's own path at reboot.
TEST_F(DeletionTest, MissingFileStopsAfterOneAttempt) {
  std::wstring file = m_folder / L"gone.dll";
  MoveToTempAndScheduleDelete(file);
  std::wstring tempName = GeneratedTempName();
  std::vector<std::string> entries = m_log.Entries();
  ASSERT_EQ(entries.size(), 6u);
  EXPECT_EQ(entries,
            (std::vector<std::string>{
                "[INFO] Moving file to temp and scheduling deletion: " + N(file),
                "[INFO] Cannot delete file directly, error: 2, trying to move to temp",
                "[INFO] Generated temp file name (manual): " + N(tempName),
                "[WARNING] Attempt 1 failed to move file: " + N(file) + " -> " + N(tempName) +
                    ", error: 2",
                "[ERROR] Failed to move file to temp after all retries: " + N(file) + " -> " +
                    N(tempName),
                "[INFO] Scheduled original file deletion on reboot: " + N(file),
            }));
  EXPECT_TRUE(IsPendingRebootDeletion(file));
}

struct LogPauseRow {
  const wchar_t* name;
  bool pauses;
};

// A path holding ".log" anywhere (case-sensitive) pauses 100 ms before the move.
TEST_F(DeletionTest, LogFilesPauseBeforeTheMove) {
  const LogPauseRow rows[] = {
      {L"vesk_uninstall.log", true},
      {L"ruzovo.log.old", true},
      {L"x.logs\\data.bin", true},
      {L"UPPER.LOG", false},
      {L"catalog.bin", false},
  };
  const std::string detected = "[INFO] Detected log file, attempting to close any open handles";
  for (const LogPauseRow& row : rows) {
    SCOPED_TRACE(N(row.name));
    std::wstring file = m_folder / row.name;
    int before = static_cast<int>(m_log.Entries().size());
    auto start = std::chrono::steady_clock::now();
    MoveToTempAndScheduleDelete(file);  // missing file: one move attempt only
    long long elapsed = MillisecondsSince(start);
    std::vector<std::string> entries = m_log.Entries();
    bool logged = std::find(entries.begin() + before, entries.end(), detected) != entries.end();
    EXPECT_EQ(logged, row.pauses);
    if (row.pauses) {
      EXPECT_EQ(entries[before + 2], detected);
      EXPECT_GE(elapsed, 95);
    }
  }
  testing::ForgetPendingRebootOperations(m_folder.path());
}

// Temporary names lie in the temporary folder, carry the file's name and are free.
TEST_F(DeletionTest, TempNamesAreFreePathsInTheTempFolder) {
  std::wstring name = MakeTempDeleteName(L"C:\\somewhere\\vesk.helm.exe");
  std::wstring temp = TempFolderPath();
  ASSERT_EQ(name.rfind(temp + L"\\vesk_del_", 0), 0u) << N(name);
  EXPECT_TRUE(std::regex_match(N(name.substr(temp.size() + 1)),
                               std::regex(R"(vesk_del_\d+_\d+_vesk\.helm\.exe)")))
      << N(name);
  EXPECT_EQ(GetFileAttributesW(name.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(m_log.Entries(),
            (std::vector<std::string>{"[INFO] Generated temp file name (manual): " + N(name)}));
}

// A temporary folder that does not fit its 260-character buffer is not used (nor cut): names go
// to the current folder instead.
TEST_F(DeletionTest, OverlongTempFolderFallsBackToTheCurrentFolder) {
  std::wstring longTemp = m_folder / std::wstring(250, L't');
  vesk::testing::ScopedEnvironmentVariable tmp(L"TMP", longTemp);
  vesk::testing::ScopedEnvironmentVariable temp(L"TEMP", longTemp);
  std::wstring name = MakeTempDeleteName(L"C:\\x\\setup.exe");
  EXPECT_EQ(name.rfind(L".\\vesk_del_", 0), 0u) << N(name);
  std::vector<std::string> entries = m_log.Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], "[WARNING] Failed to get temp path, using current directory");
  EXPECT_EQ(entries[1], "[INFO] Generated temp file name (manual): " + N(name));
}

// A name that would not fit 260 characters is refused whole: nothing cut, nothing overrun.
TEST_F(DeletionTest, OverlongTempNameIsRefused) {
  std::wstring baseName(230, L'n');
  baseName += L".dll";
  std::wstring name = MakeTempDeleteName(L"C:\\x\\" + baseName);
  EXPECT_EQ(name, L"");
  std::vector<std::string> entries = m_log.Entries();
  ASSERT_EQ(entries.size(), 1u);
  const std::string prefix = "[WARNING] Temp file name too long: ";
  ASSERT_EQ(entries[0].rfind(prefix, 0), 0u) << entries[0];
  std::string refused = entries[0].substr(prefix.size());
  EXPECT_GE(refused.size(), 260u);
  EXPECT_EQ(refused.substr(refused.size() - baseName.size()), N(baseName));
}

// A locked file whose temporary name cannot fit is not moved anywhere: its own path is recorded
// for deletion at reboot.
TEST_F(DeletionTest, OverlongTempNameFallsBackToTheRebootRequest) {
  std::wstring baseName(230, L'r');
  std::wstring file = m_folder / baseName;
  ASSERT_TRUE(vesk::testing::WriteFileBytes(file, "x"));
  ASSERT_TRUE(SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(MoveToTempAndScheduleDelete(file));
  EXPECT_TRUE(FileExists(file));
  EXPECT_TRUE(IsPendingRebootDeletion(file));
  std::vector<std::string> entries = m_log.Entries();
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[3], "[ERROR] No temp file name fits, not moving file: " + N(file));
  EXPECT_EQ(entries[4], "[INFO] Scheduled original file deletion on reboot: " + N(file));
  SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A reboot request is recorded where Windows keeps it; an impossible one is reported with its
// error code.
TEST_F(DeletionTest, ScheduleDeleteOnReboot) {
  std::wstring file = m_folder / L"later.dll";
  MakeTree(m_folder.path(), {L"later.dll"});
  EXPECT_TRUE(ScheduleDeleteOnReboot(file));
  EXPECT_TRUE(IsPendingRebootDeletion(file));
  EXPECT_EQ(m_log.Entries(), (std::vector<std::string>{
                                "[INFO] Scheduling for deletion on reboot: " + N(file),
                                "[INFO] Successfully scheduled for deletion on reboot: " + N(file),
                            }));
  EXPECT_FALSE(ScheduleDeleteOnReboot(L""));
  std::string last = m_log.Entries().back();
  EXPECT_EQ(last.rfind("[ERROR] Failed to schedule for deletion on reboot: , error: ", 0), 0u)
      << last;
}

}  // namespace
}  // namespace vesk::uninstall
