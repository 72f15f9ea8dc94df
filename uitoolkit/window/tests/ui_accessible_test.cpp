// A skinned window as screen readers and UI test robots see it, through the system's
// accessibility client functions: the client object's tree with names, roles, states and values,
// locations, hit test and focus, default actions that act as a click, the window events that
// follow Tab, values and visibility, and objects that outlive their controls. The same on the
// gallery's list page.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/accessible_client.h"
#include "testsupport/live_window_support.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/controls/ui_progress.h"

namespace SkinUI {
namespace testing {
namespace {

const wchar_t kSkin[] =
    L"<Window size=\"300,400\" defaultbutton=\"go\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
    L"<Button name=\"go\" text=\"Go\" height=\"30\" shortcut=\"G\" accdescription=\"Starts it\" />"
    L"<Button name=\"pic\" height=\"30\" bkcolor=\"#FF4080C0\" accname=\"Picture button\" tooltip=\"A tip\" />"
    L"<CheckBox name=\"check\" text=\"Check me\" height=\"20\" selected=\"true\" />"
    L"<Edit name=\"field\" text=\"typed\" readonly=\"true\" height=\"20\" tooltip=\"Field\" />"
    L"<Edit name=\"secret\" text=\"pw\" password=\"true\" height=\"20\" accname=\"Password\" />"
    L"<Progress name=\"bar\" min=\"0\" max=\"200\" value=\"50\" height=\"10\" accname=\"Progress\" />"
    L"<Label name=\"hidden\" text=\"Hidden\" visible=\"false\" height=\"10\" />"
    L"<Control height=\"10\" />"
    L"<List name=\"list\" height=\"60\" accname=\"Files\">"
    L"<ListLabelElement name=\"one\" text=\"One\" height=\"20\" />"
    L"<ListTextElement name=\"two\" text=\"Two|2 KB\" height=\"20\" /></List>"
    L"</VerticalLayout></Window>";

VARIANT Child(LONG id) {
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

// The object's parent, or its neighbour in `direction`, as an IAccessible (empty for none).
AccessiblePtr AsAccessible(IDispatch* object) {
  IAccessible* accessible = nullptr;
  if (object != nullptr) {
    object->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&accessible));
    object->Release();
  }
  return AccessiblePtr(accessible);
}
AccessiblePtr ParentOf(IAccessible* object) {
  IDispatch* parent = nullptr;
  object->get_accParent(&parent);
  return AsAccessible(parent);
}
AccessiblePtr Navigate(IAccessible* object, LONG direction) {
  VARIANT found;
  found.vt = VT_EMPTY;
  object->accNavigate(direction, Child(CHILDID_SELF), &found);
  return AsAccessible(found.vt == VT_DISPATCH ? found.pdispVal : nullptr);
}

POINT ScreenCenter(HWND window, CControlUI* control) {
  const RECT& rc = control->GetPos();
  POINT point = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  ::ClientToScreen(window, &point);
  return point;
}

class AccessibleWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    m_com = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
  }
  void TearDown() override {
    if (m_com) ::CoUninitialize();
  }
  // Opens `window` and answers its client object.
  AccessiblePtr Open(TestSkinWindow& window, int width, int height) {
    m_hwnd = window.CreateShown(100, 100, width, height);
    m_manager = &window.GetPaintManager();
    return m_hwnd != nullptr ? ClientObject(m_hwnd) : AccessiblePtr();
  }
  CControlUI* Find(const wchar_t* name) { return m_manager->FindControl(name); }

  bool m_com = false;
  HWND m_hwnd = nullptr;
  CPaintManagerUI* m_manager = nullptr;
};

