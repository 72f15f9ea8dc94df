// The built VeskSetup.exe as a blind user and an enterprise test robot use it, from another
// process: its window's accessible tree names every control in the window's language, the
// install button's default action installs to the end while the progress value moves, and the
// keyboard alone (Tab, Space, Enter as real key input) walks every control and installs.
#include <algorithm>

#include "setup/engine/tests/engine_test_support.h"
#include "setup/window/tests/window_program_driver.h"
#include "testsupport/accessible_client.h"
#include "testsupport/live_window_support.h"

namespace vesk::testing {
namespace {

using SkinUI::testing::AccessiblePtr;
using SkinUI::testing::WinEventRecord;
using SkinUI::testing::WinEventRecorder;

const wchar_t kInstall[] = L"\u5b89\u88c5";                             // 安装
const wchar_t kProgress[] = L"\u5b89\u88c5\u8fdb\u5ea6";                // 安装进度
const wchar_t kPath[] = L"\u5b89\u88c5\u8def\u5f84";                    // 安装路径
const wchar_t kPickFolder[] = L"\u9009\u62e9\u5b89\u88c5\u8def\u5f84";  // 选择安装路径
const wchar_t kAutoStart[] = L"\u5f00\u673a\u81ea\u52a8\u542f\u52a8";    // 开机自动启动
const wchar_t kMinimise[] = L"\u6700\u5c0f\u5316";                      // 最小化
const wchar_t kClose[] = L"\u5173\u95ed";                               // 关闭

class AccessibleSetupWindow : public WindowProgramTest {
 protected:
  void SetUp() override {
    WindowProgramTest::SetUp();
    m_com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  }
  void TearDown() override {
    if (m_com) CoUninitialize();
  }
  DWORD SetupProcessId() const {
    DWORD process = 0;
    GetWindowThreadProcessId(m_window, &process);
    return process;
  }
  // The names of the focus events recorded so far, in order.
  std::vector<std::wstring> FocusNames(const WinEventRecorder& recorder) const {
    std::vector<std::wstring> names;
    for (const WinEventRecord& record : recorder.events) {
      if (record.event == EVENT_OBJECT_FOCUS && record.window == m_window) {
        names.push_back(WinEventRecorder::NameOfEventObject(record));
      }
    }
    return names;
  }
  bool m_com = false;
};

// The ready window's tree names every control a user can reach, in the window's language, with
// the right roles and states (the install button is the default and has the focus); the install
// button's default action starts a real install, whose progress value a hook sees move, and
// setup installs to the end.
TEST_F(AccessibleSetupWindow, DefaultActionOfInstallButtonInstallsToTheEnd) {
  ASSERT_NE(Start(L""), nullptr);
  AccessiblePtr root = SkinUI::testing::ClientObject(m_window);
  ASSERT_TRUE(root);
  struct Row {
    const wchar_t* name;
    LONG role;
  } const rows[] = {{kMinimise, ROLE_SYSTEM_PUSHBUTTON}, {kClose, ROLE_SYSTEM_PUSHBUTTON},
                    {kInstall, ROLE_SYSTEM_PUSHBUTTON},  {kPath, ROLE_SYSTEM_TEXT},
                    {kPickFolder, ROLE_SYSTEM_PUSHBUTTON}, {kAutoStart, ROLE_SYSTEM_PUSHBUTTON},
                    {kProgress, ROLE_SYSTEM_PROGRESSBAR}};
  for (const Row& row : rows) {
    AccessiblePtr object = SkinUI::testing::FindByName(root.get(), row.name);
    ASSERT_TRUE(object) << Narrow(row.name);
    EXPECT_EQ(row.role, SkinUI::testing::RoleOf(object.get())) << Narrow(row.name);
  }
  AccessiblePtr install = SkinUI::testing::FindByName(root.get(), kInstall);
  EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_DEFAULT,
            SkinUI::testing::StateOf(install.get()));
  const RECT location = SkinUI::testing::LocationOf(install.get());
  POINT center = {320, 295};
  ClientToScreen(m_window, &center);
  EXPECT_TRUE(PtInRect(&location, center));
  AccessiblePtr path = SkinUI::testing::FindByName(root.get(), kPath);
  EXPECT_EQ(kDefaultFolder, SkinUI::testing::ValueOf(path.get()));
  EXPECT_NE(0, SkinUI::testing::StateOf(path.get()) & STATE_SYSTEM_READONLY);
  EXPECT_NE(0, SkinUI::testing::StateOf(SkinUI::testing::FindByName(root.get(), kProgress).get()) &
                   STATE_SYSTEM_INVISIBLE);

  WinEventRecorder recorder(SetupProcessId());
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  ASSERT_EQ(S_OK, install->accDoDefaultAction(self));
  // The progress bar's value changes reach the hook while the install runs (each event is read
  // back while the window is still there).
  size_t read = 0;
  const bool progressMoved = SkinUI::testing::PumpUntil(
      [&] {
        for (; read < recorder.events.size(); ++read) {
          const WinEventRecord& record = recorder.events[read];
          if (record.event == EVENT_OBJECT_VALUECHANGE &&
              WinEventRecorder::NameOfEventObject(record) == kProgress) {
            return true;
          }
        }
        return false;
      },
      60000);
  EXPECT_TRUE(progressMoved);
  EXPECT_EQ(Finish().exitCode, 0u);
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kProductKey, L"VeskInstallPath"),
            StringValue(kDefaultFolder));
  EXPECT_TRUE(FileExists(kDefaultFolder + L"\\vesk.helm.exe"));
}

// With the keyboard alone: Tab from the first focus (install) reaches the path, the folder
// picker, the auto-start toggle, minimise, close and install again, each announced by a focus
// event with its name; Space on the toggle turns auto-start off, Enter on install installs to
// the end without the auto-start entry.
TEST_F(AccessibleSetupWindow, KeyboardOnlyInstall) {
  ASSERT_NE(Start(L""), nullptr);
  WinEventRecorder recorder(SetupProcessId());
  for (int i = 0; i < 6; ++i) {
    PressKey(VK_TAB);
    SkinUI::testing::PumpFor(100);
  }
  SkinUI::testing::PumpUntil([&] { return FocusNames(recorder).size() >= 6; }, 5000);
  const std::vector<std::wstring> order = {kPath, kPickFolder, kAutoStart, kMinimise, kClose,
                                           kInstall};
  std::vector<std::wstring> seen = FocusNames(recorder);
  // The path field's native edit window announces itself too; only the named controls count.
  seen.erase(std::remove_if(seen.begin(), seen.end(),
                            [&](const std::wstring& name) {
                              return std::find(order.begin(), order.end(), name) == order.end();
                            }),
             seen.end());
  EXPECT_EQ(order, seen);
  for (int i = 0; i < 3; ++i) PressKey(VK_TAB);
  PressKey(VK_SPACE);  // the toggle: off
  for (int i = 0; i < 3; ++i) PressKey(VK_TAB);
  PressKey(VK_RETURN);  // install
  EXPECT_EQ(Finish().exitCode, 0u);
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kProductKey, L"VeskInstallPath"),
            StringValue(kDefaultFolder));
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kRunKey, kRunValue), RegistryValue{});
  EXPECT_TRUE(FileExists(kDefaultFolder + L"\\vesk.helm.exe"));
}

}  // namespace
}  // namespace vesk::testing
