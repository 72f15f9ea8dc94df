// Runs the built VeskSetup.exe as a separate process under the debugger loop and checks what it
// did: exit code, the working folder and its files, and its log lines. Without "quiet" setup
// shows its window: the working folder is checked while the window is up, then it is closed.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <shlobj.h>

#include "common/unique_handle.h"
#include "testsupport/payload_manifest.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

using testing::ReadFileBytes;
using testing::ScopedTempFolder;

using testing::kManifest;
using testing::ManifestEntry;

std::vector<std::wstring> GoldenLines(const std::wstring& file, const std::wstring& working) {
  std::vector<std::wstring> lines;
  std::string text = ReadFileBytes(std::wstring(VESK_GOLDEN_DIR) + L"\\" + file);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::wstring line = testing::Widen(text.substr(start, end - start));
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    for (size_t at; (at = line.find(L"<working>")) != std::wstring::npos;) {
      line.replace(at, 9, working);
    }
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

class SetupProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_setupExe = m_folder / L"VeskSetup.exe";
    m_working = m_folder / L".VeskSetupTemp";
    ASSERT_TRUE(CopyFileW(VESK_SETUP_EXE, m_setupExe.c_str(), FALSE));
  }

  // Runs the program; when it shows its window, `whileShown` runs and the window is then closed.
  testing::ProcessResult Run(const std::wstring& arguments,
                             const std::function<void()>& whileShown = nullptr) {
    testing::RunOptions options;
    options.captureDebugOutput = true;
    options.currentFolder = m_folder.path();
    options.closeWindowOfClass = L"VeskSetup";
    options.whileWindowShown = [&](HWND) {
      if (whileShown) whileShown();
    };
    return testing::RunProcess(L"\"" + m_setupExe + L"\"" + arguments, options);
  }

  // How often a line occurs among the debugger-output lines.
  static size_t Count(const testing::ProcessResult& result, const std::wstring& line) {
    return std::count(result.debugLines.begin(), result.debugLines.end(), line);
  }

  ScopedTempFolder m_folder{L"setup_run"};
  std::wstring m_setupExe, m_working;
};

// A first run recreates a hidden working folder beside the program, unpacks the 25 data items
// byte for byte before its window shows, and logs the preparation in the documented order;
// closing the window removes the working folder and setup ends with 0.
TEST_F(SetupProgramTest, FreshRunUnpacksEveryItemIntoHiddenWorkingFolder) {
  std::vector<std::wstring> expectedNames;
  for (const ManifestEntry& entry : kManifest) expectedNames.push_back(entry.name);
  std::sort(expectedNames.begin(), expectedNames.end());
  EXPECT_EQ(expectedNames.size(), 25u);
  testing::ProcessResult result = Run(L"", [&] {
    DWORD attributes = testing::FileAttributes(m_working);
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(testing::ListFolder(m_working), expectedNames);
    for (const ManifestEntry& entry : kManifest) {
      std::string extracted = ReadFileBytes(m_working + L"\\" + entry.name);
      EXPECT_FALSE(extracted.empty()) << testing::Narrow(entry.name);
      EXPECT_EQ(extracted, ReadFileBytes(entry.source)) << testing::Narrow(entry.name);
    }
  });
  ASSERT_TRUE(result.finished);
  EXPECT_TRUE(result.windowClosed);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_FALSE(testing::FolderExists(m_working));

  std::vector<std::wstring> golden = GoldenLines(L"fresh_run.golden", m_working);
  ASSERT_GE(result.debugLines.size(), golden.size());
  std::vector<std::wstring> preparation(result.debugLines.begin(),
                                        result.debugLines.begin() + golden.size());
  EXPECT_EQ(preparation, golden);
}

