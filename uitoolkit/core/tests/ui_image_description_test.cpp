#include "uitoolkit/core/ui_image_description.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct NameCase {
  const wchar_t* description;
  const wchar_t* imageName;
  const wchar_t* resourceType;
};

// The image name: the whole description unless a file, res or color entry names it; malformed
// descriptions keep what was applied before the fault.
TEST(ParseImageDescription, FindsTheImageName) {
  const NameCase cases[] = {
      {L"a.png", L"a.png", L""},
      {L"file='a.png'", L"a.png", L""},
      {L"file='a.png' scale='true'", L"a.png", L""},
      {L"file='app_icon.png' scale='true' ", L"app_icon.png", L""},
      {L"file='min_icon.png' scale='false'", L"min_icon.png", L""},
      {L"my image.png", L"my image.png", L""},
      {L"res='101' restype='PNG'", L"101", L"PNG"},
      {L"color='#FF079D55'", L"#FF079D55", kColorImageType},
      {L"file='a.png' restype=PNG", L"a.png", L""},         // second entry lacks its quotes
      {L"file='a.png'  restype='PNG'", L"a.png", L""},      // two spaces stop parsing
      {L"file='a.png',restype='PNG'", L"a.png", L""},       // a separator other than space
      {L"file='a.png", L"file='a.png", L""},                // value never closed
      {L"file=''", L"file=''", L""},                        // empty value ignored
      {L"file = 'a.png'", L"file = 'a.png'", L""},          // a space before the quote
      {L"file ='a.png'", L"a.png", L""},                    // whitespace before '=' is skipped
      {L"FILE='a.png'", L"FILE='a.png'", L""},              // keys are exact
      {L"unknown='x' file='b.png'", L"b.png", L""},
      {L"file='a.png' file='b.png'", L"b.png", L""},
  };
  for (const NameCase& row : cases) {
    TImageDescription description;
    ASSERT_TRUE(ParseImageDescription(row.description, description)) << row.description;
    EXPECT_STREQ(row.imageName, description.imageName.GetData()) << row.description;
    EXPECT_STREQ(row.resourceType, description.resourceType.GetData()) << row.description;
  }
}

// Without entries every field keeps its default.
TEST(ParseImageDescription, DefaultsForABareName) {
  TImageDescription description;
  ASSERT_TRUE(ParseImageDescription(L"a.png", description));
  EXPECT_TRUE(SameRect(RECT{0, 0, 0, 0}, description.destination));
  EXPECT_TRUE(SameRect(RECT{0, 0, 0, 0}, description.source));
  EXPECT_TRUE(SameRect(RECT{0, 0, 0, 0}, description.corner));
  EXPECT_EQ(0u, description.mask);
  EXPECT_EQ(255, description.fade);
  EXPECT_FALSE(description.hole);
  EXPECT_FALSE(description.xTiled);
  EXPECT_FALSE(description.yTiled);
  EXPECT_FALSE(description.useHSL);
}

// Every key is applied with its value form.
TEST(ParseImageDescription, AppliesEveryKey) {
  TImageDescription description;
  ASSERT_TRUE(ParseImageDescription(
      L"file='b.png' dest='1,2,3,4' source='5,6,7,8' corner='9,10,11,12' mask='#FFFF00FF' "
      L"fade='128' hole='true' xtiled='true' ytiled='true' hsl='true'",
      description));
  EXPECT_STREQ(L"b.png", description.imageName.GetData());
  EXPECT_TRUE(SameRect(RECT{1, 2, 3, 4}, description.destination));
  EXPECT_TRUE(SameRect(RECT{5, 6, 7, 8}, description.source));
  EXPECT_TRUE(SameRect(RECT{9, 10, 11, 12}, description.corner));
  EXPECT_EQ(0xFFFF00FFu, description.mask);
  EXPECT_EQ(128, description.fade);
  EXPECT_TRUE(description.hole);
  EXPECT_TRUE(description.xTiled);
  EXPECT_TRUE(description.yTiled);
  EXPECT_TRUE(description.useHSL);
}

struct FlagCase {
  const wchar_t* description;
  bool hole;
  BYTE fade;
  RECT corner;
};

// Booleans are exactly "true"; fade is limited to 0..255; scale9 is corner's other name.
TEST(ParseImageDescription, ReadsValueForms) {
  const FlagCase cases[] = {
      {L"file='a' hole='TRUE'", false, 255, {0, 0, 0, 0}},
      {L"file='a' hole='1'", false, 255, {0, 0, 0, 0}},
      {L"file='a' hole='true'", true, 255, {0, 0, 0, 0}},
      {L"file='a' fade='0'", false, 0, {0, 0, 0, 0}},
      {L"file='a' fade='300'", false, 255, {0, 0, 0, 0}},
      {L"file='a' fade='-4'", false, 0, {0, 0, 0, 0}},
      {L"file='a' fade='x'", false, 0, {0, 0, 0, 0}},
      {L"file='a' scale9='4,4,4,4'", false, 255, {4, 4, 4, 4}},
      {L"file='a' corner='4'", false, 255, {4, 0, 0, 0}},
  };
  for (const FlagCase& row : cases) {
    TImageDescription description;
    ASSERT_TRUE(ParseImageDescription(row.description, description));
    EXPECT_EQ(row.hole, description.hole) << row.description;
    EXPECT_EQ(row.fade, description.fade) << row.description;
    EXPECT_TRUE(SameRect(row.corner, description.corner)) << row.description;
  }
}

// Entries before a malformed one apply; the ones after it do not.
TEST(ParseImageDescription, StopsAtTheFirstMalformedEntry) {
  TImageDescription description;
  ASSERT_TRUE(ParseImageDescription(L"file='a.png' fade='10' hole=true xtiled='true'",
                                    description));
  EXPECT_EQ(10, description.fade);
  EXPECT_FALSE(description.hole);
  EXPECT_FALSE(description.xTiled);
}

// An empty or null description is refused.
TEST(ParseImageDescription, RefusesEmptyDescriptions) {
  TImageDescription description;
  EXPECT_FALSE(ParseImageDescription(L"", description));
  EXPECT_FALSE(ParseImageDescription(nullptr, description));
}

// A reused result starts from the defaults again.
TEST(ParseImageDescription, ResetsTheResult) {
  TImageDescription description;
  ASSERT_TRUE(ParseImageDescription(L"file='a' hole='true' restype='PNG'", description));
  ASSERT_TRUE(ParseImageDescription(L"b.png", description));
  EXPECT_FALSE(description.hole);
  EXPECT_TRUE(description.resourceType.IsEmpty());
}

}  // namespace
}  // namespace SkinUI