// The client object is the root pane; its tree lists every control but the blank filler, in
// order, with its role, name (accname, text or tooltip), value (an edit's text, but never a
// password; a progress bar's percentage) and state (the default button focused first, the
// checked box, read-only and protected edits, the hidden label, selectable list elements whose
// columns are read in turn). Parents, navigation and the other texts agree with the tree.
TEST_F(AccessibleWindow, ClientObjectTreeNamesRolesStatesAndValues) {
  TestSkinWindow window(kSkin);
  AccessiblePtr root = Open(window, 300, 400);
  ASSERT_TRUE(root);
  EXPECT_EQ((std::vector<std::wstring>{
                L"16 ''  0",
                L"  43 'Go'  100104",
                L"  43 'Picture button'  100000",
                L"  44 'Check me'  100010",
                L"  42 'Field' typed 100040",
                L"  42 'Password'  20100000",
                L"  48 'Progress' 25% 0",
                L"  41 'Hidden'  8000",
                L"  33 'Files'  100000",
                L"    34 'One'  200000",
                L"    34 'Two, 2 KB'  200000",
            }),
            DumpTree(root.get()));

  AccessiblePtr go = FindByName(root.get(), L"Go");
  ASSERT_TRUE(go);
  EXPECT_EQ(L"Starts it", DescriptionOf(go.get()));
  EXPECT_EQ(L"Press", DefaultActionOf(go.get()));
  BSTR shortcut = nullptr;
  EXPECT_EQ(S_OK, go->get_accKeyboardShortcut(Child(CHILDID_SELF), &shortcut));
  EXPECT_EQ(std::wstring(L"Alt+G"), shortcut);
  ::SysFreeString(shortcut);
  EXPECT_EQ(L"Uncheck", DefaultActionOf(FindByName(root.get(), L"Check me").get()));
  EXPECT_EQ(L"Select", DefaultActionOf(FindByName(root.get(), L"One").get()));

  // The second element's parent is the list, although it lives in the list's body; the list's
  // children navigate in order.
  AccessiblePtr two = FindByName(root.get(), L"Two, 2 KB");
  ASSERT_TRUE(two);
  AccessiblePtr list = ParentOf(two.get());
  ASSERT_TRUE(list);
  EXPECT_EQ(L"Files", NameOf(list.get()));
  AccessiblePtr first = Navigate(list.get(), NAVDIR_FIRSTCHILD);
  ASSERT_TRUE(first);
  EXPECT_EQ(L"One", NameOf(first.get()));
  EXPECT_EQ(L"Two, 2 KB", NameOf(Navigate(first.get(), NAVDIR_NEXT).get()));
  EXPECT_FALSE(Navigate(two.get(), NAVDIR_NEXT));
  // The root's parent is the window's own object.
  EXPECT_TRUE(ParentOf(root.get()));
}

// Locations are the controls' rectangles on the screen; a hit test at a control answers it (over
// the blank filler, the root itself); the focus query follows Tab.
TEST_F(AccessibleWindow, LocationHitTestAndFocus) {
  TestSkinWindow window(kSkin);
  AccessiblePtr root = Open(window, 300, 400);
  ASSERT_TRUE(root);
  RECT expected = Find(L"pic")->GetPos();
  ::MapWindowPoints(m_hwnd, nullptr, reinterpret_cast<POINT*>(&expected), 2);
  const RECT location = LocationOf(FindByName(root.get(), L"Picture button").get());
  EXPECT_TRUE(::EqualRect(&expected, &location));

  for (const wchar_t* name : {L"pic", L"bar", L"one"}) {
    const POINT point = ScreenCenter(m_hwnd, Find(name));
    VARIANT hit;
    ASSERT_EQ(S_OK, root->accHitTest(point.x, point.y, &hit)) << name;
    ASSERT_EQ(VT_DISPATCH, hit.vt) << name;
    AccessiblePtr object = AsAccessible(hit.pdispVal);
    RECT rect = Find(name)->GetPos();
    ::MapWindowPoints(m_hwnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    const RECT found = LocationOf(object.get());
    EXPECT_TRUE(::EqualRect(&rect, &found)) << name;
  }
  CControlUI* filler = static_cast<IContainerUI*>(m_manager->GetRoot()->GetInterface(L"IContainer"))
                           ->GetItemAt(7);
  const POINT blank = ScreenCenter(m_hwnd, filler);
  VARIANT hit;
  ASSERT_EQ(S_OK, root->accHitTest(blank.x, blank.y, &hit));
  EXPECT_EQ(VT_I4, hit.vt);
  EXPECT_EQ(CHILDID_SELF, hit.lVal);

  PostKey(m_hwnd, VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return m_manager->GetFocus() == Find(L"pic"); }));
  VARIANT focus;
  ASSERT_EQ(S_OK, root->get_accFocus(&focus));
  ASSERT_EQ(VT_DISPATCH, focus.vt);
  AccessiblePtr focused = AsAccessible(focus.pdispVal);
  EXPECT_EQ(L"Picture button", NameOf(focused.get()));
}

