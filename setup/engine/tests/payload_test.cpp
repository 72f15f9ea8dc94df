#include "setup/engine/payload.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/module_path.h"
#include "common/unique_handle.h"
#include "setup/engine/install_steps.h"
#include "setup/engine/payload_integrity.h"
#include "testsupport/log_capture.h"
#include "testsupport/payload_manifest.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

using testing::LogCapture;
using testing::ReadFileBytes;
using testing::ScopedTempFolder;

using testing::kManifest;
using testing::ManifestEntry;

// The built setup program, loaded as a data module: its resources are the real payload.
class PayloadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_module.reset(LoadLibraryExW(VESK_SETUP_EXE, nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    ASSERT_TRUE(m_module.valid()) << GetLastError();
  }
  UniqueModule m_module;
  // Opening the log records its path in the user's product key: keep that out of the real
  // registry, where a program test running beside this one may have made the key.
  testing::ScopedCurrentUserOverride m_user;
  LogCapture m_log;
  ScopedTempFolder m_folder;
};

// Every embedded item is written byte for byte as the build took it.
TEST_F(PayloadTest, ExtractedItemsMatchTheirSources) {
  for (const ManifestEntry& entry : kManifest) {
    std::wstring target = m_folder / entry.name;
    ASSERT_TRUE(ExtractResourceToFile(m_module.get(), static_cast<WORD>(entry.id), target));
    EXPECT_EQ(ReadFileBytes(target), ReadFileBytes(entry.source)) << testing::Narrow(entry.name);
  }
}

// An existing, longer file is replaced entirely, not overwritten at its start.
TEST_F(PayloadTest, ExistingFileIsReplacedWhole) {
  std::wstring target = m_folder / L"version.txt";
  ASSERT_TRUE(testing::WriteFileBytes(target, std::string(5000, 'x')));
  ASSERT_TRUE(ExtractResourceToFile(m_module.get(), 126, target));
  EXPECT_EQ(ReadFileBytes(target).size(), 12u);
}

// A missing resource and a target locked by another handle fail with their log line, and the
// row reports "Failed to extract" with its name.
TEST_F(PayloadTest, FailuresAreLoggedPerRow) {
  std::wstring locked = m_folder / L"mini_installer.exe";
  UniqueFile holder(CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder.valid());
  EXPECT_FALSE(ExtractPayloadItem(m_module.get(), {101, L"app.ico"}, m_folder.path()));
  EXPECT_FALSE(ExtractPayloadItem(m_module.get(), {111, L"mini_installer.exe"}, m_folder.path()));
  EXPECT_TRUE(ExtractPayloadItem(m_module.get(), {126, L"version.txt"}, m_folder.path()));
  EXPECT_FALSE(testing::FileExists(m_folder / L"app.ico"));
  std::vector<std::string> expected = {
      "Failed to find resource.",  "Failed to extract app.ico",
      "Failed to open output file.", "Failed to extract mini_installer.exe",
      "Resource extracted successfully.", "version.txt extracted successfully!"};
  EXPECT_EQ(m_log.Messages(), expected);
}

// Writes the first half of the data, then fails as a full disk does.
BOOL WINAPI WriteHalfThenFail(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                              LPOVERLAPPED overlapped) {
  WriteFile(file, data, size / 2, written, overlapped);
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}

// A write that fails part-way fails the row and leaves no partial file behind, so a cut-off
// installer can never be run later.
TEST_F(PayloadTest, FailedWriteLeavesNoPartialFile) {
  bool extracted;
  {
    ScopedOverride fullDisk(g_payloadWriteFile, &WriteHalfThenFail);
    extracted = ExtractPayloadItem(m_module.get(), {102, L"background.png"}, m_folder.path());
  }
  EXPECT_FALSE(extracted);
  EXPECT_FALSE(testing::FileExists(m_folder / L"background.png"));
  std::vector<std::string> expected = {"Failed to write output file, error code: 112",
                                       "Failed to extract background.png"};
  EXPECT_EQ(m_log.Messages(), expected);
}

// Writes the first half of the data and reports success with the shorter count, as a write to a
// full or failing medium may.
BOOL WINAPI WriteHalfAndReportSuccess(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                      LPOVERLAPPED overlapped) {
  return WriteFile(file, data, size / 2, written, overlapped);
}

