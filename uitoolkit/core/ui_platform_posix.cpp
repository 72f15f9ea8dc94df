// Native (Linux) side of the core's platform seam: the same results as the Windows side for the
// inputs the toolkit meets, without the operating system's Unicode tables where they differ.
#include "uitoolkit/core/ui_platform.h"

#include <locale.h>
#include <sys/stat.h>
#include <wctype.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace SkinUI {
namespace Platform {
namespace {

const wchar_t kReplacement = 0xFFFD;

// Windows-1252 code points for the bytes 0x80..0x9F (0 = not assigned: mapped to U+FFFD).
const wchar_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Widens the leading ASCII bytes of `bytes`, sixteen at a time, into `out`; returns how many
// were widened (a multiple of sixteen; the rest is left to the byte-wise loop).
std::size_t WidenAscii(const unsigned char* bytes, std::size_t count, wchar_t* out) {
  std::size_t done = 0;
#if defined(__SSE2__)
  static_assert(sizeof(wchar_t) == 4, "the native build has 32-bit wchar_t");
  const __m128i zero = _mm_setzero_si128();
  for (; count - done >= 16; done += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + done));
    if (_mm_movemask_epi8(block) != 0) break;
    const __m128i low = _mm_unpacklo_epi8(block, zero);
    const __m128i high = _mm_unpackhi_epi8(block, zero);
    __m128i* target = reinterpret_cast<__m128i*>(out + done);
    _mm_storeu_si128(target, _mm_unpacklo_epi16(low, zero));
    _mm_storeu_si128(target + 1, _mm_unpackhi_epi16(low, zero));
    _mm_storeu_si128(target + 2, _mm_unpacklo_epi16(high, zero));
    _mm_storeu_si128(target + 3, _mm_unpackhi_epi16(high, zero));
  }
#else
  for (; count - done >= 16; done += 16) {
    unsigned char block[16];
    std::memcpy(block, bytes + done, 16);
    std::uint64_t low, high;
    std::memcpy(&low, block, 8);
    std::memcpy(&high, block + 8, 8);
    if (((low | high) & 0x8080808080808080ull) != 0) break;
    for (std::size_t k = 0; k < 16; ++k) out[done + k] = static_cast<wchar_t>(block[k]);
  }
#endif
  return done;
}

struct UnitSink {
  wchar_t* out;
  std::size_t capacity;
  std::size_t count = 0;
  void Put(std::uint32_t unit) {
    if (out != nullptr && count < capacity) out[count] = static_cast<wchar_t>(unit);
    ++count;
  }
  void PutCodePoint(std::uint32_t codePoint) {
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      Put(0xD800 + (codePoint >> 10));
      Put(0xDC00 + (codePoint & 0x3FF));
    } else {
      Put(codePoint);
    }
  }
};

// Length of the UTF-8 sequence at `bytes` and its code point; a malformed sequence consumes its
// longest valid-looking prefix (at least one byte) and yields U+FFFD.
std::size_t DecodeUtf8(const unsigned char* bytes, std::size_t available, std::uint32_t& codePoint) {
  const unsigned char lead = bytes[0];
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  std::size_t length;
  std::uint32_t value;
  unsigned char lowest = 0x80, highest = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    if (lead == 0xE0) lowest = 0xA0;
    if (lead == 0xED) highest = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    if (lead == 0xF0) lowest = 0x90;
    if (lead == 0xF4) highest = 0x8F;
  } else {
    codePoint = kReplacement;
    return 1;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i >= available || bytes[i] < lowest || bytes[i] > highest) {
      codePoint = kReplacement;
      return i;
    }
    value = (value << 6) | (bytes[i] & 0x3F);
    lowest = 0x80;
    highest = 0xBF;
  }
  codePoint = value;
  return length;
}

locale_t UnicodeLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return locale;
}

