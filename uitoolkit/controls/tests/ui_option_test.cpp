// Options in groups and alone, and check boxes: what a click selects and the "selectchanged"
// notifications in their order; selected looks.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "uitoolkit/controls/tests/leaf_test_support.h"
#include "uitoolkit/controls/ui_check_box.h"
#include "uitoolkit/controls/ui_option.h"

namespace SkinUI {
namespace {

using testing::Attach;
using testing::LeafManager;
using testing::MakeEvent;
using testing::MatchesGolden;
using testing::SendEvents;
using testing::TestCanvas;
using Log = std::vector<std::wstring>;

void Click(CControlUI& control) {
  const RECT& rc = control.GetPos();
  SendEvents(control, {MakeEvent(UIEVENT_BUTTONDOWN, rc.left + 1, rc.top + 1),
                       MakeEvent(UIEVENT_BUTTONUP, rc.left + 1, rc.top + 1)});
}

// Options of group "g": a click selects the clicked one and clears the others; the clicked one
// alone reports "selectchanged", after its "click"; clicking the selected one again only clicks.
// A disabled member raises nothing.
TEST(OptionGroup, ClickSelectsOneMemberAndNotifiesInOrder) {
  LeafManager manager;
  COptionUI a, b, c;
  const wchar_t* names[] = {L"a", L"b", L"c"};
  COptionUI* options[] = {&a, &b, &c};
  for (int i = 0; i < 3; ++i) {
    Attach(*options[i], manager, nullptr, RECT{i * 40, 0, i * 40 + 30, 20});
    options[i]->SetName(names[i]);
    options[i]->SetAttribute(L"group", L"g");
  }
  ASSERT_EQ(3, manager.GetOptionGroup(L"g")->GetSize());
  Click(a);
  Click(b);
  EXPECT_FALSE(a.IsSelected());
  EXPECT_TRUE(b.IsSelected());
  Click(b);
  c.SetEnabled(false);
  Click(c);
  EXPECT_EQ((Log{L"click:a", L"selectchanged:a", L"click:b", L"selectchanged:b", L"click:b"}),
            manager.NotificationLog());
  // Leaving: a new group moves the option, and a destroyed option leaves its group.
  c.SetGroup(L"h");
  EXPECT_EQ(2, manager.GetOptionGroup(L"g")->GetSize());
  {
    COptionUI gone;
    gone.SetAttribute(L"group", L"g");
    gone.SetManager(&manager, nullptr, false);
    EXPECT_EQ(3, manager.GetOptionGroup(L"g")->GetSize());
  }
  EXPECT_EQ(2, manager.GetOptionGroup(L"g")->GetSize());
}

// Without a group an option toggles, reporting both selecting and clearing; a check box is such
// an option; SetCheck without notify is silent; an option selected by its attribute while built
// reports it.
TEST(OptionGroup, UngroupedOptionsAndCheckBoxesToggle) {
  LeafManager manager;
  CCheckBoxUI box;
  Attach(box, manager, nullptr, RECT{0, 0, 20, 20});
  box.SetName(L"box");
  Click(box);
  EXPECT_TRUE(box.GetCheck());
  Click(box);
  EXPECT_FALSE(box.GetCheck());
  box.SetCheck(true, false);
  EXPECT_TRUE(box.GetCheck());
  box.SetCheck(true);
  COptionUI built;
  built.SetManager(&manager, nullptr, false);
  built.SetName(L"built");
  built.SetAttributeList(L"group=\"x\" selected=\"true\"");
  EXPECT_EQ((Log{L"click:box", L"selectchanged:box", L"click:box", L"selectchanged:box",
                 L"selectchanged:built"}),
            manager.NotificationLog());
  EXPECT_EQ(CUiString(L"CheckBox"), CUiString(box.GetClass()));
  EXPECT_EQ(&box, box.GetInterface(L"Option"));
  EXPECT_EQ(&box, box.GetInterface(L"Button"));
  EXPECT_EQ(nullptr, box.GetInterface(L"Edit"));
}

// Selected looks: the selected image, the selected-hot image while hot, else the selected
// background colour; the option's fore image over every state; the selected text colour; an
// unselected pushed option paints as not pushed.
TEST(OptionPaint, SelectedImagesColoursAndForeImage) {
  TestCanvas canvas(200, 30, 0xFFFFFF);
  LeafManager manager;
  const std::wstring image = testing::TestImagePath(L"five.png");
  auto slice = [&](int index) {
    return L"file='" + image + L"' source='" + std::to_wstring(index * 10) + L",0," +
           std::to_wstring(index * 10 + 10) + L",10'";
  };
  const std::wstring common = L"normalimage=\"" + slice(0) + L"\" pushedimage=\"" + slice(1) +
                              L"\" selectedimage=\"" + slice(3) + L"\" selectedhotimage=\"" +
                              slice(2) + L"\" foreimage=\"file='" + image +
                              L"' source='20,0,30,10' dest='0,0,6,6'\" text=\"Ab\" "
                              L"textcolor=\"#FF000000\" selectedtextcolor=\"#FFFF0000\"";
  std::vector<std::unique_ptr<COptionUI>> options;
  auto add = [&](const std::wstring& attributes, int column) -> COptionUI& {
    options.push_back(std::make_unique<COptionUI>());
    Attach(*options.back(), manager, nullptr, RECT{column * 40, 0, column * 40 + 40, 30});
    options.back()->SetAttributeList(attributes.c_str());
    return *options.back();
  };
  add(common, 0);
  add(common + L" selected=\"true\"", 1);
  COptionUI& selectedHot = add(common + L" selected=\"true\"", 2);
  add(L"selectedbkcolor=\"#FF00FF00\" selected=\"true\"", 3);
  COptionUI& pushed = add(common, 4);
  SendEvents(selectedHot, {MakeEvent(UIEVENT_MOUSEENTER, 85, 5)});
  SendEvents(pushed, {MakeEvent(UIEVENT_BUTTONDOWN, 165, 5)});
  for (auto& option : options) option->Paint(canvas.dc(), canvas.rect(), nullptr);
  EXPECT_EQ(0x0000FFu, canvas.Pixel(8, 15));
  EXPECT_EQ(0x00C800u, canvas.Pixel(48, 15));
  EXPECT_EQ(0x00FFFFu, canvas.Pixel(88, 15));
  EXPECT_EQ(0x00FF00u, canvas.Pixel(128, 15));
  EXPECT_EQ(0x0000FFu, canvas.Pixel(168, 15));
  EXPECT_EQ(0x00FFFFu, canvas.Pixel(43, 3));
  EXPECT_TRUE(MatchesGolden(canvas, "option_states"));
}

}  // namespace
}  // namespace SkinUI
