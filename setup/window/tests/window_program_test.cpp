// The setup window of the built VeskSetup.exe, used as a user would: what it shows, an install
// started with a click, an accessible default action, keys alone or by "update", closing it with
// Escape, and double clicks on its title strip. Each test installs for the real Wine user.
#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>

#include "setup/engine/tests/engine_test_support.h"
#include "setup/window/tests/window_program_driver.h"
#include "testsupport/accessible_client.h"

namespace vesk::testing {
namespace {

using SkinUI::testing::TestCanvas;

// Client points (96 dots per inch) of what the tests click or look at.
constexpr POINT kInstallButton = {320, 295};
constexpr POINT kFolderButton = {460, 356};
constexpr POINT kAutoStartToggle = {320, 405};
constexpr POINT kTitleStrip = {200, 20};
constexpr POINT kBody = {80, 200};
constexpr RECT kTitleButtons = {560, 8, 632, 40};  // clear of the rounded corner
constexpr RECT kToggleArea = {274, 394, 366, 414};

// Pixels of the area darker than the window's light background (any channel below 200): the
// title buttons' and the toggle's drawings.
int DarkPixels(const TestCanvas& canvas, const RECT& area) {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const DWORD pixel = canvas.Pixel(x, y);
      if ((pixel & 0xFF) < 200 || ((pixel >> 8) & 0xFF) < 200 || (pixel >> 16) < 200) ++count;
    }
  }
  return count;
}

std::wstring ApplicationAutoStart() {
  return L"\"" + kDefaultFolder + L"\\vesk.helm.exe\"  --win-auto-start";
}

// The ready window is 640 x 460, centred on the 1280 x 1024 screen, and shows inside its rounded
// region the title strip with its buttons, icon, name, install button, the path field with the
// default folder and the auto-start toggle as the golden does (8 per channel for fonts).
TEST_F(WindowProgramTest, ReadyWindowLooksAsTheGolden) {
  ASSERT_NE(Start(L""), nullptr);
  RECT rect = {};
  GetWindowRect(m_window, &rect);
  EXPECT_EQ(rect.left, 320);
  EXPECT_EQ(rect.top, 282);
  EXPECT_EQ(rect.right - rect.left, 640);
  EXPECT_EQ(rect.bottom - rect.top, 460);
  TestCanvas screen(640, 460);
  Capture(screen);
  EXPECT_EQ(screen.Pixel(0, 0), 0xFF00FFu);  // a rounded corner
  EXPECT_GT(DarkPixels(screen, kTitleButtons), 0);
  EXPECT_GT(DarkPixels(screen, kToggleArea), 0);
  EXPECT_TRUE(SkinUI::testing::MatchesGolden(screen, "ready_window", 8));
}

// The names screen readers read (the window's language): install, progress, and Tab's order
// from the install button: path, folder picker, auto-start, minimise, close, install.
const wchar_t kInstallName[] = L"\u5b89\u88c5";
const wchar_t kProgressName[] = L"\u5b89\u88c5\u8fdb\u5ea6";
const std::vector<std::wstring> kTabOrder = {
    L"\u5b89\u88c5\u8def\u5f84", L"\u9009\u62e9\u5b89\u88c5\u8def\u5f84", L"\u5f00\u673a\u81ea\u52a8\u542f\u52a8",
    L"\u6700\u5c0f\u5316", L"\u5173\u95ed", kInstallName};

enum InstallStart { kByClick, kByRobot, kByKeys };  // the accessible default action, real keys

struct InstallCase {
  const char* name;
  bool toggleOff;           // the toggle switched off before the install
  bool applicationRunning;  // the application started while the install runs
  InstallStart start = kByClick;
};

void PrintTo(const InstallCase& row, std::ostream* out) { *out << row.name; }