// A write that reports success but wrote fewer bytes than asked fails the row and leaves no
// partial file behind.
TEST_F(PayloadTest, ShortWriteLeavesNoPartialFile) {
  bool extracted;
  {
    ScopedOverride shortWrite(g_payloadWriteFile, &WriteHalfAndReportSuccess);
    extracted = ExtractPayloadItem(m_module.get(), {111, L"mini_installer.exe"}, m_folder.path());
  }
  EXPECT_FALSE(extracted);
  EXPECT_FALSE(testing::FileExists(m_folder / L"mini_installer.exe"));
  std::vector<std::string> expected = {"Failed to write output file, error code: 39",
                                       "Failed to extract mini_installer.exe"};
  EXPECT_EQ(m_log.Messages(), expected);
}

// Creates folders below `base` until the path has exactly `length` characters; returns it.
std::wstring MakeFolderOfLength(const std::wstring& base, size_t length) {
  std::wstring path = base;
  CreateDirectoryW(path.c_str(), nullptr);
  while (path.size() < length) {
    const size_t room = length - path.size() - 1;  // characters left for the next name
    // Names of at most 100 characters; a longer room keeps at least one character for the next.
    const size_t part = room > 100 ? (room - 2 < 100 ? room - 2 : 100) : room;
    path += L"\\" + std::wstring(part, L'f');
    CreateDirectoryW(path.c_str(), nullptr);
  }
  return path;
}

// The target path at the 260-character limit: 259 characters are extracted, 260 are refused
// before anything is written.
TEST_F(PayloadTest, TargetPathsAtTheLimit) {
  const std::wstring name = L"version.txt";
  std::wstring fits = MakeFolderOfLength(m_folder / L"a", 259 - 1 - name.size());
  ASSERT_TRUE(testing::FolderExists(fits));
  EXPECT_TRUE(ExtractPayloadItem(m_module.get(), {126, name.c_str()}, fits));
  EXPECT_EQ((fits + L"\\" + name).size(), 259u);
  EXPECT_EQ(ReadFileBytes(fits + L"\\" + name).size(), 12u);

  std::wstring tooLong = MakeFolderOfLength(m_folder / L"b", 260 - 1 - name.size());
  ASSERT_TRUE(testing::FolderExists(tooLong));
  const size_t before = m_log.Messages().size();
  EXPECT_FALSE(ExtractPayloadItem(m_module.get(), {126, name.c_str()}, tooLong));
  EXPECT_FALSE(testing::FileExists(tooLong + L"\\" + name));
  std::vector<std::string> expected = {"Path too long: " + testing::Narrow(tooLong + L"\\" + name),
                                       "Failed to extract version.txt"};
  std::vector<std::string> messages = m_log.Messages();
  EXPECT_EQ(std::vector<std::string>(messages.begin() + before, messages.end()), expected);
}

// An item whose embedded data no longer matches the digest recorded at build time is reported,
// its file removed, and the mismatch told to the caller.
TEST_F(PayloadTest, AlteredItemIsRefused) {
  const std::string altered = testing::ProgramWithAlteredItem(VESK_SETUP_EXE, 102);
  ASSERT_FALSE(altered.empty());
  ASSERT_TRUE(testing::WriteFileBytes(m_folder / L"VeskSetup.exe", altered));
  UniqueModule module(LoadLibraryExW((m_folder / L"VeskSetup.exe").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module.valid());
  bool mismatch = false;
  EXPECT_TRUE(ExtractPayloadItem(module.get(), {126, L"version.txt"}, m_folder.path(), &mismatch));
  EXPECT_FALSE(mismatch);
  EXPECT_FALSE(ExtractPayloadItem(module.get(), {102, L"background.png"}, m_folder.path(), &mismatch));
  EXPECT_TRUE(mismatch);
  EXPECT_FALSE(testing::FileExists(m_folder / L"background.png"));
  std::vector<std::string> messages = m_log.Messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2],
            "Payload item does not match its recorded digest: " +
                testing::Narrow(m_folder / L"background.png"));
  EXPECT_EQ(messages.back(), "Failed to extract background.png");
}

