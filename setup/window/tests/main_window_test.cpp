// The setup window object in the test process, opened as setup opens it, with the folder picker,
// the message box and the free-space query replaced; clicks are real input at the controls.
#include "setup/window/main_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "common/product.h"
#include "setup/engine/location_checks.h"
#include "setup/engine/progress_monitors.h"
#include "testsupport/log_capture.h"
#include "setup/window/setup_window_road.h"
#include "setup/window/window_dialogs.h"
#include "testsupport/test_support.h"
#include "uitoolkit/controls/ui_label.h"
#include "uitoolkit/controls/ui_progress.h"
#include "testsupport/live_window_support.h"

namespace vesk {
namespace {

using SkinUI::CControlUI;
using SkinUI::CLabelUI;
using SkinUI::testing::MouseButton;
using SkinUI::testing::MouseMoveTo;
using SkinUI::testing::PumpFor;
using SkinUI::testing::PumpUntil;

// The error line's two texts: no write permission, and less than 1 GiB free.
const wchar_t kNoPermissionText[] =
    L"\u60a8\u9009\u62e9\u7684\u6587\u4ef6\u5939\u6ca1\u6709\u6743\u9650\u5199\u5165,"
    L"\u8bf7\u66f4\u6362\u5b89\u88c5\u8def\u5f84!";
const wchar_t kLowSpaceText[] =
    L"\u5f53\u524d\u78c1\u76d8\u7a7a\u95f4\u76ee\u5f55\u4e0d\u8db31G,"
    L"\u8bf7\u66f4\u6362\u5b89\u88c5\u8def\u5f84!";
const wchar_t kAutoStartOn[] = L"file='autostart_check_box_selected.png'";
const wchar_t kAutoStartOff[] = L"file='autostart_check_box.png'";

// What the replaced dialogs and free-space query answer, and what they were asked.
struct Fakes {
  int picks = 0;
  bool pickChosen = true;
  std::wstring picked;
  std::wstring pickTitle;
  ULONGLONG freeBytes = kRequiredFreeBytes;
  HWND pickOwner = nullptr;
  int boxes = 0;
  HWND boxOwner = nullptr;
  bool closeOwnerWhileOpen = false;  // the dialog closes its owner window before it returns
  std::wstring boxText, boxCaption;
  UINT boxType = 0;
};
Fakes& TheFakes() {
  static Fakes fakes;
  return fakes;
}

// Closes the owner window while the dialog is "open", as a user closing setup from the taskbar.
void CloseOwnerIfAsked(HWND owner) {
  if (TheFakes().closeOwnerWhileOpen) ::SendMessageW(owner, WM_CLOSE, 0, 0);
}

bool FakePickFolder(HWND owner, const wchar_t* title, std::wstring& folder) {
  ++TheFakes().picks;
  TheFakes().pickOwner = owner;
  TheFakes().pickTitle = title;
  CloseOwnerIfAsked(owner);
  if (TheFakes().pickChosen) folder = TheFakes().picked;
  return TheFakes().pickChosen;
}

BOOL WINAPI FakeFreeSpace(LPCWSTR, PULARGE_INTEGER available, PULARGE_INTEGER total,
                          PULARGE_INTEGER totalFree) {
  available->QuadPart = total->QuadPart = totalFree->QuadPart = TheFakes().freeBytes;
  return TRUE;
}

int WINAPI FakeMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  Fakes& fakes = TheFakes();
  ++fakes.boxes;
  fakes.boxOwner = owner;
  fakes.boxText = text;
  fakes.boxCaption = caption;
  fakes.boxType = type;
  CloseOwnerIfAsked(owner);
  return IDOK;
}

POINT Center(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

class MainWindowTest : public ::testing::Test {
 protected:
  // Opens the window as setup does, for an installation registered in a temporary folder.
  void SetUp() override {
    TheFakes() = Fakes();
    ASSERT_TRUE(testing::WriteFileBytes(m_files / L"file", "x"));
    OpenWindow(m_files / L"vesk.helm");
  }
  // Opens the window for an installation registered at `installFolder`.
  void OpenWindow(const std::wstring& installFolder) {
    ASSERT_TRUE(testing::WriteUserString(kProductKey, kInstallPathValue, installFolder));
    SkinUI::CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    SkinUI::CPaintManagerUI::SetResourcePath(SETUP_SKIN_FOLDER);
    // Deletes itself with its window.
    m_window = new CMainWindow(MainWindowOptions{false, m_work.path()});
    m_hwnd = m_window->Create(nullptr, L"VeskSetup", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0,
                            640, 460);
    ASSERT_NE(nullptr, m_hwnd);
    m_window->CenterWindow();
    m_window->ShowWindow(true, true);
    ::SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(m_hwnd);
    PumpFor(100);
  }
  void TearDown() override { CloseWindow(); }
  void CloseWindow() {
    if (::IsWindow(m_hwnd)) ::DestroyWindow(m_hwnd);
    PumpFor(50);  // takes the quit message the window posts at its end
    SkinUI::CPaintManagerUI::Term();
    SkinUI::CPaintManagerUI::SetResourcePath(L"");
  }

  CControlUI* Find(const wchar_t* name) { return m_window->GetPaintManager().FindControl(name); }
  CLabelUI* InfoLabel() { return static_cast<CLabelUI*>(Find(L"infoLabel")); }
  // A real left click in the middle of the named control; then runs messages until `handled`
  // says the click has had its effect.
  void Click(const wchar_t* name, const std::function<bool()>& handled) {
    MouseMoveTo(m_hwnd, Center(Find(name)->GetPos()));
    MouseButton(true);
    MouseButton(false);
    ASSERT_TRUE(PumpUntil(handled)) << "no effect of the click";
  }
  void PickFolderByClick() {
    const int before = TheFakes().picks;
    Click(L"fileselectbtn", [&] { return TheFakes().picks > before; });
  }
  const wchar_t* AutoStartImage() { return Find(L"autostart_checkbox")->GetBkImage(); }
  void ToggleAutoStartByClick() {
    const std::wstring before = AutoStartImage();
    Click(L"autostart_checkbox", [&] { return before != AutoStartImage(); });
  }
  std::wstring PathShown() { return Find(L"pathinput")->GetText().GetData(); }
  // The logged messages that start with `prefix`.
  std::vector<std::string> Logged(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : m_log.Messages()) {
      if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    }
    return found;
  }
  // Visibility of the controls that tell the window's looks apart.
  std::vector<bool> Look() {
    std::vector<bool> visible;
    for (const wchar_t* name : {L"minbtn", L"closebtn", L"installbtn", L"fileselectbtn",
                                L"pathInputContainer", L"pathinput", L"autostart_checkbox",
                                L"customoptionbtn", L"infoLabel", L"installProgress",
                                L"progressText"}) {
      visible.push_back(Find(name)->IsVisible());
    }
    return visible;
  }
  // Reopens the window for an installation registered below a file and clicks install.
  void InstallIntoUncreatableFolder() {
    CloseWindow();
    OpenWindow(m_files / L"file\\vesk.helm");
    ScopedOverride box(g_setupMessageBox, &FakeMessageBox);
    Click(L"installbtn", [] { return TheFakes().boxes > 0; });
  }

  testing::ScopedCurrentUserOverride m_user;
  testing::LogCapture m_log;
  testing::ScopedTempFolder m_files{L"vesk_main_window"};
  testing::ScopedTempFolder m_work{L"vesk_main_window_work"};
  CMainWindow* m_window = nullptr;
  HWND m_hwnd = nullptr;
};

struct RejectionCase {
  const char* name;
  bool belowFile;  // the picked folder lies below a file, so nothing can be created in it
  ULONGLONG freeBytes;
  const wchar_t* text;
  const char* logLine;
};

void PrintTo(const RejectionCase& test, std::ostream* out) { *out << test.name; }

class RejectedPick : public MainWindowTest, public ::testing::WithParamInterface<RejectionCase> {};

// A rejected pick shows its message in opaque red and disables install; a good pick (exactly
// 1 GiB free) enables it and hides the message; another rejected pick disables it again.
TEST_P(RejectedPick, DisablesInstallUntilAGoodPick) {
  const RejectionCase& test = GetParam();
  ScopedOverride picker(g_pickFolder, &FakePickFolder);
  ScopedOverride space(g_getDiskFreeSpace, &FakeFreeSpace);
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    const bool rejected = round != 1;
    TheFakes().picked = rejected && test.belowFile ? m_files / L"file" : m_files.path();
    TheFakes().freeBytes = rejected ? test.freeBytes : kRequiredFreeBytes;
    PickFolderByClick();
    EXPECT_EQ(TheFakes().picked + L"\\vesk.helm", PathShown());
    EXPECT_EQ(rejected, InfoLabel()->IsVisible());
    EXPECT_EQ(!rejected, Find(L"installbtn")->IsEnabled());
    if (rejected) {
      EXPECT_STREQ(test.text, InfoLabel()->GetText().GetData());
      EXPECT_EQ(0xFFFF0000u, InfoLabel()->GetTextColor());
    }
  }
  EXPECT_EQ(std::vector<std::string>(2, test.logLine), Logged(test.logLine));
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, RejectedPick,
    ::testing::Values(
        RejectionCase{"NotWritable", true, kRequiredFreeBytes, kNoPermissionText,
                      "No permission to install."},
        RejectionCase{"UnderOneGiB", false, kRequiredFreeBytes - 1, kLowSpaceText,
                      "Disk space is less than 1G."}),
    [](const auto& info) { return std::string(info.param.name); });

