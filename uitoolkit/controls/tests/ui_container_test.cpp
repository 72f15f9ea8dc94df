// Containers manage their items (adding, inserting, removing, destroying now or later), pass
// their visibility down, find controls top first within their client area, paint their items
// clipped, and show scroll bars only when the content exceeds them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "uitoolkit/controls/tests/control_test_support.h"
#include "uitoolkit/controls/ui_box_layout.h"
#include "uitoolkit/controls/ui_scroll_bar.h"

namespace SkinUI {
namespace {

using testing::RecordingManager;
using testing::TestCanvas;

// Records the controls handed over for delayed clean-up and deletes them at the end.
class CleanupManager : public RecordingManager {
 public:
  ~CleanupManager() {
    for (CControlUI* control : delayed) control->Delete();
  }
  void AddDelayedCleanup(CControlUI* control) override { delayed.push_back(control); }
  std::vector<CControlUI*> delayed;
};

// A control that counts its destruction in a shared tally.
class CountedControl : public CControlUI {
 public:
  CountedControl(int* destroyed, const wchar_t* name) : m_destroyed(destroyed) { SetName(name); }
  ~CountedControl() override { ++*m_destroyed; }

 private:
  int* m_destroyed;
};

std::wstring ItemNames(const CContainerUI& container) {
  std::wstring names;
  for (int i = 0; i < container.GetCount(); ++i) names += container.GetItemAt(i)->GetName().GetData();
  return names;
}

// Items are appended and inserted in order, null and positions outside are refused, and items
// can be moved singly or as a run.
TEST(Container, AddsInsertsAndReorders) {
  int destroyed = 0;
  CContainerUI container;
  EXPECT_FALSE(container.Add(nullptr));
  CControlUI* a = new CountedControl(&destroyed, L"a");
  CControlUI* c = new CountedControl(&destroyed, L"c");
  EXPECT_TRUE(container.Add(a));
  EXPECT_TRUE(container.Add(c));
  EXPECT_TRUE(container.AddAt(new CountedControl(&destroyed, L"b"), 1));
  CControlUI* d = new CountedControl(&destroyed, L"d");
  EXPECT_FALSE(container.AddAt(d, 9));
  EXPECT_TRUE(container.AddAt(d, 3));
  EXPECT_EQ(L"abcd", ItemNames(container));
  EXPECT_TRUE(container.SetItemIndex(d, 0));
  EXPECT_EQ(L"dabc", ItemNames(container));
  EXPECT_TRUE(container.SetMultiItemIndex(a, 2, 2));
  EXPECT_EQ(L"dcab", ItemNames(container));
  EXPECT_FALSE(container.SetMultiItemIndex(a, 3, 0));
  EXPECT_EQ(static_cast<IContainerUI*>(&container), container.GetInterface(L"IContainer"));
  EXPECT_EQ(&container, container.GetInterface(L"Container"));
  EXPECT_EQ(&container, container.GetInterface(L"Control"));
  EXPECT_EQ(nullptr, container.GetInterface(L"container"));
}

// Removing destroys at once without a manager, through the manager's delayed clean-up with one,
// not at all with doNotDestroy or without auto-destroy; destruction takes the rest.
TEST(Container, RemovesAndDestroysAsConfigured) {
  int destroyed = 0;
  CleanupManager manager;
  {
    CVerticalLayoutUI container;
    CControlUI* kept = new CountedControl(&destroyed, L"kept");
    CControlUI* now = new CountedControl(&destroyed, L"now");
    container.Add(kept);
    container.Add(now);
    EXPECT_TRUE(container.Remove(kept, true));
    EXPECT_FALSE(container.Remove(kept));
    EXPECT_TRUE(container.RemoveAt(0));
    EXPECT_EQ(1, destroyed);
    container.Add(kept);
    container.SetManager(&manager, nullptr, true);
    EXPECT_TRUE(container.Remove(kept));
    ASSERT_EQ(1u, manager.delayed.size());
    EXPECT_EQ(kept, manager.delayed[0]);
    EXPECT_EQ(1, destroyed);
    container.Add(new CountedControl(&destroyed, L"x"));
    container.Add(new CountedControl(&destroyed, L"y"));
    container.SetDelayedDestroy(false);
    container.RemoveAll();
    EXPECT_EQ(0, container.GetCount());
    EXPECT_EQ(3, destroyed);
    container.Add(new CountedControl(&destroyed, L"z"));
  }
  EXPECT_EQ(4, destroyed);
  CControlUI survivor;
  {
    CContainerUI owner;
    owner.SetAutoDestroy(false);
    owner.Add(&survivor);
    EXPECT_TRUE(owner.RemoveAt(0));
    owner.Add(&survivor);
  }
  EXPECT_TRUE(survivor.IsVisible());
}

// A hidden container hides its items internally, also items added later, and shows them again.
TEST(Container, VisibilityPassesDown) {
  CVerticalLayoutUI outer;
  CHorizontalLayoutUI* inner = new CHorizontalLayoutUI();
  CControlUI* leaf = new CControlUI();
  inner->Add(leaf);
  outer.Add(inner);
  outer.SetVisible(false);
  EXPECT_FALSE(inner->IsVisible());
  EXPECT_FALSE(leaf->IsVisible());
  CControlUI* late = new CControlUI();
  outer.Add(late);
  EXPECT_FALSE(late->IsVisible());
  outer.SetVisible(true);
  EXPECT_TRUE(leaf->IsVisible());
  EXPECT_TRUE(late->IsVisible());
  inner->SetVisible(false);
  outer.SetVisible(false);
  outer.SetVisible(true);
  EXPECT_FALSE(inner->IsVisible());
  EXPECT_FALSE(leaf->IsVisible());
}

CControlUI* FirstFound(CControlUI* control, void*) { return control; }

// Hit tests find overlapping items top first only with UIFIND_TOP_FIRST, never outside the
// client area for non-float items, and never below a container without mouse children.
TEST(Container, FindsTopFirstInsideTheClientArea) {
  RecordingManager manager;
  CContainerUI container;
  CControlUI* bottom = new CControlUI();
  CControlUI* top = new CControlUI();
  CControlUI* floating = new CControlUI();
  floating->SetAttributeList(L"float=\"true\" pos=\"0,0,10,10\"");
  container.Add(bottom);
  container.Add(top);
  container.Add(floating);
  container.SetAttributeList(L"inset=\"20,20,0,0\"");
  container.SetManager(&manager, nullptr, true);
  container.SetPos(RECT{0, 0, 100, 100}, false);

  POINT inside{50, 50};
  POINT inInset{5, 5};
  POINT outsideItems{15, 50};
  const UINT hit = UIFIND_VISIBLE | UIFIND_HITTEST;
  EXPECT_EQ(bottom, container.FindControl(&FirstFound, &inside, hit));
  EXPECT_EQ(top, container.FindControl(&FirstFound, &inside, hit | UIFIND_TOP_FIRST));
  EXPECT_EQ(floating, container.FindControl(&FirstFound, &inInset, hit));
  EXPECT_EQ(&container, container.FindControl(&FirstFound, &outsideItems, hit));
  EXPECT_EQ(&container, container.FindControl(&FirstFound, &inside, hit | UIFIND_ME_FIRST));
  top->SetVisible(false);
  EXPECT_EQ(bottom, container.FindControl(&FirstFound, &inside, hit | UIFIND_TOP_FIRST));
  container.SetMouseChildEnabled(false);
  EXPECT_EQ(&container, container.FindControl(&FirstFound, &inside, hit));
  container.SetMouseEnabled(false);
  EXPECT_EQ(nullptr, container.FindControl(&FirstFound, &inside, hit));
}

// Items paint inside the client area only; a float item may cover the inset margin; painting
// stops at the stop control.
TEST(Container, PaintsItemsClippedToTheClientArea) {
  TestCanvas canvas(60, 60, 0xFFFFFF);
  RecordingManager manager;
  CContainerUI container;
  container.SetAttributeList(L"bkcolor=\"#FF0000FF\" inset=\"10,10,10,10\"");
  CControlUI* wide = new CControlUI();
  wide->SetAttributeList(L"bkcolor=\"#FFFF0000\"");
  CControlUI* floating = new CControlUI();
  floating->SetAttributeList(L"bkcolor=\"#FF00FF00\" float=\"true\" pos=\"0,0,5,5\"");
  container.Add(wide);
  container.Add(floating);
  container.SetManager(&manager, nullptr, true);
  container.SetPos(RECT{0, 0, 60, 60}, false);
  // The wide item reaches over the inset once moved; painting must still clip it.
  wide->SetPos(RECT{0, 0, 60, 60}, false);
  EXPECT_TRUE(container.Paint(canvas.dc(), RECT{0, 0, 60, 60}, nullptr));
  EXPECT_EQ(0x0000FFu, canvas.Pixel(8, 30));
  EXPECT_EQ(0xFF0000u, canvas.Pixel(30, 30));
  EXPECT_EQ(0x00FF00u, canvas.Pixel(2, 2));
  EXPECT_EQ(0x0000FFu, canvas.Pixel(55, 55));

  TestCanvas stopped(60, 60, 0xFFFFFF);
  EXPECT_FALSE(container.Paint(stopped.dc(), RECT{0, 0, 60, 60}, floating));
  EXPECT_EQ(0xFF0000u, stopped.Pixel(30, 30));
  EXPECT_EQ(0x0000FFu, stopped.Pixel(2, 2));
}

// A scroll bar appears only when the content exceeds the client area, narrows it, and
// scrolling moves the items; its page is the client height.
TEST(Container, ScrollBarsFollowTheContent) {
  RecordingManager manager;
  CVerticalLayoutUI column;
  CControlUI* first = new CControlUI();
  first->SetFixedHeight(60);
  column.Add(first);
  column.SetAttributeList(L"vscrollbar=\"true\" inset=\"0,0,0,0\"");
  column.SetManager(&manager, nullptr, true);
  column.SetPos(RECT{0, 0, 100, 100}, false);
  ASSERT_NE(nullptr, column.GetVerticalScrollBar());
  EXPECT_FALSE(column.GetVerticalScrollBar()->IsVisible());
  EXPECT_EQ(100, first->GetWidth());

  CControlUI* second = new CControlUI();
  second->SetFixedHeight(90);
  column.Add(second);
  column.SetPos(RECT{0, 0, 100, 100}, false);
  CScrollBarUI* bar = column.GetVerticalScrollBar();
  EXPECT_TRUE(bar->IsVisible());
  EXPECT_EQ(50, bar->GetScrollRange());
  EXPECT_EQ(84, first->GetWidth());
  EXPECT_EQ(84, bar->GetPos().left);
  column.SetScrollPos(SIZE{0, 80});
  EXPECT_EQ(50, column.GetScrollPos().cy);
  EXPECT_EQ(-50, first->GetPos().top);
  column.HomeUp();
  EXPECT_EQ(0, first->GetPos().top);
  column.LineDown();
  EXPECT_EQ(-8, first->GetPos().top);
  // A taller client area cuts range and position, and the items follow the cut position.
  EXPECT_EQ(100, bar->GetPageSize());
  column.EndDown();
  column.SetPos(RECT{0, 0, 100, 130}, false);
  EXPECT_EQ(20, column.GetScrollPos().cy);
  EXPECT_EQ(-20, first->GetPos().top);
  EXPECT_EQ(130, bar->GetPageSize());

  column.SetAttribute(L"hscrollbarstyle", L"linesize=\"3\"");
  ASSERT_NE(nullptr, column.GetHorizontalScrollBar());
  EXPECT_EQ(3, column.GetHorizontalScrollBar()->GetLineSize());
  column.SetAttribute(L"vscrollbar", L"false");
  EXPECT_EQ(nullptr, column.GetVerticalScrollBar());
  EXPECT_NE(nullptr, column.GetHorizontalScrollBar());
}

// Container attributes: childpadding below 0 is stored as 0; alignments take only the exact
// words; the separator attributes are stored.
TEST(Container, AttributesAsTabled) {
  CHorizontalLayoutUI row;
  row.SetAttributeList(L"childpadding=\"-4\" childvalign=\"bottom\" childalign=\"RIGHT\" "
                       L"sepwidth=\"-6\" sepimm=\"true\" mousechild=\"false\"");
  EXPECT_EQ(0, row.GetChildPadding());
  EXPECT_EQ(8u, row.GetChildVAlign());
  EXPECT_EQ(0u, row.GetChildAlign());
  EXPECT_EQ(-6, row.GetSepWidth());
  EXPECT_TRUE(row.IsSepImmMode());
  EXPECT_FALSE(row.IsMouseChildEnabled());
}

}  // namespace
}  // namespace SkinUI