// An item whose digest record is unreadable (a digit replaced) or missing (this test program
// embeds item 7126 and records nothing) fails like a mismatch: no file is left and the caller is
// told; a file is never taken to match such a record.
TEST_F(PayloadTest, UnreadableOrMissingDigestFailsLikeAMismatch) {
  std::string program = ReadFileBytes(VESK_SETUP_EXE);
  std::optional<Sha256Digest> digest = RecordedPayloadDigest(m_module.get(), 126);
  ASSERT_TRUE(digest);
  std::string hex;
  for (unsigned char byte : *digest) {
    hex += "0123456789abcdef"[byte >> 4];
    hex += "0123456789abcdef"[byte & 15];
  }
  const size_t at = program.find(hex);
  ASSERT_NE(at, std::string::npos);
  program[at + 10] = 'z';
  ASSERT_TRUE(testing::WriteFileBytes(m_folder / L"unreadable.exe", program));
  UniqueModule unreadable(LoadLibraryExW((m_folder / L"unreadable.exe").c_str(), nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(unreadable.valid());
  ScopedTempFolder good;
  ASSERT_TRUE(ExtractResourceToFile(m_module.get(), 126, good / L"version.txt"));
  ASSERT_TRUE(FileMatchesRecordIn(m_module.get(), good / L"version.txt", 126));
  struct {
    HMODULE module;
    int id;
  } const cases[] = {{unreadable.get(), 126}, {GetModuleHandleW(nullptr), 7126}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.id);
    bool mismatch = false;
    EXPECT_FALSE(ExtractPayloadItem(test.module, {test.id, L"version.txt"}, m_folder.path(),
                                    &mismatch));
    EXPECT_TRUE(mismatch);
    EXPECT_FALSE(testing::FileExists(m_folder / L"version.txt"));
    EXPECT_FALSE(FileMatchesRecordIn(test.module, good / L"version.txt", test.id));
  }
  // The check before use answers for this program, which records nothing: nothing passes.
  EXPECT_FALSE(PayloadFileMatchesRecord(good / L"version.txt", 126));
}

// A path that does not fit the 260-character buffer is refused, never cut short.
TEST_F(PayloadTest, OverlongTargetPathIsRefused) {
  std::wstring folder = m_folder.path() + L"\\" + std::wstring(250, L'd');
  EXPECT_FALSE(ExtractPayloadItem(m_module.get(), {126, L"version.txt"}, folder));
  std::vector<std::string> messages = m_log.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].rfind("Path too long: ", 0), 0u);
  EXPECT_EQ(messages[1], "Failed to extract version.txt");
}

// Copying logs success or failure with the file's name.
TEST_F(PayloadTest, CopyPayloadFileLogsOutcome) {
  ScopedTempFolder target;
  ASSERT_TRUE(testing::WriteFileBytes(m_folder / L"a.dll", "abc"));
  CopyPayloadFile(L"a.dll", m_folder.path(), target.path());
  CopyPayloadFile(L"missing.dll", m_folder.path(), target.path());
  EXPECT_EQ(ReadFileBytes(target / L"a.dll"), "abc");
  std::vector<std::string> expected = {"a.dll copied successfully.", "Failed to copy missing.dll."};
  EXPECT_EQ(m_log.Messages(), expected);
}

// A large item is read from the file of a module loaded as a program, and from the loaded copy of
// one loaded as data: a program file replaced after loading shows only in the first, where the
// held file's check refuses it. The running test program itself takes the first road too.
TEST(LargePayloadItemTest, ReadFromTheProgramFileAndChecked) {
  ScopedTempFolder folder;
  const std::string item = ReadFileBytes(VESK_LARGE_ITEM);
  std::string program = ReadFileBytes(GetModulePath());
  const size_t at = program.find(item);
  ASSERT_NE(at, std::string::npos);
  const std::wstring programPath = folder / L"program.exe";
  ASSERT_TRUE(testing::WriteFileBytes(programPath, program));
  program[at + item.size() / 2] ^= 0x5a;
  const std::string replaced = program;

  struct Row {
    const char* what;
    DWORD loadFlags;
    bool replaceAfterLoading;
    bool extracted;
  };
  const Row rows[] = {
      {"as a program", DONT_RESOLVE_DLL_REFERENCES, false, true},
      {"as a program, its file replaced", DONT_RESOLVE_DLL_REFERENCES, true, false},
      {"as data", LOAD_LIBRARY_AS_DATAFILE, false, true},
      {"as data, its file replaced", LOAD_LIBRARY_AS_DATAFILE, true, true},
  };
  int index = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    UniqueModule module(LoadLibraryExW(programPath.c_str(), nullptr, row.loadFlags));
    ASSERT_TRUE(module.valid());
    const std::wstring moved = folder / (L"loaded" + std::to_wstring(index++) + L".exe");
    if (row.replaceAfterLoading) {
      ASSERT_TRUE(MoveFileW(programPath.c_str(), moved.c_str()));
      ASSERT_TRUE(testing::WriteFileBytes(programPath, replaced));
    }
    const std::wstring target = folder / L"large.bin";
    HeldFiles held;
    bool mismatch = false;
    EXPECT_EQ(row.extracted, ExtractResourceToFile(module.get(), 9001, target, &mismatch, &held));
    EXPECT_EQ(!row.extracted, mismatch);
    if (row.extracted) {
      EXPECT_TRUE(ReadFileBytes(target) == item);
    }
    EXPECT_EQ(row.extracted, testing::FileExists(target));
    held.ReleaseAll();
    DeleteFileW(target.c_str());
    module.reset();
    if (row.replaceAfterLoading) {
      ASSERT_TRUE(DeleteFileW(programPath.c_str()));
      ASSERT_TRUE(MoveFileW(moved.c_str(), programPath.c_str()));
    }
  }
  EXPECT_TRUE(ExtractResourceToFile(GetModuleHandleW(nullptr), 9001, folder / L"own.bin"));
  EXPECT_TRUE(ReadFileBytes(folder / L"own.bin") == item);
}

