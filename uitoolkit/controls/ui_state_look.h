// The look of one part of a control (a scroll bar's thumb, a slider's thumb) in each of four
// states, from the skin's `<part><state>image` and `<part><state>color` attributes.
#pragma once

#include <windows.h>

#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {

class CControlUI;

enum TLookState { kLookNormal, kLookHot, kLookPushed, kLookDisabled, kLookStateCount };

// Reads `<part><state>image` or `<part><state>color` (state: normal, hot, pushed, disabled);
// false for other names.
bool ParseStateLookName(const wchar_t* name, const wchar_t* part, int& state, bool& isImage);

struct TStateLook {
  TDrawInfo images[kLookStateCount];
  DWORD colors[kLookStateCount] = {};  // 0: not set

  // The state's image, else the normal one when the skin gave it, else null.
  TDrawInfo* ImageFor(int state);
  // The state's colour, else the normal one when the skin gave it, else `plain`.
  DWORD ColorFor(int state, DWORD plain) const;
  // Draws the state's image into `rc` of `owner`, or, without one that can be drawn, fills `rc`
  // with its colour (or `plain`; 0 draws nothing). True when an image was drawn.
  bool Paint(HDC hDC, CControlUI& owner, const RECT& rc, int state, DWORD plain);
};

}  // namespace SkinUI