// The default action does what a click does, once the window runs its messages: the button
// sends "click", the check box clears (and says "Check" next), the list element is selected. An
// edit has none, and a disabled button refuses.
TEST_F(AccessibleWindow, DefaultActionActsAsAClick) {
  TestSkinWindow window(kSkin);
  AccessiblePtr root = Open(window, 300, 400);
  ASSERT_TRUE(root);
  struct Row {
    const wchar_t* object;
    const wchar_t* notification;
  } const rows[] = {{L"Go", L"click:go"},
                    {L"Check me", L"selectchanged:check"},
                    {L"Two, 2 KB", L"itemselect:list"}};
  for (const Row& row : rows) {
    AccessiblePtr object = FindByName(root.get(), row.object);
    ASSERT_TRUE(object) << row.object;
    window.notifications.clear();
    EXPECT_EQ(S_OK, object->accDoDefaultAction(Child(CHILDID_SELF))) << row.object;
    EXPECT_TRUE(PumpUntil([&] {
      return std::find(window.notifications.begin(), window.notifications.end(),
                       row.notification) != window.notifications.end();
    })) << row.object;
  }
  EXPECT_EQ(0, StateOf(FindByName(root.get(), L"Check me").get()) & STATE_SYSTEM_CHECKED);
  EXPECT_EQ(L"Check", DefaultActionOf(FindByName(root.get(), L"Check me").get()));
  EXPECT_NE(0, StateOf(FindByName(root.get(), L"Two, 2 KB").get()) & STATE_SYSTEM_SELECTED);
  EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
            FindByName(root.get(), L"Field")->accDoDefaultAction(Child(CHILDID_SELF)));
  Find(L"pic")->SetEnabled(false);
  AccessiblePtr disabled = FindByName(root.get(), L"Picture button");
  EXPECT_NE(0, StateOf(disabled.get()) & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(E_FAIL, disabled->accDoDefaultAction(Child(CHILDID_SELF)));
}

// A win-event hook sees the focus move with Tab, the progress value change, a label shown and a
// button renamed; each event's child id leads back to the control's object.
TEST_F(AccessibleWindow, WinEventsFollowFocusValueVisibilityAndName) {
  TestSkinWindow window(kSkin);
  AccessiblePtr root = Open(window, 300, 400);
  ASSERT_TRUE(root);
  WinEventRecorder recorder(::GetCurrentProcessId());
  auto waitFor = [&](DWORD event, const std::wstring& name) {
    return PumpUntil([&] {
      for (const WinEventRecord& record : recorder.events) {
        if (record.event == event && record.window == m_hwnd &&
            WinEventRecorder::NameOfEventObject(record) == name) {
          return true;
        }
      }
      return false;
    });
  };
  PostKey(m_hwnd, VK_TAB);
  EXPECT_TRUE(waitFor(EVENT_OBJECT_FOCUS, L"Picture button"));
  static_cast<CProgressUI*>(Find(L"bar"))->SetValue(150);
  EXPECT_TRUE(waitFor(EVENT_OBJECT_VALUECHANGE, L"Progress"));
  EXPECT_EQ(L"75%", ValueOf(FindByName(root.get(), L"Progress").get()));
  Find(L"hidden")->SetVisible(true);
  EXPECT_TRUE(waitFor(EVENT_OBJECT_SHOW, L"Hidden"));
  Find(L"go")->SetText(L"Start");
  EXPECT_TRUE(waitFor(EVENT_OBJECT_NAMECHANGE, L"Start"));
}