class InteractiveInstallTest : public WindowProgramTest,
                               public ::testing::WithParamInterface<InstallCase> {
 protected:
  void SetUp() override {
    WindowProgramTest::SetUp();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  }
  void TearDown() override { CoUninitialize(); }
  // As a test robot: the install button is the focused default; its default action installs,
  // and a hook sees the progress move.
  void InstallByDefaultAction() {
    using namespace SkinUI::testing;
    AccessiblePtr root = ClientObject(m_window);
    AccessiblePtr install = FindByName(root.get(), kInstallName);
    ASSERT_TRUE(install);
    EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_DEFAULT,
              StateOf(install.get()));
    WinEventRecorder recorder;
    ASSERT_EQ(S_OK, install->accDoDefaultAction(ChildId(CHILDID_SELF)));
    EXPECT_TRUE(recorder.WaitFor(m_window, EVENT_OBJECT_VALUECHANGE, kProgressName, 60000));
  }
  // Real keys alone: Tab walks every control, each announced by a focus event with its name;
  // Space on the toggle turns auto-start off, Enter on install installs.
  void InstallByKeyboard() {
    using namespace SkinUI::testing;
    WinEventRecorder recorder;
    for (const std::wstring& name : kTabOrder) {
      PressKey(VK_TAB);
      EXPECT_TRUE(recorder.WaitFor(m_window, EVENT_OBJECT_FOCUS, name)) << Narrow(name);
    }
    for (WORD key : {VK_TAB, VK_TAB, VK_TAB, VK_SPACE, VK_TAB, VK_TAB, VK_TAB, VK_RETURN}) {
      PressKey(key);
    }
  }
};

// An install started on the default folder (by a click on install, by its accessible default
// action, or by the keyboard alone) installs and finishes by itself: exit code 0, the window
// gone, the product registered, the uninstaller moved into "uninstall", the copied installer and
// the working folder removed, the shortcut renamed, the auto-start entry as the toggle said, and
// one application running. With the toggle on, the log is the golden sequence; with the
// application already running at the end it is not started a second time.
TEST_P(InteractiveInstallTest, InstallsAndFinishes) {
  const InstallCase& row = GetParam();
  ASSERT_TRUE(WriteUserString(kRunKey, kRunValue, L"earlier entry"));
  ASSERT_NE(Start(L""), nullptr);
  if (row.start == kByRobot) {
    InstallByDefaultAction();
  } else if (row.start == kByKeys) {
    InstallByKeyboard();
  } else {
    if (row.toggleOff) Click(kAutoStartToggle);
    Click(kInstallButton);
  }
  std::optional<ChildProcess> application;
  ScopedTempFolder elsewhere{L"app"};
  if (row.applicationRunning) {
    ASSERT_TRUE(WaitForLogLine("StartInstallation result: 0"));
    ASSERT_TRUE(
        CopyFileW(VESK_STANDIN_APPLICATION_EXE, (elsewhere / L"vesk.helm.exe").c_str(), FALSE));
    application.emplace(elsewhere / L"vesk.helm.exe");
  }
  EXPECT_EQ(Finish().exitCode, 0u);
  EXPECT_FALSE(IsWindow(m_window));

  std::map<std::wstring, RegistryValue> values = ReadAllValues(HKEY_CURRENT_USER, kProductKey);
  EXPECT_EQ(values[L"VeskInstallPath"], StringValue(kDefaultFolder));
  EXPECT_EQ(values[L"UninstallString"],
            StringValue(kDefaultFolder + L"\\uninstall\\VeskUninstall.exe"));
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kRunKey, kRunValue),
            row.toggleOff ? RegistryValue{} : StringValue(ApplicationAutoStart()));
  EXPECT_TRUE(FileExists(kDefaultFolder + L"\\vesk.helm.exe"));
  EXPECT_TRUE(FileExists(kDefaultFolder + L"\\uninstall\\VeskUninstall.exe"));
  EXPECT_FALSE(FileExists(kDefaultFolder + L"\\VeskUninstall.exe"));
  EXPECT_FALSE(FileExists(kDefaultFolder + L"\\mini_installer.exe"));
  EXPECT_FALSE(FolderExists(m_working));
  EXPECT_FALSE(FileExists(m_desktop / L"vesk.helm.lnk"));
  EXPECT_TRUE(FileExists(m_desktop / L"vesk.lnk"));
  EXPECT_TRUE(WaitUntil([] { return CountProcessesNamed(L"vesk.helm.exe") == 1; }, 10000));

  std::vector<std::string> log = InstallLog();
  if (row.applicationRunning) {
    EXPECT_FALSE(application->WaitForExit(0));  // the one started here still runs
    EXPECT_GE(IndexOf(log, "Process is running, wait for 1 second"), 0);
  } else if (row.toggleOff) {
    EXPECT_TRUE(ContainsInOrder(log, {"Remove autostart", "StartInstallation result: 0"}));
  } else if (std::getenv("VESK_UPDATE_GOLDENS") != nullptr) {
    std::string text;
    for (const std::string& line : log) text += line + "\n";
    ASSERT_TRUE(WriteFileBytes(std::wstring(VESK_GOLDEN_DIR) + L"\\interactive_install.log", text));
  } else {
    // The progress monitor writes beside the install thread: each thread's lines keep their
    // order, but how the two interleave depends on how long the installer runs.
    // Compared as text, so that a difference shows as a line diff.
    auto threadsApart = [](std::vector<std::string> lines) {
      std::stable_partition(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("Current fake progress", 0) == 0 ||
               line.rfind("Progress monitoring thread", 0) == 0;
      });
      std::string text;
      for (const std::string& line : lines) text += line + "\n";
      return text;
    };
    EXPECT_EQ(threadsApart(log), threadsApart(GoldenLines(L"interactive_install.log")));
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, InteractiveInstallTest,
                         ::testing::Values(InstallCase{"ToggleOn", false, false},
                                           InstallCase{"ToggleOff", true, false},
                                           InstallCase{"ApplicationRunning", false, true},
                                           InstallCase{"ByDefaultAction", false, false, kByRobot},
                                           InstallCase{"ByKeyboard", true, false, kByKeys}),
                         [](const auto& info) { return std::string(info.param.name); });

