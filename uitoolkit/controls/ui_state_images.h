// The images a control draws for its states, set by the skin attributes "normalimage",
// "hotimage", "pushedimage", "focusedimage" and "disabledimage".
#pragma once

#include <windows.h>

#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {

struct TStateImagesUI {
  TDrawInfo normal;
  TDrawInfo hot;
  TDrawInfo pushed;
  TDrawInfo focused;
  TDrawInfo disabled;

  // The image the attribute `name` sets, or null when `name` is none of the five.
  TDrawInfo* ForAttribute(const wchar_t* name);
  // The image for the state bits `state` (UISTATE_…): the first set one of disabled (then
  // normal) when disabled; else of pushed, hot and focused as the bits say, then normal. Null
  // when none of them is set.
  TDrawInfo* ForState(UINT state);
};

}  // namespace SkinUI