// A file is held only when its whole content has the expected digest, a large file read in
// pieces of 1 MiB on two threads (a file one byte longer or shorter fails too); a held file cannot
// be written until it is released.
TEST(HeldFilesTest, HoldsOnlyTheExpectedContent) {
  ScopedTempFolder folder;
  const std::string large(9 << 20, 'a');
  std::string largeChanged = large;
  largeChanged[(8 << 20) + 5] = 'b';
  struct Row {
    const char* what;
    std::string expected;
    std::string onDisk;
    bool held;
  };
  const Row rows[] = {
      {"same small", "payload", "payload", true},
      {"same empty", "", "", true},
      {"same large", large, large, true},
      {"one byte changed", "payload", "paxload", false},
      {"one byte longer", "payload", "payload!", false},
      {"one byte shorter", "payload", "payloa", false},
      {"empty expected, one byte on disk", "", "x", false},
      {"large, changed in its third digest piece", large, largeChanged, false},
      {"large, one byte longer", large, large + "a", false},
  };
  HeldFiles held;
  int index = 0;
  for (const Row& row : rows) {
    const std::wstring path = folder / (L"item" + std::to_wstring(index++));
    ASSERT_TRUE(testing::WriteFileBytes(path, row.onDisk));
    const std::optional<Sha256Digest> expected =
        PayloadDigestOf(row.expected.data(), row.expected.size(), 1);
    ASSERT_TRUE(expected);
    EXPECT_EQ(row.held, held.Hold(path, *expected)) << row.what;
    const bool writable = UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                 nullptr, OPEN_EXISTING, 0, nullptr))
                              .valid();
    EXPECT_EQ(!row.held, writable) << row.what;
  }
  held.ReleaseAll();
}

// A copy of a held file matches it only with the same bytes; the held file itself matches; a
// digest of no held file gives no answer.
TEST(HeldFilesTest, CopiesAreComparedWithTheHeldFile) {
  ScopedTempFolder folder;
  const std::string content(9 << 20, 'c');
  const std::optional<Sha256Digest> digest = PayloadDigestOf(content.data(), content.size(), 1);
  const std::optional<Sha256Digest> other = PayloadDigestOf("other", 5, 1);
  ASSERT_TRUE(digest && other);
  ASSERT_TRUE(testing::WriteFileBytes(folder / L"held", content));
  HeldFiles held;
  ASSERT_TRUE(held.Hold(folder / L"held", *digest));
  std::string changed = content;
  changed.back() = 'd';
  struct Row {
    const char* what;
    std::wstring path;
    std::string onDisk;  // written first unless the row is the held file or a missing one
    std::optional<bool> matches;
  };
  const Row rows[] = {
      {"same bytes", folder / L"same", content, true},
      {"last byte changed", folder / L"changed", changed, false},
      {"one byte shorter", folder / L"shorter", content.substr(1), false},
      {"the held file", folder / L"held", "", true},
      {"missing", folder / L"missing", "", false},
  };
  for (const Row& row : rows) {
    if (!row.onDisk.empty()) {
      ASSERT_TRUE(testing::WriteFileBytes(row.path, row.onDisk));
    }
    EXPECT_EQ(row.matches, held.MatchesHeld(row.path, *digest)) << row.what;
  }
  EXPECT_EQ(std::nullopt, held.MatchesHeld(folder / L"same", *other));
  held.ReleaseAll();
}

}  // namespace
}  // namespace vesk
