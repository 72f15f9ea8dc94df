// The paint manager without a window: resource tables, window settings, the name map, focus,
// notifications, invalidation, and painting a control tree off-screen.
#include "uitoolkit/window/ui_paint_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/test_support.h"
#include "uitoolkit/core/tests/render_test_support.h"

namespace SkinUI {
namespace {

using testing::MatchesGolden;
using testing::TestCanvas;

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::vector<std::wstring> g_log;

class LogNotifier : public INotifyUI {
 public:
  explicit LogNotifier(const wchar_t* label) : m_label(label) {}
  void Notify(TNotifyUI& msg) override {
    g_log.push_back(m_label + L":" + msg.sType.GetData() + L"/" + msg.sVirtualWnd.GetData() +
                    L"/" + std::to_wstring(msg.wParam));
  }

 private:
  std::wstring m_label;
};

bool LogOwnListener(void* param) {
  g_log.push_back(L"own:" + std::wstring(static_cast<TNotifyUI*>(param)->sType));
  return false;
}

// A control attached below `parent` as its cover, placed by the parent.
CControlUI* MakeCover(CControlUI& parent, const wchar_t* attributes) {
  CControlUI* cover = new CControlUI;
  cover->SetAttributeList(attributes);
  parent.SetCover(cover);
  return cover;
}

// A tree attached to a manager is laid out at the client rectangle on first render, sends
// "windowinit" once, and paints into an off-screen bitmap without any window.
TEST(PaintManager, RendersTreeOffscreen) {
  g_log.clear();
  CPaintManagerUI manager;
  LogNotifier notifier(L"n");
  manager.AddNotifier(&notifier);
  CControlUI* root = new CControlUI;
  root->SetAttributeList(L"name=\"root\" bkcolor=\"#FF204060\" bkcolor2=\"#FF80A0C0\" "
                         L"bordersize=\"2\" bordercolor=\"#FFFFFFFF\"");
  CControlUI* badge = MakeCover(*root, L"name=\"badge\" float=\"0.5,0.5,0.5,0.5\" "
                                       L"pos=\"-10,-10,10,10\" bkcolor=\"#C0FF8000\" "
                                       L"borderround=\"10,10\"");
  ASSERT_TRUE(manager.AttachDialog(root));
  EXPECT_EQ(badge, manager.FindControl(L"badge"));
  const RECT client = {0, 0, 80, 60};
  vesk::UniqueBitmap bitmap(manager.RenderToBitmap(client));
  ASSERT_TRUE(bitmap.valid());
  EXPECT_TRUE(SameRect(client, root->GetPos()));
  EXPECT_TRUE(SameRect(RECT{30, 20, 50, 40}, badge->GetPos()));
  TestCanvas canvas(80, 60);
  {
    vesk::UniqueMemoryDC source(::CreateCompatibleDC(nullptr));
    vesk::ScopedSelectObject select(source.get(), bitmap.get());
    ::BitBlt(canvas.dc(), 0, 0, 80, 60, source.get(), 0, 0, SRCCOPY);
  }
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(1, 30));
  EXPECT_EQ(0xFFFFFFu, canvas.Pixel(78, 30));
  EXPECT_TRUE(MatchesGolden(canvas, "manager_tree"));
  EXPECT_EQ(badge, manager.FindControl(POINT{40, 30}));
  EXPECT_EQ(root, manager.FindControl(POINT{5, 5}));
  EXPECT_EQ(nullptr, manager.FindControl(POINT{85, 5}));
  // A second render lays out nothing new and sends no second "windowinit".
  TestCanvas again(80, 60);
  EXPECT_TRUE(manager.Render(again.dc(), client, client));
  EXPECT_TRUE(again.SameColors(canvas));
  EXPECT_EQ(std::vector<std::wstring>{L"n:windowinit//0"}, g_log);
}

// Without a root the paint area is filled with opaque black.
TEST(PaintManager, NoRootPaintsBlack) {
  CPaintManagerUI manager;
  TestCanvas canvas(10, 10);
  EXPECT_FALSE(manager.Render(canvas.dc(), canvas.rect(), RECT{0, 0, 5, 10}));
  EXPECT_EQ(50, canvas.CountOtherThan(canvas.rect(), 0xFFFFFF));
  EXPECT_EQ(0u, canvas.Pixel(2, 2));
  EXPECT_EQ(nullptr, manager.RenderToBitmap(canvas.rect()));
}

// After a paint, setting the same text again leaves nothing to repaint, another text repaints
// the control, and a hidden control's change repaints nothing; negative edges are clamped.
TEST(PaintManager, InvalidationBookkeeping) {
  CPaintManagerUI manager;
  CControlUI* root = new CControlUI;
  root->SetText(L"a");
  manager.AttachDialog(root);
  TestCanvas canvas(40, 30);
  manager.Render(canvas.dc(), canvas.rect(), canvas.rect());
  EXPECT_TRUE(CUiRect(manager.GetInvalidRect()).IsEmpty());
  EXPECT_FALSE(manager.IsUpdateNeeded());
  root->SetText(L"a");
  EXPECT_TRUE(CUiRect(manager.GetInvalidRect()).IsEmpty());
  root->SetText(L"b");
  EXPECT_TRUE(SameRect(RECT{0, 0, 40, 30}, manager.GetInvalidRect()));
  manager.Render(canvas.dc(), canvas.rect(), canvas.rect());
  root->SetVisible(false);
  manager.Render(canvas.dc(), canvas.rect(), canvas.rect());
  root->SetText(L"c");
  EXPECT_TRUE(CUiRect(manager.GetInvalidRect()).IsEmpty());
  manager.Invalidate(RECT{-5, -5, 10, 10});
  EXPECT_TRUE(SameRect(RECT{0, 0, 10, 10}, manager.GetInvalidRect()));
  root->SetFixedWidth(5);
  EXPECT_TRUE(manager.IsUpdateNeeded());
}

// Notifications reach the sender's own listeners first, then every notifier in order; the
// virtual window is filled only once the window uses virtual windows.
TEST(PaintManager, SynchronousNotifications) {
  g_log.clear();
  CPaintManagerUI manager;
  LogNotifier first(L"1"), second(L"2");
  EXPECT_FALSE(manager.AddNotifier(nullptr));
  manager.AddNotifier(&first);
  manager.AddNotifier(&second);
  CControlUI* root = new CControlUI;
  manager.AttachDialog(root);
  root->OnNotify += &LogOwnListener;
  root->SetVirtualWnd(L"page");
  manager.UsedVirtualWnd(false);
  manager.SendNotify(root, L"click", 3);
  root->SetAttribute(L"virtualwnd", L"page");
  manager.SendNotify(root, L"click");
  EXPECT_TRUE(manager.RemoveNotifier(&first));
  EXPECT_FALSE(manager.RemoveNotifier(&first));
  manager.SendNotify(root, L"timer");
  const std::vector<std::wstring> expected = {L"own:click", L"1:click//3",     L"2:click//3",
                                              L"own:click", L"1:click/page/0", L"2:click/page/0",
                                              L"own:timer", L"2:timer/page/0"};
  EXPECT_EQ(expected, g_log);
}

// Queued notifications without repeat are merged per sender and type (the later parameters
// win, the first place is kept); with repeat every one is delivered, in order.
TEST(PaintManager, QueuedNotifications) {
  g_log.clear();
  CPaintManagerUI manager;
  LogNotifier notifier(L"n");
  manager.AddNotifier(&notifier);
  CControlUI* root = new CControlUI;
  manager.AttachDialog(root);
  manager.SendNotify(root, L"textchanged", 1, 0, true, false);
  manager.SendNotify(root, L"scroll", 5, 0, true, true);
  manager.SendNotify(root, L"textchanged", 2, 0, true, false);
  manager.SendNotify(root, L"scroll", 6, 0, true, true);
  EXPECT_TRUE(g_log.empty());
  manager.DeliverAsyncNotifications();
  const std::vector<std::wstring> expected = {L"n:textchanged//2", L"n:scroll//5",
                                              L"n:scroll//6"};
  EXPECT_EQ(expected, g_log);
}

// A control deleted while its notification waits in the queue takes the notification with it;
// the others are still delivered.
TEST(PaintManager, QueuedNotificationsOfDeletedSenderAreDropped) {
  g_log.clear();
  CPaintManagerUI manager;
  LogNotifier notifier(L"n");
  manager.AddNotifier(&notifier);
  CControlUI* root = new CControlUI;
  CControlUI* cover = MakeCover(*root, L"name=\"cover\"");
  manager.AttachDialog(root);
  manager.SendNotify(cover, L"textchanged", 1, 0, true);
  manager.SendNotify(root, L"scroll", 2, 0, true);
  root->SetCover(nullptr);
  manager.DeliverAsyncNotifications();
  EXPECT_EQ(std::vector<std::wstring>{L"n:scroll//2"}, g_log);
}

// Focus moves with kill-focus and set-focus events and notifications; hidden or disabled
// controls and controls of another manager are not focused; hiding the focused control frees
// the focus.
TEST(PaintManager, FocusMoves) {
  g_log.clear();
  CPaintManagerUI manager, other;
  LogNotifier notifier(L"n");
  manager.AddNotifier(&notifier);
  CControlUI* root = new CControlUI;
  CControlUI* cover = MakeCover(*root, L"name=\"cover\"");
  manager.AttachDialog(root);
  root->SetFocus();
  EXPECT_EQ(root, manager.GetFocus());
  EXPECT_TRUE(root->IsFocused());
  manager.SetFocus(cover);
  EXPECT_FALSE(root->IsFocused());
  EXPECT_TRUE(cover->IsFocused());
  cover->SetVisible(false);
  EXPECT_EQ(nullptr, manager.GetFocus());
  manager.SetFocus(cover);
  EXPECT_EQ(nullptr, manager.GetFocus());
  CControlUI stranger;
  stranger.SetManager(&other, nullptr, false);
  manager.SetFocus(&stranger);
  EXPECT_EQ(nullptr, manager.GetFocus());
  const std::vector<std::wstring> expected = {L"n:setfocus//0", L"n:killfocus//0",
                                              L"n:setfocus//0", L"n:killfocus//0"};
  EXPECT_EQ(expected, g_log);
}

// The name map follows renames and deletions; a deleted control leaves the post-paint list, and
// attaching a new root forgets the old tree's names and native windows.
TEST(PaintManager, NameMapAndTeardown) {
  CPaintManagerUI manager;
  CControlUI* root = new CControlUI;
  root->SetName(L"root");
  CControlUI* cover = MakeCover(*root, L"name=\"first\"");
  manager.AttachDialog(root);
  cover->SetName(L"second");
  EXPECT_EQ(nullptr, manager.FindControl(L"first"));
  EXPECT_EQ(cover, manager.FindControl(L"second"));
  EXPECT_TRUE(manager.AddPostPaint(cover));
  EXPECT_FALSE(manager.AddPostPaint(cover));
  root->SetCover(nullptr);
  EXPECT_EQ(nullptr, manager.FindControl(L"second"));
  EXPECT_EQ(0, manager.GetPostPaintCount());
  TestCanvas canvas(10, 10);
  EXPECT_TRUE(manager.Render(canvas.dc(), canvas.rect(), canvas.rect()));
  const HWND native = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
  EXPECT_TRUE(manager.AddNativeWindow(root, native));
  CControlUI* next = new CControlUI;
  next->SetName(L"next");
  manager.AttachDialog(next);
  EXPECT_EQ(nullptr, manager.GetNativeWindowControl(native));
  EXPECT_EQ(nullptr, manager.FindControl(L"root"));
  EXPECT_EQ(next, manager.FindControl(L"next"));
  EXPECT_EQ(next, manager.GetRoot());
}

// Option groups refuse null names, null controls and duplicates, and vanish when emptied.
TEST(PaintManager, OptionGroups) {
  CPaintManagerUI manager;
  CControlUI a, b;
  EXPECT_FALSE(manager.AddOptionGroup(nullptr, &a));
  EXPECT_FALSE(manager.AddOptionGroup(L"g", nullptr));
  EXPECT_TRUE(manager.AddOptionGroup(L"g", &a));
  EXPECT_TRUE(manager.AddOptionGroup(L"g", &b));
  EXPECT_FALSE(manager.AddOptionGroup(L"g", &a));
  ASSERT_NE(nullptr, manager.GetOptionGroup(L"g"));
  EXPECT_EQ(2, manager.GetOptionGroup(L"g")->GetSize());
  manager.RemoveOptionGroup(L"g", &a);
  EXPECT_EQ(&b, manager.GetOptionGroup(L"g")->GetAt(0));
  manager.RemoveOptionGroup(L"g", &b);
  EXPECT_EQ(nullptr, manager.GetOptionGroup(L"g"));
}

struct WindowAttributeCase {
  const wchar_t* name;
  const wchar_t* value;
  const wchar_t* expected;  // what the matching getter reads back
};

std::wstring ReadBack(CPaintManagerUI& m, const wchar_t* name) {
  const std::wstring n = name;
  auto size = [](SIZE s) { return std::to_wstring(s.cx) + L"x" + std::to_wstring(s.cy); };
  auto rect = [](RECT r) {
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
           std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom);
  };
  if (n == L"size" || n == L"SIZE") return size(m.GetInitSize());
  if (n == L"caption") return rect(m.GetCaptionRect());
  if (n == L"sizebox") return rect(m.GetSizeBox());
  if (n == L"roundcorner") return size(m.GetRoundCorner());
  if (n == L"mininfo") return size(m.GetMinInfo());
  if (n == L"maxinfo") return size(m.GetMaxInfo());
  if (n == L"showdirty") return std::to_wstring(m.IsShowUpdateRect());
  if (n == L"noactivate") return std::to_wstring(m.IsNoActivate());
  if (n == L"opacity") return std::to_wstring(m.GetOpacity());
  if (n == L"layeredopacity") return std::to_wstring(m.GetLayeredOpacity());
  if (n == L"layeredimage") return std::wstring(m.GetLayeredImage());
  if (n == L"disabledfontcolor") return std::to_wstring(m.GetDefaultDisabledColor());
  if (n == L"defaultfontcolor") return std::to_wstring(m.GetDefaultFontColor());
  if (n == L"linkfontcolor") return std::to_wstring(m.GetDefaultLinkFontColor());
  if (n == L"linkhoverfontcolor") return std::to_wstring(m.GetDefaultLinkHoverFontColor());
  if (n == L"selectedcolor") return std::to_wstring(m.GetDefaultSelectedBkColor());
  const wchar_t* custom = m.GetWindowCustomAttribute(name);
  return custom != nullptr ? custom : L"(none)";
}

