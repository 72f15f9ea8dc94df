// The skin builder: resource elements, the class table, plug-ins and the callback, Include,
// cover, the order attributes are applied in, and what makes a build fail.
#include "uitoolkit/window/ui_dialog_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/controls/hosted/ui_activex.h"
#include "uitoolkit/controls/hosted/ui_rich_edit.h"
#include "uitoolkit/controls/hosted/ui_web_browser.h"
#include "uitoolkit/controls/ui_box_layout.h"
#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/core/tests/core_test_support.h"
#include "uitoolkit/window/ui_skin_elements.h"

namespace SkinUI {
namespace {

using testing::TempFolder;

// The control's children as "Class:name" separated by spaces, depth first with brackets.
std::wstring Outline(CControlUI* control) {
  if (control == nullptr) return L"null";
  std::wstring text = control->GetClass();
  const CUiString name = control->GetName();
  if (!name.IsEmpty()) text += std::wstring(L":") + name.GetData();
  IContainerUI* container = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
  if (container != nullptr && container->GetCount() > 0) {
    text += L"[";
    for (int i = 0; i < container->GetCount(); ++i) {
      if (i > 0) text += L" ";
      text += Outline(container->GetItemAt(i));
    }
    text += L"]";
  }
  return text;
}

// Builds `xml` with `manager`; the root is deleted with the test.
struct Built {
  Built(const wchar_t* xml, CPaintManagerUI* manager, IDialogBuilderCallback* callback = nullptr)
      : root(builder.Create(xml, nullptr, callback, manager)) {}
  ~Built() {
    if (root != nullptr) root->Delete();
  }
  CDialogBuilder builder;
  CControlUI* root;
};

// A control that counts its destruction.
class CountedControl : public CControlUI {
 public:
  explicit CountedControl(int* destroyed) : m_destroyed(destroyed) {}
  ~CountedControl() override { ++*m_destroyed; }
  const wchar_t* GetClass() const override { return L"Counted"; }

