// Finding the next character of interest in the markup parser's wide text, 32 bytes at a time
// where the processor has SSE2 (every x64 processor), one character at a time elsewhere.
//
// The vector search reads whole 32-byte blocks, up to one block past the character it stops at,
// so the text must stay readable for kMarkupScanPadding characters after its terminator.
#pragma once

#include <cassert>
#include <cstddef>

// SKINUI_MARKUP_SCAN_SCALAR forces the character-at-a-time search (its tests build it so).
#if !defined(SKINUI_MARKUP_SCAN_SCALAR) && (defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64))
#include <emmintrin.h>
#define SKINUI_MARKUP_SCAN_SSE2 1
#endif
#if defined(_MSC_VER)
#include <intrin.h>
#endif

namespace SkinUI {

// Characters after a text's terminator that the search may read (one 32-byte block).
constexpr std::size_t kMarkupScanPadding = 32 / sizeof(wchar_t);

namespace MarkupScanDetail {

#ifdef SKINUI_MARKUP_SCAN_SSE2
// A block is two vectors of characters narrowed, with signed saturation, into one vector of
// half-width lanes: 32-bit characters (Linux) into 16-bit lanes, 16-bit characters (Windows)
// into 8-bit lanes. Saturation keeps every value from 0 to 126 exactly and turns every other
// value into one outside that range, so comparing the narrowed lanes finds exactly the stops.
template <std::size_t Width>
struct Block;
template <>
struct Block<4> {
  static __m128i Splat(wchar_t ch) { return _mm_set1_epi16(static_cast<short>(ch)); }
  static __m128i Narrow(__m128i low, __m128i high) { return _mm_packs_epi32(low, high); }
  static __m128i Equal(__m128i a, __m128i b) { return _mm_cmpeq_epi16(a, b); }
};
template <>
struct Block<2> {
  static __m128i Splat(wchar_t ch) { return _mm_set1_epi8(static_cast<char>(ch)); }
  static __m128i Narrow(__m128i low, __m128i high) { return _mm_packs_epi16(low, high); }
  static __m128i Equal(__m128i a, __m128i b) { return _mm_cmpeq_epi8(a, b); }
};

// Index of the lowest set bit of a non-zero mask.
inline unsigned LowestSetBit(unsigned mask) {
#if defined(_MSC_VER)
  unsigned long index = 0;
  _BitScanForward(&index, mask);
  return static_cast<unsigned>(index);
#elif defined(__GNUC__)
  return static_cast<unsigned>(__builtin_ctz(mask));
#else
  unsigned index = 0;
  while ((mask & 1u) == 0) {
    mask >>= 1;
    ++index;
  }
  return index;
#endif
}
#endif

}  // namespace MarkupScanDetail

// A set of stop characters: the terminator and three others, each below 127 (name one twice
// when fewer are needed). Searches need terminated text padded as above.
class MarkupStops {
 public:
  MarkupStops(wchar_t a, wchar_t b, wchar_t c)
#ifdef SKINUI_MARKUP_SCAN_SSE2
      : m_first(Lanes::Splat(a)), m_second(Lanes::Splat(b)), m_third(Lanes::Splat(c))
#else
      : m_first(a), m_second(b), m_third(c)
#endif
  {
    assert(IsNarrow(a) && IsNarrow(b) && IsNarrow(c));
  }

  // The first position at or after `text` that holds a stop.
  const wchar_t* Find(const wchar_t* text) const {
#ifdef SKINUI_MARKUP_SCAN_SSE2
    for (;; text += kMarkupScanPadding) {
      __m128i low, high;
      const unsigned hits = Hits(text, low, high);
      if (hits != 0) return text + FirstHit(hits);
    }
#else
    while (!IsStop(*text)) ++text;
    return text;
#endif
  }
  wchar_t* Find(wchar_t* text) const {
    return const_cast<wchar_t*>(Find(static_cast<const wchar_t*>(text)));
  }

  // Moves the characters from `source` down to `out` (out <= source) up to the first stop; both
  // pointers advance by the characters moved, so `source` ends at the stop.
  void Move(wchar_t*& source, wchar_t*& out) const {
    wchar_t* from = source;
    wchar_t* to = out;
#ifdef SKINUI_MARKUP_SCAN_SSE2
    for (;;) {
      __m128i low, high;
      const unsigned hits = Hits(from, low, high);
      if (hits != 0) {
        // Only the characters before the stop move: storing the whole block could overwrite
        // characters after the stop that have not been read yet.
        const unsigned count = FirstHit(hits);
        for (unsigned i = 0; i < count; ++i) to[i] = from[i];
        from += count;
        to += count;
        break;
      }
      // The whole block has been read and `to` trails `from`, so nothing unread is overwritten.
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to), low);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(to) + 1, high);
      from += kMarkupScanPadding;
      to += kMarkupScanPadding;
    }
#else
    for (wchar_t ch = *from; !IsStop(ch); ch = *++from) *to++ = ch;
#endif
    source = from;
    out = to;
  }

 private:
  static bool IsNarrow(wchar_t ch) { return static_cast<unsigned long>(ch) < 127; }

#ifdef SKINUI_MARKUP_SCAN_SSE2
  using Lanes = MarkupScanDetail::Block<sizeof(wchar_t)>;

  // Loads the block at `text` into `low` and `high` and returns its mask of stops, one bit per
  // narrowed byte.
  unsigned Hits(const wchar_t* text, __m128i& low, __m128i& high) const {
    low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
    high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text) + 1);
    const __m128i lanes = Lanes::Narrow(low, high);
    const __m128i zero = _mm_setzero_si128();
    const __m128i hits =
        _mm_or_si128(_mm_or_si128(Lanes::Equal(lanes, zero), Lanes::Equal(lanes, m_first)),
                     _mm_or_si128(Lanes::Equal(lanes, m_second), Lanes::Equal(lanes, m_third)));
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
  }
  // The character index of the first stop in a mask (a character narrows to 1 or 2 bytes).
  static unsigned FirstHit(unsigned hits) {
    return MarkupScanDetail::LowestSetBit(hits) / (sizeof(wchar_t) / 2);
  }

  __m128i m_first;
  __m128i m_second;
  __m128i m_third;
#else
  bool IsStop(wchar_t ch) const {
    return ch == L'\0' || ch == m_first || ch == m_second || ch == m_third;
  }

  wchar_t m_first;
  wchar_t m_second;
  wchar_t m_third;
#endif
};

}  // namespace SkinUI