// Window attributes reach their settings (names ignoring case, except noactivate,
// layeredopacity and layeredimage); anything else is a custom attribute whose first value wins.
TEST(PaintManager, WindowAttributes) {
  const WindowAttributeCase cases[] = {
      {L"SIZE", L"640,460", L"640x460"},
      {L"caption", L"0,0,640,40", L"0,0,640,40"},
      {L"sizebox", L"4,4,4,4", L"4,4,4,4"},
      {L"roundcorner", L"8,8", L"8x8"},
      {L"mininfo", L"300,200", L"300x200"},
      {L"maxinfo", L"900", L"900x0"},
      {L"showdirty", L"TRUE", L"1"},
      {L"noactivate", L"true", L"1"},
      {L"NoActivate", L"true", L"true"},
      {L"opacity", L"200", L"200"},
      {L"layeredopacity", L"128", L"128"},
      {L"layeredimage", L"file='glass.png'", L"file='glass.png'"},
      {L"disabledfontcolor", L"#FF808080", L"4286611584"},
      {L"defaultfontcolor", L"FF000001", L"4278190081"},
      {L"linkfontcolor", L"#FF0000FE", L"4278190334"},
      {L"linkhoverfontcolor", L"#FF0000FD", L"4278190333"},
      {L"selectedcolor", L"#FF0000FC", L"4278190332"},
      {L"bkimage", L"bk.png", L"bk.png"},
  };
  for (const WindowAttributeCase& row : cases) {
    CPaintManagerUI manager;
    manager.SetWindowAttribute(row.name, row.value);
    EXPECT_EQ(std::wstring(row.expected), ReadBack(manager, row.name)) << row.name;
  }
  CPaintManagerUI manager;
  manager.SetWindowAttribute(L"accent", L"first");
  manager.SetWindowAttribute(L"accent", L"second");
  manager.SetWindowAttribute(L"empty", L"");
  EXPECT_STREQ(L"first", manager.GetWindowCustomAttribute(L"accent"));
  EXPECT_EQ(nullptr, manager.GetWindowCustomAttribute(L"empty"));
  CPaintManagerUI fresh;
  EXPECT_EQ(0xFFA7A6AAu, fresh.GetDefaultDisabledColor());
  EXPECT_EQ(0xFFBAE4FFu, fresh.GetDefaultSelectedBkColor());
}

