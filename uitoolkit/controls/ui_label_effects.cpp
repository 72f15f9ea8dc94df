#include "uitoolkit/controls/ui_label_effects.h"

#include <objidl.h>

#include <algorithm>
#include <memory>
#include <mutex>

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

// GDI+ is started once per process, on first use, and left running until the process ends.
bool StartGdiplus() {
  static std::once_flag once;
  static bool started = false;
  std::call_once(once, [] {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  });
  return started;
}

Gdiplus::Color ToGdiplusColor(DWORD argb) {
  return Gdiplus::Color(ColorAlpha(argb), ColorRed(argb), ColorGreen(argb), ColorBlue(argb));
}

void ApplyStyle(UINT style, Gdiplus::StringFormat& format) {
  format.SetAlignment((style & DT_RIGHT) != 0    ? Gdiplus::StringAlignmentFar
                      : (style & DT_CENTER) != 0 ? Gdiplus::StringAlignmentCenter
                                                 : Gdiplus::StringAlignmentNear);
  format.SetLineAlignment((style & DT_BOTTOM) != 0    ? Gdiplus::StringAlignmentFar
                          : (style & DT_VCENTER) != 0 ? Gdiplus::StringAlignmentCenter
                                                      : Gdiplus::StringAlignmentNear);
  INT flags = Gdiplus::StringFormatFlagsNoClip;
  if ((style & DT_SINGLELINE) != 0 || (style & DT_WORDBREAK) == 0) {
    flags |= Gdiplus::StringFormatFlagsNoWrap;
  }
  format.SetFormatFlags(flags);
  format.SetTrimming((style & DT_END_ELLIPSIS) != 0 ? Gdiplus::StringTrimmingEllipsisCharacter
                                                    : Gdiplus::StringTrimmingNone);
}

}  // namespace

bool DrawTextWithEffects(HDC hDC, HFONT font, const RECT& rc, const wchar_t* text, DWORD color,
                         UINT style, const TTextEffects& effects) {
  if (hDC == nullptr || text == nullptr || *text == L'\0') return true;
  if (!StartGdiplus()) return false;
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
  Gdiplus::FontFamily family(face);
  if (!family.IsAvailable()) return false;
  INT fontStyle = Gdiplus::FontStyleRegular;
  if (logFont.lfWeight >= FW_BOLD) fontStyle |= Gdiplus::FontStyleBold;
  if (logFont.lfItalic) fontStyle |= Gdiplus::FontStyleItalic;
  if (logFont.lfUnderline) fontStyle |= Gdiplus::FontStyleUnderline;
  const float emSize =
      static_cast<float>(std::max<LONG>(1, metrics.tmHeight - metrics.tmInternalLeading));
  const Gdiplus::RectF layout(static_cast<float>(rc.left), static_cast<float>(rc.top),
                              static_cast<float>(rc.right - rc.left),
                              static_cast<float>(rc.bottom - rc.top));
  Gdiplus::StringFormat format;
  ApplyStyle(style, format);
  Gdiplus::GraphicsPath path;
  if (path.AddString(text, -1, &family, fontStyle, emSize, layout, &format) != Gdiplus::Ok) {
    return false;
  }

  Gdiplus::Graphics graphics(hDC);
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
  Gdiplus::Region clip(layout);
  graphics.SetClip(&clip);

  if (effects.shadow && (effects.shadowColorA != 0 || effects.shadowColorB != 0)) {
    Gdiplus::Matrix shift(1, 0, 0, 1, static_cast<float>(effects.shadowOffset.cx),
                          static_cast<float>(effects.shadowOffset.cy));
    std::unique_ptr<Gdiplus::GraphicsPath> moved(path.Clone());
    moved->Transform(&shift);
    const DWORD bottom = effects.shadowColorB != 0 ? effects.shadowColorB : effects.shadowColorA;
    Gdiplus::LinearGradientBrush brush(layout, ToGdiplusColor(effects.shadowColorA),
                                       ToGdiplusColor(bottom), Gdiplus::LinearGradientModeVertical);
    graphics.FillPath(&brush, moved.get());
  }

  if (effects.luminous) {
    // Widening outlines of falling opacity around the glyphs.
    const int radius = std::max(1, static_cast<int>(effects.luminousFuzzy + 0.5f));
    for (int step = radius; step >= 1; --step) {
      const BYTE alpha =
          static_cast<BYTE>(ColorAlpha(color) * (radius - step + 1) / (radius + 1) / 3);
      Gdiplus::Pen glow(Gdiplus::Color(alpha, ColorRed(color), ColorGreen(color), ColorBlue(color)),
                        static_cast<float>(2 * step));
      glow.SetLineJoin(Gdiplus::LineJoinRound);
      graphics.DrawPath(&glow, &path);
    }
  }

  if (effects.gradientColor != 0) {
    const float length = effects.gradientLength > 0 ? static_cast<float>(effects.gradientLength)
                                                    : std::max(1.0f, layout.Height);
    const Gdiplus::RectF band(layout.X, layout.Y, length, length);
    Gdiplus::LinearGradientBrush brush(band, ToGdiplusColor(color),
                                       ToGdiplusColor(effects.gradientColor),
                                       static_cast<float>(effects.gradientAngle), FALSE);
    brush.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    graphics.FillPath(&brush, &path);
  } else {
    Gdiplus::SolidBrush brush(ToGdiplusColor(color));
    graphics.FillPath(&brush, &path);
  }

  if (effects.stroke && effects.strokeColor != 0) {
    Gdiplus::Pen outline(ToGdiplusColor(effects.strokeColor), 1.0f);
    outline.SetLineJoin(Gdiplus::LineJoinRound);
    graphics.DrawPath(&outline, &path);
  }
  return true;
}

}  // namespace SkinUI