// The picker is titled for the product; a drive root loses its backslash before "\vesk.helm" is
// added, another folder gets it appended, and a cancelled picker changes nothing.
TEST_F(MainWindowTest, PickedFolderBecomesTheInstallPath) {
  ScopedOverride picker(g_pickFolder, &FakePickFolder);
  const std::wstring initial = PathShown();
  struct {
    bool chosen;
    const wchar_t* picked;
    std::wstring path;
  } const cases[] = {
      {false, L"", initial}, {true, L"D:\\", L"D:\\vesk.helm"},
      {true, L"D:\\Apps", L"D:\\Apps\\vesk.helm"}, {false, L"", L"D:\\Apps\\vesk.helm"}};
  for (const auto& test : cases) {
    TheFakes().pickChosen = test.chosen;
    TheFakes().picked = test.picked;
    PickFolderByClick();
    EXPECT_EQ(test.path, PathShown()) << test.picked;
  }
  EXPECT_EQ(L"Vesk.helm \u5b89\u88c5\u8def\u5f84", TheFakes().pickTitle);
}

// Two clicks on the auto-start toggle switch its image off and back on, logging each choice.
TEST_F(MainWindowTest, AutoStartToggleClickedTwiceIsSelectedAgain) {
  CControlUI* toggle = Find(L"autostart_checkbox");
  EXPECT_STREQ(kAutoStartOn, toggle->GetBkImage());
  ToggleAutoStartByClick();
  EXPECT_STREQ(kAutoStartOff, toggle->GetBkImage());
  ToggleAutoStartByClick();
  EXPECT_STREQ(kAutoStartOn, toggle->GetBkImage());
  EXPECT_EQ((std::vector<std::string>{"m_isAutoStart: 0", "m_isAutoStart: 1"}),
            Logged("m_isAutoStart"));
}