// Fonts: the window's table before the shared one, replacement under the same id, the default
// font for negative and unknown ids, and one font per look from FindOrAddFont.
TEST(PaintManager, FontTables) {
  CPaintManagerUI manager, other;
  HFONT shared = manager.AddFont(3, L"Tahoma", 14, false, false, false, true);
  ASSERT_NE(nullptr, shared);
  EXPECT_EQ(shared, other.GetFont(3));
  HFONT own = manager.AddFont(3, L"Arial", 12, true, false, false);
  EXPECT_EQ(own, manager.GetFont(3));
  EXPECT_EQ(shared, other.GetFont(3));
  HFONT replaced = manager.AddFont(3, L"Arial", 20, false, true, false);
  EXPECT_EQ(replaced, manager.GetFont(3));
  EXPECT_EQ(20, manager.GetFontInfo(3)->iSize);
  EXPECT_EQ(nullptr, manager.AddFont(-1, L"Arial", 12, false, false, false));
  HFONT fallback = manager.GetDefaultFontInfo()->hFont.get();
  ASSERT_NE(nullptr, fallback);
  EXPECT_EQ(fallback, manager.GetFont(-1));
  EXPECT_EQ(fallback, manager.GetFont(99));
  EXPECT_EQ(replaced, manager.FindOrAddFont(L"Arial", 20, false, true, false));
  HFONT added = manager.FindOrAddFont(L"Arial", 20, true, true, false);
  EXPECT_NE(replaced, added);
  EXPECT_EQ(added, manager.FindOrAddFont(L"Arial", 20, true, true, false));
  LOGFONTW lf = {};
  ::GetObjectW(manager.GetFont(3), sizeof(lf), &lf);
  EXPECT_EQ(-20, lf.lfHeight);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_TRUE(manager.RemoveFont(3, true));
  EXPECT_NE(shared, other.GetFont(3));
  manager.SetDefaultFont(L"Arial", 17, false, false, false);
  EXPECT_EQ(17, manager.GetDefaultFontInfo()->iSize);
  EXPECT_NE(17, other.GetDefaultFontInfo()->iSize);
}

