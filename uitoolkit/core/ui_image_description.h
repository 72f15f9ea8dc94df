// The image description language of skins: either a bare image name, or entries key='value'
// separated by exactly one space, e.g. "file='button.png' source='0,0,40,20' corner='4,4,4,4'".
#pragma once

#include "uitoolkit/core/ui_platform.h"
#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

// Resource type that marks a one-pixel image made from a colour ("color" entry).
extern const wchar_t kColorImageType[];

struct TImageDescription {
  CUiString imageName;     // the name the image is cached and looked up under
  CUiString resourceType;  // empty: a file; kColorImageType: a colour; else a resource type
  DWORD mask = 0;          // pixels of exactly this ARGB value become transparent
  bool useHSL = false;     // takes part in the global colour adjustment
  RECT destination = {0, 0, 0, 0};  // relative to the control; all 0 = the whole control
  RECT source = {0, 0, 0, 0};       // part of the image; all 0 = the whole image
  RECT corner = {0, 0, 0, 0};       // widths of the borders that are not stretched
  BYTE fade = 255;                  // constant alpha
  bool hole = false;                // leave out the middle part
  bool xTiled = false;              // repeat the middle part horizontally
  bool yTiled = false;              // repeat the middle part vertically
};

// Parses `description` into `result` (which starts from the defaults, with the whole description
// as image name). Keys are compared exactly; unknown keys and empty values are ignored; parsing
// stops silently at the first malformed entry, keeping the entries before it. Returns false for
// a null or empty description.
bool ParseImageDescription(const wchar_t* description, TImageDescription& result);

}  // namespace SkinUI
