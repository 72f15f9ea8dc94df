// A skinned window as screen readers and UI test robots see it, through the system's
// accessibility client functions, in the window's own process; the same on the gallery's list
// page; and the role table the objects use.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "testsupport/accessible_client.h"
#include "testsupport/live_window_support.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/window/ui_accessible_roles.h"

namespace SkinUI {
namespace testing {
namespace {

const wchar_t kSkin[] =
    L"<Window size=\"300,400\" defaultbutton=\"go\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
    L"<Button name=\"go\" text=\"Go\" height=\"30\" />"
    L"<Button name=\"pic\" height=\"30\" bkcolor=\"#FF4080C0\" accname=\"Picture\" tooltip=\"tip\" />"
    L"<CheckBox name=\"check\" text=\"Check me\" height=\"20\" selected=\"true\" />"
    L"<Edit name=\"field\" text=\"typed\" readonly=\"true\" height=\"20\" tooltip=\"Field\" />"
    L"<Edit name=\"secret\" text=\"pw\" password=\"true\" height=\"20\" accname=\"Password\" />"
    L"<RichEdit name=\"notes\" text=\"rich\" height=\"20\" accname=\"Notes\" />"
    L"<RichEdit name=\"pin\" text=\"1234\" password=\"true\" height=\"20\" accname=\"PIN\" />"
    L"<Progress name=\"bar\" max=\"200\" value=\"50\" height=\"10\" accname=\"Progress\" />"
    L"<Label name=\"hidden\" text=\"Hidden\" visible=\"false\" height=\"10\" />"
    L"<Control height=\"10\" />"
    L"<List name=\"list\" height=\"60\" accname=\"Files\">"
    L"<ListLabelElement name=\"one\" text=\"One\" height=\"20\" />"
    L"<ListTextElement name=\"two\" text=\"Two|2 KB\" height=\"20\" /></List>"
    L"</VerticalLayout></Window>";

// The most derived kind a control answers decides its role and default action (a slider
// deriving from the progress bar is a slider, a tree node no plain list element), so the kinds
// not built yet get theirs by name; what answers nothing known is a graphic.
TEST(AccessibleRoles, MostDerivedKindDecidesRoleAndAction) {
  struct Row {
    std::set<std::wstring> answers;
    LONG role;
    std::wstring action;
  } const rows[] = {
      {{L"CheckBox", L"Option", L"Button"}, ROLE_SYSTEM_CHECKBUTTON, L"Check"},
      {{L"Slider", L"Progress", L"Label"}, ROLE_SYSTEM_SLIDER, L""},
      {{L"TreeNode", L"ListItem", L"Container"}, ROLE_SYSTEM_OUTLINEITEM, L"Expand"},
      {{L"TreeView", L"List", L"Container"}, ROLE_SYSTEM_OUTLINE, L""},
      {{L"DateTime", L"Label"}, ROLE_SYSTEM_COMBOBOX, L"Open"},
      {{L"GifAnim", L"Label"}, ROLE_SYSTEM_GRAPHIC, L""},
      {{}, ROLE_SYSTEM_GRAPHIC, L""}};
  for (const Row& row : rows) {
    const TAccessibleRoleRow& found = LookUpAccessibleRole(
        [&row](const wchar_t* name) { return row.answers.count(name) > 0; });
    EXPECT_EQ(row.role, found.role) << row.role;
    EXPECT_EQ(row.action, found.actionName != nullptr ? found.actionName : L"") << row.role;
    EXPECT_EQ(row.action.empty(), found.action == TAccessibleAction::None) << row.role;
  }
}

class AccessibleWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
  }
  void TearDown() override { ::CoUninitialize(); }
  AccessiblePtr Open(TestSkinWindow& window, int width, int height) {
    m_hwnd = window.CreateShown(100, 100, width, height);
    m_manager = &window.GetPaintManager();
    return m_hwnd != nullptr ? ClientObject(m_hwnd) : AccessiblePtr();
  }
  CControlUI* Find(const wchar_t* name) { return m_manager->FindControl(name); }

