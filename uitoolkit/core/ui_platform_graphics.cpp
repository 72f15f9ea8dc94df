#include "uitoolkit/core/ui_platform_graphics.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "common/unique_handle.h"

namespace SkinUI {
namespace {

TPlatformGraphics LookUpPlatformGraphics() {
  TPlatformGraphics graphics{&OwnAlphaBlend, nullptr};
  // The module stays loaded for the life of the process. It is not one of the libraries Windows
  // always takes from the system folder, so it is asked for there explicitly.
  HMODULE module = ::LoadLibraryExW(L"msimg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
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

// A 32-bit top-down DIB section and its memory DC.
class ScratchBitmap {
 public:
  ScratchBitmap(HDC compatibleWith, int width, int height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_bitmap.reset(::CreateDIBSection(compatibleWith, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!m_bitmap) return;
    m_dc.reset(::CreateCompatibleDC(compatibleWith));
    if (!m_dc) return;
    m_select.emplace(m_dc.get(), m_bitmap.get());
    m_bits = static_cast<std::uint32_t*>(bits);
  }

  bool IsValid() const { return m_bits != nullptr; }
  HDC dc() const { return m_dc.get(); }
  std::uint32_t* bits() const { return m_bits; }

 private:
  // Released in reverse order: the bitmap is deselected, then the context and the bitmap go.
  vesk::UniqueBitmap m_bitmap;
  vesk::UniqueMemoryDC m_dc;
  std::optional<vesk::ScopedSelectObject> m_select;
  std::uint32_t* m_bits = nullptr;
};

// The size of the bitmap selected into a device context.
bool SelectedBitmapSize(HDC dc, int& width, int& height) {
  HBITMAP bitmap = static_cast<HBITMAP>(::GetCurrentObject(dc, OBJ_BITMAP));
  BITMAP info = {};
  if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof(info), &info) != sizeof(info)) return false;
  width = info.bmWidth;
  height = info.bmHeight;
  return width > 0 && height > 0;
}

std::uint32_t BlendChannel(std::uint32_t source, std::uint32_t destination,
                           std::uint32_t inverseAlpha) {
  const std::uint32_t value = source + (destination * inverseAlpha + 127) / 255;
  return value > 255 ? 255 : value;
}

}  // namespace

vesk::Seam<const TPlatformGraphics& (*)()> g_platformGraphics{&PlatformGraphics};

const TPlatformGraphics& GetPlatformGraphics() { return g_platformGraphics(); }

BOOL WINAPI OwnAlphaBlend(HDC destinationDC, int xDestination, int yDestination,
                          int widthDestination, int heightDestination, HDC sourceDC, int xSource,
                          int ySource, int widthSource, int heightSource, BLENDFUNCTION blend) {
  if (destinationDC == nullptr || sourceDC == nullptr || widthDestination <= 0 ||
      heightDestination <= 0 || widthSource <= 0 || heightSource <= 0 ||
      blend.BlendOp != AC_SRC_OVER) {
    return FALSE;
  }
  // The source part inside the source bitmap, copied (all four bytes of each pixel) into a
  // top-down scratch bitmap whose layout is known.
  int sourceBitmapWidth = 0, sourceBitmapHeight = 0;
  if (!SelectedBitmapSize(sourceDC, sourceBitmapWidth, sourceBitmapHeight)) return FALSE;
  const int partLeft = xSource < 0 ? 0 : xSource;
  const int partTop = ySource < 0 ? 0 : ySource;
  const int partRight = static_cast<int>(std::max<std::int64_t>(
      std::min<std::int64_t>(static_cast<std::int64_t>(xSource) + widthSource, sourceBitmapWidth),
      partLeft));
  const int partBottom = static_cast<int>(std::max<std::int64_t>(
      std::min<std::int64_t>(static_cast<std::int64_t>(ySource) + heightSource,
                             sourceBitmapHeight),
      partTop));
  const int partWidth = partRight - partLeft;
  const int partHeight = partBottom - partTop;
  if (partWidth <= 0 || partHeight <= 0) return TRUE;  // nothing of the source to draw
  ScratchBitmap part(destinationDC, partWidth, partHeight);
  if (!part.IsValid() ||
      !::BitBlt(part.dc(), 0, 0, partWidth, partHeight, sourceDC, partLeft, partTop, SRCCOPY)) {
    return FALSE;
  }
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
    // The source pixel under the centre of the destination pixel.
    const std::int64_t sourceY =
        ySource + (2 * static_cast<std::int64_t>(y) + 1) * heightSource / (2 * heightDestination);
    if (sourceY < partTop || sourceY >= partBottom) continue;
    std::uint32_t* row = scratch.bits() + static_cast<std::ptrdiff_t>(y) * widthDestination;
    for (int x = 0; x < widthDestination; ++x) {
      const std::int64_t sourceX =
          xSource + (2 * static_cast<std::int64_t>(x) + 1) * widthSource / (2 * widthDestination);
      if (sourceX < partLeft || sourceX >= partRight) continue;
      const std::uint32_t pixel =
          part.bits()[(sourceY - partTop) * partWidth + (sourceX - partLeft)];
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
