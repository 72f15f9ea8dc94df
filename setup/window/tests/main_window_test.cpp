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
#include "setup/engine/tests/log_capture.h"
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
  int boxes = 0;
  HWND boxOwner = nullptr;
  std::wstring boxText, boxCaption;
  UINT boxType = 0;
};
Fakes& TheFakes() {
  static Fakes fakes;
  return fakes;
}

bool FakePickFolder(const wchar_t* title, std::wstring& folder) {
  ++TheFakes().picks;
  TheFakes().pickTitle = title;
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
  return IDOK;
}

POINT Center(const RECT& rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

class MainWindowTest : public ::testing::Test {
 protected:
  // Opens the window as setup does, for an installation registered in a temporary folder.
  void SetUp() override {
    TheFakes() = Fakes();
    ASSERT_TRUE(testing::WriteFileBytes(files_ / L"file", "x"));
    ASSERT_TRUE(testing::WriteUserString(kProductKey, kInstallPathValue, files_ / L"vesk.helm"));
    SkinUI::CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    SkinUI::CPaintManagerUI::SetResourcePath(SETUP_SKIN_FOLDER);
    window_ = new CMainWindow(false, work_.path());  // deletes itself with its window
    hwnd_ = window_->Create(nullptr, L"VeskSetup", WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0,
                            640, 460);
    ASSERT_NE(nullptr, hwnd_);
    window_->CenterWindow();
    window_->ShowWindow(true, true);
    ::SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::SetForegroundWindow(hwnd_);
    PumpFor(100);
  }
  void TearDown() override {
    if (::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
    PumpFor(50);  // takes the quit message the window posts at its end
    SkinUI::CPaintManagerUI::Term();
    SkinUI::CPaintManagerUI::SetResourcePath(L"");
  }

  CControlUI* Find(const wchar_t* name) { return window_->GetPaintManager().FindControl(name); }
  CLabelUI* InfoLabel() { return static_cast<CLabelUI*>(Find(L"infoLabel")); }
  // A real left click in the middle of the named control; then runs messages until `handled`
  // says the click has had its effect.
  void Click(const wchar_t* name, const std::function<bool()>& handled) {
    MouseMoveTo(hwnd_, Center(Find(name)->GetPos()));
    MouseButton(true);
    MouseButton(false);
    ASSERT_TRUE(PumpUntil(handled)) << "no effect of the click";
  }
  void PickFolderByClick() {
    const int before = TheFakes().picks;
    Click(L"fileselectbtn", [&] { return TheFakes().picks > before; });
  }
  void ToggleAutoStartByClick() {
    const bool before = window_->m_isAutoStart;
    Click(L"autostart_checkbox", [&] { return window_->m_isAutoStart != before; });
  }
  // The logged messages that start with `prefix`.
  std::vector<std::string> Logged(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : log_.Messages()) {
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
  // Points the registered install at a folder below a file and clicks install.
  void InstallIntoUncreatableFolder() {
    window_->m_customInstallPath = files_ / L"file\\vesk.helm";
    ScopedOverride box(g_setupMessageBox, &FakeMessageBox);
    Click(L"installbtn", [] { return TheFakes().boxes > 0; });
  }

  testing::ScopedCurrentUserOverride user_;
  testing::LogCapture log_;
  testing::ScopedTempFolder files_{L"vesk_main_window"};
  testing::ScopedTempFolder work_{L"vesk_main_window_work"};
  CMainWindow* window_ = nullptr;
  HWND hwnd_ = nullptr;
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
    TheFakes().picked = rejected && test.belowFile ? files_ / L"file" : files_.path();
    TheFakes().freeBytes = rejected ? test.freeBytes : kRequiredFreeBytes;
    PickFolderByClick();
    EXPECT_EQ(TheFakes().picked + L"\\vesk.helm", window_->m_customInstallPath);
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
  const std::wstring initial = window_->m_customInstallPath;
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
    EXPECT_EQ(test.path, window_->m_customInstallPath) << test.picked;
    EXPECT_EQ(test.path, Find(L"pathinput")->GetText().GetData()) << test.picked;
  }
  EXPECT_EQ(L"Vesk.helm \u5b89\u88c5\u8def\u5f84", TheFakes().pickTitle);
}

// Two clicks on the auto-start toggle switch its image off and back on, logging each choice.
TEST_F(MainWindowTest, AutoStartToggleClickedTwiceIsSelectedAgain) {
  CControlUI* toggle = Find(L"autostart_checkbox");
  EXPECT_STREQ(kAutoStartOn, toggle->GetBkImage());
  ToggleAutoStartByClick();
  EXPECT_STREQ(kAutoStartOff, toggle->GetBkImage());
  EXPECT_FALSE(window_->m_isAutoStart);
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
  Click(L"closebtn", [&] { return !::IsWindow(hwnd_); });
  const testing::RegistryValue entry =
      testing::ReadRegistryValue(HKEY_CURRENT_USER, kRunKey, kAutoStartValue);
  EXPECT_EQ(!toggleOn, entry.exists);
  if (entry.exists) {
    EXPECT_EQ(L"earlier entry", entry.AsString());
  }
}

INSTANTIATE_TEST_SUITE_P(Toggle, CloseBeforeInstall, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

// An install folder that cannot be created shows one ownerless OK box "Error" with its text,
// starts no worker, and leaves the window in its installing look.
TEST_F(MainWindowTest, UncreatableInstallFolderStopsWithMessageBox) {
  EXPECT_EQ((std::vector<bool>{1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0}), Look());
  InstallIntoUncreatableFolder();
  const Fakes& fakes = TheFakes();
  EXPECT_EQ(1, fakes.boxes);
  EXPECT_EQ(nullptr, fakes.boxOwner);
  EXPECT_EQ(L"\u521b\u5efa\u5b89\u88c5\u76ee\u5f55\u5931\u8d25", fakes.boxText);
  EXPECT_EQ(L"Error", fakes.boxCaption);
  EXPECT_EQ(static_cast<UINT>(MB_OK), fakes.boxType);
  EXPECT_EQ(1u, Logged("Failed to create install directory").size());
  PumpFor(200);
  EXPECT_TRUE(Logged("useAdministratorMode").empty());
  EXPECT_EQ((std::vector<bool>{0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1}), Look());
}

class KeyAtOnce : public MainWindowTest, public ::testing::WithParamInterface<WORD> {};

// Enter or Space pressed as soon as the window is up starts the install (the install button is
// the skin's default button and takes the first focus); neither minimises the window.
TEST_P(KeyAtOnce, StartsTheInstallAndNeverMinimises) {
  window_->m_customInstallPath = files_ / L"file\\vesk.helm";
  ScopedOverride box(g_setupMessageBox, &FakeMessageBox);
  SkinUI::testing::PostKey(hwnd_, GetParam());
  EXPECT_TRUE(PumpUntil([] { return TheFakes().boxes > 0; }));
  EXPECT_FALSE(::IsIconic(hwnd_));
  EXPECT_EQ(1u, Logged("Failed to create install directory").size());
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyAtOnce, ::testing::Values(WORD{VK_RETURN}, WORD{VK_SPACE}),
                         [](const auto& info) { return info.param == VK_RETURN ? "Enter" : "Space"; });

// Each progress message shows its number on the bar and as "N%" on the label.
TEST_F(MainWindowTest, ProgressMessagesSetBarAndLabel) {
  InstallIntoUncreatableFolder();
  auto* bar = static_cast<SkinUI::CProgressUI*>(Find(L"installProgress"));
  for (int percent : {42, 0, 99, 100}) {
    ASSERT_TRUE(::PostMessageW(hwnd_, WM_INSTALL_PROGRESS, percent, 0));
    PumpFor(30);
    EXPECT_EQ(percent, bar->GetValue());
    EXPECT_EQ(std::to_wstring(percent) + L"%", Find(L"progressText")->GetText().GetData());
  }
}

// Only an existing installation in a folder setup cannot write is installed elevated.
TEST_F(MainWindowTest, AdministratorModeOnlyForUnwritableRegisteredFolder) {
  struct {
    bool registered;
    bool writable;
    bool elevated;
  } const cases[] = {{true, false, true}, {true, true, false}, {false, false, false},
                     {false, true, false}};
  for (const auto& test : cases) {
    window_->m_hasRegistryPath = test.registered;
    window_->m_customInstallPath = files_ / (test.writable ? L"app" : L"file\\app");
    EXPECT_EQ(test.elevated, window_->useAdministratorMode());
    EXPECT_EQ(test.elevated ? "useAdministratorMode true" : "useAdministratorMode false",
              log_.Messages().back());
  }
}

// At 96 DPI the top 40 client pixels drag the window, except over the title buttons.
TEST_F(MainWindowTest, DragStripIsTheTopFortyPixelsBesideTheButtons) {
  RECT client = {};
  ::GetClientRect(hwnd_, &client);
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
    ::ClientToScreen(hwnd_, &point);
    EXPECT_EQ(test.hit, ::SendMessageW(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)))
        << point.x << "," << point.y;
  }
}

// A double click on the drag strip is consumed: the window keeps its place and size.
TEST_F(MainWindowTest, DoubleClickOnDragStripDoesNotMaximise) {
  RECT before = {};
  ::GetWindowRect(hwnd_, &before);
  POINT point = {100, 20};
  ::ClientToScreen(hwnd_, &point);
  ASSERT_TRUE(::PostMessageW(hwnd_, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(point.x, point.y)));
  PumpFor(200);
  RECT after = {};
  ::GetWindowRect(hwnd_, &after);
  EXPECT_FALSE(::IsZoomed(hwnd_));
  EXPECT_TRUE(::EqualRect(&before, &after));
  EXPECT_EQ(1u, Logged("WM_NCLBUTTONDBLCLK").size());
}

}  // namespace
}  // namespace vesk
