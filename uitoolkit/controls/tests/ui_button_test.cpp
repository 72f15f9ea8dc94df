// Buttons driven by event sequences (click, keyboard, capture, hover, fading) and painted in each
// state from a five-slice image.
#include "uitoolkit/controls/ui_button.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/controls/tests/leaf_test_support.h"

namespace SkinUI {
namespace testing {
namespace {

struct ClickCase {
  const char* what;
  const wchar_t* attributes;
  std::vector<TEventUI> events;
  std::vector<std::wstring> expected;
};

// Which event sequences make a button at (0, 0, 100, 30) send "click" (or "menu"), and which
// send nothing.
TEST(ButtonEvents, SequencesAndTheNotificationsTheySend) {
  const std::vector<std::wstring> none;
  const std::vector<std::wstring> click = {L"click:b"};
  const ClickCase cases[] = {
      {"release inside",
       L"",
       {MakeEvent(UIEVENT_BUTTONDOWN, 5, 5), MakeEvent(UIEVENT_BUTTONUP, 50, 10)},
       click},
      {"release outside",
       L"",
       {MakeEvent(UIEVENT_BUTTONDOWN, 5, 5), MakeEvent(UIEVENT_BUTTONUP, 150, 10)},
       none},
      {"out and back in",
       L"",
       {MakeEvent(UIEVENT_BUTTONDOWN, 5, 5), MakeEvent(UIEVENT_MOUSEMOVE, 150, 10),
        MakeEvent(UIEVENT_MOUSEMOVE, 20, 10), MakeEvent(UIEVENT_BUTTONUP, 20, 10)},
       click},
      {"press outside",
       L"",
       {MakeEvent(UIEVENT_BUTTONDOWN, 150, 5), MakeEvent(UIEVENT_BUTTONUP, 50, 10)},
       none},
      {"release alone", L"", {MakeEvent(UIEVENT_BUTTONUP, 50, 10)}, none},
      {"double click",
       L"",
       {MakeEvent(UIEVENT_DBLCLICK, 5, 5), MakeEvent(UIEVENT_BUTTONUP, 5, 5)},
       click},
      {"space and return",
       L"",
       {MakeEvent(UIEVENT_KEYDOWN, 0, 0, VK_SPACE), MakeEvent(UIEVENT_KEYDOWN, 0, 0, VK_RETURN),
        MakeEvent(UIEVENT_KEYDOWN, 0, 0, 'A')},
       {L"click:b", L"click:b"}},
      {"keyboard off", L"keyboard=\"false\"", {MakeEvent(UIEVENT_KEYDOWN, 0, 0, VK_SPACE)}, none},
      {"disabled",
       L"enabled=\"false\" menu=\"true\"",
       {MakeEvent(UIEVENT_BUTTONDOWN, 5, 5), MakeEvent(UIEVENT_BUTTONUP, 5, 5),
        MakeEvent(UIEVENT_KEYDOWN, 0, 0, VK_SPACE), MakeEvent(UIEVENT_CONTEXTMENU, 5, 5)},
       none},
      {"context menu", L"menu=\"true\"", {MakeEvent(UIEVENT_CONTEXTMENU, 5, 5)}, {L"menu:b"}},
      {"no context menu", L"", {MakeEvent(UIEVENT_CONTEXTMENU, 5, 5)}, none},
      {"hidden", L"visible=\"false\"", {MakeEvent(UIEVENT_KEYDOWN, 0, 0, VK_SPACE)}, none},
  };
  for (const ClickCase& row : cases) {
    LeafManager manager;
    CButtonUI button;
    Attach(button, manager, nullptr, RECT{0, 0, 100, 30});
    button.SetName(L"b");
    button.SetAttributeList(row.attributes);
    for (const TEventUI& event : row.events) SendEvents(button, {event});
    EXPECT_EQ(row.expected, manager.NotificationLog()) << row.what;
    EXPECT_EQ(0u, button.GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED)) << row.what;
  }
}

// Records the kinds of the events that reach it.
class EventRecorder : public CControlUI {
 public:
  void DoEvent(TEventUI& event) override { kinds.push_back(event.Type); }
  std::vector<int> kinds;
};

// A button that is not mouse enabled hands mouse events to its parent and still answers keys.
TEST(ButtonEvents, MouseDisabledButtonPassesMouseEventsToItsParent) {
  LeafManager manager;
  EventRecorder parent;
  CButtonUI button;
  Attach(parent, manager, nullptr, RECT{0, 0, 200, 100});
  Attach(button, manager, &parent, RECT{0, 0, 100, 30});
  button.SetMouseEnabled(false);
  SendEvents(button, {MakeEvent(UIEVENT_BUTTONDOWN, 5, 5), MakeEvent(UIEVENT_BUTTONUP, 5, 5),
                      MakeEvent(UIEVENT_KEYDOWN, 0, 0, VK_RETURN)});
  EXPECT_EQ((std::vector<int>{UIEVENT_BUTTONDOWN, UIEVENT_BUTTONUP}), parent.kinds);
  ASSERT_EQ(1u, manager.notifications.size());
  EXPECT_EQ(CUiString(L"click"), manager.notifications[0].sType);
}

// Hovering makes the button hot and starts the fade timer; timer steps move the fade alpha by
// the delta towards 0 while hot and towards 255 otherwise, and stop the timer at the end; a
// leave during the fade turns it round without a second timer. A leave reported while the
// pointer is still inside keeps the button hot and asks for the next leave.
TEST(ButtonEvents, HoverAndFadeSteps) {
  LeafManager manager;
  CButtonUI button;
  Attach(button, manager, nullptr, RECT{0, 0, 100, 30});
  button.SetAttribute(L"fadedelta", L"100");
  std::vector<int> alphas;
  auto step = [&]() {
    SendEvents(button, {MakeEvent(UIEVENT_TIMER, 0, 0, kFadeTimerId)});
    alphas.push_back(button.GetFadeAlpha());
  };
  SendEvents(button, {MakeEvent(UIEVENT_MOUSEENTER, 5, 5), MakeEvent(UIEVENT_MOUSELEAVE, 5, 5)});
  EXPECT_NE(0u, button.GetButtonState() & UISTATE_HOT);
  EXPECT_EQ(std::vector<CControlUI*>{&button}, manager.mouseLeaveNeeded);
  step();
  // Leaving half-way turns the running fade round.
  SendEvents(button, {MakeEvent(UIEVENT_MOUSELEAVE, 500, 5)});
  EXPECT_EQ(0u, button.GetButtonState() & UISTATE_HOT);
  step();
  SendEvents(button, {MakeEvent(UIEVENT_MOUSEENTER, 5, 5)});
  for (int i = 0; i < 3; ++i) step();
  EXPECT_EQ((std::vector<int>{155, 255, 155, 55, 0}), alphas);
  EXPECT_EQ((std::vector<std::wstring>{L"set 11 30", L"kill 11", L"set 11 30", L"kill 11"}),
            manager.timers);
  // Other timers still reach the window as "timer".
  SendEvents(button, {MakeEvent(UIEVENT_TIMER, 0, 0, 5)});
  ASSERT_EQ(1u, manager.notifications.size());
  EXPECT_EQ(CUiString(L"timer"), manager.notifications[0].sType);
}

// A manager that cannot start the fade timer gets the end of the fade at once: the hot image
// on entering, the normal one on leaving.
TEST(ButtonEvents, FadeWithoutTimerSwitchesAtOnce) {
  RecordingManager manager;
  CButtonUI button;
  Attach(button, manager, nullptr, RECT{0, 0, 100, 30});
  button.SetFadeDelta(40);
  SendEvents(button, {MakeEvent(UIEVENT_MOUSEENTER, 5, 5)});
  EXPECT_EQ(0, button.GetFadeAlpha());
  SendEvents(button, {MakeEvent(UIEVENT_MOUSELEAVE, 500, 5)});
  EXPECT_EQ(255, button.GetFadeAlpha());
}

// Each state shows its slice of a five-slice image: normal, pushed, hot, focused, disabled; a
// button with only a normal image keeps it when hot and pushed; state text colours replace the
// text colour; a hot background colour covers the hot image; a float button without size takes
// a slice's size.
TEST(ButtonPaint, StatesFromFiveSliceImage) {
  TestCanvas canvas(250, 60, 0xFFFFFF);
  LeafBoard board;
  const std::wstring image =
      L"fivestatusimage=\"file='" + TestImagePath(L"five.png") + L"'\"";
  const std::wstring five = image +
                            L" text=\"Ab\" textcolor=\"#FF000000\" pushedtextcolor=\"#FFFF0000\" "
                            L"hottextcolor=\"#FFFFFF00\" focusedtextcolor=\"#FFFFFFFF\" "
                            L"disabledtextcolor=\"#FF404040\"";
  const std::wstring normalOnly = L"normalimage=\"" + FiveSlice(0) + L"\"";
  board.Add<CButtonUI>(five, RECT{0, 0, 50, 30});
  auto& pushed = board.Add<CButtonUI>(five, RECT{50, 0, 100, 30});
  auto& hot = board.Add<CButtonUI>(five, RECT{100, 0, 150, 30});
  auto& focused = board.Add<CButtonUI>(five, RECT{150, 0, 200, 30});
  board.Add<CButtonUI>(five + L" enabled=\"false\"", RECT{200, 0, 250, 30});
  auto& onlyHot = board.Add<CButtonUI>(normalOnly, RECT{0, 30, 50, 60});
  auto& onlyPushed = board.Add<CButtonUI>(normalOnly, RECT{50, 30, 100, 60});
  auto& hotBk = board.Add<CButtonUI>(image + L" hotbkcolor=\"#80FFFFFF\"", RECT{100, 30, 150, 60});
  SendEvents(pushed, {MakeEvent(UIEVENT_BUTTONDOWN, 60, 10)});
  SendEvents(hot, {MakeEvent(UIEVENT_MOUSEENTER, 110, 10)});
  SendEvents(focused, {MakeEvent(UIEVENT_SETFOCUS)});
  SendEvents(onlyHot, {MakeEvent(UIEVENT_MOUSEENTER, 10, 40)});
  SendEvents(onlyPushed, {MakeEvent(UIEVENT_BUTTONDOWN, 60, 40)});
  SendEvents(hotBk, {MakeEvent(UIEVENT_MOUSEENTER, 110, 40)});
  board.PaintAll(canvas.dc(), canvas.rect());
  const DWORD sliceColours[] = {0x0000FF, 0x000080, 0x00FFFF, 0x00C800, 0x808080};
  for (int state = 0; state < 5; ++state) {
    EXPECT_EQ(sliceColours[state], canvas.Pixel(50 * state + 12, 8)) << state;
  }
  EXPECT_EQ(0x0000FFu, canvas.Pixel(12, 38));
  EXPECT_EQ(0x0000FFu, canvas.Pixel(62, 38));
  auto& floating = board.Add<CButtonUI>(L"float=\"true\" " + image, RECT{0, 0, 0, 0});
  EXPECT_EQ(10, floating.GetFixedWidth());
  EXPECT_EQ(10, floating.GetFixedHeight());
  EXPECT_TRUE(MatchesGolden(canvas, "button_states"));
}

}  // namespace
}  // namespace testing
}  // namespace SkinUI