// Whatever an interrupted run (or another program) left in the working folder is removed
// before extraction, read-only files and subfolders too: only the payload is there when the
// window shows, and the preparation logs its normal lines. A linked folder is removed as a link
// or, where that fails (Wine), refused; what it points to is never touched.
TEST_F(SetupProgramTest, LeftoversAreRemovedBeforeExtraction) {
  ScopedTempFolder outside{L"outside"};
  ASSERT_TRUE(testing::WriteFileBytes(outside / L"keep.txt", "k"));
  for (const bool withLink : {false, true}) {
    SCOPED_TRACE(withLink ? "with a linked folder" : "files and folders");
    ASSERT_TRUE(CreateDirectoryW(m_working.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((m_working + L"\\sub").c_str(), nullptr));
    for (const wchar_t* name : {L"main.xml", L"planted.dll", L"sub\\deep.pem"}) {
      ASSERT_TRUE(testing::WriteFileBytes(m_working + L"\\" + name, "x"));
    }
    ASSERT_TRUE(SetFileAttributesW((m_working + L"\\planted.dll").c_str(), FILE_ATTRIBUTE_READONLY));
    if (withLink && !testing::MakeFolderLink(m_working + L"\\linked", outside.path())) continue;

    testing::ProcessResult result = Run(L"", [&] {
      EXPECT_EQ(ReadFileBytes(m_working + L"\\main.xml"), ReadFileBytes(kManifest[0].source));
      EXPECT_EQ(testing::ListFolder(m_working).size(), 25u);
    });
    ASSERT_TRUE(result.finished);
    EXPECT_TRUE(testing::FileExists(outside / L"keep.txt"));
    if (withLink && result.exitCode == 107) {
      testing::RemoveFolderLink(m_working + L"\\linked");
      continue;
    }
    EXPECT_TRUE(result.windowClosed);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(Count(result, L"dirPath already exists, remove it: " + m_working), 1u);
    EXPECT_EQ(Count(result, L"dirPath created: " + m_working), 1u);
    EXPECT_EQ(Count(result, L"Resource extracted successfully."), 25u);
  }
}

// A file in the working folder that cannot be removed (held open by another process) stops
// setup before anything is extracted or installed: logged, no window, exit code 107.
TEST_F(SetupProgramTest, WorkingFolderThatCannotBeEmptiedIsRefused) {
  ASSERT_TRUE(CreateDirectoryW(m_working.c_str(), nullptr));
  std::wstring locked = m_working + L"\\mini_installer.exe";
  UniqueFile holder(CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder.valid());

  for (const wchar_t* arguments : {L"", L" quiet"}) {
    testing::ProcessResult result = Run(arguments);
    ASSERT_TRUE(result.finished);
    EXPECT_FALSE(result.windowClosed);
    EXPECT_EQ(result.exitCode, 107u);
    EXPECT_EQ(Count(result, L"Working folder cannot be emptied, nothing is extracted: " + m_working),
              1u);
    EXPECT_EQ(Count(result, L"Resource extracted successfully."), 0u);
    EXPECT_EQ(testing::ListFolder(m_working), std::vector<std::wstring>{L"mini_installer.exe"});
  }
}

// While setup may still use them, the extracted items can be neither overwritten nor deleted
// (here while the window is up), and the installer is still the extracted one afterwards.
TEST_F(SetupProgramTest, ExtractedItemsCannotBeReplacedOrDeleted) {
  testing::ProcessResult result = Run(L"", [&] {
    for (const wchar_t* name : {L"mini_installer.exe", L"vesk_installer.bat", L"metrics_sdk.dll"}) {
      const std::wstring item = m_working + L"\\" + name;
      EXPECT_FALSE(testing::WriteFileBytes(item, "planted")) << testing::Narrow(name);
      EXPECT_FALSE(DeleteFileW(item.c_str())) << testing::Narrow(name);
    }
    for (const ManifestEntry& entry : kManifest) {
      if (entry.id != 111) continue;
      EXPECT_EQ(ReadFileBytes(m_working + L"\\mini_installer.exe"), ReadFileBytes(entry.source));
    }
  });
  ASSERT_TRUE(result.finished);
  EXPECT_TRUE(result.windowClosed);
  EXPECT_FALSE(testing::FolderExists(m_working));
}

// Keywords are logged as they are found, and "/S" (capital S) does not select the quiet road:
// the window shows.
TEST_F(SetupProgramTest, ArgumentsAreLoggedAndOnlyExactKeywordsCount) {
  testing::ProcessResult result = Run(L" kill /S disable_autolaunch");
  ASSERT_TRUE(result.finished);
  EXPECT_TRUE(result.windowClosed);
  EXPECT_EQ(result.exitCode, 0u);
  ASSERT_FALSE(result.debugLines.empty());
  EXPECT_EQ(result.debugLines[0], L"Command line arguments: kill /S disable_autolaunch");
  EXPECT_EQ(Count(result, L"isKill = true,Argument kill"), 1u);
  EXPECT_EQ(Count(result, L"isAutoLaunch = false,Argument disable_autolaunch"), 1u);
  EXPECT_EQ(Count(result, L"isQuiet = true, start QuietInstall"), 0u);
}

// A program folder so deep that the working folder would not fit a 260-character path is
// refused with a log line and its own exit code; nothing is cut short or written elsewhere.
TEST(SetupProgramPaths, OverlongWorkingFolderIsRefused) {
  ScopedTempFolder folder(L"deep");
  std::wstring deep = folder.path();
  // 250 characters: the program path "<deep>\s.exe" still fits, "<deep>\.VeskSetupTemp" does not.
  while (deep.size() < 250) {
    deep += L"\\" + std::wstring(std::min<size_t>(40, 249 - deep.size()), L'd');
  }
  ASSERT_EQ(SHCreateDirectoryExW(nullptr, deep.c_str(), nullptr), ERROR_SUCCESS);
  ASSERT_EQ(deep.size(), 250u);
  std::wstring exe = deep + L"\\s.exe";
  ASSERT_TRUE(CopyFileW(VESK_SETUP_EXE, exe.c_str(), FALSE)) << GetLastError();
  testing::RunOptions options;
  options.captureDebugOutput = true;
  testing::ProcessResult result = testing::RunProcess(L"\"" + exe + L"\" quiet", options);
  ASSERT_TRUE(result.started);
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 105u);
  std::wstring expected = L"Working folder path too long: " + deep + L"\\.VeskSetupTemp";
  EXPECT_NE(std::find(result.debugLines.begin(), result.debugLines.end(), expected),
            result.debugLines.end());
  EXPECT_FALSE(testing::FolderExists(deep + L"\\.VeskSetupTemp"));
}