// Rewrites Windows' wide-printf conventions into ISO ones: %s/%c wide, %S/%C/%hs/%hc narrow,
// %I64 and %I32 sizes.
std::wstring ToIsoFormat(const wchar_t* format) {
  std::wstring result;
  for (const wchar_t* p = format; *p != L'\0';) {
    if (*p != L'%') {
      result += *p++;
      continue;
    }
    result += *p++;
    if (*p == L'%') {
      result += *p++;
      continue;
    }
    while (*p != L'\0' && std::wcschr(L"-+ #0", *p) != nullptr) result += *p++;
    while (*p != L'\0' && ((*p >= L'0' && *p <= L'9') || *p == L'*')) result += *p++;
    if (*p == L'.') {
      result += *p++;
      while (*p != L'\0' && ((*p >= L'0' && *p <= L'9') || *p == L'*')) result += *p++;
    }
    std::wstring size;
    bool narrow = false;
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
      size = L"ll";
      p += 3;
    } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
      p += 3;
    } else if (p[0] == L'I') {
      size = L"z";
      p += 1;
    } else if (p[0] == L'h' && (p[1] == L's' || p[1] == L'c' || p[1] == L'S' || p[1] == L'C')) {
      narrow = true;
      p += 1;
    } else {
      while (*p != L'\0' && std::wcschr(L"hlLqjzt", *p) != nullptr) size += *p++;
    }
    const wchar_t conversion = *p;
    if (conversion == L'\0') break;
    ++p;
    if (conversion == L's' || conversion == L'c' || conversion == L'S' || conversion == L'C') {
      const bool lower = conversion == L's' || conversion == L'c';
      const bool wide = size == L"l" || size == L"w" || (!narrow && size.empty() && lower);
      if (wide) result += L'l';
      result += lower ? conversion : static_cast<wchar_t>(conversion + (L'a' - L'A'));
    } else {
      result += size;
      result += conversion;
    }
  }
  return result;
}

}  // namespace

std::size_t MultiByteToWide(CodePage codePage, const char* bytes, std::size_t count, wchar_t* out,
                            std::size_t capacity) {
  UnitSink sink{out, capacity};
  if (bytes == nullptr) return 0;
  const unsigned char* input = reinterpret_cast<const unsigned char*>(bytes);
  if (codePage == CodePage::Ansi) {
    for (std::size_t i = 0; i < count; ++i) {
      const unsigned char byte = input[i];
      if (byte >= 0x80 && byte <= 0x9F) {
        const wchar_t mapped = kWindows1252High[byte - 0x80];
        sink.Put(mapped != 0 ? static_cast<std::uint32_t>(mapped) : kReplacement);
      } else {
        sink.Put(byte);
      }
    }
    return sink.count;
  }
  if (out != nullptr && capacity >= count) {
    // A byte never yields more than one code unit: write straight into the buffer, copying runs
    // of ASCII without decoding.
    std::size_t written = 0;
    for (std::size_t i = 0; i < count;) {
      // Sixteen ASCII bytes at a time, then byte by byte up to the next multi-byte sequence.
      const std::size_t widened = WidenAscii(input + i, count - i, out + written);
      i += widened;
      written += widened;
      while (i < count && input[i] < 0x80) out[written++] = static_cast<wchar_t>(input[i++]);
      if (i >= count) break;
      std::uint32_t codePoint = 0;
      i += DecodeUtf8(input + i, count - i, codePoint);
      if (codePoint >= 0x10000) {
        codePoint -= 0x10000;
        out[written++] = static_cast<wchar_t>(0xD800 + (codePoint >> 10));
        out[written++] = static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
      } else {
        out[written++] = static_cast<wchar_t>(codePoint);
      }
    }
    return written;
  }
  for (std::size_t i = 0; i < count;) {
    std::uint32_t codePoint = 0;
    i += DecodeUtf8(input + i, count - i, codePoint);
    sink.PutCodePoint(codePoint);
  }
  return sink.count;
}

