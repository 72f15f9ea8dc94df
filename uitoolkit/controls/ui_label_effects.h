// Label text drawn through GDI+: anti-aliased, with optional drop shadow, glow, outline and
// gradient fill.
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_label.h"

namespace SkinUI {

// Draws `text` into `rc` with `font`, aligned by the text-drawing `style` bits (horizontal and
// vertical alignment, single line, end ellipsis), in `color` (ARGB), with the effects asked for.
// False (nothing drawn) when GDI+ cannot be loaded from the system folder or started, or has no
// outlines for the font.
bool DrawTextWithEffects(HDC hDC, HFONT font, const RECT& rc, const wchar_t* text, DWORD color,
                         UINT style, const TTextEffects& effects);

}  // namespace SkinUI
