#include "setup/engine/location_checks.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <regex>
#include <ostream>
#include <string>
#include <vector>

#include "common/product.h"
#include "setup/engine/tests/engine_test_support.h"
#include "testsupport/log_capture.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

using testing::FolderExists;
using testing::ListFolder;
using testing::LogCapture;
using testing::Narrow;
using testing::ScopedCurrentUserOverride;
using testing::ScopedTempFolder;

void SetInstallPathData(const void* data, DWORD bytes, DWORD type = REG_SZ) {
  ASSERT_TRUE(testing::WriteUserValue(kProductKey, kInstallPathValue, type, data, bytes));
}

void SetInstallPath(const std::wstring& text) {
  SetInstallPathData(text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

class LocationTest : public ::testing::Test {
 protected:
  ScopedCurrentUserOverride m_user;
  LogCapture m_log;
  ScopedTempFolder m_folder;
};

// Without the product key, or without the value, the registered folder is empty.
TEST_F(LocationTest, MissingKeyOrValueReadsEmpty) {
  EXPECT_EQ(GetInstallPathFromRegistry(), L"");
  SetInstallPathData(nullptr, 0);
  EXPECT_EQ(GetInstallPathFromRegistry(), L"");
}

struct StoredPathCase {
  size_t characters;
  bool terminated;
  bool readBack;
};

void PrintTo(const StoredPathCase& test, std::ostream* out) {
  *out << test.characters << (test.terminated ? " characters and a null" : " characters");
}

class StoredPathTest : public LocationTest, public ::testing::WithParamInterface<StoredPathCase> {};

// A folder of up to 259 characters is read back whole, with or without a stored null; one of
// 260 characters or more reads as empty (it does not fit a path) and is never cut.
TEST_P(StoredPathTest, ReadsWholePathsAndRefusesLongerOnes) {
  const StoredPathCase& test = GetParam();
  std::wstring path = L"C:\\" + std::wstring(test.characters - 3, L'p');
  SetInstallPathData(path.c_str(), static_cast<DWORD>(
                                       (path.size() + (test.terminated ? 1 : 0)) * sizeof(wchar_t)));
  EXPECT_EQ(GetInstallPathFromRegistry(), test.readBack ? path : L"");
}

INSTANTIATE_TEST_SUITE_P(Lengths, StoredPathTest,
                         ::testing::Values(StoredPathCase{10, true, true},
                                           StoredPathCase{10, false, true},
                                           StoredPathCase{259, true, true},
                                           StoredPathCase{259, false, true},
                                           StoredPathCase{260, true, false},
                                           StoredPathCase{260, false, false},
                                           StoredPathCase{400, true, false}),
                         [](const auto& info) {
                           return std::to_string(info.param.characters) +
                                  (info.param.terminated ? "WithNull" : "WithoutNull");
                         });

// A folder with a percent sign and blanks comes back unchanged.
TEST_F(LocationTest, PercentAndBlanksComeBackUnchanged) {
  SetInstallPath(L"D:\\100% sure\\%USERPROFILE%\\vesk.helm");
  EXPECT_EQ(GetInstallPathFromRegistry(), L"D:\\100% sure\\%USERPROFILE%\\vesk.helm");
}

// The default folder lies below the user's local application data folder.
TEST_F(LocationTest, DefaultFolderIsBelowLocalApplicationData) {
  wchar_t localAppData[MAX_PATH];
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                             localAppData),
            S_OK);
  EXPECT_EQ(GetDefaultInstallPath(), std::wstring(localAppData) + L"\\vesk.helm\\Application");
}

// A folder that does not exist yet is created and removed again; the parents created on the way
// stay behind.
TEST_F(LocationTest, ProbeOfNewFolderLeavesItsParents) {
  std::wstring target = m_folder / L"a\\b\\vesk.helm";
  EXPECT_TRUE(HasInstallPermission(target));
  EXPECT_FALSE(FolderExists(target));
  EXPECT_TRUE(FolderExists(m_folder / L"a\\b"));
  std::vector<std::string> expected = {"HasInstallPermission OK path: " + Narrow(target),
                                       "Successfully removed check directory: " + Narrow(target)};
  EXPECT_EQ(m_log.Messages(), expected);
}

