// Box layouts place their children: fixed, stretched, clamped, padded, aligned and float
// children in a column and in a row, each row of a table built from attribute lists.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "uitoolkit/controls/tests/control_test_support.h"
#include "uitoolkit/controls/ui_box_layout.h"

namespace SkinUI {
namespace {

using testing::RecordingManager;

enum class Kind { Vertical, Horizontal, Plain };

struct LayoutCase {
  const char* what;
  Kind kind;
  const wchar_t* layoutAttributes;
  std::vector<const wchar_t*> children;  // attribute lists
  RECT at;
  std::vector<RECT> expected;  // one per child; hidden children stay at 0,0,0,0
};

std::unique_ptr<CContainerUI> MakeLayout(Kind kind) {
  if (kind == Kind::Vertical) return std::make_unique<CVerticalLayoutUI>();
  if (kind == Kind::Horizontal) return std::make_unique<CHorizontalLayoutUI>();
  return std::make_unique<CContainerUI>();
}

std::string Describe(const RECT& rc) {
  return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," +
         std::to_string(rc.right) + "," + std::to_string(rc.bottom);
}

// Builds the layout of `row`, attaches it and places it at `at`; the children in order.
std::vector<CControlUI*> LayOut(const LayoutCase& row, CContainerUI& layout,
                                RecordingManager& manager) {
  std::vector<CControlUI*> children;
  for (const wchar_t* attributes : row.children) {
    CControlUI* child = new CControlUI();
    child->SetAttributeList(attributes);
    layout.Add(child);
    children.push_back(child);
  }
  layout.SetAttributeList(row.layoutAttributes);
  layout.SetManager(&manager, nullptr, true);
  layout.SetPos(row.at, false);
  return children;
}

const LayoutCase kCases[] = {
    {"row: spacers share what a fixed child leaves", Kind::Horizontal, L"",
     {L"", L"width=\"104\" height=\"32\"", L""},
     {0, 0, 640, 32},
     {{0, 0, 268, 32}, {268, 0, 372, 32}, {372, 0, 640, 32}}},
    {"row: the last spacer absorbs an odd remainder", Kind::Horizontal, L"",
     {L"", L"width=\"101\"", L""},
     {0, 0, 640, 10},
     {{0, 0, 269, 10}, {269, 0, 370, 10}, {370, 0, 640, 10}}},
    {"column: fixed children beyond the height leave stretchable ones 0", Kind::Vertical, L"",
     {L"height=\"60\"", L"", L"height=\"60\""},
     {0, 0, 50, 100},
     {{0, 0, 50, 60}, {0, 60, 50, 60}, {0, 60, 50, 120}}},
    {"column: a hidden child takes no space and no child padding", Kind::Vertical,
     L"childpadding=\"10\"",
     {L"height=\"20\"", L"height=\"20\" visible=\"false\"", L"height=\"20\""},
     {0, 0, 50, 100},
     {{0, 0, 50, 20}, {0, 0, 0, 0}, {0, 30, 50, 50}}},
    {"column: the only stretchable child keeps its maximum", Kind::Vertical, L"",
     {L"maxheight=\"50\""},
     {0, 0, 50, 100},
     {{0, 0, 50, 50}}},
    {"column: a later stretchable child absorbs what a maximum left", Kind::Vertical, L"",
     {L"maxheight=\"50\"", L""},
     {0, 0, 50, 100},
     {{0, 0, 50, 50}, {0, 50, 50, 100}}},
    {"column: a minimum raises a stretchable child, the last one takes the rest",
     Kind::Vertical, L"",
     {L"minheight=\"70\"", L""},
     {0, 0, 50, 100},
     {{0, 0, 50, 70}, {0, 70, 50, 100}}},
    {"column: a fixed height is clamped to the minimum and maximum", Kind::Vertical, L"",
     {L"height=\"10\" minheight=\"15\"", L"height=\"90\" maxheight=\"40\""},
     {0, 0, 50, 100},
     {{0, 0, 50, 15}, {0, 15, 50, 55}}},
    {"column: without width a child fills the breadth minus its padding", Kind::Vertical, L"",
     {L"height=\"10\" padding=\"5,2,7,3\"", L"height=\"10\""},
     {10, 20, 110, 120},
     {{15, 22, 103, 32}, {10, 35, 110, 45}}},
    {"column: a fixed width aligns left, centre and right by childalign", Kind::Vertical,
     L"childalign=\"center\"",
     {L"width=\"40\" height=\"10\"", L"width=\"41\" height=\"10\" padding=\"9,0,0,0\""},
     {0, 0, 100, 100},
     {{30, 0, 70, 10}, {30, 10, 71, 20}}},
    {"column: right alignment keeps the right padding", Kind::Vertical, L"childalign=\"right\"",
     {L"width=\"40\" height=\"10\" padding=\"0,0,5,0\""},
     {0, 0, 100, 100},
     {{55, 0, 95, 10}}},
    {"column: childalign written with a capital changes nothing", Kind::Vertical,
     L"childalign=\"Center\"",
     {L"width=\"40\" height=\"10\""},
     {0, 0, 100, 100},
     {{0, 0, 40, 10}}},
    {"column: a maximum width limits the breadth", Kind::Vertical, L"",
     {L"height=\"10\" maxwidth=\"30\"", L"height=\"10\" width=\"200\""},
     {0, 0, 100, 100},
     {{0, 0, 30, 10}, {0, 10, 100, 20}}},
    {"row: heights follow childvalign vcenter", Kind::Horizontal, L"childvalign=\"vcenter\"",
     {L"width=\"10\" height=\"20\"", L"width=\"10\""},
     {0, 0, 100, 41},
     {{0, 10, 10, 30}, {10, 0, 20, 41}}},
    {"row: bottom alignment keeps the bottom padding", Kind::Horizontal,
     L"childvalign=\"bottom\"",
     {L"width=\"10\" height=\"20\" padding=\"0,0,0,4\""},
     {0, 0, 100, 40},
     {{0, 16, 10, 36}}},
    {"row: paddings and child padding separate the children", Kind::Horizontal,
     L"childpadding=\"10\"",
     {L"width=\"50\" padding=\"5,3,5,0\"", L"width=\"50\" padding=\"5,0,5,0\"", L""},
     {0, 0, 200, 40},
     {{5, 3, 55, 40}, {75, 0, 125, 40}, {140, 0, 200, 40}}},
    {"row: a stretchable minimum width, the last child absorbs the rest", Kind::Horizontal, L"",
     {L"minwidth=\"80\"", L"width=\"20\"", L""},
     {0, 0, 100, 10},
     {{0, 0, 80, 10}, {80, 0, 100, 10}, {100, 0, 100, 10}}},
    {"column: the inset shrinks the client area", Kind::Vertical, L"inset=\"10,5,20,15\"",
     {L"height=\"10\"", L""},
     {0, 0, 100, 100},
     {{10, 5, 80, 15}, {10, 15, 80, 85}}},
    {"row: float children ignore the row and sit at their anchors", Kind::Horizontal, L"",
     {L"", L"float=\"0.5,0.5,0.5,0.5\" pos=\"-10,-10,10,10\"",
      L"float=\"true\" pos=\"5,5,25,15\""},
     {100, 100, 300, 200},
     {{100, 100, 300, 200}, {190, 140, 210, 160}, {105, 105, 125, 115}}},
    {"container: children overlap on the client area within their limits", Kind::Plain,
     L"inset=\"1,2,3,4\"",
     {L"", L"maxwidth=\"20\" maxheight=\"10\"", L"float=\"1,0,1,0\" pos=\"-8,0,0,8\""},
     {0, 0, 100, 50},
     {{1, 2, 97, 46}, {1, 2, 21, 12}, {92, 0, 100, 8}}},
};

// Each table row's children end at the expected rectangles.
TEST(BoxLayout, PlacesChildrenAsTabled) {
  for (const LayoutCase& row : kCases) {
    RecordingManager manager;
    std::unique_ptr<CContainerUI> layout = MakeLayout(row.kind);
    const std::vector<CControlUI*> children = LayOut(row, *layout, manager);
    ASSERT_EQ(row.expected.size(), children.size()) << row.what;
    for (std::size_t i = 0; i < children.size(); ++i) {
      EXPECT_EQ(Describe(row.expected[i]), Describe(children[i]->GetPos()))
          << row.what << ", child " << i;
    }
  }
}

// A float child anchored at the centre stays centred as its container grows.
TEST(BoxLayout, CentredFloatFollowsResize) {
  RecordingManager manager;
  CVerticalLayoutUI layout;
  CControlUI* child = new CControlUI();
  child->SetAttributeList(L"float=\"0.5,0.5,0.5,0.5\" pos=\"-10,-10,10,10\"");
  layout.Add(child);
  layout.SetManager(&manager, nullptr, true);
  const RECT sizes[] = {{0, 0, 200, 100}, {0, 0, 300, 200}, {50, 50, 71, 91}};
  const RECT expected[] = {{90, 40, 110, 60}, {140, 90, 160, 110}, {50, 60, 70, 80}};
  for (int i = 0; i < 3; ++i) {
    layout.SetPos(sizes[i], false);
    EXPECT_EQ(Describe(expected[i]), Describe(child->GetPos())) << i;
  }
}

// A child that estimates its own size and counts how often it is asked.
class EstimatingControl : public CControlUI {
 public:
  explicit EstimatingControl(SIZE estimate) : m_estimate(estimate) {}
  SIZE EstimateSize(SIZE) override {
    ++asked;
    return m_estimate;
  }
  int asked = 0;

 private:
  SIZE m_estimate;
};

// Estimates decide sizes in a column; a row asks only children with a fixed width.
TEST(BoxLayout, EstimatesAreAskedAsTheAxisRules) {
  RecordingManager manager;
  CVerticalLayoutUI column;
  auto* tall = new EstimatingControl(SIZE{0, 30});
  column.Add(tall);
  CHorizontalLayoutUI* row = new CHorizontalLayoutUI();
  auto* unfixed = new EstimatingControl(SIZE{50, 10});
  auto* fixed = new EstimatingControl(SIZE{25, 10});
  fixed->SetFixedWidth(99);
  row->Add(unfixed);
  row->Add(fixed);
  column.Add(row);
  column.SetManager(&manager, nullptr, true);
  column.SetPos(RECT{0, 0, 100, 50}, false);
  EXPECT_EQ("0,0,100,30", Describe(tall->GetPos()));
  EXPECT_EQ(0, unfixed->asked);
  EXPECT_EQ(2, fixed->asked);
  EXPECT_EQ("0,30,75,50", Describe(unfixed->GetPos()));
  EXPECT_EQ("75,30,100,50", Describe(fixed->GetPos()));
}

}  // namespace
}  // namespace SkinUI