 private:
  int* m_destroyed;
};

class RecordingCallback : public IDialogBuilderCallback {
 public:
  CControlUI* CreateControl(const wchar_t* className) override {
    asked.push_back(className);
    if (std::wstring(className) == L"Counted") return new CountedControl(&destroyed);
    return nullptr;
  }
  std::vector<std::wstring> asked;
  int destroyed = 0;
};

// Each resource element registers with the manager (names and attribute names ignore case);
// elements missing what they need, and resource elements below the root's children, do not.
TEST(DialogBuilder, RegistersResourceElements) {
  CPaintManagerUI::SetResourcePath(RENDER_TEST_DATA);
  CPaintManagerUI manager;
  Built built(
      L"<Window>"
      L"<Image name=\"quad.png\" mask=\"#FF00FF00\" shared=\"TRUE\" />"
      L"<image restype=\"PNG\" />"
      L"<Font id=\"3\" name=\"Arial\" size=\"20\" />"
      L"<FONT ID=\"3\" NAME=\"Courier New\" Size=\"9\" Bold=\"True\" italic=\"true\" />"
      L"<Font id=\"-1\" name=\"Arial\" />"
      L"<Font id=\"5\" />"
      L"<Font id=\"6\" name=\"Tahoma\" size=\"17\" default=\"true\" />"
      L"<Default name=\"Button\" value=\"height=&quot;9&quot;\" />"
      L"<default value=\"x\" />"
      L"<MultiLanguage id=\"77\" value=\"seventy-seven\" />"
      L"<MultiLanguage id=\"78\" />"
      L"<MultiLanguage id=\"-2\" value=\"negative\" />"
      L"<VerticalLayout><Font id=\"9\" name=\"Arial\" /><Default name=\"Edit\" value=\"\" />"
      L"</VerticalLayout>"
      L"</Window>",
      &manager);
  ASSERT_NE(nullptr, built.root);
  EXPECT_EQ(L"VerticalLayout", Outline(built.root));
  TImageInfo* image = manager.GetImage(L"quad.png");
  ASSERT_NE(nullptr, image);
  EXPECT_EQ(0xFF00FF00u, image->mask);
  const TFontInfo* font = manager.GetFontInfo(3);
  ASSERT_NE(nullptr, font);
  EXPECT_EQ(CUiString(L"Courier New"), font->sFontName);
  EXPECT_EQ(9, font->iSize);
  EXPECT_TRUE(font->bBold);
  EXPECT_TRUE(font->bItalic);
  EXPECT_EQ(nullptr, manager.GetFontInfo(5));
  EXPECT_EQ(nullptr, manager.GetFontInfo(9));
  EXPECT_EQ(CUiString(L"Tahoma"), manager.GetDefaultFontInfo()->sFontName);
  EXPECT_EQ(17, manager.GetDefaultFontInfo()->iSize);
  EXPECT_STREQ(L"height=\"9\"", manager.GetDefaultAttributeList(L"Button"));
  EXPECT_EQ(nullptr, manager.GetDefaultAttributeList(L"Edit"));
  EXPECT_STREQ(L"seventy-seven", manager.GetMultiLanguageString(77));
  EXPECT_EQ(nullptr, manager.GetMultiLanguageString(78));
  EXPECT_EQ(nullptr, manager.GetMultiLanguageString(-2));
  CPaintManagerUI::RemoveAllMultiLanguageString();
  CPaintManagerUI::SetResourcePath(L"");
}

// The Window attributes go to the manager: names ignore case except noactivate, layeredopacity
// and layeredimage; what no setting claims becomes a custom window attribute, first value wins.
TEST(DialogBuilder, WindowAttributesFollowTheirCaseRules) {
  CMarkup markup(
      L"<Window SIZE=\"640,460\" Caption=\"0,0,640,40\" roundcorner=\"8,8\" NoActivate=\"true\" "
      L"noactivate=\"TRUE\" bkimage=\"file='background.png'\" bkimage2=\"\" "
      L"DefaultFontColor=\"#FF112233\" />");
  CPaintManagerUI manager;
  ApplyWindowAttributes(markup.GetRoot(), manager);
  EXPECT_EQ(640, manager.GetInitSize().cx);
  EXPECT_EQ(460, manager.GetInitSize().cy);
  EXPECT_EQ(40, manager.GetCaptionRect().bottom);
  EXPECT_EQ(8, manager.GetRoundCorner().cx);
  EXPECT_TRUE(manager.IsNoActivate());
  EXPECT_STREQ(L"true", manager.GetWindowCustomAttribute(L"NoActivate"));
  EXPECT_STREQ(L"file='background.png'", manager.GetWindowCustomAttribute(L"bkimage"));
  EXPECT_EQ(nullptr, manager.GetWindowCustomAttribute(L"bkimage2"));
  EXPECT_EQ(0xFF112233u, manager.GetDefaultFontColor());

  // Built without a window, the skin leaves the window settings alone.
  CPaintManagerUI windowless;
  Built built(L"<Window size=\"640,460\"><Control /></Window>", &windowless);
  EXPECT_EQ(0, windowless.GetInitSize().cx);
}

// A default attribute list applies before the element's own attributes, only to elements
// written with exactly its name; unknown attributes become custom attributes.
TEST(DialogBuilder, DefaultsApplyBeforeOwnAttributes) {
  CPaintManagerUI manager;
  Built built(
      L"<Window>"
      L"<Default name=\"Control\" value=\"bkcolor=&quot;#FF00FF00&quot; height=&quot;7&quot;\" />"
      L"<HorizontalLayout align=\"center\">"
      L"<Control name=\"own\" bkcolor=\"#FF0000FF\" />"
      L"<control name=\"lower\" />"
      L"</HorizontalLayout></Window>",
      &manager);
  ASSERT_NE(nullptr, built.root);
  EXPECT_STREQ(L"center", built.root->GetCustomAttribute(L"align"));
  CContainerUI* row = static_cast<CContainerUI*>(built.root->GetInterface(L"Container"));
  CControlUI* own = row->GetItemAt(0);
  EXPECT_EQ(0xFF0000FFu, own->GetBkColor());
  EXPECT_EQ(7, own->GetFixedHeight());
  EXPECT_EQ(0u, row->GetItemAt(1)->GetBkColor());
  EXPECT_EQ(nullptr, own->GetManager());
}

CControlUI* PluginFactory(const wchar_t* name) {
  if (std::wstring(name) == L"gifanim") return new CVerticalLayoutUI();
  return nullptr;
}

// Element names select classes ignoring case (GifAnim exactly); other names go to the plug-ins,
// then the callback; without a result the element and its subtree are skipped.
TEST(DialogBuilder, ClassTablePluginsAndCallback) {
  RecordingCallback callback;
  CPaintManagerUI::GetPlugins().push_back(&PluginFactory);
  {
    Built built(
        L"<Window><vbox name=\"root\">"
        L"<HBOX /><Container /><GifAnim /><gifanim name=\"plugin\" /><GIFANIM />"
        L"<Unknown><Control name=\"lost\" /></Unknown>"
        L"<TabLayout><Control /></TabLayout><TileLayout /><ChildLayout /><RichEdit /><Slider />"
        L"<button /><Label /><Text /><Option /><CheckBox /><Edit /><Progress />"
        L"<ScrollBar /><Combo /><ComboBox /><DateTime /><List /><ListHeader />"
        L"<ListHeaderItem /><ListLabelElement /><ListTextElement /><ListHBoxElement />"
        L"<ListContainerElement /><Tree /><TreeView /><ActiveX /><WebBrowser />"
        L"<label /><Text /><BUTTON /><Option /><CheckBox /><Edit /><Progress />"
        L"</vbox></Window>",
        nullptr, &callback);
    EXPECT_EQ(
        L"VerticalLayout:root[HorizontalLayout Container GifAnim VerticalLayout:plugin "
        L"TabLayout[Control] TileLayout ChildLayout RichEdit Slider Button Label Text Option "
        L"CheckBox Edit Progress ScrollBar Combo Combo "
        L"DateTime List ListHeader ListHeaderItem ListLabelElement ListTextElement "
        L"ListHBoxElement ListContainerElement TreeView TreeView ActiveX WebBrowser "
        L"Label Text Button Option CheckBox Edit Progress]",
        Outline(built.root));
    EXPECT_EQ((std::vector<std::wstring>{L"GIFANIM", L"Unknown"}), callback.asked);
  }
  CPaintManagerUI::GetPlugins().clear();
}

// The controls whose own behaviour is not built take the common attributes, answer their
// element and base names, and lay out their children as their base layouts do (the combo box
// inside a list, whose rows stack at their heights, 16 without a font); the combo box lays out
// none of its elements in its box, they show only in its drop-down.
TEST(DialogBuilder, UnbuiltControlsLayOutAsTheirBases) {
  Built built(L"<Window><List name=\"list\" bkcolor=\"#FF102030\" childpadding=\"2\">"
              L"<Control height=\"10\" /><Combo inset=\"1,1,1,1\"><Control />"
              L"<ListTextElement maxwidth=\"5\" /></Combo></List></Window>",
              nullptr);
  ASSERT_NE(nullptr, built.root);
  built.root->SetManager(nullptr, nullptr, false);
  built.root->SetPos(RECT{0, 0, 100, 50}, false);
  EXPECT_EQ(0xFF102030u, built.root->GetBkColor());
  EXPECT_EQ(built.root, built.root->GetInterface(L"List"));
  EXPECT_NE(nullptr, built.root->GetInterface(L"VerticalLayout"));
  auto* list = static_cast<CContainerUI*>(built.root->GetInterface(L"Container"));
  auto* combo = static_cast<CContainerUI*>(list->GetItemAt(1)->GetInterface(L"Container"));
  ASSERT_NE(nullptr, combo);
  const RECT expected[] = {{0, 0, 100, 10}, {0, 10, 100, 26}, {0, 0, 0, 0}, {0, 0, 0, 0}};
  const RECT actual[] = {list->GetItemAt(0)->GetPos(), combo->GetPos(),
                         combo->GetItemAt(0)->GetPos(), combo->GetItemAt(1)->GetPos()};
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(CUiRect(expected[i]) == actual[i]) << i;
  EXPECT_NE(nullptr, combo->GetItemAt(1)->GetInterface(L"ListLabelElement"));
  EXPECT_STREQ(L"ListTextElement", combo->GetItemAt(1)->GetClass());
}

// Include builds its source (a file, or markup given inline) `count` times into the parent;
// count 0, an Include without attributes and an overlong source add nothing; a skin that
// includes itself stops.
TEST(DialogBuilder, IncludesWithCount) {
  TempFolder folder;
  ASSERT_TRUE(testing::WriteFileBytes(
      folder / L"part.xml", "<Window><Font id=\"8\" name=\"Arial\" /><Control name=\"p\" />"
                            "<Control name=\"q\" /></Window>"));
  ASSERT_TRUE(testing::WriteFileBytes(
      folder / L"self.xml", "<Window><HBox><Control /><Include source=\"self.xml\" /></HBox>"
                            "</Window>"));
  CPaintManagerUI::SetResourcePath(folder.path().c_str());
  CPaintManagerUI manager;
  // A source above 499 characters names nothing (it is not cut to fit).
  const std::wstring tooLong = L"<Include source=\"&lt;Window&gt;&lt;HBox userdata='" +
                               std::wstring(480, L'x') + L"' /&gt;&lt;/Window&gt;\" />";
  {
    Built built(
        (L"<Window><VBox>" + tooLong +
        L"<Include source=\"part.xml\" count=\"3\" />"
        L"<Include source=\"part.xml\" count=\"0\" />"
        L"<Include />"
        L"<Include source=\"&lt;Window&gt;&lt;HBox /&gt;&lt;/Window&gt;\" />"
        L"<Include source=\"missing.xml\" />"
        L"</VBox></Window>").c_str(),
        &manager);
    EXPECT_EQ(
        L"VerticalLayout[Control:p Control:q Control:p Control:q Control:p Control:q "
        L"HorizontalLayout]",
        Outline(built.root));
    EXPECT_NE(nullptr, manager.GetFontInfo(8));
  }
  {
    Built built(L"<Window><VBox><Include source=\"self.xml\" /></VBox></Window>", nullptr);
    int depth = 0;
    for (CControlUI* level = built.root; level != nullptr; ++depth) {
      IContainerUI* container = static_cast<IContainerUI*>(level->GetInterface(L"IContainer"));
      level = container != nullptr ? container->GetItemAt(container->GetCount() - 1) : nullptr;
    }
    EXPECT_EQ(CDialogBuilder::kMaxIncludeDepth + 2, depth);
  }
  CPaintManagerUI::SetResourcePath(L"");
}

// A skin in a module resource builds, and its includes name resources of the same type.
TEST(DialogBuilder, BuildsFromModuleResources) {
  CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
  CDialogBuilder builder;
  CControlUI* root = builder.Create(STRINGorID(static_cast<WORD>(201)), L"SKIN");
  EXPECT_EQ(L"VerticalLayout:fromResource[Control:part Control:part]", Outline(root));
  if (root != nullptr) root->Delete();
  CDialogBuilder missing;
  EXPECT_EQ(nullptr, missing.Create(STRINGorID(static_cast<WORD>(299)), L"SKIN"));
}

// A skin in the resource zip builds like one in the folder.
TEST(DialogBuilder, BuildsFromTheResourceZip) {
  const std::string archive = testing::MakeZip(
      {{"skin/zipped.xml", "<Window><HorizontalLayout name=\"zipped\" /></Window>"}});
  CPaintManagerUI::SetResourceZip(archive.data(), archive.size());
  CDialogBuilder builder;
  CControlUI* root = builder.Create(L"skin/zipped.xml");
  EXPECT_EQ(L"HorizontalLayout:zipped", Outline(root));
  if (root != nullptr) root->Delete();
  CPaintManagerUI::Term();
}

// cover="true" makes the control its parent's cover; a parent that holds no items, a tree node
// outside a tree and a document that does not load make the build answer null.
TEST(DialogBuilder, CoverAndFailures) {
  Built covered(L"<Window><HBox><Control name=\"c\" cover=\"true\" /><Control name=\"i\" />"
                L"</HBox></Window>",
                nullptr);
  ASSERT_NE(nullptr, covered.root);
  EXPECT_EQ(L"HorizontalLayout[Control:i]", Outline(covered.root));
  EXPECT_EQ(CUiString(L"c"), covered.root->GetCover()->GetName());

  Built leafParent(L"<Window><Control><Control /></Control></Window>", nullptr);
  EXPECT_EQ(nullptr, leafParent.root);
  Built strayNode(L"<Window><VBox><TreeNode /></VBox></Window>", nullptr);
  EXPECT_EQ(nullptr, strayNode.root);
  // A node's child nodes become rows of the tree after it; other children go into its row.
  Built tree(L"<Window><TreeView><TreeNode name=\"n\"><TreeNode name=\"m\" /><Control />"
             L"</TreeNode><TreeNode name=\"o\" /></TreeView></Window>",
             nullptr);
  EXPECT_EQ(L"TreeView[TreeNode:n[Control] TreeNode:m TreeNode:o]", Outline(tree.root));

  CDialogBuilder broken;
  EXPECT_EQ(nullptr, broken.Create(L"<Window><VBox></Window>"));
  wchar_t message[100];
  broken.GetLastErrorMessage(message, 100);
  EXPECT_NE(L'\0', message[0]);
  CDialogBuilder nothing;
  EXPECT_EQ(nullptr, nothing.Create(L"missing-skin.xml"));
  nothing.GetLastErrorMessage(message, 100);
  EXPECT_STREQ(L"Error opening file", message);
}

// Without a parent only the first top-level control is answered; the others are destroyed.
TEST(DialogBuilder, ExtraTopLevelControlsAreDestroyed) {
  RecordingCallback callback;
  {
    Built built(L"<Window><Counted /><Counted /><Counted /></Window>", nullptr, &callback);
    EXPECT_EQ(L"Counted", Outline(built.root));
    EXPECT_EQ(2, callback.destroyed);
  }
  EXPECT_EQ(3, callback.destroyed);
}

// Nesting beyond the limit is skipped instead of exhausting the stack; the root's element name
// need not be Window.
TEST(DialogBuilder, DeepNestingStopsAtTheLimit) {
  std::wstring xml = L"<Skin>";
  const int levels = CDialogBuilder::kMaxNestingDepth + 5000;
  for (int i = 0; i < levels; ++i) xml += L"<VBox>";
  for (int i = 0; i < levels; ++i) xml += L"</VBox>";
  xml += L"</Skin>";
  Built built(xml.c_str(), nullptr);
  int depth = 0;
  for (CControlUI* level = built.root; level != nullptr; ++depth) {
    level = static_cast<IContainerUI*>(level->GetInterface(L"IContainer"))->GetItemAt(0);
  }
  EXPECT_EQ(CDialogBuilder::kMaxNestingDepth, depth);
}

}  // namespace
}  // namespace SkinUI
