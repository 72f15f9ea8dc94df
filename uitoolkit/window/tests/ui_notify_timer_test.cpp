// Notifications and timers of a live window: synchronous order, queued notifications coalesced
// and delivered from the posted message, message maps, virtual windows, and control timers with
// their native id sequence.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/controls/ui_container.h"
#include "testsupport/live_window_support.h"

namespace SkinUI {
namespace {

using testing::EventLog;
using testing::PumpFor;
using testing::PumpUntil;
using testing::TestSkinWindow;

const wchar_t kSkin[] =
    L"<Window size=\"300,100\"><HorizontalLayout name=\"root\">"
    L"<Button name=\"ok\" width=\"100\" /><Button name=\"cancel\" width=\"100\" />"
    L"<Button name=\"other\" /></HorizontalLayout></Window>";

std::vector<std::wstring> g_log;

class LogNotifier : public INotifyUI {
 public:
  explicit LogNotifier(const wchar_t* label) : m_label(label) {}
  void Notify(TNotifyUI& msg) override {
    g_log.push_back(m_label + L":" + msg.sType.GetData() + L":" + std::to_wstring(msg.wParam));
  }

 private:
  std::wstring m_label;
};

bool LogOwnListener(void* param) {
  const TNotifyUI* msg = static_cast<const TNotifyUI*>(param);
  g_log.push_back(std::wstring(L"own:") + msg->sType.GetData() + L":" +
                  std::to_wstring(msg->wParam));
  return true;
}

class LiveNotify : public ::testing::Test {
 protected:
  void SetUp() override {
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    g_log.clear();
  }
};

// A synchronous notification reaches the sender's listeners, then the notifiers in order.
TEST_F(LiveNotify, SynchronousOrder) {
  TestSkinWindow window(kSkin);
  ASSERT_NE(nullptr, window.CreateShown(100, 100, 300, 100));
  CPaintManagerUI& manager = window.GetPaintManager();
  LogNotifier first(L"first");
  LogNotifier second(L"second");
  manager.AddNotifier(&first);
  manager.AddNotifier(&second);
  CControlUI* ok = manager.FindControl(L"ok");
  ok->OnNotify += &LogOwnListener;
  manager.SendNotify(ok, L"custom", 7);
  EXPECT_EQ((std::vector<std::wstring>{L"own:custom:7", L"first:custom:7", L"second:custom:7"}),
            g_log);
}

// Queued notifications without repeat are coalesced and delivered once, from the posted
// message, with the last values; with repeat allowed each is delivered in order.
TEST_F(LiveNotify, QueuedNotificationsCoalesce) {
  TestSkinWindow window(kSkin);
  ASSERT_NE(nullptr, window.CreateShown(100, 100, 300, 100));
  CPaintManagerUI& manager = window.GetPaintManager();
  LogNotifier notifier(L"n");
  manager.AddNotifier(&notifier);
  CControlUI* ok = manager.FindControl(L"ok");
  manager.SendNotify(ok, L"textchanged", 1, 0, true, false);
  manager.SendNotify(ok, L"textchanged", 2, 0, true, false);
  manager.SendNotify(ok, L"scroll", 3, 0, true, true);
  manager.SendNotify(ok, L"scroll", 4, 0, true, true);
  EXPECT_TRUE(g_log.empty());
  PumpFor(50);
  EXPECT_EQ((std::vector<std::wstring>{L"n:textchanged:2", L"n:scroll:3", L"n:scroll:4"}), g_log);
}

class MapWindow : public TestSkinWindow {
 public:
  using TestSkinWindow::TestSkinWindow;
  void OnOk(TNotifyUI&) { g_log.push_back(L"OnOk"); }
  void OnCancel(TNotifyUI&) { g_log.push_back(L"OnCancel"); }
  void OnAnyClick(TNotifyUI& msg) {
    g_log.push_back(std::wstring(L"OnAnyClick:") + msg.pSender->GetName().GetData());
  }
  LRESULT OnSelect(WPARAM wParam, LPARAM lParam) {
    g_log.push_back(L"OnSelect:" + std::to_wstring(wParam) + L":" + std::to_wstring(lParam));
    return 0;
  }

