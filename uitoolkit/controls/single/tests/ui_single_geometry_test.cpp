// The single controls without a window: the slider's thumb arithmetic, the GIF file scanner and
// decoder (frames, delays, loop count, cut and hostile files), and the date field's date reader.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <cstdio>
#include <string>
#include <vector>

#include "uitoolkit/controls/single/ui_date_time.h"
#include "uitoolkit/controls/single/ui_gif_frames.h"
#include "uitoolkit/controls/single/ui_slider.h"
#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {
namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The thumb travels the bar minus its own length, centred across; vertical sliders grow upwards.
TEST(SliderGeometry, ThumbRectTable) {
  struct Row {
    bool horizontal;
    int minimum, maximum, value;
    RECT expected;
  } rows[] = {
      {true, 0, 100, 0, {10, 22, 20, 42}},       // minimum: at the left
      {true, 0, 100, 100, {200, 22, 210, 42}},   // maximum: at the right
      {true, 0, 100, 50, {105, 22, 115, 42}},    // half way along the 190-pixel travel
      {true, 0, 100, 150, {200, 22, 210, 42}},   // beyond the range: kept at the end
      {true, 10, 10, 10, {10, 22, 20, 42}},      // no range: at the start
      {true, INT_MIN, INT_MAX, INT_MAX, {200, 22, 210, 42}},  // the widest range, no overflow
      {false, 0, 100, 0, {100, 190, 120, 200}},  // vertical minimum: at the bottom
      {false, 0, 100, 100, {100, 10, 120, 20}},  // vertical maximum: at the top
  };
  for (const Row& row : rows) {
    const RECT bar = row.horizontal ? RECT{10, 20, 210, 44} : RECT{98, 10, 122, 200};
    const SIZE thumb = row.horizontal ? SIZE{10, 20} : SIZE{20, 10};
    EXPECT_TRUE(Same(row.expected, SliderThumbRect(bar, row.horizontal, thumb, row.minimum,
                                                   row.maximum, row.value)))
        << row.value << (row.horizontal ? " horizontal" : " vertical");
  }
}

// The value under a point is the inverse of the thumb's placement, limited to the range.
TEST(SliderGeometry, ValueAtPointTable) {
  const RECT bar = {10, 20, 210, 44};
  struct Row {
    bool horizontal;
    POINT pt;
    int expected;
  } rows[] = {
      {true, {15, 30}, 0},     {true, {205, 30}, 100},  {true, {110, 30}, 50},
      {true, {0, 30}, 0},      {true, {400, 30}, 100},  {true, {111, 30}, 51},
      {false, {110, 39}, 0},   {false, {110, 25}, 100}, {false, {110, 32}, 50},
  };
  for (const Row& row : rows) {
    const RECT rc = row.horizontal ? bar : RECT{98, 20, 122, 44};
    const SIZE thumb = row.horizontal ? SIZE{10, 20} : SIZE{20, 10};
    EXPECT_EQ(row.expected, SliderValueAtPoint(rc, row.horizontal, thumb, 0, 100, row.pt))
        << row.pt.x << "," << row.pt.y;
  }
}

// Values snap to the nearest step from the minimum; the maximum stays reachable; a page step
// towards a target never passes it.
TEST(SliderGeometry, SnapAndStepTable) {
  struct Row {
    int value, minimum, maximum, step, expected;
  } snaps[] = {
      {33, 0, 100, 10, 30}, {35, 0, 100, 10, 40}, {9, 0, 10, 4, 10},  {7, 0, 10, 4, 8},
      {-5, 0, 10, 4, 0},    {12, 0, 10, 4, 10},   {7, 5, 25, 5, 5},   {23, 5, 25, 5, 25},
      {42, 0, 100, 1, 42},  {42, 0, 100, 0, 42},  {5, 10, 10, 3, 10},
  };
  for (const Row& row : snaps) {
    EXPECT_EQ(row.expected, SnapSliderValue(row.value, row.minimum, row.maximum, row.step))
        << row.value << " step " << row.step;
  }
  EXPECT_EQ(40, SliderStepToward(20, 90, 20));
  EXPECT_EQ(30, SliderStepToward(20, 30, 20));
  EXPECT_EQ(0, SliderStepToward(20, -10, 20));
  EXPECT_EQ(5, SliderStepToward(20, 5, 20));
}

