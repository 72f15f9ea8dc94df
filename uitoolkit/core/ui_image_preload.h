// Images decoded ahead of their first use on a worker thread, so that a large image (a window's
// background) is decoded on the otherwise idle core while the window is being built. The file
// is read on the caller's thread; only the decoding, which touches no shared state, runs on the
// worker. Starting and taking happen on the thread that owns the image tables.
#pragma once

#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {

class CImagePreloads {
 public:
  // Reads the image `name` as LoadImage without a type finds it and starts decoding it; false
  // when it cannot be read, is being decoded already, or no worker can be started.
  static bool Start(const wchar_t* name);
  // The image decoded for `name`, waited for, or null when none was started (or it could not
  // be decoded); the caller owns it and the preload is forgotten.
  [[nodiscard]] static TImageInfo* Take(const wchar_t* name);
};

}  // namespace SkinUI
