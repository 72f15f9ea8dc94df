#include "uitoolkit/core/ui_geometry.h"

#include <gtest/gtest.h>

#include "uitoolkit/core/string_or_id.h"

namespace SkinUI {
namespace {

struct RectCase {
  CUiRect a;
  CUiRect b;
  bool meets;
  CUiRect intersection;
  CUiRect unionRect;
};

// Intersect keeps the common part (or empties the rectangle); Union ignores an empty side.
TEST(CUiRect, IntersectsAndJoins) {
  const RectCase cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, true, {5, 5, 10, 10}, {0, 0, 15, 15}},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, false, {0, 0, 0, 0}, {0, 0, 20, 10}},
      {{0, 0, 10, 10}, {2, 2, 4, 4}, true, {2, 2, 4, 4}, {0, 0, 10, 10}},
      {{0, 0, 10, 10}, {0, 0, 0, 0}, false, {0, 0, 0, 0}, {0, 0, 10, 10}},
      {{0, 0, 0, 0}, {3, 3, 5, 5}, false, {0, 0, 0, 0}, {3, 3, 5, 5}},
      {{-5, -5, 0, 0}, {-10, -2, -4, 8}, true, {-5, -2, -4, 0}, {-10, -5, 0, 8}},
  };
  for (const RectCase& row : cases) {
    CUiRect common = row.a;
    EXPECT_EQ(row.meets, common.Intersect(row.b));
    EXPECT_TRUE(common == row.intersection) << common.left << "," << common.top;
    CUiRect joined = row.a;
    joined.Union(row.b);
    EXPECT_TRUE(joined == row.unionRect) << joined.left << "," << joined.top;
  }
}

// Size, offset, inflate, normalise and hit testing with exclusive right and bottom edges.
TEST(CUiRect, MovesResizesAndHitTests) {
  CUiRect rect(30, 20, 10, 5);
  EXPECT_TRUE(rect.IsEmpty());
  rect.Normalize();
  EXPECT_TRUE(rect == CUiRect(10, 5, 30, 20));
  EXPECT_EQ(20, rect.GetWidth());
  EXPECT_EQ(15, rect.GetHeight());
  rect.Offset(-10, 5);
  EXPECT_TRUE(rect == CUiRect(0, 10, 20, 25));
  rect.Inflate(2, 3);
  EXPECT_TRUE(rect == CUiRect(-2, 7, 22, 28));
  rect.Deflate(2, 3);
  rect.ResetOffset();
  EXPECT_TRUE(rect == CUiRect(0, 0, 20, 15));
  EXPECT_TRUE(rect.GetSize() == CUiSize(20, 15));
  const struct {
    LONG x, y;
    bool inside;
  } points[] = {{0, 0, true}, {19, 14, true}, {20, 0, false}, {0, 15, false}, {-1, 3, false}};
  for (const auto& point : points) {
    EXPECT_EQ(point.inside, rect.Contains(CUiPoint(point.x, point.y))) << point.x << "," << point.y;
  }
  rect.Empty();
  EXPECT_TRUE(rect.IsNull());
}

// A mouse lParam carries signed 16-bit coordinates (negative on a secondary monitor).
TEST(CUiPoint, UnpacksSignedCoordinatesFromLParam) {
  const struct {
    std::intptr_t lParam;
    LONG x, y;
  } cases[] = {{0x00140005, 5, 20}, {0xFFFEFFFF, -1, -2}, {0x7FFF8000, -32768, 32767}};
  for (const auto& row : cases) {
    EXPECT_TRUE(CUiPoint::FromLParam(row.lParam) == CUiPoint(row.x, row.y)) << row.lParam;
  }
}

// A pointer value that fits in 16 bits is an identifier; anything else is a text.
TEST(STRINGorID, TellsIdentifiersFromTexts) {
  const STRINGorID id(static_cast<WORD>(101));
  EXPECT_TRUE(id.IsId());
  EXPECT_EQ(101, id.GetId());
  const STRINGorID text(L"main.xml");
  EXPECT_FALSE(text.IsId());
  EXPECT_STREQ(L"main.xml", text.GetText());
  const STRINGorID big(static_cast<WORD>(0xFFFF));
  EXPECT_TRUE(big.IsId());
  EXPECT_EQ(0xFFFF, big.GetId());
}

}  // namespace
}  // namespace SkinUI
