#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "common/bounded_path.h"
#include "common/command_line_arguments.h"
#include "common/folder_tree_removal.h"
#include "common/process_list.h"
#include "common/registry_text.h"
#include "common/seam.h"
#include "common/unique_handle.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

using testing::ScopedTempFolder;

std::wstring Text(size_t length, wchar_t c = L'a') { return std::wstring(length, c); }

// A path is built whole only while it fits 259 characters and its null; never cut.
TEST(BoundedPath, BuildsOnlyWhatFits) {
  const std::wstring folder = L"C:\\" + Text(250);
  struct Case {
    std::wstring name;
    bool fits;
  };
  const Case cases[] = {{L"", true}, {Text(4), true}, {Text(5), true}, {Text(6), false},
                        {Text(300), false}};
  for (const Case& row : cases) {
    std::optional<std::wstring> path = JoinPath(folder, row.name);
    ASSERT_EQ(path.has_value(), row.fits) << row.name.size();
    if (path) {
      EXPECT_EQ(*path, folder + L"\\" + row.name);
    }
  }
  EXPECT_EQ(BuildPath({L"a", L"\\", L"b"}), std::optional<std::wstring>(L"a\\b"));
}

// Closing a handle keeps the thread's last error, so a failure can be logged after the owner has
// gone; release hands the handle over without closing it.
TEST(UniqueHandle, ClosingKeepsTheLastErrorAndReleaseDoesNotClose) {
  {
    UniqueKernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    SetLastError(ERROR_DISK_FULL);
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));

  UniqueKernelHandle owner(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HANDLE raw = owner.release();
  EXPECT_FALSE(owner);
  EXPECT_TRUE(SetEvent(raw));  // still open
  UniqueKernelHandle(raw).reset();
  EXPECT_FALSE(SetEvent(raw));
}

int Real() { return 1; }
int First() { return 2; }
int Second() { return 3; }

// Overrides nest and each one puts back what was there before it.
TEST(Seam, OverridesNestAndRestore) {
  Seam<int (*)()> seam{&Real};
  {
    ScopedOverride first(seam, &First);
    EXPECT_EQ(seam(), 2);
    {
      ScopedOverride second(seam, &Second);
      EXPECT_EQ(seam(), 3);
    }
    EXPECT_EQ(seam(), 2);
  }
  EXPECT_EQ(seam(), 1);
  EXPECT_EQ(seam.real(), &Real);
}

// A text value is read up to its first null, or whole when it has none but fits; one that does
// not fit the buffer is refused as a whole.
TEST(RegistryText, ReadsUpToTheFirstNullWithinTheBuffer) {
  testing::ScopedCurrentUserOverride user;
  const std::wstring key = L"Software\\VeskCommonTest";
  struct Case {
    const wchar_t* name;
    DWORD type;
    std::wstring stored;  // written as it stands, without a terminating null of its own
    LSTATUS status;
    std::wstring text;
  };
  // (Wine answers a REG_SZ query with ERROR_MORE_DATA when no room is left for a null it would
  // add, so the text that fills the buffer exactly is stored as binary data.)
  const Case cases[] = {
      {L"withNull", REG_SZ, std::wstring(L"abc") + L'\0', ERROR_SUCCESS, L"abc"},
      {L"innerNull", REG_SZ, std::wstring(L"ab\0cd", 5) + L'\0', ERROR_SUCCESS, L"ab"},
      {L"fillsWithoutNull", REG_BINARY, Text(8), ERROR_SUCCESS, Text(8)},
      {L"tooLong", REG_SZ, Text(8) + L'\0', ERROR_MORE_DATA, L""},
      {L"missing", REG_SZ, L"", ERROR_FILE_NOT_FOUND, L""},
  };
  for (const Case& row : cases) {
    if (row.status != ERROR_FILE_NOT_FOUND) {
      ASSERT_TRUE(testing::WriteUserValue(key, row.name, row.type, row.stored.data(),
                                          static_cast<DWORD>(row.stored.size() * 2)));
    }
  }
  UniqueRegKey opened;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, opened.put()),
            ERROR_SUCCESS);
  for (const Case& row : cases) {
    std::wstring text = L"old";
    EXPECT_EQ(ReadBoundedRegistryText(opened.get(), row.name, 8, text), row.status) << row.name;
    EXPECT_EQ(text, row.text) << row.name;
  }
}

// The process list finds a program by its file name, exactly or ignoring case, reads its whole
// path and terminates it.
TEST(ProcessList, FindsReadsAndTerminatesByName) {
  ScopedTempFolder folder(L"vesk_processes");
  const std::wstring program = folder / L"Vesk_Common_Probe.exe";
  ASSERT_TRUE(testing::PlaceTestChild(program));
  testing::ChildProcess child(program, 60000);
  ASSERT_TRUE(child.started());

  EXPECT_TRUE(FindProcessesByName(L"vesk_common_probe.exe", NameMatch::kExact).ids.empty());
  ProcessMatches found = FindProcessesByName(L"vesk_common_probe.exe", NameMatch::kIgnoringCase);
  EXPECT_EQ(found.status, ProcessListStatus::kListed);
  ASSERT_EQ(found.ids, std::vector<DWORD>{child.id()});
  EXPECT_EQ(FindProcessesByName(L"Vesk_Common_Probe.exe", NameMatch::kExact).ids, found.ids);
  EXPECT_EQ(CompareStringOrdinal(ProcessImagePath(child.id()).c_str(), -1, program.c_str(), -1,
                                 TRUE),
            CSTR_EQUAL);

  EXPECT_EQ(TerminateProcessById(child.id(), 7), TerminateResult::kTerminated);
  ASSERT_TRUE(child.WaitForExit(10000));
  EXPECT_EQ(child.ExitCode(), 7u);
  EXPECT_TRUE(FindProcessesByName(L"Vesk_Common_Probe.exe", NameMatch::kExact).ids.empty());
}