// ---- GIF files ----

std::vector<BYTE> ReadTestFile(const wchar_t* name) {
  std::vector<BYTE> data;
  std::FILE* file = _wfopen((std::wstring(SINGLE_TEST_FOLDER) + L"\\" + name).c_str(), L"rb");
  if (file == nullptr) return data;
  BYTE buffer[4096];
  for (size_t read; (read = std::fread(buffer, 1, sizeof(buffer), file)) > 0;) {
    data.insert(data.end(), buffer, buffer + read);
  }
  std::fclose(file);
  return data;
}

// The gallery's spinner (made by make_spinner.py): 8 frames of 32x32 at 80 ms, looping forever;
// every prefix of it is scanned and decoded without reading past its end.
TEST(GifFrames, DecodesFramesDelaysAndLoopsOfTheSpinner) {
  const std::vector<BYTE> gif = ReadTestFile(L"..\\..\\..\\samples\\gallery\\spinner.gif");
  ASSERT_FALSE(gif.empty());
  const TGifFileInfo info = ScanGifFile(gif.data(), gif.size());
  EXPECT_TRUE(info.valid);
  EXPECT_EQ(8, info.frameCount);
  EXPECT_EQ(0, info.playCount);
  CGifFrames frames;
  ASSERT_TRUE(frames.Decode(gif.data(), gif.size()));
  ASSERT_EQ(8, frames.GetCount());
  for (int index = 0; index < 8; ++index) EXPECT_EQ(80u, frames.GetDelay(index));
  EXPECT_EQ(32, frames.GetFrame(7)->width);
  EXPECT_EQ(nullptr, frames.GetFrame(8));
  // Frames differ (the spinner turns).
  EXPECT_NE(0, std::memcmp(frames.GetFrame(0)->bits, frames.GetFrame(1)->bits, 32 * 32 * 4));
  for (size_t cut = 0; cut < gif.size(); cut += 7) {
    std::vector<BYTE> part(gif.begin(), gif.begin() + static_cast<std::ptrdiff_t>(cut));
    const TGifFileInfo partInfo = ScanGifFile(part.data(), part.size());
    EXPECT_LE(partInfo.frameCount, 8);
    CGifFrames partFrames;
    partFrames.Decode(part.data(), part.size());
    EXPECT_LE(partFrames.GetCount(), 8);
  }
}

// A minimal GIF: header, screen of `width` x `height` with a 2-colour table, the blocks given.
std::vector<BYTE> MakeGif(int width, int height, const std::vector<BYTE>& blocks) {
  std::vector<BYTE> gif = {'G', 'I', 'F', '8', '9', 'a', static_cast<BYTE>(width),
                           static_cast<BYTE>(width >> 8), static_cast<BYTE>(height),
                           static_cast<BYTE>(height >> 8), 0x80, 0, 0, 0, 0, 0, 255, 255, 255};
  gif.insert(gif.end(), blocks.begin(), blocks.end());
  gif.push_back(0x3B);
  return gif;
}

const std::vector<BYTE> kOnePixelImage = {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0,
                                          2,    2, 0x44, 0x01, 0};  // one pixel of colour 0

std::vector<BYTE> Netscape(int loops) {
  return {0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0',
          3,    1,    static_cast<BYTE>(loops), static_cast<BYTE>(loops >> 8), 0};
}

