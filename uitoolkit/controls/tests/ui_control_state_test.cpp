// Position, float anchors, invalidation, visibility, lookup, events and lifecycle of the control
// base, observed through a recording manager.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/controls/tests/control_test_support.h"
#include "uitoolkit/controls/ui_control.h"

namespace SkinUI {
namespace {

using testing::Attach;
using testing::RecordingManager;

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct FloatCase {
  RECT parent;
  RECT expectedCover;
};

// A float cover keeps its fixed XY, size and anchors while its control is resized twice, and
// lies where the anchors put it each time (products truncated).
TEST(ControlPosition, FloatCoverFollowsPercentAnchorsAcrossResizes) {
  RecordingManager manager;
  CControlUI* parent = new CControlUI;
  CControlUI* cover = new CControlUI;
  cover->SetFloat(true);
  cover->SetFixedXY(SIZE{10, 5});
  cover->SetFixedWidth(20);
  cover->SetFixedHeight(10);
  cover->SetFloatPercent(TPercentInfo{0.5, 0, 1, 0.5});
  parent->SetManager(&manager, nullptr, false);
  parent->SetCover(cover);
  const FloatCase cases[] = {
      {{0, 0, 100, 40}, {60, 5, 130, 35}},
      {{10, 10, 210, 90}, {120, 15, 240, 65}},
      {{0, 0, 61, 33}, {40, 5, 91, 31}},
  };
  for (const FloatCase& row : cases) {
    parent->SetPos(row.parent, false);
    EXPECT_TRUE(SameRect(row.expectedCover, cover->GetPos())) << row.parent.right;
    EXPECT_EQ(10, cover->GetFixedXY().cx);
    EXPECT_EQ(5, cover->GetFixedXY().cy);
    EXPECT_EQ(20, cover->GetFixedWidth());
    EXPECT_EQ(10, cover->GetFixedHeight());
  }
  parent->Delete();
}

// A float control placed inside its parent gets the parent-relative rectangle moved by the
// parent's corner, and fixed values that reproduce it from the anchors.
TEST(ControlPosition, FloatControlRecomputesFixedValuesFromItsRectangle) {
  RecordingManager manager;
  CControlUI parent, child;
  Attach(parent, manager, nullptr, RECT{10, 10, 110, 50});
  child.SetManager(&manager, &parent, false);
  child.SetFloat(true);
  child.SetFloatPercent(TPercentInfo{0.5, 0, 1, 0.5});
  child.SetPos(RECT{60, 5, 130, 35}, false);
  EXPECT_TRUE(SameRect(RECT{70, 15, 140, 45}, child.GetPos()));
  EXPECT_TRUE(SameRect(RECT{60, 5, 130, 35}, child.GetRelativePos()));
  EXPECT_EQ(10, child.GetFixedXY().cx);
  EXPECT_EQ(5, child.GetFixedXY().cy);
  EXPECT_EQ(20, child.GetFixedWidth());
  EXPECT_EQ(10, child.GetFixedHeight());
  // Sizes are made non-negative first.
  child.SetFloat(false);
  child.SetPos(RECT{50, 50, 40, 30}, false);
  EXPECT_TRUE(SameRect(RECT{50, 50, 50, 50}, child.GetPos()));
}

// A cover that is not float lies over its control's window rectangle, clamped to the cover's
// maximum size, also when the control is float and was placed parent-relative.
TEST(ControlPosition, PlainCoverLiesOverTheControlsWindowRectangle) {
  RecordingManager manager;
  CControlUI parent;
  Attach(parent, manager, nullptr, RECT{100, 100, 300, 300});
  CControlUI* control = new CControlUI;
  CControlUI* cover = new CControlUI;
  cover->SetMaxWidth(30);
  control->SetManager(&manager, &parent, false);
  control->SetCover(cover);
  control->SetFloat(true);
  control->SetPos(RECT{10, 10, 60, 40}, false);
  EXPECT_TRUE(SameRect(RECT{110, 110, 160, 140}, control->GetPos()));
  EXPECT_TRUE(SameRect(RECT{110, 110, 140, 140}, cover->GetPos()));
  control->Move(SIZE{5, -5}, false);
  EXPECT_TRUE(SameRect(RECT{115, 105, 165, 135}, control->GetPos()));
  EXPECT_TRUE(SameRect(RECT{115, 105, 145, 135}, cover->GetPos()));
  control->Delete();
}

// Setting the same text twice invalidates once; a hidden control invalidates nothing.
TEST(ControlInvalidation, SameTextOnceHiddenNever) {
  RecordingManager manager;
  CControlUI control;
  Attach(control, manager, nullptr, RECT{0, 0, 40, 20});
  control.SetText(L"Install");
  control.SetText(L"Install");
  EXPECT_EQ(1u, manager.invalidated.size());
  manager.invalidated.clear();
  control.SetVisible(false);
  manager.invalidated.clear();
  control.SetText(L"Cancel");
  control.SetBkColor(0xFF102030);
  control.SetEnabled(false);
  control.SetPos(RECT{5, 5, 50, 30});
  control.NeedUpdate();
  EXPECT_EQ(0u, manager.invalidated.size());
  EXPECT_STREQ(L"Cancel", control.GetText());
}

// Invalidation is clipped to every ancestor; nothing is sent when nothing is left, and moving
// inside a hidden ancestor invalidates nothing.
TEST(ControlInvalidation, ClippedToAncestors) {
  RecordingManager manager;
  CControlUI grandparent, parent, child;
  Attach(grandparent, manager, nullptr, RECT{0, 0, 100, 100});
  Attach(parent, manager, &grandparent, RECT{50, 50, 200, 200});
  Attach(child, manager, &parent, RECT{80, 20, 120, 70});
  child.Invalidate();
  ASSERT_EQ(1u, manager.invalidated.size());
  EXPECT_TRUE(SameRect(RECT{80, 50, 100, 70}, manager.invalidated[0]));
  child.SetPos(RECT{0, 0, 10, 10}, false);
  child.Invalidate();
  child.SetPos(RECT{0, 0, 20, 20});
  EXPECT_EQ(1u, manager.invalidated.size());
  // Moving repaints the old and the new place together.
  child.SetPos(RECT{60, 60, 70, 70});
  ASSERT_EQ(2u, manager.invalidated.size());
  EXPECT_TRUE(SameRect(RECT{50, 50, 70, 70}, manager.invalidated[1]));
  grandparent.SetVisible(false);
  manager.invalidated.clear();
  child.SetPos(RECT{70, 70, 90, 90});
  EXPECT_EQ(0u, manager.invalidated.size());
}

// Layout setters mark the parent for update, repaint it and ask the manager for a layout pass;
// negative or unchanged sizes are ignored.
TEST(ControlInvalidation, LayoutSettersAskForParentUpdate) {
  RecordingManager manager;
  CControlUI parent, child;
  Attach(parent, manager, nullptr, RECT{0, 0, 100, 100});
  Attach(child, manager, &parent, RECT{10, 10, 20, 20});
  EXPECT_FALSE(parent.IsUpdateNeeded());
  child.SetFixedWidth(-1);
  child.SetMinWidth(0);
  EXPECT_EQ(0, manager.updateRequests);
  child.SetFixedWidth(30);
  EXPECT_TRUE(parent.IsUpdateNeeded());
  EXPECT_EQ(2, manager.updateRequests);
  ASSERT_EQ(2u, manager.invalidated.size());
  EXPECT_TRUE(SameRect(RECT{0, 0, 100, 100}, manager.invalidated[0]));
}

// Hiding the focused control gives the focus away and hides the cover; showing it shows the
// cover again.
TEST(ControlVisibility, HidingDropsFocusAndHidesCover) {
  RecordingManager manager;
  CControlUI* control = new CControlUI;
  CControlUI* cover = new CControlUI;
  control->SetManager(&manager, nullptr, false);
  control->SetCover(cover);
  control->SetFocus();
  ASSERT_EQ(control, manager.focus);
  control->SetVisible(false);
  EXPECT_EQ(nullptr, manager.focus);
  EXPECT_FALSE(cover->IsVisible());
  control->SetVisible(true);
  EXPECT_TRUE(cover->IsVisible());
  control->SetInternVisible(false);
  EXPECT_FALSE(control->IsVisible());
  EXPECT_FALSE(cover->IsVisible());
  control->Delete();
}

struct FindCase {
  UINT flags;
  POINT point;
  bool hidden, disabled, mouseDisabled;
  const char* expected;  // "control", "cover" or "none"
};

CControlUI* AnyControl(CControlUI* control, void*) { return control; }

// Lookup flags exclude hidden, disabled or missed controls; me-first tests the control before
// its cover; a control that is not mouse enabled is passed over for its cover.
TEST(ControlFind, FlagsDecideWhatIsFound) {
  const FindCase cases[] = {
      {UIFIND_ALL, {0, 0}, false, false, false, "cover"},
      {UIFIND_ME_FIRST, {0, 0}, false, false, false, "control"},
      {UIFIND_VISIBLE, {0, 0}, true, false, false, "none"},
      {UIFIND_ALL, {0, 0}, true, false, false, "cover"},
      {UIFIND_ENABLED | UIFIND_ME_FIRST, {0, 0}, false, true, false, "none"},
      {UIFIND_HITTEST | UIFIND_ME_FIRST, {10, 10}, false, false, false, "control"},
      {UIFIND_HITTEST | UIFIND_ME_FIRST, {100, 10}, false, false, false, "none"},
      {UIFIND_HITTEST | UIFIND_ME_FIRST, {10, 10}, false, false, true, "cover"},
      {UIFIND_UPDATETEST, {0, 0}, false, false, false, "none"},
  };
  for (const FindCase& row : cases) {
    RecordingManager manager;
    CControlUI* control = new CControlUI;
    CControlUI* cover = new CControlUI;
    control->SetManager(&manager, nullptr, false);
    control->SetCover(cover);
    control->SetPos(RECT{0, 0, 100, 50}, false);
    control->SetVisible(!row.hidden);
    control->SetEnabled(!row.disabled);
    control->SetMouseEnabled(!row.mouseDisabled);
    POINT point = row.point;
    CControlUI* found = control->FindControl(&AnyControl, &point, row.flags);
    const char* name = found == control ? "control" : found == cover ? "cover" : "none";
    EXPECT_STREQ(row.expected, name) << std::hex << row.flags << " " << row.point.x;
    control->Delete();
  }
}

class RecordingControl : public CControlUI {
 public:
  void DoEvent(TEventUI& event) override {
    events.push_back(event.Type);
    CControlUI::DoEvent(event);
  }
  void DoInit() override { ++initCount; }
  std::vector<int> events;
  int initCount = 0;
};

bool Refuse(void*) { return false; }

// Timer events notify "timer", context menus "menu" when used and otherwise go to the parent;
// focus events set and clear the focused flag; an OnEvent handler answering false stops them.
TEST(ControlEvents, BaseEventHandling) {
  RecordingManager manager;
  RecordingControl parent;
  CControlUI child;
  Attach(parent, manager, nullptr, RECT{0, 0, 10, 10});
  Attach(child, manager, &parent, RECT{0, 0, 10, 10});
  TEventUI event;
  event.Type = UIEVENT_TIMER;
  event.wParam = 7;
  event.lParam = 9;
  child.Event(event);
  event.Type = UIEVENT_CONTEXTMENU;
  child.Event(event);
  child.SetContextMenuUsed(true);
  child.Event(event);
  ASSERT_EQ(2u, manager.notifications.size());
  EXPECT_STREQ(L"timer", manager.notifications[0].sType);
  EXPECT_EQ(7u, manager.notifications[0].wParam);
  EXPECT_EQ(9, manager.notifications[0].lParam);
  EXPECT_STREQ(L"menu", manager.notifications[1].sType);
  EXPECT_EQ(&child, manager.notifications[1].pSender);
  EXPECT_EQ(std::vector<int>{UIEVENT_CONTEXTMENU}, parent.events);
  event.Type = UIEVENT_SETFOCUS;
  child.Event(event);
  EXPECT_TRUE(child.IsFocused());
  event.Type = UIEVENT_KILLFOCUS;
  child.Event(event);
  EXPECT_FALSE(child.IsFocused());
  child.OnEvent += &Refuse;
  event.Type = UIEVENT_SETFOCUS;
  child.Event(event);
  EXPECT_FALSE(child.IsFocused());
}

std::vector<std::wstring> g_lifecycle;

bool RecordInit(void* param) {
  g_lifecycle.push_back(L"init " + std::wstring(static_cast<CControlUI*>(param)->GetName()));
  return true;
}

bool RecordDestroy(void* param) {
  g_lifecycle.push_back(L"destroy " + std::wstring(static_cast<CControlUI*>(param)->GetName()));
  return true;
}

// Attaching with `init` runs Init (DoInit, then OnInit) only when a parent is given, and
// attaches the cover with this control as parent; Delete raises OnDestroy and has the manager
// forget cover and control.
TEST(ControlLifecycle, InitOnAttachDestroyOnDelete) {
  g_lifecycle.clear();
  RecordingManager manager;
  CControlUI parent;
  RecordingControl* control = new RecordingControl;
  CControlUI* cover = new CControlUI;
  control->SetName(L"c");
  cover->SetName(L"v");
  control->OnInit += &RecordInit;
  cover->OnInit += &RecordInit;
  control->OnDestroy += &RecordDestroy;
  cover->OnDestroy += &RecordDestroy;
  control->SetCover(cover);
  control->SetManager(&manager, nullptr, true);
  EXPECT_EQ(0, control->initCount);
  control->SetManager(&manager, &parent, true);
  EXPECT_EQ(1, control->initCount);
  EXPECT_EQ(&parent, control->GetParent());
  EXPECT_EQ(control, cover->GetParent());
  control->Delete();
  const std::vector<std::wstring> expected = {L"init v", L"init v", L"init c", L"destroy v",
                                              L"destroy c"};
  EXPECT_EQ(expected, g_lifecycle);
  EXPECT_EQ((std::vector<CControlUI*>{cover, control}), manager.reaped);
}

// Base answers: class, interface, activation, estimate and relative position.
TEST(ControlLifecycle, BaseAnswers) {
  CControlUI control;
  EXPECT_STREQ(L"Control", control.GetClass());
  EXPECT_EQ(&control, control.GetInterface(L"Control"));
  EXPECT_EQ(nullptr, control.GetInterface(L"control"));
  EXPECT_EQ(nullptr, control.GetManager());
  control.SetFixedWidth(12);
  control.SetFixedHeight(8);
  const SIZE estimate = control.EstimateSize(SIZE{500, 500});
  EXPECT_EQ(12, estimate.cx);
  EXPECT_EQ(8, estimate.cy);
  control.SetPos(RECT{5, 5, 9, 9}, false);
  EXPECT_TRUE(SameRect(RECT{0, 0, 0, 0}, control.GetRelativePos()));
  EXPECT_TRUE(control.Activate());
  control.SetEnabled(false);
  EXPECT_FALSE(control.Activate());
}

}  // namespace
}  // namespace SkinUI
