#include "uitoolkit/core/ui_platform_graphics.h"

#include <cstdint>
#include <vector>

namespace SkinUI {
namespace {

TPlatformGraphics LookUpPlatformGraphics() {
  TPlatformGraphics graphics{&OwnAlphaBlend, nullptr};
  // The module stays loaded for the life of the process.
  HMODULE module = ::LoadLibraryW(L"msimg32.dll");
  if (module != nullptr) {
    FARPROC alphaBlend = ::GetProcAddress(module, "AlphaBlend");
    FARPROC gradientFill = ::GetProcAddress(module, "GradientFill");
    if (alphaBlend != nullptr) graphics.alphaBlend = reinterpret_cast<AlphaBlendFunction>(
        reinterpret_cast<void*>(alphaBlend));
    if (gradientFill != nullptr) graphics.gradientFill = reinterpret_cast<GradientFillFunction>(
        reinterpret_cast<void*>(gradientFill));
  }
  return graphics;
}

const TPlatformGraphics& PlatformGraphics() {
  static const TPlatformGraphics graphics = LookUpPlatformGraphics();
  return graphics;
}

const TPlatformGraphics* g_override = nullptr;

// A 32-bit top-down DIB section and its memory DC.
class ScratchBitmap {
 public:
  ScratchBitmap(HDC compatibleWith, int width, int height) : m_width(width), m_height(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap = ::CreateDIBSection(compatibleWith, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (m_bitmap == nullptr) return;
    m_dc = ::CreateCompatibleDC(compatibleWith);
    if (m_dc == nullptr) return;
    m_oldBitmap = ::SelectObject(m_dc, m_bitmap);
    m_bits = static_cast<std::uint32_t*>(bits);
  }
  ~ScratchBitmap() {
    if (m_dc != nullptr) {
      ::SelectObject(m_dc, m_oldBitmap);
      ::DeleteDC(m_dc);
    }
    if (m_bitmap != nullptr) ::DeleteObject(m_bitmap);
  }
  ScratchBitmap(const ScratchBitmap&) = delete;
  ScratchBitmap& operator=(const ScratchBitmap&) = delete;

  bool IsValid() const { return m_bits != nullptr; }
  HDC dc() const { return m_dc; }
  std::uint32_t* bits() const { return m_bits; }

 private:
  int m_width;
  int m_height;
  HBITMAP m_bitmap = nullptr;
  HDC m_dc = nullptr;
  HGDIOBJ m_oldBitmap = nullptr;
  std::uint32_t* m_bits = nullptr;
};

// The pixels of the 32-bit bitmap selected into a device context.
struct SourcePixels {
  const BYTE* bits = nullptr;
  int width = 0;
  int height = 0;
  LONG stride = 0;    // bytes per row
  bool topDown = true;
  std::vector<std::uint32_t> copy;  // filled when the bitmap is not a DIB section

