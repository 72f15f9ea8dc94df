// Options in groups and alone, and check boxes: what a click selects and the "selectchanged"
// notifications in their order; selected looks.
#include "uitoolkit/controls/ui_option.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "uitoolkit/controls/tests/leaf_test_support.h"
#include "uitoolkit/controls/ui_check_box.h"

namespace SkinUI {
namespace testing {
namespace {

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
}

// Selected looks: the selected image, the selected-hot image while hot, else the selected
// background colour; the option's fore image over every state; the selected text colour; an
// unselected pushed option paints as not pushed.
TEST(OptionPaint, SelectedImagesColoursAndForeImage) {
  TestCanvas canvas(200, 30, 0xFFFFFF);
  LeafBoard board;
  const std::wstring common =
      L"normalimage=\"" + FiveSlice(0) + L"\" pushedimage=\"" + FiveSlice(1) +
      L"\" selectedimage=\"" + FiveSlice(3) + L"\" selectedhotimage=\"" +
      FiveSlice(2) + L"\" foreimage=\"" + FiveSlice(2) +
      L" dest='0,0,6,6'\" text=\"Ab\" textcolor=\"#FF000000\" selectedtextcolor=\"#FFFF0000\"";
  auto column = [](int index) { return RECT{index * 40, 0, index * 40 + 40, 30}; };
  board.Add<COptionUI>(common, column(0));
  board.Add<COptionUI>(common + L" selected=\"true\"", column(1));
  auto& selectedHot = board.Add<COptionUI>(common + L" selected=\"true\"", column(2));
  board.Add<COptionUI>(L"selectedbkcolor=\"#FF00FF00\" selected=\"true\"", column(3));
  auto& pushed = board.Add<COptionUI>(common, column(4));
  SendEvents(selectedHot, {MakeEvent(UIEVENT_MOUSEENTER, 85, 5)});
  SendEvents(pushed, {MakeEvent(UIEVENT_BUTTONDOWN, 165, 5)});
  board.PaintAll(canvas.dc(), canvas.rect());
  const DWORD colours[] = {0x0000FF, 0x00C800, 0x00FFFF, 0x00FF00, 0x0000FF};
  for (int index = 0; index < 5; ++index) {
    EXPECT_EQ(colours[index], canvas.Pixel(index * 40 + 8, 15)) << index;
  }
  EXPECT_EQ(0x00FFFFu, canvas.Pixel(43, 3));
  EXPECT_TRUE(MatchesGolden(canvas, "option_states"));
}

}  // namespace
}  // namespace testing
}  // namespace SkinUI