std::vector<BYTE> Join(std::vector<BYTE> a, const std::vector<BYTE>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The loop count: 0 plays forever, n plays n + 1 times, none plays once; other application
// extensions and short ones are skipped; frames are counted; no GIF is invalid; a screen whose
// frames would need more than the limit is refused before decoding.
TEST(GifFrames, ScanTable) {
  struct Row {
    const char* what;
    std::vector<BYTE> gif;
    bool valid;
    int frames, plays;
  } rows[] = {
      {"forever", MakeGif(1, 1, Join(Netscape(0), kOnePixelImage)), true, 1, 0},
      {"three", MakeGif(1, 1, Join(Netscape(3), kOnePixelImage)), true, 1, 4},
      {"none", MakeGif(1, 1, Join(kOnePixelImage, kOnePixelImage)), true, 2, 1},
      {"other application",
       MakeGif(1, 1, Join({0x21, 0xFF, 11, 'X', 'M', 'P', ' ', 'D', 'a', 't', 'a', 'X', 'M', 'P',
                           2, 7, 7, 0},
                          kOnePixelImage)),
       true, 1, 1},
      {"extension cut short", MakeGif(1, 1, {0x21, 0xFF, 11, 'N', 'E', 'T'}), true, 0, 1},
      {"sub-block longer than the file", MakeGif(1, 1, {0x21, 0xFE, 200, 1, 2}), true, 0, 1},
      {"no GIF", {'P', 'N', 'G', '8', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false, 0, 1},
  };
  for (const Row& row : rows) {
    const TGifFileInfo info = ScanGifFile(row.gif.data(), row.gif.size());
    EXPECT_EQ(row.valid, info.valid) << row.what;
    EXPECT_EQ(row.frames, info.frameCount) << row.what;
    EXPECT_EQ(row.plays, info.playCount) << row.what;
  }
  CGifFrames frames;
  const std::vector<BYTE> small = MakeGif(1, 1, Join(Netscape(2), kOnePixelImage));
  ASSERT_TRUE(frames.Decode(small.data(), small.size()));
  EXPECT_EQ(3, frames.GetPlayCount());
  EXPECT_EQ(100u, frames.GetDelay(0));  // no delay given: 100 ms
  // 65535 x 65535 pixels claimed for one frame, or more frames than allowed: refused without
  // decoding.
  std::vector<BYTE> manyFrames;
  for (int frame = 0; frame <= kMaxGifFrames; ++frame) {
    manyFrames.insert(manyFrames.end(), kOnePixelImage.begin(), kOnePixelImage.end());
  }
  for (const std::vector<BYTE>& refused :
       {MakeGif(65535, 65535, kOnePixelImage), MakeGif(1, 1, manyFrames)}) {
    EXPECT_FALSE(frames.Decode(refused.data(), refused.size()));
    EXPECT_EQ(0, frames.GetCount());
  }
}

// Dates are read as YYYY-MM-DD only, and only when the day exists.
TEST(DateTime, ParseIsoDateTable) {
  struct Row {
    const wchar_t* text;
    bool ok;
    WORD year, month, day;
  } rows[] = {
      {L"2026-12-08", true, 2026, 12, 8}, {L"2024-02-29", true, 2024, 2, 29},
      {L"2025-02-29", false, 0, 0, 0},    {L"2026-13-01", false, 0, 0, 0},
      {L"2026-1-08", false, 0, 0, 0},     {L"2026-12-08x", false, 0, 0, 0},
      {L"", false, 0, 0, 0},              {L"1600-01-01", false, 0, 0, 0},
  };
  for (const Row& row : rows) {
    SYSTEMTIME date = {};
    EXPECT_EQ(row.ok, ParseIsoDate(row.text, date)) << row.text;
    if (!row.ok) continue;
    EXPECT_EQ(row.year, date.wYear);
    EXPECT_EQ(row.month, date.wMonth);
    EXPECT_EQ(row.day, date.wDay);
  }
}

}  // namespace
}  // namespace SkinUI