// The program carries each item as RT_RCDATA under its id with the source's exact size, and
// beside it the item's SHA-256 (64 hex digits) under 1000 + its id; nothing under 101 but its icon
// group, and a manifest asking for no elevation and common controls 6.
TEST(SetupProgramResources, ResourceTableMatchesThePayload) {
  UniqueModule module(LoadLibraryExW(VESK_SETUP_EXE, nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module.valid());
  for (const ManifestEntry& entry : kManifest) {
    HRSRC resource = FindResourceW(module.get(), MAKEINTRESOURCEW(entry.id), RT_RCDATA);
    ASSERT_NE(resource, nullptr) << entry.id;
    EXPECT_EQ(SizeofResource(module.get(), resource), ReadFileBytes(entry.source).size())
        << entry.id;
    HRSRC digest = FindResourceW(module.get(), MAKEINTRESOURCEW(1000 + entry.id), RT_RCDATA);
    ASSERT_NE(digest, nullptr) << entry.id;
    EXPECT_EQ(SizeofResource(module.get(), digest), 64u) << entry.id;
  }
  std::vector<WORD> ids;
  EnumResourceNamesW(
      module.get(), RT_RCDATA,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
        reinterpret_cast<std::vector<WORD>*>(param)->push_back(
            static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name)));
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&ids));
  EXPECT_EQ(ids.size(), 50u);  // 25 items and their digests
  EXPECT_EQ(std::count(ids.begin(), ids.end(), 101), 0);
  EXPECT_NE(FindResourceW(module.get(), MAKEINTRESOURCEW(101), RT_GROUP_ICON), nullptr);

  HRSRC manifest = FindResourceW(module.get(), MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(manifest, nullptr);
  std::string text(static_cast<const char*>(LockResource(LoadResource(module.get(), manifest))),
                   SizeofResource(module.get(), manifest));
  EXPECT_NE(text.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(text.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
            std::string::npos);
}

// The elevated-install batch file is carried byte for byte: 27 CR LF lines, no final line end.
TEST(SetupProgramResources, BatchFileHasExactBytes) {
  const char* const expected[] = {
      "@echo off", "",
      "set targetDir1=%~1", "set targetDir2=%~2", "",
      "set sourceDir=%~dp0", "",
      "set targetDir=%targetDir1% %targetDir2%", "",
      "echo Copying files from \"%sourceDir%\" to \"%targetDir%\"", "",
      "xcopy \"%sourceDir%\\*.exe\" \"%targetDir%\\\" /s /e /y",
      "xcopy \"%sourceDir%\\*.dll\" \"%targetDir%\\\" /s /e /y",
      "xcopy \"%sourceDir%\\*.pem\" \"%targetDir%\\\" /s /e /y", "",
      "echo Executing mini_installer.exe in \"%targetDir%\"", "",
      "start \"\" \"%targetDir%\\mini_installer.exe\"", "",
      "if %errorlevel% neq 0 (",
      "    echo mini_installer.exe failed, error code: %errorlevel%",
      "    set exitCode=%errorlevel%",
      ") else (",
      "    echo mini_installer.exe success",
      "    set exitCode=0",
      ")",
      "exit %exitCode%"};
  std::string joined;
  for (const char* line : expected) joined += std::string(joined.empty() ? "" : "\r\n") + line;
  UniqueModule module(LoadLibraryExW(VESK_SETUP_EXE, nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module.valid());
  HRSRC resource = FindResourceW(module.get(), MAKEINTRESOURCEW(123), RT_RCDATA);
  ASSERT_NE(resource, nullptr);
  std::string bytes(static_cast<const char*>(LockResource(LoadResource(module.get(), resource))),
                    SizeofResource(module.get(), resource));
  EXPECT_EQ(bytes.size(), 636u);
  EXPECT_EQ(bytes, joined);
}

// A setup program whose embedded installer was altered after the build refuses it: the mismatch
// is logged, nothing is installed or started, and setup ends with 106.
TEST_F(SetupProgramTest, AlteredInstallerEndsWith106) {
  const std::string altered = testing::ProgramWithAlteredItem(VESK_SETUP_EXE, 111);
  ASSERT_FALSE(altered.empty());
  ASSERT_TRUE(testing::WriteFileBytes(m_setupExe, altered));
  testing::ProcessResult result = Run(L" quiet");
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 106u);
  EXPECT_FALSE(testing::FileExists(m_working + L"\\mini_installer.exe"));
  EXPECT_EQ(Count(result, L"Payload item does not match its recorded digest: " + m_working +
                              L"\\mini_installer.exe"),
            1u);
  EXPECT_EQ(Count(result, L"isQuiet = true, start QuietInstall"), 0u);
}

}  // namespace
}  // namespace vesk