// Images: the window's table before the shared one; GetImageEx loads and registers what is in
// neither, from the resource folder; a preloaded image joins the shared table.
TEST(PaintManager, ImageTablesAndResourceFolder) {
  CPaintManagerUI::SetResourcePath(testing::TestImageFolder().c_str());
  CPaintManagerUI manager, other;
  TImageInfo* shared = manager.AddImage(L"quad.png", nullptr, 0, false, true);
  ASSERT_NE(nullptr, shared);
  EXPECT_EQ(shared, other.GetImage(L"quad.png"));
  TImageInfo* own = manager.AddImage(L"quad.png");
  EXPECT_EQ(own, manager.GetImage(L"quad.png"));
  EXPECT_EQ(shared, other.GetImage(L"quad.png"));
  EXPECT_EQ(nullptr, manager.GetImage(L"fifty.png"));
  TImageInfo* loaded = manager.GetImageEx(L"fifty.png");
  ASSERT_NE(nullptr, loaded);
  EXPECT_EQ(50, loaded->width);
  EXPECT_EQ(loaded, manager.GetImage(L"fifty.png"));
  EXPECT_EQ(nullptr, other.GetImage(L"fifty.png"));
  EXPECT_EQ(nullptr, manager.AddImage(L"missing.png"));
  EXPECT_TRUE(manager.RemoveImage(L"quad.png", true));
  EXPECT_EQ(nullptr, other.GetImage(L"quad.png"));
  // A preloaded image lands in the shared table at its first lookup, from any window.
  ASSERT_TRUE(CPaintManagerUI::PreloadImage(L"nine.png"));
  TImageInfo* preloaded = other.GetImage(L"nine.png");
  ASSERT_NE(nullptr, preloaded);
  EXPECT_EQ(preloaded, manager.GetImageEx(L"nine.png"));
  EXPECT_TRUE(manager.RemoveImage(L"nine.png", true));
  CPaintManagerUI::SetResourcePath(L"");
}

