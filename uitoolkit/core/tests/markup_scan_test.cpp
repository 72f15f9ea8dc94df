#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/core/markup_scan.h"

namespace SkinUI {
namespace {

// A terminated text followed by exactly the padding the search may read, so that the native
// sanitizer build reports any read beyond it.
std::vector<wchar_t> Padded(const std::wstring& text) {
  std::vector<wchar_t> buffer(text.begin(), text.end());
  buffer.resize(text.size() + 1 + kMarkupScanPadding, L'\0');
  return buffer;
}

// Characters that differ from a stop ('<' or '"') only above the bits a narrowed lane keeps,
// and other characters outside the narrow range: none of them may be taken for a stop.
std::vector<wchar_t> LookAlikes() {
  std::vector<wchar_t> values = {static_cast<wchar_t>(0x013C), static_cast<wchar_t>(0x0122),
                                 static_cast<wchar_t>(0x7F3C), static_cast<wchar_t>(0x803C),
                                 static_cast<wchar_t>(0xFF22), static_cast<wchar_t>(0xFFFF),
                                 static_cast<wchar_t>(0x00BC), L'\x7F'};
  if (sizeof(wchar_t) == 4) {
    values.push_back(static_cast<wchar_t>(0x1003C));
    values.push_back(static_cast<wchar_t>(0x10022));
  }
  return values;
}

// Every length up to three blocks, the stop at every position (or none), each kind of stop:
// the search finds exactly the first stop.
TEST(MarkupStops, FindsTheFirstStopAtEveryPosition) {
  const MarkupStops stops(L'<', L'&', L'"');
  const wchar_t kinds[] = {L'<', L'&', L'"'};
  for (std::size_t length = 0; length <= 3 * kMarkupScanPadding + 1; ++length) {
    for (std::size_t stop = 0; stop <= length; ++stop) {
      for (wchar_t kind : kinds) {
        std::wstring text(length, L'a');
        if (stop < length) text[stop] = kind;
        std::vector<wchar_t> buffer = Padded(text);
        EXPECT_EQ(buffer.data() + stop, stops.Find(buffer.data()))
            << "length " << length << ", stop " << stop;
      }
    }
  }
}

TEST(MarkupStops, IgnoresCharactersOutsideTheNarrowRange) {
  const MarkupStops stops(L'<', L'"', L'"');
  for (wchar_t value : LookAlikes()) {
    std::wstring text(2 * kMarkupScanPadding + 3, value);
    text += L"x<";
    std::vector<wchar_t> buffer = Padded(text);
    EXPECT_EQ(buffer.data() + text.size() - 1, stops.Find(buffer.data()))
        << "value " << static_cast<unsigned long>(value);
  }
}

// Moving a run down over gaps of every width, from runs of every length: the run arrives intact,
// both positions end at the stop, and nothing from the stop on changes.
TEST(MarkupStops, MovesRunsDownOverEveryGap) {
  const MarkupStops stops(L'"', L'&', L'&');
  for (std::size_t gap = 0; gap <= kMarkupScanPadding + 2; ++gap) {
    for (std::size_t length = 0; length <= 2 * kMarkupScanPadding + 2; ++length) {
      std::wstring run;
      for (std::size_t i = 0; i < length; ++i) run += static_cast<wchar_t>(L'a' + i % 26);
      const std::wstring tail = L"\"after&more";
      std::vector<wchar_t> buffer = Padded(std::wstring(gap, L'.') + run + tail);
      wchar_t* out = buffer.data();
      wchar_t* source = buffer.data() + gap;
      stops.Move(source, out);
      EXPECT_EQ(buffer.data() + gap + length, source) << "gap " << gap << ", length " << length;
      EXPECT_EQ(buffer.data() + length, out) << "gap " << gap << ", length " << length;
      EXPECT_EQ(run, std::wstring(buffer.data(), length)) << "gap " << gap << ", length " << length;
      EXPECT_EQ(tail, std::wstring(source)) << "gap " << gap << ", length " << length;
    }
  }
}

}  // namespace
}  // namespace SkinUI