// Records what the walk asks of its steps, and does it.
class RecordingRemoval : public FolderTreeRemoval {
 public:
  explicit RecordingRemoval(std::wstring root) : m_root(std::move(root)) {}
  std::vector<std::wstring> steps;

 protected:
  bool RemoveLinkedFolder(const std::wstring& path) override {
    steps.push_back(L"link " + Relative(path));
    return testing::RemoveFolderLink(path);
  }
  bool RemoveFile(const std::wstring& path) override {
    steps.push_back(L"file " + Relative(path));
    return DeleteFileW(path.c_str()) != FALSE;
  }
  bool RemoveEmptiedFolder(const std::wstring& folder, bool entriesRemoved) override {
    steps.push_back(L"folder " + Relative(folder) + (entriesRemoved ? L"" : L" (incomplete)"));
    return RemoveDirectoryW(folder.c_str()) != FALSE && entriesRemoved;
  }

 private:
  std::wstring Relative(const std::wstring& path) const { return path.substr(m_root.size()); }
  std::wstring m_root;
};

// Subfolders are emptied and removed before their parent; a linked folder is removed as a link
// and never entered, so what it points to stays.
TEST(FolderTreeRemoval, RemovesDepthFirstAndNeverEntersLinks) {
  ScopedTempFolder temp(L"vesk_tree");
  const std::wstring tree = temp / L"tree";
  const std::wstring outside = temp / L"outside";
  ASSERT_TRUE(CreateDirectoryW(tree.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((tree + L"\\sub").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(outside.c_str(), nullptr));
  ASSERT_TRUE(testing::WriteFileBytes(tree + L"\\a.txt", "a"));
  ASSERT_TRUE(testing::WriteFileBytes(tree + L"\\sub\\b.txt", "b"));
  ASSERT_TRUE(testing::WriteFileBytes(outside + L"\\kept.txt", "kept"));
  if (!testing::MakeFolderLink(tree + L"\\link", outside)) GTEST_SKIP() << "no folder links here";

  RecordingRemoval removal(tree);
  EXPECT_TRUE(removal.Remove(tree));
  // The order of the entries within one folder is the system's; a folder always comes after its
  // content, and the tree itself last.
  std::vector<std::wstring> steps = removal.steps;
  auto at = [&](const wchar_t* step) {
    return std::find(steps.begin(), steps.end(), step) - steps.begin();
  };
  EXPECT_LT(at(L"file \\sub\\b.txt"), at(L"folder \\sub"));
  EXPECT_EQ(steps.back(), L"folder ");
  std::sort(steps.begin(), steps.end());
  EXPECT_EQ(steps, (std::vector<std::wstring>{L"file \\a.txt", L"file \\sub\\b.txt", L"folder ",
                                              L"folder \\sub", L"link \\link"}));
  EXPECT_FALSE(testing::FolderExists(tree));
  EXPECT_TRUE(testing::FileExists(outside + L"\\kept.txt"));
}

// A command line splits as a started program sees it; element 0 is the program.
#ifdef VESK_RUNTIME_OVERRIDES
// The programs' wide formatting keeps the C99 contract on the system C runtime: the text always
// ends in a terminator, and the answer is the length the whole text needs, also when cut.
TEST(RuntimeOverrides, WideFormattingKeepsTheC99Contract) {
  struct Row {
    size_t room;
    const wchar_t* text;
  };
  const Row rows[] = {{32, L"2026-12-08 42"}, {14, L"2026-12-08 42"}, {13, L"2026-12-08 4"},
                      {5, L"2026"}, {1, L""}};
  for (const Row& row : rows) {
    wchar_t buffer[32];
    std::wmemset(buffer, L'#', 32);
    EXPECT_EQ(13, std::swprintf(buffer, row.room, L"%04d-%02d-%02d %ls", 2026, 12, 8, L"42"))
        << row.room;
    EXPECT_STREQ(row.text, buffer) << row.room;
  }
  EXPECT_EQ(L"-17", std::to_wstring(-17));
}
#endif

TEST(CommandLine, SplitsLikeTheSystem) {
  EXPECT_EQ(SplitCommandLine(L"\"C:\\a b\\x.exe\" quiet \"two words\" /s"),
            (std::vector<std::wstring>{L"C:\\a b\\x.exe", L"quiet", L"two words", L"/s"}));
  EXPECT_EQ(SplitCommandLine(L"x.exe"), (std::vector<std::wstring>{L"x.exe"}));
}

}  // namespace
}  // namespace vesk