  UI_DECLARE_MESSAGE_MAP()
};

UI_BEGIN_MESSAGE_MAP(MapWindow, WindowImplBase)
  UI_ON_CLICK_CTRNAME(L"ok", MapWindow::OnOk)
  UI_ON_MSGTYPE(L"click", MapWindow::OnAnyClick)
  UI_ON_CLICK_CTRNAME(L"cancel", MapWindow::OnCancel)
  UI_ON_PARAMS_MSGTYPE(L"itemselect", MapWindow::OnSelect)
UI_END_MESSAGE_MAP()

// Real clicks of two named buttons reach their handlers; another button reaches the unnamed
// entry; a type of the base map only (none here) would fall through to the base.
TEST_F(LiveNotify, MessageMapRoutesClicks) {
  MapWindow window(kSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  for (int x : {50, 150, 250}) {
    testing::MouseMoveTo(hwnd, POINT{x, 50});
    testing::MouseButton(true);
    testing::MouseButton(false);
  }
  ASSERT_TRUE(PumpUntil([] { return g_log.size() >= 3; }));
  window.GetPaintManager().SendNotify(window.GetPaintManager().FindControl(L"ok"), L"itemselect",
                                      4, 2);
  EXPECT_EQ((std::vector<std::wstring>{L"OnOk", L"OnCancel", L"OnAnyClick:other",
                                       L"OnSelect:4:2"}),
            g_log);
  testing::MouseMoveToScreen(POINT{1200, 1000});
}

class PanelPump : public CNotifyPump {
 public:
  void OnPanelClick(TNotifyUI& msg) {
    g_log.push_back(std::wstring(L"panel:") + msg.pSender->GetName().GetData());
  }
  UI_DECLARE_MESSAGE_MAP()
};

UI_BEGIN_MESSAGE_MAP(PanelPump, CNotifyPump)
  UI_ON_MSGTYPE(L"click", PanelPump::OnPanelClick)
UI_END_MESSAGE_MAP()

// A notification naming a virtual window goes to that window's pump (name ignoring case).
TEST_F(LiveNotify, VirtualWindowRouting) {
  MapWindow window(
      L"<Window size=\"200,100\"><HorizontalLayout name=\"root\">"
      L"<Button name=\"inner\" virtualwnd=\"Panel\" /><Button name=\"ok\" />"
      L"</HorizontalLayout></Window>");
  ASSERT_NE(nullptr, window.CreateShown(100, 100, 200, 100));
  PanelPump panel;
  EXPECT_TRUE(window.AddVirtualWnd(L"panel", &panel));
  EXPECT_FALSE(window.AddVirtualWnd(L"panel", &panel));
  window.GetPaintManager().FindControl(L"inner")->Activate();
  window.GetPaintManager().FindControl(L"ok")->Activate();
  EXPECT_EQ((std::vector<std::wstring>{L"panel:inner", L"OnOk"}), g_log);
  EXPECT_TRUE(window.RemoveVirtualWnd(L"panel"));
  EXPECT_FALSE(window.RemoveVirtualWnd(L"panel"));
}

const wchar_t kTimerSkin[] =
    L"<Window size=\"100,100\"><VerticalLayout name=\"root\">"
    L"<Control name=\"one\" /><Control name=\"two\" /></VerticalLayout></Window>";

// Timers get native ids 17, 18, ...; a running timer cannot be set twice; a killed one restarts
// under its id; its events carry the local id.
TEST_F(LiveNotify, TimerIdsAndRestart) {
  TestSkinWindow window(kTimerSkin);
  ASSERT_NE(nullptr, window.CreateShown(100, 100, 100, 100));
  CPaintManagerUI& manager = window.GetPaintManager();
  CControlUI* one = manager.FindControl(L"one");
  CControlUI* two = manager.FindControl(L"two");
  EventLog log;
  log.Watch(one);
  ASSERT_TRUE(manager.SetTimer(one, 5, 10));
  EXPECT_FALSE(manager.SetTimer(one, 5, 10));
  ASSERT_TRUE(manager.SetTimer(two, 5, 1000));
  EXPECT_EQ(17u, manager.GetNativeTimerId(one, 5));
  EXPECT_EQ(18u, manager.GetNativeTimerId(two, 5));
  EXPECT_TRUE(PumpUntil([&] { return !log.entries.empty(); }));
  EXPECT_EQ(L"24:one", log.entries.front());
  EXPECT_TRUE(manager.KillTimer(one, 5));
  EXPECT_FALSE(manager.KillTimer(one, 5));
  PumpFor(30);
  log.entries.clear();
  PumpFor(60);
  EXPECT_TRUE(log.entries.empty());
  EXPECT_TRUE(manager.SetTimer(one, 5, 10));
  EXPECT_EQ(17u, manager.GetNativeTimerId(one, 5));
  EXPECT_TRUE(PumpUntil([&] { return !log.entries.empty(); }));
}

// Two controls of a shown timer skin; "one" has a timer under native id 17, the first one handed out.
class LiveTimerIds : public LiveNotify {
 protected:
  void SetUp() override {
    LiveNotify::SetUp();
    ASSERT_NE(nullptr, m_window.CreateShown(100, 100, 100, 100));
    one = manager.FindControl(L"one");
    two = manager.FindControl(L"two");
    ASSERT_TRUE(manager.SetTimer(one, 1, 60000));
    ASSERT_EQ(17u, manager.GetNativeTimerId(one, 1));
  }
  TestSkinWindow m_window{kTimerSkin};
  CPaintManagerUI& manager = m_window.GetPaintManager();
  CControlUI* one = nullptr;
  CControlUI* two = nullptr;
};

// Ids wrap after 254 and skip 0 and every id still held, so no two live timers share one; an id
// freed by a control's timers going is handed out again.
TEST_F(LiveTimerIds, WrapWithoutSharing) {
  for (UINT local = 0; local < 237; ++local) {     // ids 18 .. 254
    ASSERT_TRUE(manager.SetTimer(two, local, 60000));
  }
  EXPECT_EQ(254u, manager.GetNativeTimerId(two, 236));
  ASSERT_TRUE(manager.SetTimer(two, 1000, 60000));
  EXPECT_EQ(1u, manager.GetNativeTimerId(two, 1000));  // 0 is skipped
  manager.KillTimer(one);
  for (UINT local = 1001; local < 1016; ++local) {  // ids 2 .. 16
    ASSERT_TRUE(manager.SetTimer(two, local, 60000));
  }
  ASSERT_TRUE(manager.SetTimer(two, 2000, 60000));
  EXPECT_EQ(17u, manager.GetNativeTimerId(two, 2000));  // freed by "one"
  EXPECT_FALSE(manager.SetTimer(one, 1, 60000));         // every id is taken
}

// A timer stopped with KillTimer(control, id) keeps its native id through a wrap: no new timer
// takes it, and the stopped timer restarts under it.
TEST_F(LiveTimerIds, StoppedTimerKeepsItsIdThroughAWrap) {
  ASSERT_TRUE(manager.KillTimer(one, 1));
  for (UINT local = 0; local < 253; ++local) {  // ids 18 .. 254, then 1 .. 16
    ASSERT_TRUE(manager.SetTimer(two, local, 60000));
  }
  EXPECT_FALSE(manager.SetTimer(two, 999, 60000));  // 17 is still the stopped timer's
  EXPECT_TRUE(manager.SetTimer(one, 1, 60000));
  EXPECT_EQ(17u, manager.GetNativeTimerId(one, 1));
}

// A control's timers are all removed when the control goes.
TEST_F(LiveNotify, TimersRemovedWithControl) {
  TestSkinWindow window(kTimerSkin);
  ASSERT_NE(nullptr, window.CreateShown(100, 100, 100, 100));
  CPaintManagerUI& manager = window.GetPaintManager();
  CControlUI* one = manager.FindControl(L"one");
  ASSERT_TRUE(manager.SetTimer(one, 1, 10));
  ASSERT_TRUE(manager.SetTimer(one, 2, 10));
  ASSERT_TRUE(manager.SetTimer(manager.FindControl(L"two"), 1, 10));
  EXPECT_EQ(3, manager.GetTimerCount());
  IContainerUI* root = static_cast<IContainerUI*>(manager.GetRoot()->GetInterface(L"IContainer"));
  ASSERT_NE(nullptr, root);
  ASSERT_TRUE(root->Remove(one));
  PumpFor(50);  // the removed control is deleted when the queued work runs
  EXPECT_EQ(1, manager.GetTimerCount());
}

}  // namespace
}  // namespace SkinUI
