#include "uitoolkit/core/tests/render_test_support.h"

#include <stb_image.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "testsupport/png_writer.h"
#include "testsupport/test_support.h"

namespace SkinUI {
namespace testing {
namespace {

int Channel(DWORD color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

struct TRenderTestFolders {
  std::wstring golden;
  std::wstring images;
};

// A test program that compiles these helpers itself names its folders when it is built; one that
// links them from a library names them at run time (SetRenderTestFolders).
TRenderTestFolders& Folders() {
#ifdef RENDER_GOLDEN_FOLDER
  static TRenderTestFolders folders{RENDER_GOLDEN_FOLDER, RENDER_TEST_DATA};
#else
  static TRenderTestFolders folders;
#endif
  return folders;
}

std::wstring GoldenPath(const std::string& name) {
  return Folders().golden + L"\\" + vesk::testing::Widen(name) + L".png";
}

}  // namespace

TestCanvas::TestCanvas(int width, int height, DWORD fillColor) : m_width(width), m_height(height) {
  BYTE* bits = nullptr;
  m_bitmap.reset(CRenderEngine::CreateARGB32Bitmap(nullptr, width, height, &bits));
  m_bits = reinterpret_cast<std::uint32_t*>(bits);
  m_dc.reset(::CreateCompatibleDC(nullptr));
  m_select.emplace(m_dc.get(), m_bitmap.get());
  Fill(fillColor);
}

void TestCanvas::CopyBitmap(HBITMAP bitmap) {
  vesk::UniqueMemoryDC source(::CreateCompatibleDC(nullptr));
  vesk::ScopedSelectObject select(source.get(), bitmap);
  ::BitBlt(dc(), 0, 0, m_width, m_height, source.get(), 0, 0, SRCCOPY);
}

void TestCanvas::Fill(DWORD color) {
  ::GdiFlush();
  for (int i = 0; i < m_width * m_height; ++i) m_bits[i] = 0xFF000000u | (color & 0xFFFFFFu);
}

DWORD TestCanvas::RawPixel(int x, int y) const {
  ::GdiFlush();
  return m_bits[y * m_width + x];
}

DWORD TestCanvas::Pixel(int x, int y) const { return RawPixel(x, y) & 0xFFFFFFu; }

int TestCanvas::CountOtherThan(const RECT& area, DWORD color) const {
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (Pixel(x, y) != (color & 0xFFFFFFu)) ++count;
    }
  }
  return count;
}

bool TestCanvas::SameColors(const TestCanvas& other) const {
  if (other.m_width != m_width || other.m_height != m_height) return false;
  for (int y = 0; y < m_height; ++y) {
    for (int x = 0; x < m_width; ++x) {
      if (Pixel(x, y) != other.Pixel(x, y)) return false;
    }
  }
  return true;
}

std::unique_ptr<TestCanvas> TestCanvas::DecodePng(const std::string& png) {
  int width = 0, height = 0, channels = 0;
  stbi_uc* rgba = png.empty() ? nullptr
                              : stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(png.data()),
                                                      static_cast<int>(png.size()), &width,
                                                      &height, &channels, 4);
  if (rgba == nullptr) return nullptr;
  auto canvas = std::make_unique<TestCanvas>(width, height);
  for (int i = 0; i < width * height; ++i) {
    const stbi_uc* pixel = rgba + i * 4;
    canvas->m_bits[i] = 0xFF000000u | (static_cast<std::uint32_t>(pixel[0]) << 16) |
                        (static_cast<std::uint32_t>(pixel[1]) << 8) | pixel[2];
  }
  stbi_image_free(rgba);
  return canvas;
}

std::string TestCanvas::EncodePng() const {
  ::GdiFlush();
  return vesk::testing::EncodeDibPixelsAsPng(m_bits, m_width, m_height);
}