// Default attribute lists: the window's list before the shared one, names matched exactly;
// translated strings are process-wide.
TEST(PaintManager, DefaultListsAndTranslatedStrings) {
  CPaintManagerUI manager, other;
  manager.AddDefaultAttributeList(L"Button", L"bkcolor=\"#FF000000\"", true);
  manager.AddDefaultAttributeList(L"Button", L"width=\"5\"");
  EXPECT_STREQ(L"width=\"5\"", manager.GetDefaultAttributeList(L"Button"));
  EXPECT_STREQ(L"bkcolor=\"#FF000000\"", other.GetDefaultAttributeList(L"Button"));
  EXPECT_EQ(nullptr, manager.GetDefaultAttributeList(L"button"));
  EXPECT_TRUE(manager.RemoveDefaultAttributeList(L"Button", true));
  EXPECT_EQ(nullptr, other.GetDefaultAttributeList(L"Button"));
  CPaintManagerUI::AddMultiLanguageString(3, L"Install");
  EXPECT_STREQ(L"Install", other.GetMultiLanguageString(3));
  EXPECT_EQ(nullptr, other.GetMultiLanguageString(4));
  EXPECT_TRUE(CPaintManagerUI::RemoveMultiLanguageString(3));
  EXPECT_EQ(nullptr, other.GetMultiLanguageString(3));
}