// "update" installs at once without a click; the auto-start toggle is never on the screen and
// the auto-start entry stays exactly as it was.
TEST_F(WindowProgramTest, UpdateInstallsAtOnceAndLeavesAutoStart) {
  ASSERT_TRUE(WriteUserString(kRunKey, kRunValue, L"distinctive earlier entry"));
  ASSERT_NE(Start(L"update"), nullptr);
  int looks = 0;
  while (IsWindowVisible(m_window)) {
    TestCanvas screen(640, 460);
    Capture(screen);
    if (!IsWindowVisible(m_window)) break;  // the picture may show what lay behind it
    EXPECT_EQ(DarkPixels(screen, kToggleArea), 0) << "look " << looks;
    EXPECT_EQ(DarkPixels(screen, kTitleButtons), 0) << "look " << looks;
    ++looks;
    Sleep(500);
  }
  EXPECT_GT(looks, 0);
  EXPECT_EQ(Finish().exitCode, 0u);
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kRunKey, kRunValue),
            StringValue(L"distinctive earlier entry"));
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kProductKey, L"VeskInstallPath"),
            StringValue(kDefaultFolder));
  EXPECT_TRUE(FileExists(kDefaultFolder + L"\\vesk.helm.exe"));
}

// Escape closes the window with exit code 0 when it is ready, and while it installs (its title
// buttons hidden then); the application is not started. The copied installer is deleted when it
// has ended, and stays while it still runs.
TEST_F(WindowProgramTest, EscapeClosesReadyAndInstallingWindow) {
  struct Row {
    const char* state;
    const char* installerRunMs;  // how long the stand-in installer stays after its work; null:
                                 // no install
    bool installerStays;
  };
  for (const Row& row : {Row{"ready", nullptr, false}, Row{"installer ended", "0", false},
                         Row{"installer running", "60000", true}}) {
    SCOPED_TRACE(row.state);
    std::optional<std::wstring> runMs;
    if (row.installerRunMs != nullptr) runMs = Widen(row.installerRunMs);
    ScopedEnvironmentVariable installerRun(L"VESK_STANDIN_INSTALLER_RUN_MS", runMs);
    ASSERT_TRUE(CopyFileW(VESK_SETUP_EXE, m_setupExe.c_str(), FALSE));
    ASSERT_NE(Start(L""), nullptr);
    if (row.installerRunMs != nullptr) {
      Click(kInstallButton);
      if (row.installerStays) {
        ASSERT_TRUE(
            WaitUntil([] { return CountProcessesNamed(L"mini_installer.exe") > 0; }, 60000));
      } else {  // the progress goes on for some seconds after the installer has ended
        ASSERT_TRUE(WaitForLogLine("StartInstallation result: 0"));
      }
      ASSERT_TRUE(FileExists(kDefaultFolder + L"\\mini_installer.exe"));
      TestCanvas screen(640, 460);
      Capture(screen);
      EXPECT_EQ(DarkPixels(screen, kTitleButtons), 0);
    }
    Click(kBody);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(Finish().exitCode, 0u);
    EXPECT_FALSE(IsWindow(m_window));
    EXPECT_EQ(ListFolder(m_working), std::vector<std::wstring>{});
    EXPECT_EQ(FileExists(kDefaultFolder + L"\\mini_installer.exe"), row.installerStays);
    EXPECT_EQ(CountProcessesNamed(L"vesk.helm.exe"), 0u);
  }
}