  std::uint32_t At(int x, int y) const {
    const int row = topDown ? y : height - 1 - y;
    const BYTE* pixel = bits + static_cast<std::ptrdiff_t>(row) * stride + x * 4;
    return static_cast<std::uint32_t>(pixel[0]) | (static_cast<std::uint32_t>(pixel[1]) << 8) |
           (static_cast<std::uint32_t>(pixel[2]) << 16) |
           (static_cast<std::uint32_t>(pixel[3]) << 24);
  }
};

bool ReadSourcePixels(HDC sourceDC, SourcePixels& pixels) {
  HBITMAP bitmap = static_cast<HBITMAP>(::GetCurrentObject(sourceDC, OBJ_BITMAP));
  if (bitmap == nullptr) return false;
  DIBSECTION section = {};
  if (::GetObjectW(bitmap, sizeof(section), &section) == sizeof(section) &&
      section.dsBm.bmBitsPixel == 32 && section.dsBm.bmBits != nullptr) {
    ::GdiFlush();
    pixels.bits = static_cast<const BYTE*>(section.dsBm.bmBits);
    pixels.width = section.dsBm.bmWidth;
    pixels.height = section.dsBm.bmHeight;
    pixels.stride = section.dsBm.bmWidthBytes;
    pixels.topDown = section.dsBmih.biHeight < 0;
    return true;
  }
  // A device-dependent bitmap: read it as 32-bit top-down rows.
  BITMAP plain = {};
  if (::GetObjectW(bitmap, sizeof(plain), &plain) != sizeof(plain) || plain.bmWidth <= 0 ||
      plain.bmHeight <= 0) {
    return false;
  }
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = plain.bmWidth;
  info.bmiHeader.biHeight = -plain.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  pixels.copy.resize(static_cast<size_t>(plain.bmWidth) * static_cast<size_t>(plain.bmHeight));
  if (::GetDIBits(sourceDC, bitmap, 0, static_cast<UINT>(plain.bmHeight), pixels.copy.data(),
                  &info, DIB_RGB_COLORS) == 0) {
    return false;
  }
  pixels.bits = reinterpret_cast<const BYTE*>(pixels.copy.data());
  pixels.width = plain.bmWidth;
  pixels.height = plain.bmHeight;
  pixels.stride = plain.bmWidth * 4;
  pixels.topDown = true;
  return true;
}

std::uint32_t BlendChannel(std::uint32_t source, std::uint32_t destination,
                           std::uint32_t inverseAlpha) {
  const std::uint32_t value = source + (destination * inverseAlpha + 127) / 255;
  return value > 255 ? 255 : value;
}

}  // namespace

const TPlatformGraphics& GetPlatformGraphics() {
  return g_override != nullptr ? *g_override : PlatformGraphics();
}

void OverridePlatformGraphicsForTesting(const TPlatformGraphics* graphics) {
  g_override = graphics;
}

BOOL WINAPI OwnAlphaBlend(HDC destinationDC, int xDestination, int yDestination,
                          int widthDestination, int heightDestination, HDC sourceDC, int xSource,
                          int ySource, int widthSource, int heightSource, BLENDFUNCTION blend) {
  if (destinationDC == nullptr || sourceDC == nullptr || widthDestination <= 0 ||
      heightDestination <= 0 || widthSource <= 0 || heightSource <= 0 ||
      blend.BlendOp != AC_SRC_OVER) {
    return FALSE;
  }
  SourcePixels source;
  if (!ReadSourcePixels(sourceDC, source)) return FALSE;
  ScratchBitmap scratch(destinationDC, widthDestination, heightDestination);
  if (!scratch.IsValid()) return FALSE;
  // Read what is there, blend, and write it back (writing honours the destination's clip).
  if (!::BitBlt(scratch.dc(), 0, 0, widthDestination, heightDestination, destinationDC,
                xDestination, yDestination, SRCCOPY)) {
    return FALSE;
  }
  ::GdiFlush();
  const std::uint32_t constant = blend.SourceConstantAlpha;
  const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
  for (int y = 0; y < heightDestination; ++y) {
    const std::int64_t sourceY =
        ySource + static_cast<std::int64_t>(y) * heightSource / heightDestination;
    if (sourceY < 0 || sourceY >= source.height) continue;
    std::uint32_t* row = scratch.bits() + static_cast<std::ptrdiff_t>(y) * widthDestination;
    for (int x = 0; x < widthDestination; ++x) {
      const std::int64_t sourceX =
          xSource + static_cast<std::int64_t>(x) * widthSource / widthDestination;
      if (sourceX < 0 || sourceX >= source.width) continue;
      const std::uint32_t pixel = source.At(static_cast<int>(sourceX), static_cast<int>(sourceY));
      std::uint32_t channels[4];
      for (int c = 0; c < 4; ++c) channels[c] = ((pixel >> (8 * c)) & 0xFF) * constant / 255;
      if (!perPixel) channels[3] = constant;
      const std::uint32_t inverse = 255 - channels[3];
      std::uint32_t result = 0;
      for (int c = 0; c < 4; ++c) {
        result |= BlendChannel(channels[c], (row[x] >> (8 * c)) & 0xFF, inverse) << (8 * c);
      }
      row[x] = result;
    }
  }
  return ::BitBlt(destinationDC, xDestination, yDestination, widthDestination, heightDestination,
                  scratch.dc(), 0, 0, SRCCOPY);
}

}  // namespace SkinUI