// The resource folder gets a trailing backslash; the instance path is the module's folder.
TEST(PaintManager, ProcessPaths) {
  CPaintManagerUI::SetInstance(nullptr);
  EXPECT_TRUE(CPaintManagerUI::GetInstancePath().IsEmpty());
  CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
  const CUiString path = CPaintManagerUI::GetInstancePath();
  EXPECT_EQ(path.GetLength() - 1, path.ReverseFind(L'\\'));
  CPaintManagerUI::SetResourcePath(L"C:\\skins");
  EXPECT_STREQ(L"C:\\skins\\", CPaintManagerUI::GetResourcePath());
  CPaintManagerUI::SetResourcePath(L"");
  CPaintManagerUI::SetInstance(nullptr);
}

// Plug-ins load from a full path or from the program's own folder, never from a search: a
// library planted in the current folder is not found by its name.
TEST(PaintManager, PluginsLoadOnlyByFullPathOrFromProgramFolder) {
  wchar_t program[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring programFolder(program);
  programFolder.resize(programFolder.rfind(L'\\') + 1);
  vesk::testing::ScopedTempFolder planted;
  const std::wstring plantedPath = planted / L"planted_plugin.dll";
  ASSERT_TRUE(::CopyFileW((programFolder + L"skinui_test_plugin.dll").c_str(),
                          plantedPath.c_str(), FALSE));
  wchar_t previous[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(::SetCurrentDirectoryW(planted.path().c_str()));
  const bool byName = CPaintManagerUI::LoadPlugin(L"planted_plugin.dll");
  const bool byDriveRelativeName = CPaintManagerUI::LoadPlugin(L"C:planted_plugin.dll");
  ::SetCurrentDirectoryW(previous);
  EXPECT_FALSE(byName);
  EXPECT_FALSE(byDriveRelativeName);
  EXPECT_EQ(nullptr, ::GetModuleHandleW(L"planted_plugin.dll"));
  const std::size_t before = CPaintManagerUI::GetPlugins().size();
  EXPECT_TRUE(CPaintManagerUI::LoadPlugin(plantedPath.c_str()));
  EXPECT_TRUE(CPaintManagerUI::LoadPlugin(L"skinui_test_plugin.dll"));
  EXPECT_EQ(before + 2, CPaintManagerUI::GetPlugins().size());
  EXPECT_FALSE(CPaintManagerUI::LoadPlugin(L"no_such_plugin.dll"));
}

}  // namespace
}  // namespace SkinUI
