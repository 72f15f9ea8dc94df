// The module whose resources hold the images that skins name with a resource type (`res` and
// `restype` entries, Image elements with a restype). The paint manager's process-wide part sets
// it; files come from CResourceFiles (resource folder or resource zip). UI thread only.
#pragma once

#include <windows.h>

namespace SkinUI {

class CImageSources {
 public:
  // Null is the program itself.
  static void SetResourceModule(HINSTANCE module);
  static HINSTANCE GetResourceModule();
};

}  // namespace SkinUI