// In an existing folder a probe folder is created and removed; nothing is left behind.
TEST_F(LocationTest, ProbeOfExistingFolderCreatesAndRemovesAProbe) {
  ASSERT_TRUE(testing::WriteFileBytes(m_folder / L"kept.txt", "x"));
  EXPECT_TRUE(HasInstallPermission(m_folder.path()));
  EXPECT_EQ(ListFolder(m_folder.path()), std::vector<std::wstring>{L"kept.txt"});
  std::vector<std::string> messages = m_log.Messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0], "check Install directory already exists");
  std::smatch match;
  std::regex created("Successfully created sub directory: (.*\\\\checkDir_-?[0-9]+)");
  ASSERT_TRUE(std::regex_match(messages[1], match, created)) << messages[1];
  EXPECT_EQ(match[1].str().substr(0, Narrow(m_folder.path()).size()), Narrow(m_folder.path()));
  EXPECT_EQ(messages[2], "Successfully removed sub directory: " + match[1].str());
}

// Places where no folder can be made fail the probe with "Failed check install directory":
// below a file, and a path with characters no folder name may hold.
TEST_F(LocationTest, PathsThatCannotBeFoldersFailTheProbe) {
  ASSERT_TRUE(testing::WriteFileBytes(m_folder / L"file.txt", "x"));
  for (const std::wstring& path : {m_folder / L"file.txt\\sub", m_folder / L"bad<>|name",
                                   std::wstring(L"relative\\folder")}) {
    EXPECT_FALSE(HasInstallPermission(path)) << Narrow(path);
  }
  std::vector<std::string> expected(3, "Failed check install directory");
  EXPECT_EQ(m_log.Messages(), expected);
}

// An existing folder in which nobody, not even an administrator, can create anything fails at
// the probe folder. Wine maps the Linux root to Z:, whose /proc refuses new entries for root too.
TEST_F(LocationTest, ProbeInFolderThatRefusesNewEntriesFails) {
  if (!FolderExists(L"Z:\\proc\\self")) GTEST_SKIP() << "needs Wine's view of /proc";
  EXPECT_FALSE(HasInstallPermission(L"Z:\\proc"));
  std::vector<std::string> messages = m_log.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], "check Install directory already exists");
  EXPECT_TRUE(std::regex_match(messages[1],
                               std::regex("Failed to create sub directory: Z:\\\\proc\\\\checkDir_-?[0-9]+")))
      << messages[1];
}

// Free-space figures reported by the seam, and the root it was asked about.
struct FreeSpace {
  static ULONGLONG bytes;
  static bool succeed;
  static std::vector<std::wstring> roots;
  static BOOL WINAPI Query(const wchar_t* root, ULARGE_INTEGER* available, ULARGE_INTEGER* total,
                           ULARGE_INTEGER* totalFree) {
    roots.push_back(root);
    if (!succeed) {
      SetLastError(ERROR_NOT_READY);
      return FALSE;
    }
    available->QuadPart = bytes;
    total->QuadPart = bytes * 2;
    totalFree->QuadPart = bytes + 1;
    return TRUE;
  }
};
ULONGLONG FreeSpace::bytes = 0;
bool FreeSpace::succeed = true;
std::vector<std::wstring> FreeSpace::roots;

class DiskSpaceTest : public LocationTest {
 protected:
  void SetUp() override {
    FreeSpace::roots.clear();
    FreeSpace::succeed = true;
  }

 private:
  ScopedOverride<decltype(&::GetDiskFreeSpaceExW)> m_freeSpace{g_getDiskFreeSpace, &FreeSpace::Query};
};

struct SpaceCase {
  ULONGLONG available;
  bool rejected;
};

void PrintTo(const SpaceCase& test, std::ostream* out) { *out << test.available << " bytes"; }

class DiskSpaceLimitTest : public DiskSpaceTest, public ::testing::WithParamInterface<SpaceCase> {};

