#include "uitoolkit/core/ui_render_engine.h"

#include <cstdint>
#include <vector>

#include "common/unique_handle.h"
#include "uitoolkit/core/ui_color.h"
#include "uitoolkit/core/ui_image_description.h"
#include "uitoolkit/core/ui_multi_language.h"
#include "uitoolkit/core/ui_nine_slice.h"
#include "uitoolkit/core/ui_platform_graphics.h"

namespace SkinUI {
namespace {

using vesk::ScopedSelectObject;
using vesk::UniqueMemoryDC;

// An opaque GradientFill corner at (x, y) in the colour's red, green and blue.
TRIVERTEX GradientVertex(LONG x, LONG y, DWORD color) {
  TRIVERTEX vertex = {};
  vertex.x = x;
  vertex.y = y;
  vertex.Red = static_cast<COLOR16>(ColorRed(color) << 8);
  vertex.Green = static_cast<COLOR16>(ColorGreen(color) << 8);
  vertex.Blue = static_cast<COLOR16>(ColorBlue(color) << 8);
  vertex.Alpha = 0xFF00;
  return vertex;
}

bool IsEmptyRect(const RECT& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

LONG Width(const RECT& rect) { return rect.right - rect.left; }
LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

// Logical coordinates of `dc` to device coordinates, in which clip regions are given.
RECT ToDevice(HDC dc, const RECT& rect) {
  POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
  ::LPtoDP(dc, corners, 2);
  return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

// The clip region selected into `dc`, or null when there is none.
vesk::UniqueRegion CopyClipRegion(HDC dc) {
  vesk::UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
  if (region && ::GetClipRgn(dc, region.get()) != 1) region.reset();
  return region;
}

const wchar_t* LookUpMultiLanguage(int id, void* context) {
  return static_cast<IRenderHost*>(context)->GetMultiLanguageString(id);
}

// Stores a straight ARGB colour as one premultiplied BGRA pixel, the form the platform blend expects.
void StorePremultiplied(BYTE* pixel, DWORD color) {
  const DWORD premultiplied = PremultiplyArgb(color);
  pixel[0] = ColorBlue(premultiplied);
  pixel[1] = ColorGreen(premultiplied);
  pixel[2] = ColorRed(premultiplied);
  pixel[3] = ColorAlpha(premultiplied);
}

// Stretches a premultiplied bitmap of `width` x `height` pixels over `rc` with per-pixel blending.
void BlendBitmapOver(HDC dc, const RECT& rc, HBITMAP bitmap, LONG width, LONG height) {
  UniqueMemoryDC memoryDc(::CreateCompatibleDC(dc));
  if (!memoryDc) return;
  ScopedSelectObject select(memoryDc.get(), bitmap);
  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GetPlatformGraphics().alphaBlend(dc, rc.left, rc.top, Width(rc), Height(rc), memoryDc.get(), 0,
                                   0, width, height, blend);
}

// Blends `color` (straight ARGB, any alpha) over `rc`.
void BlendColor(HDC dc, const RECT& rc, DWORD color) {
  BYTE* bits = nullptr;
  vesk::UniqueGdiObject<HBITMAP> pixel(CRenderEngine::CreateARGB32Bitmap(dc, 1, 1, &bits));
  if (!pixel) return;
  StorePremultiplied(bits, color);
  BlendBitmapOver(dc, rc, pixel.get(), 1, 1);
}

BYTE Interpolate(BYTE from, BYTE to, std::int64_t position, std::int64_t last) {
  if (last <= 0) return from;
  return static_cast<BYTE>(from + (static_cast<std::int64_t>(to) - from) * position / last);
}

DWORD InterpolateColor(DWORD from, DWORD to, std::int64_t position, std::int64_t last) {
  return MakeArgb(Interpolate(ColorAlpha(from), ColorAlpha(to), position, last),
                  Interpolate(ColorRed(from), ColorRed(to), position, last),
                  Interpolate(ColorGreen(from), ColorGreen(to), position, last),
                  Interpolate(ColorBlue(from), ColorBlue(to), position, last));
}

// Number of solid bands of the gradient drawn without the platform's gradient fill.
int GradientBandCount(int steps) {
  int shift = 6;
  if (steps < 4) {
    shift = 1;
  } else if (steps < 8) {
    shift = 2;
  } else if (steps < 16) {
    shift = 3;
  } else if (steps < 32) {
    shift = 4;
  } else if (steps < 64) {
    shift = 5;
  }
  return 1 << shift;
}

// A gradient with translucent colours: one row (or column) of premultiplied pixels, stretched
// over the rectangle with per-pixel blending.
void BlendGradient(HDC dc, const RECT& rc, DWORD first, DWORD second, bool vertical) {
  const LONG length = vertical ? Height(rc) : Width(rc);
  BYTE* bits = nullptr;
  vesk::UniqueGdiObject<HBITMAP> strip(
      CRenderEngine::CreateARGB32Bitmap(dc, vertical ? 1 : length, vertical ? length : 1, &bits));
  if (!strip) return;
  for (LONG i = 0; i < length; ++i) {
    StorePremultiplied(bits + static_cast<std::ptrdiff_t>(i) * 4,
                       InterpolateColor(first, second, i, length - 1));
  }
  BlendBitmapOver(dc, rc, strip.get(), vertical ? 1 : length, vertical ? length : 1);
}

// A pen of the platform colour form. Solid pens stay inside the frame of what they outline.
HPEN CreateOutlinePen(int size, DWORD color, int style, bool insideFrame) {
  int penStyle = style;
  if (insideFrame && (style & PS_STYLE_MASK) == PS_SOLID) {
    penStyle = (style & ~PS_STYLE_MASK) | PS_INSIDEFRAME;
  }
  return ::CreatePen(penStyle, size, ToPlatformColor(color));
}

// The rectangle an outline of another style than solid is drawn on so that a pen of width
// `size` stays inside `rc` (solid pens do this themselves).
RECT OutlineFrame(const RECT& rc, int size, int style) {
  RECT frame = rc;
  if ((style & PS_STYLE_MASK) != PS_SOLID && size > 1) {
    ::InflateRect(&frame, -(size / 2), -(size / 2));
  }
  return frame;
}

}  // namespace

void TDrawInfo::Clear() {
  drawString.Empty();
  imageName.Empty();
  loaded = false;
  image = nullptr;
  destination = RECT{0, 0, 0, 0};
  source = RECT{0, 0, 0, 0};
  corner = RECT{0, 0, 0, 0};
  fade = 255;
  hole = false;
  xTiled = false;
  yTiled = false;
}

CRenderClip::~CRenderClip() { Release(); }

void CRenderClip::Release() {
  if (hDC != nullptr) ::SelectClipRgn(hDC, hOldRgn.get());
  hDC = nullptr;
  hOldRgn.reset();
  hRgn.reset();
}

void CRenderClip::GenerateClip(HDC hDC, const RECT& rc, CRenderClip& clip) {
  clip.Release();
  clip.rcItem = rc;
  clip.hDC = hDC;
  clip.hOldRgn = CopyClipRegion(hDC);
  const RECT device = ToDevice(hDC, rc);
  clip.hRgn.reset(::CreateRectRgnIndirect(&device));
  if (!clip.hRgn) return;
  if (clip.hOldRgn) ::CombineRgn(clip.hRgn.get(), clip.hRgn.get(), clip.hOldRgn.get(), RGN_AND);
  ::SelectClipRgn(hDC, clip.hRgn.get());
}

void CRenderClip::GenerateRoundClip(HDC hDC, const RECT& rcPaint, const RECT& rcItem, int width,
                                    int height, CRenderClip& clip) {
  clip.Release();
  clip.rcItem = rcItem;
  clip.hDC = hDC;
  clip.hOldRgn = CopyClipRegion(hDC);
  const RECT paint = ToDevice(hDC, rcPaint);
  const RECT item = ToDevice(hDC, rcItem);
  clip.hRgn.reset(::CreateRectRgnIndirect(&paint));
  vesk::UniqueRegion rounded(::CreateRoundRectRgn(item.left, item.top, item.right + 1,
                                                  item.bottom + 1, width, height));
  if (!clip.hRgn || !rounded) return;
  ::CombineRgn(clip.hRgn.get(), clip.hRgn.get(), rounded.get(), RGN_AND);
  if (clip.hOldRgn) ::CombineRgn(clip.hRgn.get(), clip.hRgn.get(), clip.hOldRgn.get(), RGN_AND);
  ::SelectClipRgn(hDC, clip.hRgn.get());
}

void CRenderClip::UseOldClipBegin(HDC hDC, CRenderClip& clip) {
  ::SelectClipRgn(hDC, clip.hOldRgn.get());
}

void CRenderClip::UseOldClipEnd(HDC hDC, CRenderClip& clip) {
  ::SelectClipRgn(hDC, clip.hRgn.get());
}

DWORD CRenderEngine::AdjustColor(DWORD color, short hue, short saturation, short lightness) {
  return SkinUI::AdjustColor(color, hue, saturation, lightness);
}

HBITMAP CRenderEngine::CreateARGB32Bitmap(HDC hDC, int width, int height, BYTE** bits) {
  if (bits != nullptr) *bits = nullptr;
  if (width <= 0 || height <= 0) return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(hDC, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bitmap != nullptr && bits != nullptr) *bits = static_cast<BYTE*>(pixels);
  return bitmap;
}

void CRenderEngine::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
                              const RECT& rcBmpPart, const RECT& rcCorners, bool alphaChannel,
                              BYTE fade, bool hole, bool xTiled, bool yTiled) {
  if (hDC == nullptr || hBitmap == nullptr || IsEmptyRect(rc)) return;
  UniqueMemoryDC memoryDc(::CreateCompatibleDC(hDC));
  if (!memoryDc) return;
  ScopedSelectObject select(memoryDc.get(), hBitmap);
  const int oldStretchMode = ::SetStretchBltMode(hDC, COLORONCOLOR);

  TNineSliceOptions options;
  options.hole = hole;
  options.xTiled = xTiled;
  options.yTiled = yTiled;
  const bool blend = alphaChannel || fade < 255;
  if (!blend && IsDirectCopy(rc, rcBmpPart, rcCorners, options)) {
    RECT part;
    if (::IntersectRect(&part, &rc, &rcPaint)) {
      ::BitBlt(hDC, part.left, part.top, Width(part), Height(part), memoryDc.get(),
               rcBmpPart.left + part.left - rc.left, rcBmpPart.top + part.top - rc.top, SRCCOPY);
    }
  } else {
    std::vector<TImagePiece> pieces;
    ComputeNineSlice(rc, rcBmpPart, rcCorners, options, rcPaint, pieces);
    const BLENDFUNCTION blendFunction = {AC_SRC_OVER, 0, fade,
                                         static_cast<BYTE>(alphaChannel ? AC_SRC_ALPHA : 0)};
    const AlphaBlendFunction alphaBlend = GetPlatformGraphics().alphaBlend;
    for (const TImagePiece& piece : pieces) {
      const RECT& d = piece.destination;
      const RECT& s = piece.source;
      if (blend) {
        alphaBlend(hDC, d.left, d.top, Width(d), Height(d), memoryDc.get(), s.left, s.top,
                   Width(s), Height(s), blendFunction);
      } else if (Width(d) == Width(s) && Height(d) == Height(s)) {
        ::BitBlt(hDC, d.left, d.top, Width(d), Height(d), memoryDc.get(), s.left, s.top, SRCCOPY);
      } else {
        ::StretchBlt(hDC, d.left, d.top, Width(d), Height(d), memoryDc.get(), s.left, s.top,
                     Width(s), Height(s), SRCCOPY);
      }
    }
  }
  ::SetStretchBltMode(hDC, oldStretchMode);
}

bool CRenderEngine::DrawImage(HDC hDC, IRenderHost* manager, const RECT& rcItem,
                              const RECT& rcPaint, TDrawInfo& drawInfo) {
  if (manager == nullptr) return true;
  if (!drawInfo.loaded) {
    drawInfo.loaded = true;
    TImageDescription description;
    if (!ParseImageDescription(drawInfo.drawString, description)) return false;
    drawInfo.imageName = description.imageName;
    drawInfo.destination = description.destination;
    drawInfo.source = description.source;
    drawInfo.corner = description.corner;
    drawInfo.fade = description.fade;
    drawInfo.hole = description.hole;
    drawInfo.xTiled = description.xTiled;
    drawInfo.yTiled = description.yTiled;
    drawInfo.image = manager->GetImageEx(
        description.imageName,
        description.resourceType.IsEmpty() ? nullptr : description.resourceType.GetData(),
        description.mask, description.useHSL);
  }
  if (drawInfo.image == nullptr) return false;
  drawInfo.source =
      ResolveImageSource(drawInfo.source, drawInfo.image->width, drawInfo.image->height);
  if (hDC == nullptr) return true;

  const RECT destination = ResolveImageDestination(rcItem, drawInfo.destination);
  RECT common;
  if (!::IntersectRect(&common, &destination, &rcItem) ||
      !::IntersectRect(&common, &destination, &rcPaint)) {
    return true;
  }
  DrawImage(hDC, drawInfo.image->bitmap, destination, rcPaint, drawInfo.source, drawInfo.corner,
            drawInfo.image->alpha, drawInfo.fade, drawInfo.hole, drawInfo.xTiled,
            drawInfo.yTiled);
  return true;
}

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color) {
  if (hDC == nullptr || ColorAlpha(color) == 0 || IsEmptyRect(rc)) return;
  if (ColorAlpha(color) < 255) {
    BlendColor(hDC, rc, color);
    return;
  }
  const COLORREF oldColor = ::SetBkColor(hDC, ToPlatformColor(color));
  ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
  ::SetBkColor(hDC, oldColor);
}

void CRenderEngine::DrawGradient(HDC hDC, const RECT& rc, DWORD first, DWORD second,
                                 bool vertical, int steps) {
  if (hDC == nullptr || IsEmptyRect(rc)) return;
  if (ColorAlpha(first) < 255 || ColorAlpha(second) < 255) {
    BlendGradient(hDC, rc, first, second, vertical);
    return;
  }
  const GradientFillFunction gradientFill = GetPlatformGraphics().gradientFill;
  if (gradientFill != nullptr) {
    TRIVERTEX vertices[2] = {GradientVertex(rc.left, rc.top, first),
                             GradientVertex(rc.right, rc.bottom, second)};
    GRADIENT_RECT mesh = {0, 1};
    gradientFill(hDC, vertices, 2, &mesh, 1,
                 vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
    return;
  }
  // Solid bands from the first colour to the second.
  const int bands = GradientBandCount(steps);
  const std::int64_t length = vertical ? Height(rc) : Width(rc);
  for (int i = 0; i < bands; ++i) {
    const LONG start = static_cast<LONG>(length * i / bands);
    const LONG end = static_cast<LONG>(length * (i + 1) / bands);
    if (end <= start) continue;
    RECT band = rc;
    if (vertical) {
      band.top = rc.top + start;
      band.bottom = rc.top + end;
    } else {
      band.left = rc.left + start;
      band.right = rc.left + end;
    }
    DrawColor(hDC, band, InterpolateColor(first, second, i, bands - 1));
  }
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int size, DWORD color, int style) {
  if (hDC == nullptr) return;
  vesk::UniqueGdiObject<HPEN> pen(CreateOutlinePen(size, color, style, false));
  if (!pen) return;
  ScopedSelectObject select(hDC, pen.get());
  POINT oldPosition;
  ::MoveToEx(hDC, rc.left, rc.top, &oldPosition);
  ::LineTo(hDC, rc.right, rc.bottom);
  ::MoveToEx(hDC, oldPosition.x, oldPosition.y, nullptr);
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int size, DWORD color, int style) {
  if (hDC == nullptr) return;
  vesk::UniqueGdiObject<HPEN> pen(CreateOutlinePen(size, color, style, true));
  if (!pen) return;
  ScopedSelectObject selectPen(hDC, pen.get());
  ScopedSelectObject selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
  const RECT frame = OutlineFrame(rc, size, style);
  ::Rectangle(hDC, frame.left, frame.top, frame.right, frame.bottom);
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int size, int width, int height,
                                  DWORD color, int style) {
  if (hDC == nullptr) return;
  vesk::UniqueGdiObject<HPEN> pen(CreateOutlinePen(size, color, style, true));
  if (!pen) return;
  ScopedSelectObject selectPen(hDC, pen.get());
  ScopedSelectObject selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
  const RECT frame = OutlineFrame(rc, size, style);
  ::RoundRect(hDC, frame.left, frame.top, frame.right, frame.bottom, width, height);
}

void CRenderEngine::DrawText(HDC hDC, IRenderHost* manager, RECT& rc, const wchar_t* text,
                             DWORD color, int font, UINT style) {
  if (hDC == nullptr || manager == nullptr || text == nullptr || *text == L'\0') {
    // Measuring nothing gives an empty extent, not the rectangle offered.
    if ((style & DT_CALCRECT) != 0) {
      rc.right = rc.left;
      rc.bottom = rc.top;
    }
    return;
  }
  const CUiString replaced = ReplaceMultiLanguageTokens(text, &LookUpMultiLanguage, manager);
  const int oldMode = ::SetBkMode(hDC, TRANSPARENT);
  const COLORREF oldColor = ::SetTextColor(hDC, ToPlatformColor(color));
  {
    ScopedSelectObject select(hDC, manager->GetFont(font));
    ::DrawTextW(hDC, replaced.GetData(), replaced.GetLength(), &rc, style | DT_NOPREFIX);
  }
  ::SetTextColor(hDC, oldColor);
  ::SetBkMode(hDC, oldMode);
}

SIZE CRenderEngine::GetTextSize(HDC hDC, IRenderHost* manager, const wchar_t* text, int font,
                                UINT style) {
  (void)style;  // the extent of a text does not depend on its layout bits
  SIZE size = {0, 0};
  if (hDC == nullptr || manager == nullptr || text == nullptr) return size;
  const CUiString replaced = ReplaceMultiLanguageTokens(text, &LookUpMultiLanguage, manager);
  ScopedSelectObject select(hDC, manager->GetFont(font));
  ::GetTextExtentPoint32W(hDC, replaced.GetData(), replaced.GetLength(), &size);
  return size;
}

HBITMAP CRenderEngine::GenerateBitmap(IRenderHost* manager, IRenderPainter* painter,
                                      const RECT& rc, DWORD filterColor) {
  if (painter == nullptr || IsEmptyRect(rc)) return nullptr;
  HDC reference = manager != nullptr ? manager->GetPaintDC() : nullptr;
  UniqueMemoryDC paintDc(::CreateCompatibleDC(reference));
  if (!paintDc) return nullptr;
  BYTE* bits = nullptr;
  vesk::UniqueGdiObject<HBITMAP> bitmap(
      CreateARGB32Bitmap(paintDc.get(), Width(rc), Height(rc), &bits));
  if (!bitmap) return nullptr;
  {
    ScopedSelectObject select(paintDc.get(), bitmap.get());
    // Window coordinates of `rc` map to the bitmap's origin.
    ::SetWindowOrgEx(paintDc.get(), rc.left, rc.top, nullptr);
    painter->PaintInto(paintDc.get(), rc);
    DrawColor(paintDc.get(), rc, filterColor);
  }
  ::GdiFlush();
  return bitmap.release();
}

}  // namespace SkinUI
