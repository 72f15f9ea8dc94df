// Skin attributes of the control base, read back through its getters.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

#include "uitoolkit/controls/tests/control_test_support.h"
#include "uitoolkit/controls/ui_control.h"

namespace SkinUI {
namespace {

using testing::RecordingManager;

std::wstring Hex(DWORD value) {
  std::wostringstream text;
  text << std::hex << std::uppercase << value;
  return text.str();
}

std::wstring Rect(const RECT& rc) {
  std::wostringstream text;
  text << rc.left << L"," << rc.top << L"," << rc.right << L"," << rc.bottom;
  return text.str();
}

std::wstring Size(SIZE size) {
  std::wostringstream text;
  text << size.cx << L"x" << size.cy;
  return text.str();
}

std::wstring Percent(const TPercentInfo& p) {
  std::wostringstream text;
  text << p.left << L"," << p.top << L"," << p.right << L"," << p.bottom;
  return text.str();
}

struct AttributeCase {
  const wchar_t* name;
  const wchar_t* value;
  std::function<std::wstring(CControlUI&)> read;
  const wchar_t* expected;
};

// Every value form of the attribute table reaches the matching getter; only lower-case "true"
// is true; a negative width from pos is ignored; border colours do not skip whitespace.
TEST(ControlAttributes, EachValueFormReadsBack) {
  auto fixed = [](CControlUI& c) {
    return Size(c.GetFixedXY()) + L" " + Size(SIZE{c.GetFixedWidth(), c.GetFixedHeight()});
  };
  auto flag = [](bool value) { return std::wstring(value ? L"1" : L"0"); };
  const AttributeCase cases[] = {
      {L"pos", L"10,20,110,60", fixed, L"10x20 100x40"},
      {L"pos", L"50,5,10,30", fixed, L"50x5 0x25"},
      {L"pos", L"-2147483648,0,2147483647,1", fixed, L"-2147483648x0 2147483647x1"},
      {L"padding", L"1,2,3,4", [](CControlUI& c) { return Rect(c.GetPadding()); }, L"1,2,3,4"},
      {L"padding", L"7", [](CControlUI& c) { return Rect(c.GetPadding()); }, L"7,0,0,0"},
      {L"bkcolor", L"#FF112233", [](CControlUI& c) { return Hex(c.GetBkColor()); }, L"FF112233"},
      {L"bkcolor1", L"  #80112233", [](CControlUI& c) { return Hex(c.GetBkColor()); },
       L"80112233"},
      {L"bkcolor2", L"FF445566", [](CControlUI& c) { return Hex(c.GetBkColor2()); }, L"FF445566"},
      {L"bkcolor3", L"\t#FFAABBCC", [](CControlUI& c) { return Hex(c.GetBkColor3()); },
       L"FFAABBCC"},
      {L"bkcolor", L"#112233", [](CControlUI& c) { return Hex(c.GetBkColor()); }, L"112233"},
      {L"bordercolor", L"#FF010203", [](CControlUI& c) { return Hex(c.GetBorderColor()); },
       L"FF010203"},
      {L"bordercolor", L" #FF010203", [](CControlUI& c) { return Hex(c.GetBorderColor()); },
       L"0"},
      {L"focusbordercolor", L"FF040506",
       [](CControlUI& c) { return Hex(c.GetFocusBorderColor()); }, L"FF040506"},
      {L"colorhsl", L"true", [&](CControlUI& c) { return flag(c.IsColorHSL()); }, L"1"},
      {L"bordersize", L"2", [](CControlUI& c) { return Rect(c.GetBorderSize()); }, L"2,2,2,2"},
      {L"bordersize", L"0,1,0,1", [](CControlUI& c) { return Rect(c.GetBorderSize()); },
       L"0,1,0,1"},
      {L"borderstyle", L"2", [](CControlUI& c) { return std::to_wstring(c.GetBorderStyle()); },
       L"2"},
      {L"borderround", L"8,6", [](CControlUI& c) { return Size(c.GetBorderRound()); }, L"8x6"},
      {L"width", L"120", fixed, L"0x0 120x0"},
      {L"height", L"x", fixed, L"0x0 0x0"},
      {L"minwidth", L"5", [](CControlUI& c) { return std::to_wstring(c.GetMinWidth()); }, L"5"},
      {L"minheight", L"6", [](CControlUI& c) { return std::to_wstring(c.GetMinHeight()); }, L"6"},
      {L"maxwidth", L"70", [](CControlUI& c) { return std::to_wstring(c.GetMaxWidth()); }, L"70"},
      {L"maxheight", L"-3", [](CControlUI& c) { return std::to_wstring(c.GetMaxHeight()); },
       L"9999"},
      {L"name", L"ok", [](CControlUI& c) { return std::wstring(c.GetName()); }, L"ok"},
      {L"text", L"Install", [](CControlUI& c) { return std::wstring(c.GetText()); }, L"Install"},
      {L"tooltip", L"a<n>b<n>", [](CControlUI& c) { return std::wstring(c.GetToolTip()); },
       L"a\r\nb\r\n"},
      {L"userdata", L"payload", [](CControlUI& c) { return std::wstring(c.GetUserData()); },
       L"payload"},
      {L"tag", L"42", [](CControlUI& c) { return std::to_wstring(c.GetTag()); }, L"42"},
      {L"enabled", L"false", [&](CControlUI& c) { return flag(c.IsEnabled()); }, L"0"},
      {L"enabled", L"True", [&](CControlUI& c) { return flag(c.IsEnabled()); }, L"0"},
      {L"mouse", L"false", [&](CControlUI& c) { return flag(c.IsMouseEnabled()); }, L"0"},
      {L"keyboard", L"true", [&](CControlUI& c) { return flag(c.IsKeyboardEnabled()); }, L"1"},
      {L"visible", L"TRUE", [&](CControlUI& c) { return flag(c.IsVisible()); }, L"0"},
      {L"visible", L"true", [&](CControlUI& c) { return flag(c.IsVisible()); }, L"1"},
      {L"float", L"true", [&](CControlUI& c) { return flag(c.IsFloat()); }, L"1"},
      {L"float", L"TRUE", [&](CControlUI& c) { return flag(c.IsFloat()); }, L"0"},
      {L"float", L"0.5,0,1,0.25",
       [&](CControlUI& c) { return flag(c.IsFloat()) + L" " + Percent(c.GetFloatPercent()); },
       L"1 0.5,0,1,0.25"},
      {L"float", L"-.5,x,2.,",
       [&](CControlUI& c) { return flag(c.IsFloat()) + L" " + Percent(c.GetFloatPercent()); },
       L"1 -0.5,0,0,2"},
      {L"shortcut", L"Qx", [](CControlUI& c) { return std::wstring(1, c.GetShortcut()); }, L"Q"},
      {L"menu", L"true", [&](CControlUI& c) { return flag(c.IsContextMenuUsed()); }, L"1"},
      {L"virtualwnd", L"page", [](CControlUI& c) { return std::wstring(c.GetVirtualWnd()); },
       L"page"},
      {L"Text", L"custom", [](CControlUI& c) {
         return std::wstring(c.GetText()) + L"|" + c.GetCustomAttribute(L"Text");
       }, L"|custom"},
  };
  for (const AttributeCase& row : cases) {
    RecordingManager manager;
    CControlUI control;
    control.SetManager(&manager, nullptr, false);
    control.SetAttribute(row.name, row.value);
    EXPECT_EQ(std::wstring(row.expected), row.read(control)) << row.name << "=" << row.value;
  }
}

// An unclaimed attribute becomes a custom attribute; a second value of the same name, an empty
// name or an empty value changes nothing.
TEST(ControlAttributes, FirstCustomAttributeWins) {
  CControlUI control;
  control.SetAttribute(L"accent", L"first");
  control.SetAttribute(L"accent", L"second");
  control.AddCustomAttribute(L"", L"x");
  control.AddCustomAttribute(L"empty", L"");
  EXPECT_STREQ(L"first", control.GetCustomAttribute(L"accent"));
  EXPECT_EQ(nullptr, control.GetCustomAttribute(L"empty"));
  EXPECT_EQ(nullptr, control.GetCustomAttribute(L"Accent"));
  EXPECT_TRUE(control.RemoveCustomAttribute(L"accent"));
  control.AddCustomAttribute(L"accent", L"third");
  EXPECT_STREQ(L"third", control.GetCustomAttribute(L"accent"));
}

// An attribute list applies its pairs in order up to the first deviation from name="value"
// separated by single spaces.
TEST(ControlAttributes, AttributeListStopsAtFirstDeviation) {
  CControlUI control;
  control.SetAttributeList(L"text=\"a b\" width=\"30\"  height=\"9\"");
  EXPECT_STREQ(L"a b", control.GetText());
  EXPECT_EQ(30, control.GetFixedWidth());
  EXPECT_EQ(0, control.GetFixedHeight());
  control.SetAttributeList(L"name=\"n\" bkcolor=#FF000000 text=\"x\"");
  EXPECT_STREQ(L"n", control.GetName());
  EXPECT_EQ(0u, control.GetBkColor());
  EXPECT_STREQ(L"a b", control.GetText());
}

// virtualwnd tells the manager that virtual windows are in use; name changes are re-indexed.
TEST(ControlAttributes, VirtualWindowAndNameReachTheManager) {
  RecordingManager manager;
  CControlUI control;
  control.SetManager(&manager, nullptr, false);
  control.SetAttribute(L"virtualwnd", L"page");
  control.SetAttribute(L"name", L"first");
  control.SetAttribute(L"name", L"first");
  control.SetAttribute(L"name", L"second");
  EXPECT_TRUE(manager.usesVirtualWindows);
  ASSERT_EQ(2u, manager.renames.size());
  EXPECT_EQ(L">first", manager.renames[0]);
  EXPECT_EQ(L"first>second", manager.renames[1]);
}

// A float control without fixed size takes its background image's size; a fixed one keeps its.
TEST(ControlAttributes, FloatBackgroundImageSizesTheControl) {
  RecordingManager manager;
  const std::wstring image = testing::TestImagePath(L"fifty.png");
  CControlUI sized, fixed;
  for (CControlUI* control : {&sized, &fixed}) {
    control->SetManager(&manager, nullptr, false);
    control->SetAttribute(L"float", L"true");
  }
  fixed.SetAttribute(L"width", L"7");
  sized.SetAttribute(L"bkimage", image.c_str());
  fixed.SetAttribute(L"bkimage", image.c_str());
  EXPECT_EQ(50, sized.GetFixedWidth());
  EXPECT_EQ(50, sized.GetFixedHeight());
  EXPECT_EQ(7, fixed.GetFixedWidth());
  EXPECT_EQ(0, fixed.GetFixedHeight());
  const int requests = manager.render.imageRequests;
  sized.SetBkImage(image.c_str());
  EXPECT_EQ(requests, manager.render.imageRequests);
}

}  // namespace
}  // namespace SkinUI