// An object whose control was deleted, or whose window was closed, answers CO_E_OBJNOTCONNECTED
// to everything and touches nothing.
TEST_F(AccessibleWindow, ObjectsOutlivingTheirControlsAnswerNotConnected) {
  auto* window = new TestSkinWindow(kSkin);
  AccessiblePtr root = Open(*window, 300, 400);
  ASSERT_TRUE(root);
  AccessiblePtr two = FindByName(root.get(), L"Two, 2 KB");
  ASSERT_TRUE(two);
  auto* list = static_cast<IContainerUI*>(Find(L"list")->GetInterface(L"IContainer"));
  ASSERT_TRUE(list->Remove(Find(L"two")));
  PumpFor(50);
  BSTR name = nullptr;
  EXPECT_EQ(CO_E_OBJNOTCONNECTED, two->get_accName(Child(CHILDID_SELF), &name));
  EXPECT_EQ(CO_E_OBJNOTCONNECTED, two->accDoDefaultAction(Child(CHILDID_SELF)));
  delete window;
  LONG count = 0;
  EXPECT_EQ(CO_E_OBJNOTCONNECTED, root->get_accChildCount(&count));
  VARIANT focus;
  EXPECT_EQ(CO_E_OBJNOTCONNECTED, root->get_accFocus(&focus));
}

// The gallery's list page, reached by the default action of its tab: the list and its header
// columns, its first elements, a selection made through the object, elements scrolled out of
// view marked off-screen; the edits of the hidden first page keep their names and values.
TEST_F(AccessibleWindow, GalleryListPage) {
  CPaintManagerUI::SetResourcePath(GALLERY_FOLDER);
  TestSkinWindow window(L"gallery.xml");
  AccessiblePtr root = Open(window, 640, 480);
  ASSERT_TRUE(root);
  AccessiblePtr tab = FindByName(root.get(), L"List");
  ASSERT_TRUE(tab);
  EXPECT_EQ(ROLE_SYSTEM_RADIOBUTTON, RoleOf(tab.get()));
  ASSERT_EQ(S_OK, tab->accDoDefaultAction(Child(CHILDID_SELF)));
  ASSERT_TRUE(PumpUntil([&] { return Find(L"page_list")->IsVisible(); }));
  PumpFor(50);

  AccessiblePtr list = FindByName(root.get(), L"Files");
  ASSERT_TRUE(list);
  EXPECT_EQ(ROLE_SYSTEM_LIST, RoleOf(list.get()));
  std::vector<AccessiblePtr> rows = ChildrenOf(list.get());
  ASSERT_EQ(1005u, rows.size());  // the header and 1,004 elements
  EXPECT_EQ((std::vector<std::wstring>{L"16 ''  0", L"  25 'Name'  0", L"  25 'Kind'  0",
                                       L"  25 'Details'  0"}),
            DumpTree(rows[0].get()));
  EXPECT_EQ(L"A label element: one text", NameOf(rows[1].get()));
  EXPECT_EQ(L"Report.docx, Document, 12 KB, changed on Monday", NameOf(rows[5].get()));
  EXPECT_EQ(STATE_SYSTEM_SELECTABLE, StateOf(rows[1].get()));
  EXPECT_EQ(STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_OFFSCREEN, StateOf(rows[1004].get()));
  ASSERT_EQ(S_OK, rows[5]->accSelect(SELFLAG_TAKESELECTION, Child(CHILDID_SELF)));
  EXPECT_EQ(STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED, StateOf(rows[5].get()));
  VARIANT selection;
  ASSERT_EQ(S_OK, list->get_accSelection(&selection));
  ASSERT_EQ(VT_DISPATCH, selection.vt);
  AccessiblePtr selected = AsAccessible(selection.pdispVal);
  EXPECT_EQ(NameOf(rows[5].get()), NameOf(selected.get()));

  AccessiblePtr edit = FindByName(root.get(), L"Sample text");
  ASSERT_TRUE(edit);
  EXPECT_EQ(L"Edit me", ValueOf(edit.get()));
  EXPECT_NE(0, StateOf(edit.get()) & STATE_SYSTEM_INVISIBLE);
  AccessiblePtr password = FindByName(root.get(), L"Password");
  ASSERT_TRUE(password);
  EXPECT_EQ(L"", ValueOf(password.get()));
  EXPECT_NE(0, StateOf(password.get()) & STATE_SYSTEM_PROTECTED);
  CPaintManagerUI::SetResourcePath(L"");
}

}  // namespace
}  // namespace testing
}  // namespace SkinUI