  HWND m_hwnd = nullptr;
  CPaintManagerUI* m_manager = nullptr;
};

// The client object is the root pane; its tree lists every control but the blank filler, with
// role, name (accname, text or tooltip), value (an edit's or rich edit's text but never a password's, the
// progress in percent) and state. A list element's parent is the list, not its body. The default
// action acts as a click once the window runs its messages; a disabled button refuses. Objects
// outliving their controls touch nothing.
TEST_F(AccessibleWindow, TreeNavigationAndDefaultActions) {
  auto window = std::make_unique<TestSkinWindow>(kSkin);
  AccessiblePtr root = Open(*window, 300, 400);
  ASSERT_TRUE(root);
  EXPECT_EQ((std::vector<std::wstring>{
                L"16 ''  0", L"  43 'Go'  100104", L"  43 'Picture'  100000",
                L"  44 'Check me'  100010", L"  42 'Field' typed 100040",
                L"  42 'Password'  20100000", L"  42 'Notes' rich 100000",
                L"  42 'PIN'  20100000", L"  48 'Progress' 25% 0", L"  41 'Hidden'  8000",
                L"  33 'Files'  100000", L"    34 'One'  200000", L"    34 'Two, 2 KB'  200000"}),
            DumpTree(root.get()));
  AccessiblePtr two = FindByName(root.get(), L"Two, 2 KB");
  IDispatch* parent = nullptr;
  two->get_accParent(&parent);
  EXPECT_EQ(L"Files", NameOf(AsAccessible(parent).get()));

  for (const auto& row : {std::make_pair(L"Go", L"click:go"),
                          std::make_pair(L"Check me", L"selectchanged:check"),
                          std::make_pair(L"Two, 2 KB", L"itemselect:list")}) {
    EXPECT_EQ(S_OK, FindByName(root.get(), row.first)->accDoDefaultAction(ChildId(CHILDID_SELF)));
    EXPECT_TRUE(PumpUntil([&] {
      return std::count(window->notifications.begin(), window->notifications.end(), row.second);
    })) << row.second;
  }
  EXPECT_EQ(STATE_SYSTEM_FOCUSABLE, StateOf(FindByName(root.get(), L"Check me").get()));
  EXPECT_EQ(STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED, StateOf(two.get()));
  Find(L"pic")->SetEnabled(false);
  EXPECT_EQ(E_FAIL, FindByName(root.get(), L"Picture")->accDoDefaultAction(ChildId(CHILDID_SELF)));

  // An object whose control is deleted, or whose window is closed, answers CO_E_OBJNOTCONNECTED.
  ASSERT_TRUE(static_cast<IContainerUI*>(Find(L"list")->GetInterface(L"IContainer"))
                  ->Remove(Find(L"two")));
  PumpFor(50);
  EXPECT_EQ(CO_E_OBJNOTCONNECTED, two->accDoDefaultAction(ChildId(CHILDID_SELF)));
  window.reset();
  LONG count = 0;
  EXPECT_EQ(CO_E_OBJNOTCONNECTED, root->get_accChildCount(&count));
}

// A hit test finds a control at its location on the screen. A win-event hook sees the focus
// move with Tab (the focus query agrees), a label shown and a button renamed (values: the setup
// window's tests); each event's child id leads back to the control's object.
TEST_F(AccessibleWindow, LocationHitTestFocusAndEvents) {
  TestSkinWindow window(kSkin);
  AccessiblePtr root = Open(window, 300, 400);
  ASSERT_TRUE(root);
  RECT rect = Find(L"one")->GetPos();
  ::MapWindowPoints(m_hwnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  VARIANT hit;
  ASSERT_EQ(S_OK, root->accHitTest(rect.left + 2, rect.top + 2, &hit));
  LONG left = 0, top = 0, width = 0, height = 0;
  AsAccessible(hit)->accLocation(&left, &top, &width, &height, ChildId(CHILDID_SELF));
  const RECT found = {left, top, left + width, top + height};
  EXPECT_TRUE(::EqualRect(&rect, &found));

  WinEventRecorder recorder;
  PostKey(m_hwnd, VK_TAB);
  EXPECT_TRUE(recorder.WaitFor(m_hwnd, EVENT_OBJECT_FOCUS, L"Picture"));
  VARIANT focus;
  ASSERT_EQ(S_OK, root->get_accFocus(&focus));
  EXPECT_EQ(L"Picture", NameOf(AsAccessible(focus).get()));
  Find(L"hidden")->SetVisible(true);
  EXPECT_TRUE(recorder.WaitFor(m_hwnd, EVENT_OBJECT_SHOW, L"Hidden"));
  Find(L"go")->SetText(L"Start");
  EXPECT_TRUE(recorder.WaitFor(m_hwnd, EVENT_OBJECT_NAMECHANGE, L"Start"));
}

// The gallery's list page, reached by its tab's default action: the header and 1,004 elements
// read column after column, the last ones off-screen, a selection made through the
// object; the hidden first page's edit keeps its name and value; then the tree and sliders pages.
TEST_F(AccessibleWindow, GalleryListPage) {
  CPaintManagerUI::SetResourcePath(GALLERY_FOLDER);
  TestSkinWindow window(L"gallery.xml");
  AccessiblePtr root = Open(window, 640, 480);
  ASSERT_TRUE(root);
  ASSERT_EQ(S_OK, FindByName(root.get(), L"List")->accDoDefaultAction(ChildId(CHILDID_SELF)));
  ASSERT_TRUE(PumpUntil([&] { return Find(L"page_list")->IsVisible(); }));
  AccessiblePtr list = FindByName(root.get(), L"Files");
  std::vector<AccessiblePtr> rows = ChildrenOf(list.get());
  ASSERT_EQ(1005u, rows.size());
  EXPECT_EQ(L"Report.docx, Document, 12 KB, changed on Monday", NameOf(rows[5].get()));
  EXPECT_EQ(STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_OFFSCREEN, StateOf(rows[1004].get()));
  ASSERT_EQ(S_OK, rows[5]->accSelect(SELFLAG_TAKESELECTION, ChildId(CHILDID_SELF)));
  VARIANT selection;
  ASSERT_EQ(S_OK, list->get_accSelection(&selection));
  EXPECT_EQ(NameOf(rows[5].get()), NameOf(AsAccessible(selection).get()));
  AccessiblePtr edit = FindByName(root.get(), L"Sample text");
  EXPECT_EQ(L"Edit me", TextOf(edit.get(), &IAccessible::get_accValue));
  EXPECT_NE(0, StateOf(edit.get()) & STATE_SYSTEM_INVISIBLE);

  // The tree page: the product folder is an expanded, partly checked outline item whose default
  // action collapses it; on the sliders page a slider answers its value.
  ASSERT_EQ(S_OK, FindByName(root.get(), L"Tree")->accDoDefaultAction(ChildId(CHILDID_SELF)));
  ASSERT_TRUE(PumpUntil([&] { return Find(L"page_tree")->IsVisible(); }));
  AccessiblePtr product = FindByName(FindByName(root.get(), L"Components").get(), L"vesk.helm");
  const LONG treeBits = STATE_SYSTEM_EXPANDED | STATE_SYSTEM_COLLAPSED | STATE_SYSTEM_MIXED;
  EXPECT_EQ(ROLE_SYSTEM_OUTLINEITEM, RoleOf(product.get()));
  EXPECT_EQ(STATE_SYSTEM_EXPANDED | STATE_SYSTEM_MIXED, StateOf(product.get()) & treeBits);
  EXPECT_EQ(L"Collapse", TextOf(product.get(), &IAccessible::get_accDefaultAction));
  ASSERT_EQ(S_OK, product->accDoDefaultAction(ChildId(CHILDID_SELF)));
  EXPECT_TRUE(PumpUntil([&] { return (StateOf(product.get()) & STATE_SYSTEM_COLLAPSED) != 0; }));
  ASSERT_EQ(S_OK, FindByName(root.get(), L"Sliders")->accDoDefaultAction(ChildId(CHILDID_SELF)));
  ASSERT_TRUE(PumpUntil([&] { return Find(L"page_sliders")->IsVisible(); }));
  AccessiblePtr slider = FindByName(root.get(), L"Plain slider");
  EXPECT_EQ(ROLE_SYSTEM_SLIDER, RoleOf(slider.get()));
  EXPECT_EQ(L"40", TextOf(slider.get(), &IAccessible::get_accValue));
  CPaintManagerUI::SetResourcePath(L"");
}

}  // namespace
}  // namespace testing
}  // namespace SkinUI