bool IsAlphaNumeric(wchar_t ch) {
  if (ch < 0x80) {
    return (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z');
  }
  if (ch >= 0xD800 && ch <= 0xDFFF) return false;
  const locale_t locale = UnicodeLocale();
  return locale != static_cast<locale_t>(0) && iswalnum_l(static_cast<wint_t>(ch), locale) != 0;
}

wchar_t ToUpper(wchar_t ch) {
  if (ch < 0x80) return (ch >= L'a' && ch <= L'z') ? static_cast<wchar_t>(ch - 32) : ch;
  if (ch >= 0xD800 && ch <= 0xDFFF) return ch;
  const locale_t locale = UnicodeLocale();
  if (locale == static_cast<locale_t>(0)) return ch;
  const wint_t mapped = towupper_l(static_cast<wint_t>(ch), locale);
  return mapped <= 0xFFFF ? static_cast<wchar_t>(mapped) : ch;
}

wchar_t ToLower(wchar_t ch) {
  if (ch < 0x80) return (ch >= L'A' && ch <= L'Z') ? static_cast<wchar_t>(ch + 32) : ch;
  if (ch >= 0xD800 && ch <= 0xDFFF) return ch;
  const locale_t locale = UnicodeLocale();
  if (locale == static_cast<locale_t>(0)) return ch;
  const wint_t mapped = towlower_l(static_cast<wint_t>(ch), locale);
  return mapped <= 0xFFFF ? static_cast<wchar_t>(mapped) : ch;
}

int FormatV(wchar_t* buffer, std::size_t capacity, const wchar_t* format, std::va_list args) {
  if (format == nullptr) return -1;
  const std::wstring isoFormat = ToIsoFormat(format);
  // vswprintf does not report the needed length, so grow a scratch buffer until it fits.
  std::vector<wchar_t> scratch(256);
  for (;;) {
    std::va_list attempt;
    va_copy(attempt, args);
    const int length = std::vswprintf(scratch.data(), scratch.size(), isoFormat.c_str(), attempt);
    va_end(attempt);
    if (length >= 0) {
      if (buffer != nullptr && capacity > 0) {
        const std::size_t copied =
            static_cast<std::size_t>(length) < capacity ? static_cast<std::size_t>(length)
                                                        : capacity - 1;
        for (std::size_t i = 0; i < copied; ++i) buffer[i] = scratch[i];
        buffer[copied] = L'\0';
      }
      return length;
    }
    if (scratch.size() >= (static_cast<std::size_t>(1) << 26)) return -1;
    scratch.resize(scratch.size() * 2);
  }
}

CReadOnlyFile::~CReadOnlyFile() { Close(); }

bool CReadOnlyFile::Open(const wchar_t* path) {
  Close();
  if (path == nullptr) return false;
  std::string utf8;
  for (const wchar_t* p = path; *p != L'\0'; ++p) {
    std::uint32_t ch = static_cast<std::uint32_t>(*p);
    if (ch >= 0xD800 && ch <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
      ch = 0x10000 + ((ch - 0xD800) << 10) + (static_cast<std::uint32_t>(p[1]) - 0xDC00);
      ++p;
    }
    if (ch == L'\\') ch = L'/';
    if (ch < 0x80) {
      utf8 += static_cast<char>(ch);
    } else if (ch < 0x800) {
      utf8 += static_cast<char>(0xC0 | (ch >> 6));
      utf8 += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
      utf8 += static_cast<char>(0xE0 | (ch >> 12));
      utf8 += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | (ch >> 18));
      utf8 += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
      utf8 += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
      utf8 += static_cast<char>(0x80 | (ch & 0x3F));
    }
  }
  std::FILE* file = std::fopen(utf8.c_str(), "rb");
  if (file == nullptr) return false;
  // Like CreateFileW, only a regular file opens (fopen also opens folders here).
  struct stat status;
  if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) {
    std::fclose(file);
    return false;
  }
  m_handle = file;
  return true;
}

void CReadOnlyFile::Close() {
  if (m_handle != nullptr) {
    std::fclose(static_cast<std::FILE*>(m_handle));
    m_handle = nullptr;
  }
}

bool CReadOnlyFile::GetSize(std::uint64_t& size) const {
  if (m_handle == nullptr) return false;
  std::FILE* file = static_cast<std::FILE*>(m_handle);
  if (fseeko(file, 0, SEEK_END) != 0) return false;
  const off_t end = ftello(file);
  if (end < 0) return false;
  size = static_cast<std::uint64_t>(end);
  return true;
}

std::size_t CReadOnlyFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  if (m_handle == nullptr) return 0;
  std::FILE* file = static_cast<std::FILE*>(m_handle);
  if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
  return std::fread(buffer, 1, count, file);
}

}  // namespace Platform
}  // namespace SkinUI