// Exactly 1 GiB available is accepted; one byte less is rejected. The drive's root is asked.
TEST_P(DiskSpaceLimitTest, RejectsBelowOneGibibyte) {
  FreeSpace::bytes = GetParam().available;
  EXPECT_EQ(checkDiskSpace(L"C:\\Users\\someone\\vesk.helm"), GetParam().rejected);
  EXPECT_EQ(FreeSpace::roots, std::vector<std::wstring>{L"C:\\"});
  std::vector<std::string> expected = {"checkDiskSpace path: C:\\Users\\someone\\vesk.helm",
                                       "freeBytesAvailable: " + std::to_string(GetParam().available)};
  EXPECT_EQ(m_log.Messages(), expected);
}

INSTANTIATE_TEST_SUITE_P(Limits, DiskSpaceLimitTest,
                         ::testing::Values(SpaceCase{1073741824ull, false},
                                           SpaceCase{1073741823ull, true},
                                           SpaceCase{0, true},
                                           SpaceCase{5000000000000ull, false}),
                         [](const auto& info) {
                           return "Available" + std::to_string(info.param.available);
                         });

// An empty folder is accepted without asking the drive.
TEST_F(DiskSpaceTest, EmptyPathIsAccepted) {
  EXPECT_FALSE(checkDiskSpace(L""));
  EXPECT_TRUE(FreeSpace::roots.empty());
  std::vector<std::string> expected = {"checkDiskSpace path: ", "path is empty."};
  EXPECT_EQ(m_log.Messages(), expected);
}

// When the drive cannot be asked, the location is accepted without a free-space line.
TEST_F(DiskSpaceTest, UnmeasurableDriveIsAccepted) {
  FreeSpace::succeed = false;
  EXPECT_FALSE(checkDiskSpace(L"\\\\server\\share\\vesk.helm"));
  EXPECT_EQ(FreeSpace::roots, std::vector<std::wstring>{L"\\\\server\\share"});
  std::vector<std::string> expected = {"checkDiskSpace path: \\\\server\\share\\vesk.helm"};
  EXPECT_EQ(m_log.Messages(), expected);
}

// A folder longer than a path buffer is not cut to find its drive: it is reported and treated
// as not measurable.
TEST_F(DiskSpaceTest, OverlongPathIsNotCut) {
  std::wstring path = L"C:\\" + std::wstring(300, L'x');
  EXPECT_FALSE(checkDiskSpace(path));
  EXPECT_TRUE(FreeSpace::roots.empty());
  std::vector<std::string> expected = {"checkDiskSpace path: " + Narrow(path),
                                       "Path too long: " + Narrow(path)};
  EXPECT_EQ(m_log.Messages(), expected);
}

// A folder of exactly 259 characters is measured at its drive's root; one of exactly 260, which
// would leave no room for the terminator in a path buffer, is refused without asking the drive.
TEST_F(DiskSpaceTest, FoldersAtTheBufferLimit) {
  FreeSpace::bytes = 5000000000ull;
  const std::wstring fits = L"C:\\" + std::wstring(256, L'x');
  ASSERT_EQ(fits.size(), 259u);
  EXPECT_FALSE(checkDiskSpace(fits));
  EXPECT_EQ(FreeSpace::roots, std::vector<std::wstring>{L"C:\\"});

  const std::wstring tooLong = fits + L"y";
  FreeSpace::roots.clear();
  EXPECT_FALSE(checkDiskSpace(tooLong));
  EXPECT_TRUE(FreeSpace::roots.empty());
  std::vector<std::string> messages = m_log.Messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages.back(), "Path too long: " + Narrow(tooLong));
}

// The real query answers for the temporary folder's drive and logs its figure.
TEST_F(LocationTest, RealDriveIsMeasured) {
  (void)checkDiskSpace(m_folder.path());  // only the logged figure is looked at
  std::vector<std::string> messages = m_log.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_TRUE(std::regex_match(messages[1], std::regex("freeBytesAvailable: [0-9]+"))) << messages[1];
}

// The running system reports a major version of 6 or more, and logs it.
TEST_F(LocationTest, WindowsMajorVersionIsReported) {
  int major = GetWindowsMajorVersion();
  EXPECT_GE(major, 6);
  std::vector<std::string> expected = {"dwMajorVersion: " + std::to_string(major)};
  EXPECT_EQ(m_log.Messages(), expected);
}

}  // namespace
}  // namespace vesk