::testing::AssertionResult MatchesGolden(const TestCanvas& canvas, const std::string& name,
                                         int tolerance) {
  const std::wstring path = GoldenPath(name);
  if (std::getenv("VESK_UPDATE_GOLDENS") != nullptr) {
    if (!vesk::testing::WriteFileBytes(path, canvas.EncodePng())) {
      return ::testing::AssertionFailure() << "cannot write " << vesk::testing::Narrow(path);
    }
    return ::testing::AssertionSuccess() << "golden written";
  }
  const std::string bytes = vesk::testing::ReadFileBytes(path);
  int width = 0, height = 0, channels = 0;
  stbi_uc* golden = bytes.empty() ? nullptr
                                  : stbi_load_from_memory(
                                        reinterpret_cast<const stbi_uc*>(bytes.data()),
                                        static_cast<int>(bytes.size()), &width, &height,
                                        &channels, 4);
  if (golden == nullptr) {
    return ::testing::AssertionFailure() << "no golden image " << vesk::testing::Narrow(path)
                                         << " (run with VESK_UPDATE_GOLDENS=1 to write it)";
  }
  std::ostringstream problems;
  int mismatches = 0;
  if (width != canvas.width() || height != canvas.height()) {
    problems << "size " << canvas.width() << "x" << canvas.height() << ", golden " << width
             << "x" << height;
    mismatches = 1;
  } else {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const DWORD actual = canvas.Pixel(x, y);
        const stbi_uc* expected = golden + (y * width + x) * 4;
        const int differences[3] = {std::abs(Channel(actual, 16) - expected[0]),
                                     std::abs(Channel(actual, 8) - expected[1]),
                                     std::abs(Channel(actual, 0) - expected[2])};
        if (differences[0] > tolerance || differences[1] > tolerance ||
            differences[2] > tolerance) {
          if (mismatches == 0) {
            problems << "first at (" << x << "," << y << "): " << std::hex << actual
                     << " expected " << static_cast<int>(expected[0]) << ","
                     << static_cast<int>(expected[1]) << "," << static_cast<int>(expected[2])
                     << std::dec;
          }
          ++mismatches;
        }
      }
    }
  }
  stbi_image_free(golden);
  if (mismatches == 0) return ::testing::AssertionSuccess();
  wchar_t temp[MAX_PATH];
  const DWORD length = ::GetTempPathW(MAX_PATH, temp);
  const std::wstring actualPath = std::wstring(temp, length) + vesk::testing::Widen(name) +
                                  L"_actual.png";
  vesk::testing::WriteFileBytes(actualPath, canvas.EncodePng());
  return ::testing::AssertionFailure() << name << ": " << mismatches << " pixels differ; "
                                       << problems.str() << "; actual image saved as "
                                       << vesk::testing::Narrow(actualPath);
}

std::wstring TestImageFolder() { return Folders().images + L"\\"; }

bool SetRenderTestFolders(const std::wstring& goldenFolder, const std::wstring& imageFolder) {
  Folders() = TRenderTestFolders{goldenFolder, imageFolder};
  return true;
}

int ChannelDistance(DWORD a, DWORD b) {
  int total = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    total = std::max(total, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                     static_cast<int>((b >> shift) & 0xFF)));
  }
  return total;
}

std::wstring TestImagePath(const std::wstring& name) { return TestImageFolder() + name; }

TestRenderHost::TestRenderHost() {
  m_defaultFont.reset(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                DEFAULT_PITCH, L"Tahoma"));
}

TestRenderHost::~TestRenderHost() = default;

TImageInfo* TestRenderHost::GetImageEx(const wchar_t* name, const wchar_t* type, DWORD mask,
                                       bool useHSL) {
  ++imageRequests;
  return CImageCache::GetImageEx(images, sharedImages, name, type, mask, useHSL);
}

HFONT TestRenderHost::GetFont(int index) {
  auto found = m_fonts.find(index);
  return index >= 0 && found != m_fonts.end() ? found->second.font.get() : m_defaultFont.get();
}

HFONT TestRenderHost::AddFont(int index, const wchar_t* faceName, int size, bool bold,
                              bool underline, bool italic) {
  HFONT font = ::CreateFontW(-size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             NONANTIALIASED_QUALITY, DEFAULT_PITCH, faceName);
  m_fonts[index] = Font{vesk::UniqueFont(font), faceName, size, bold, underline, italic};
  return font;
}

HFONT TestRenderHost::FindOrAddFont(const wchar_t* faceName, int size, bool bold, bool underline,
                                    bool italic) {
  std::wostringstream request;
  request << faceName << L" " << size << L" " << bold << underline << italic;
  fontRequests.push_back(request.str());
  for (const auto& entry : m_fonts) {
    const Font& font = entry.second;
    if (font.face == faceName && font.size == size && font.bold == bold &&
        font.underline == underline && font.italic == italic) {
      return font.font.get();
    }
  }
  return AddFont(m_nextFontId++, faceName, size, bold, underline, italic);
}

const wchar_t* TestRenderHost::GetMultiLanguageString(int id) {
  auto found = strings.find(id);
  return found != strings.end() ? found->second.c_str() : nullptr;
}

}  // namespace testing
}  // namespace SkinUI