class CloseBeforeInstall : public MainWindowTest, public ::testing::WithParamInterface<bool> {};

// The close button before installing removes an existing auto-start entry when the toggle is on,
// and leaves it as it was when the toggle is off.
TEST_P(CloseBeforeInstall, RemovesAutoStartEntryOnlyWhenToggleIsOn) {
  const bool toggleOn = GetParam();
  ASSERT_TRUE(testing::WriteUserString(kRunKey, kAutoStartValue, L"earlier entry"));
  if (!toggleOn) ToggleAutoStartByClick();
  Click(L"closebtn", [&] { return !::IsWindow(m_hwnd); });
  const testing::RegistryValue entry =
      testing::ReadRegistryValue(HKEY_CURRENT_USER, kRunKey, kAutoStartValue);
  EXPECT_EQ(!toggleOn, entry.exists);
  if (entry.exists) {
    EXPECT_EQ(L"earlier entry", entry.AsString());
  }
}

INSTANTIATE_TEST_SUITE_P(Toggle, CloseBeforeInstall, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

// An install folder that cannot be created shows one OK box "Error" with its text, owned by the
// window,
// starts no worker, and leaves the window in its installing look.
TEST_F(MainWindowTest, UncreatableInstallFolderStopsWithMessageBox) {
  EXPECT_EQ((std::vector<bool>{1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0}), Look());
  InstallIntoUncreatableFolder();
  const Fakes& fakes = TheFakes();
  EXPECT_EQ(1, fakes.boxes);
  EXPECT_EQ(m_hwnd, fakes.boxOwner);
  EXPECT_EQ(L"\u521b\u5efa\u5b89\u88c5\u76ee\u5f55\u5931\u8d25", fakes.boxText);
  EXPECT_EQ(L"Error", fakes.boxCaption);
  EXPECT_EQ(static_cast<UINT>(MB_OK), fakes.boxType);
  EXPECT_EQ(1u, Logged("Failed to create install directory").size());
  PumpFor(200);
  EXPECT_TRUE(Logged("useAdministratorMode").empty());
  EXPECT_EQ((std::vector<bool>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1}), Look());
}