// A real double click on the title strip away from its buttons does not maximise: the window
// keeps its place and size, and setup logs the double click.
TEST_F(WindowProgramTest, DoubleClickOnTitleStripDoesNotMaximise) {
  ASSERT_NE(Start(L""), nullptr);
  RECT before = {}, after = {};
  GetWindowRect(m_window, &before);
  Click(kTitleStrip, 2);
  GetWindowRect(m_window, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
  EXPECT_FALSE(IsZoomed(m_window));
  Click(kBody);
  PressKey(VK_ESCAPE);
  ProcessResult result = Finish();
  EXPECT_NE(std::find(result.debugLines.begin(), result.debugLines.end(), L"WM_NCLBUTTONDBLCLK"),
            result.debugLines.end());
}

// A shown dialog that the setup window owns, or null.
HWND OwnedDialog(HWND owner) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        found = FindWindowW(L"#32770", nullptr);
        return found != nullptr && IsWindowVisible(found) && GetWindow(found, GW_OWNER) == owner;
      },
      20000);
  return found;
}

// Libraries planted beside VeskSetup.exe under the names of system libraries (Wine told to
// prefer them) stay unloaded over the whole window road: the real folder picker opened and
// cancelled, the real message box of an install folder that cannot be created, then an install
// and the application's start.
TEST_F(WindowProgramTest, PlantedLibrariesStayUnloadedOnTheWholeWindowRoad) {
  ScopedPlantedLibraries planted(m_download.path(), VESK_MARKER_LIBRARY);
  ASSERT_TRUE(WriteFileBytes(m_download / L"file", "a file, not a folder"));
  ASSERT_TRUE(WriteUserString(kProductKey, L"VeskInstallPath", m_download / L"file\\vesk.helm"));
  ASSERT_NE(Start(L""), nullptr);
  Click(kFolderButton);
  HWND picker = OwnedDialog(m_window);
  ASSERT_NE(picker, nullptr) << "no folder picker";
  PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(picker); }, 10000));
  Click(kInstallButton);
  HWND box = OwnedDialog(m_window);
  ASSERT_NE(box, nullptr) << "no message box";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000));
  PostMessageW(m_window, WM_CLOSE, 0, 0);
  Finish();
  EXPECT_EQ(planted.Loaded(), std::vector<std::string>{}) << "picker and message box";

  RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey);
  ASSERT_NE(Start(L""), nullptr);
  Click(kInstallButton);
  EXPECT_EQ(Finish().exitCode, 0u);
  EXPECT_TRUE(WaitUntil([] { return CountProcessesNamed(L"vesk.helm.exe") == 1; }, 10000));
  EXPECT_EQ(planted.Loaded(), std::vector<std::string>{}) << "install and application start";
}

}  // namespace
}  // namespace vesk::testing
