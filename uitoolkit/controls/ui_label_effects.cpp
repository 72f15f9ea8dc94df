#include "uitoolkit/controls/ui_label_effects.h"

#include <objidl.h>

#include <algorithm>

// GDI+'s headers call min and max unqualified, which the build keeps from being macros.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include "common/unique_handle.h"
#include "uitoolkit/core/ui_color.h"

namespace SkinUI {
namespace {

using namespace Gdiplus;

// GDI+ is not in the program's import table: loaded as the program starts, before its entry
// restricts the library search, it would bring its own dependencies (under Wine shlwapi, then
// shcore) from the program's folder. Its flat functions are looked up once, on first use, in
// the system folder; the SDK header only lends their types.
namespace flat {
using namespace ::Gdiplus;
using namespace ::Gdiplus::DllExports;
}  // namespace flat

#define SKINUI_GDIPLUS_FUNCTIONS(X)                                                           \
  X(GdiplusStartup)                                                                           \
  X(GdipCreateFontFamilyFromName) X(GdipDeleteFontFamily)                                     \
  X(GdipCreateStringFormat) X(GdipDeleteStringFormat) X(GdipSetStringFormatAlign)             \
  X(GdipSetStringFormatLineAlign) X(GdipSetStringFormatFlags) X(GdipSetStringFormatTrimming)  \
  X(GdipCreatePath) X(GdipClonePath) X(GdipDeletePath) X(GdipAddPathString)                   \
  X(GdipTransformPath)                                                                        \
  X(GdipCreateFromHDC) X(GdipDeleteGraphics) X(GdipSetSmoothingMode)                          \
  X(GdipSetTextRenderingHint) X(GdipSetClipRegion) X(GdipFillPath) X(GdipDrawPath)            \
  X(GdipCreateRegionRect) X(GdipDeleteRegion) X(GdipCreateMatrix2) X(GdipDeleteMatrix)        \
  X(GdipCreateSolidFill) X(GdipCreateLineBrushFromRect)                                       \
  X(GdipCreateLineBrushFromRectWithAngle) X(GdipSetLineWrapMode) X(GdipDeleteBrush)           \
  X(GdipCreatePen1) X(GdipSetPenLineJoin) X(GdipDeletePen)

struct TGdiplusApi {
#define SKINUI_GDIPLUS_SLOT(name) decltype(&flat::name) name = nullptr;
  SKINUI_GDIPLUS_FUNCTIONS(SKINUI_GDIPLUS_SLOT)
#undef SKINUI_GDIPLUS_SLOT
  bool ready = false;  // every function found and GDI+ started
};

// Loaded and started once per process, on first use; GDI+ is left running (and the library
// loaded) until the process ends.
TGdiplusApi LoadGdiplus() {
  TGdiplusApi api;
  HMODULE module = ::LoadLibraryExW(L"gdiplus.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) return api;
  bool found = true;
#define SKINUI_GDIPLUS_LOOK_UP(name)                                                 \
  api.name = reinterpret_cast<decltype(api.name)>(                                   \
      reinterpret_cast<void*>(::GetProcAddress(module, #name)));                     \
  found = found && api.name != nullptr;
  SKINUI_GDIPLUS_FUNCTIONS(SKINUI_GDIPLUS_LOOK_UP)
#undef SKINUI_GDIPLUS_LOOK_UP
#undef SKINUI_GDIPLUS_FUNCTIONS
  if (!found) return api;
  ULONG_PTR token = 0;
  GdiplusStartupInput input;
  api.ready = api.GdiplusStartup(&token, &input, nullptr) == Ok;
  return api;
}

const TGdiplusApi& GdiplusApi() {
  static const TGdiplusApi api = LoadGdiplus();
  return api;
}

// Owner of one GDI+ object, deleted through the function of the table that deletes its kind.
template <typename Object, auto Delete>
struct GdiplusObjectTraits {
  using Handle = Object*;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle object) noexcept { (GdiplusApi().*Delete)(object); }
};
template <typename Object, auto Delete>
using UniqueGdiplus = vesk::UniqueHandle<GdiplusObjectTraits<Object, Delete>>;
using UniqueFontFamily = UniqueGdiplus<GpFontFamily, &TGdiplusApi::GdipDeleteFontFamily>;
using UniqueStringFormat = UniqueGdiplus<GpStringFormat, &TGdiplusApi::GdipDeleteStringFormat>;
using UniquePath = UniqueGdiplus<GpPath, &TGdiplusApi::GdipDeletePath>;
using UniqueGraphics = UniqueGdiplus<GpGraphics, &TGdiplusApi::GdipDeleteGraphics>;
using UniqueRegion = UniqueGdiplus<GpRegion, &TGdiplusApi::GdipDeleteRegion>;
using UniqueMatrix = UniqueGdiplus<GpMatrix, &TGdiplusApi::GdipDeleteMatrix>;
using UniqueBrush = UniqueGdiplus<GpBrush, &TGdiplusApi::GdipDeleteBrush>;
using UniquePen = UniqueGdiplus<GpPen, &TGdiplusApi::GdipDeletePen>;

UniqueBrush MakeSolidBrush(DWORD argb) {
  GpSolidFill* brush = nullptr;
  GdiplusApi().GdipCreateSolidFill(argb, &brush);
  return UniqueBrush(brush);
}

// A pen of `width` with rounded joins.
UniquePen RoundPen(DWORD argb, float width) {
  UniquePen pen;
  if (GdiplusApi().GdipCreatePen1(argb, width, UnitWorld, pen.put()) == Ok) {
    GdiplusApi().GdipSetPenLineJoin(pen.get(), LineJoinRound);
  }
  return pen;
}

void ApplyStyle(UINT style, GpStringFormat* format) {
  const TGdiplusApi& api = GdiplusApi();
  api.GdipSetStringFormatAlign(format, (style & DT_RIGHT) != 0    ? StringAlignmentFar
                                       : (style & DT_CENTER) != 0 ? StringAlignmentCenter
                                                                  : StringAlignmentNear);
  api.GdipSetStringFormatLineAlign(format, (style & DT_BOTTOM) != 0    ? StringAlignmentFar
                                           : (style & DT_VCENTER) != 0 ? StringAlignmentCenter
                                                                       : StringAlignmentNear);
  INT flags = StringFormatFlagsNoClip;
  if ((style & DT_SINGLELINE) != 0 || (style & DT_WORDBREAK) == 0) {
    flags |= StringFormatFlagsNoWrap;
  }
  api.GdipSetStringFormatFlags(format, flags);
  api.GdipSetStringFormatTrimming(format, (style & DT_END_ELLIPSIS) != 0
                                              ? StringTrimmingEllipsisCharacter
                                              : StringTrimmingNone);
}

// The shadow: the outlines moved by the offset, filled with the shadow's vertical gradient.
void DrawShadow(const TGdiplusApi& api, GpGraphics* graphics, GpPath* path, const RectF& layout,
                const TTextEffects& effects) {
  if (!effects.shadow || (effects.shadowColorA == 0 && effects.shadowColorB == 0)) return;
  UniqueMatrix shift;
  UniquePath moved;
  GpLineGradient* gradient = nullptr;
  const DWORD bottom = effects.shadowColorB != 0 ? effects.shadowColorB : effects.shadowColorA;
  api.GdipCreateLineBrushFromRect(&layout, effects.shadowColorA, bottom,
                                  LinearGradientModeVertical, WrapModeTile, &gradient);
  const UniqueBrush brush(gradient);
  if (api.GdipCreateMatrix2(1, 0, 0, 1, static_cast<float>(effects.shadowOffset.cx),
                            static_cast<float>(effects.shadowOffset.cy), shift.put()) == Ok &&
      api.GdipClonePath(path, moved.put()) == Ok &&
      api.GdipTransformPath(moved.get(), shift.get()) == Ok && brush) {
    api.GdipFillPath(graphics, brush.get(), moved.get());
  }
}

// Widening outlines of falling opacity around the glyphs.
void DrawGlow(const TGdiplusApi& api, GpGraphics* graphics, GpPath* path, DWORD color,
              float fuzzy) {
  const int radius = std::max(1, static_cast<int>(fuzzy + 0.5f));
  for (int step = radius; step >= 1; --step) {
    const DWORD alpha = ColorAlpha(color) * (radius - step + 1) / (radius + 1) / 3;
    const UniquePen glow =
        RoundPen((alpha << 24) | (color & 0x00FFFFFF), static_cast<float>(2 * step));
    if (glow) api.GdipDrawPath(graphics, glow.get(), path);
  }
}

// The brush the glyphs are filled with: the gradient when one is set, else the plain colour.
UniqueBrush MakeFillBrush(const TGdiplusApi& api, const RectF& layout, DWORD color,
                          const TTextEffects& effects) {
  if (effects.gradientColor == 0) return MakeSolidBrush(color);
  const float length = effects.gradientLength > 0 ? static_cast<float>(effects.gradientLength)
                                                  : std::max(1.0f, layout.Height);
  const RectF band(layout.X, layout.Y, length, length);
  GpLineGradient* gradient = nullptr;
  if (api.GdipCreateLineBrushFromRectWithAngle(&band, color, effects.gradientColor,
                                               static_cast<float>(effects.gradientAngle), FALSE,
                                               WrapModeTile, &gradient) == Ok) {
    api.GdipSetLineWrapMode(gradient, WrapModeTileFlipXY);
  }
  return UniqueBrush(gradient);
}

}  // namespace

bool DrawTextWithEffects(HDC hDC, HFONT font, const RECT& rc, const wchar_t* text, DWORD color,
                         UINT style, const TTextEffects& effects) {
  if (hDC == nullptr || text == nullptr || *text == L'\0') return true;
  const TGdiplusApi& api = GdiplusApi();
  if (!api.ready) return false;
  // The glyph outlines of the text in the label's font, laid out in the text rectangle. The
  // family is the face the platform really selected for the font (a requested face may be
  // substituted by another installed one).
  LOGFONTW logFont = {};
  ::GetObjectW(font, sizeof(logFont), &logFont);
  TEXTMETRICW metrics = {};
  wchar_t face[LF_FACESIZE] = {};
  {
    vesk::ScopedSelectObject select(hDC, font);
    ::GetTextMetricsW(hDC, &metrics);
    ::GetTextFaceW(hDC, LF_FACESIZE, face);
  }
  UniqueFontFamily family;
  if (api.GdipCreateFontFamilyFromName(face, nullptr, family.put()) != Ok) return false;
  INT fontStyle = FontStyleRegular;
  if (logFont.lfWeight >= FW_BOLD) fontStyle |= FontStyleBold;
  if (logFont.lfItalic) fontStyle |= FontStyleItalic;
  if (logFont.lfUnderline) fontStyle |= FontStyleUnderline;
  const float emSize =
      static_cast<float>(std::max<LONG>(1, metrics.tmHeight - metrics.tmInternalLeading));
  const RectF layout(static_cast<float>(rc.left), static_cast<float>(rc.top),
                     static_cast<float>(rc.right - rc.left),
                     static_cast<float>(rc.bottom - rc.top));
  UniqueStringFormat format;
  UniquePath path;
  if (api.GdipCreateStringFormat(0, LANG_NEUTRAL, format.put()) != Ok ||
      api.GdipCreatePath(FillModeAlternate, path.put()) != Ok) {
    return false;
  }
  ApplyStyle(style, format.get());
  if (api.GdipAddPathString(path.get(), text, -1, family.get(), fontStyle, emSize, &layout,
                            format.get()) != Ok) {
    return false;
  }

  UniqueGraphics graphics;
  if (api.GdipCreateFromHDC(hDC, graphics.put()) != Ok) return false;
  api.GdipSetSmoothingMode(graphics.get(), SmoothingModeAntiAlias);
  api.GdipSetTextRenderingHint(graphics.get(), TextRenderingHintAntiAlias);
  UniqueRegion clip;
  if (api.GdipCreateRegionRect(&layout, clip.put()) == Ok) {
    api.GdipSetClipRegion(graphics.get(), clip.get(), CombineModeReplace);
  }

  DrawShadow(api, graphics.get(), path.get(), layout, effects);
  if (effects.luminous) DrawGlow(api, graphics.get(), path.get(), color, effects.luminousFuzzy);
  const UniqueBrush fill = MakeFillBrush(api, layout, color, effects);
  if (fill) api.GdipFillPath(graphics.get(), fill.get(), path.get());

  if (effects.stroke && effects.strokeColor != 0) {
    const UniquePen outline = RoundPen(effects.strokeColor, 1.0f);
    if (outline) api.GdipDrawPath(graphics.get(), outline.get(), path.get());
  }
  return true;
}

}  // namespace SkinUI