// Both dialogs are owned by the window. Closed while a dialog is open (the dialog closes its
// owner before it returns), the window goes as usual and its handler touches nothing of it.
TEST_F(MainWindowTest, ClosingTheWindowDuringADialogEndsNormally) {
  ScopedOverride picker(g_pickFolder, &FakePickFolder);
  ScopedOverride box(g_setupMessageBox, &FakeMessageBox);
  for (const bool pick : {true, false}) {
    SCOPED_TRACE(pick ? "folder picker" : "message box");
    CloseWindow();
    TheFakes() = Fakes();
    OpenWindow(m_files / (pick ? L"vesk.helm" : L"file\\vesk.helm"));
    TheFakes().closeOwnerWhileOpen = true;
    TheFakes().picked = m_files.path();
    const HWND window = m_hwnd;
    Click(pick ? L"fileselectbtn" : L"installbtn", [&] { return !::IsWindow(window); });
    EXPECT_EQ(window, pick ? TheFakes().pickOwner : TheFakes().boxOwner);
    PumpFor(100);
  }
}

// An installer that does not match its recorded digest (this test program records none) stops
// the install before anything is registered or started: the red error line tells it, the close
// button comes back, and the window's end asks for exit code 106.
TEST_F(MainWindowTest, DigestMismatchShowsTheFailureAndEndsWith106) {
  Click(L"installbtn", [&] { return InfoLabel()->IsVisible(); });
  EXPECT_EQ(0xFFFF0000u, InfoLabel()->GetTextColor());
  EXPECT_FALSE(InfoLabel()->GetText().IsEmpty());
  EXPECT_TRUE(Find(L"closebtn")->IsVisible());
  EXPECT_FALSE(Find(L"installProgress")->IsVisible());
  EXPECT_EQ(1u, Logged("Install failed").size());
  EXPECT_TRUE(Logged("StartInstallation result").empty());
  EXPECT_FALSE(
      testing::ReadRegistryValue(HKEY_CURRENT_USER, kProductKey, kUninstallStringValue).exists);
  ::DestroyWindow(m_hwnd);  // the window's end posts the quit message at once
  MSG quit = {};
  ASSERT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(106, static_cast<int>(quit.wParam));
}

class KeyAtOnce : public MainWindowTest, public ::testing::WithParamInterface<WORD> {};

// Enter or Space pressed as soon as the window is up starts the install (the install button is
// the skin's default button and takes the first focus); neither minimises the window.
TEST_P(KeyAtOnce, StartsTheInstallAndNeverMinimises) {
  CloseWindow();
  OpenWindow(m_files / L"file\\vesk.helm");
  ScopedOverride box(g_setupMessageBox, &FakeMessageBox);
  SkinUI::testing::PostKey(m_hwnd, GetParam());
  EXPECT_TRUE(PumpUntil([] { return TheFakes().boxes > 0; }));
  EXPECT_FALSE(::IsIconic(m_hwnd));
  EXPECT_EQ(1u, Logged("Failed to create install directory").size());
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyAtOnce, ::testing::Values(WORD{VK_RETURN}, WORD{VK_SPACE}),
                         [](const auto& info) { return info.param == VK_RETURN ? "Enter" : "Space"; });

// Each progress message shows its number on the bar and as "N%" on the label.
TEST_F(MainWindowTest, ProgressMessagesSetBarAndLabel) {
  InstallIntoUncreatableFolder();
  auto* bar = static_cast<SkinUI::CProgressUI*>(Find(L"installProgress"));
  for (int percent : {42, 0, 99, 100}) {
    ASSERT_TRUE(::PostMessageW(m_hwnd, WM_INSTALL_PROGRESS, percent, 0));
    PumpFor(30);
    EXPECT_EQ(percent, bar->GetValue());
    EXPECT_EQ(std::to_wstring(percent) + L"%", Find(L"progressText")->GetText().GetData());
  }
}

// At 96 DPI the top 40 client pixels drag the window, except over the title buttons.
TEST_F(MainWindowTest, DragStripIsTheTopFortyPixelsBesideTheButtons) {
  RECT client = {};
  ::GetClientRect(m_hwnd, &client);
  ASSERT_EQ(640, client.right) << "the tests expect 96 DPI";
  struct {
    const wchar_t* control;
    POINT point;
    LRESULT hit;
  } const cases[] = {{nullptr, {10, 10}, HTCAPTION}, {nullptr, {320, 39}, HTCAPTION},
                     {nullptr, {320, 40}, HTCLIENT}, {nullptr, {320, 300}, HTCLIENT},
                     {L"closebtn", {}, HTCLIENT},    {L"minbtn", {}, HTCLIENT}};
  for (const auto& test : cases) {
    POINT point = test.control != nullptr ? Center(Find(test.control)->GetPos()) : test.point;
    ::ClientToScreen(m_hwnd, &point);
    EXPECT_EQ(test.hit, ::SendMessageW(m_hwnd, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)))
        << point.x << "," << point.y;
  }
}

// A double click on the drag strip is consumed: the window keeps its place and size.
TEST_F(MainWindowTest, DoubleClickOnDragStripDoesNotMaximise) {
  RECT before = {};
  ::GetWindowRect(m_hwnd, &before);
  POINT point = {100, 20};
  ::ClientToScreen(m_hwnd, &point);
  ASSERT_TRUE(::PostMessageW(m_hwnd, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(point.x, point.y)));
  PumpFor(200);
  RECT after = {};
  ::GetWindowRect(m_hwnd, &after);
  EXPECT_FALSE(::IsZoomed(m_hwnd));
  EXPECT_TRUE(::EqualRect(&before, &after));
  EXPECT_EQ(1u, Logged("WM_NCLBUTTONDBLCLK").size());
}

bool IsSetupWindow(HWND window) {
  wchar_t className[32] = {};
  return ::GetClassNameW(window, className, 32) > 0 && std::wstring(className) == L"VeskSetup";
}

// Refuses the creation of the setup window before its first message.
LRESULT CALLBACK RefuseSetupWindow(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && IsSetupWindow(reinterpret_cast<HWND>(wParam))) return 1;
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Ends the setup window right after its WM_CREATE, inside its creation, as Wine does when it
// has no display to give the window: the window's final message deletes its object before the
// creation returns.
LRESULT CALLBACK EndSetupWindowAfterCreate(int code, WPARAM wParam, LPARAM lParam) {
  const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == WM_CREATE && IsSetupWindow(call->hwnd)) {
    ::DestroyWindow(call->hwnd);
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// A window that cannot be created, or ends while it is being created, ends the road cleanly:
// the failure is logged, the window object is deleted once, and the road answers 0.
TEST(SetupWindowRoad, WindowThatCannotBeCreatedEndsCleanly) {
  const struct {
    int hookType;
    HOOKPROC hook;
  } rows[] = {{WH_CBT, &RefuseSetupWindow}, {WH_CALLWNDPROCRET, &EndSetupWindowAfterCreate}};
  for (const auto& row : rows) {
    testing::ScopedCurrentUserOverride user;
    testing::LogCapture log;
    HHOOK hook = ::SetWindowsHookExW(row.hookType, row.hook, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    const int result = RunSetupWindow(::GetModuleHandleW(nullptr), SETUP_SKIN_FOLDER, false);
    ::UnhookWindowsHookEx(hook);
    PumpFor(50);
    SkinUI::CPaintManagerUI::SetResourcePath(L"");
    EXPECT_EQ(0, result) << row.hookType;
    const std::vector<std::string> messages = log.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(0u, messages.back().rfind("Failed to create the setup window, error: ", 0))
        << row.hookType;
  }
}

}  // namespace
}  // namespace vesk
