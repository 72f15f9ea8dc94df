// A table of decoded images keyed by name. The table owns its images: replacing, removing or
// destroying frees them. The paint manager keeps one per window and one shared by the process.
#pragma once

#include "uitoolkit/core/ui_containers.h"
#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {

class CImageCache {
 public:
  CImageCache();
  ~CImageCache();
  CImageCache(const CImageCache&) = delete;
  CImageCache& operator=(const CImageCache&) = delete;

  // The image registered under `name`, or null.
  TImageInfo* Find(const wchar_t* name) const;
  // Registers `image` under `name`, freeing an image registered under it before. Returns the
  // image; a null name or image is refused (null, and a given image is freed).
  TImageInfo* Add(const wchar_t* name, TImageInfo* image);
  // Loads the image (CRenderEngine::LoadImage) and registers it; null when it cannot be loaded
  // (an image registered before stays).
  TImageInfo* Load(const wchar_t* name, const wchar_t* type, DWORD mask, bool useHSL);
  // Frees the image registered under `name`; false when there is none.
  bool Remove(const wchar_t* name);
  void RemoveAll();
  int GetCount() const { return m_images.GetSize(); }

  // Recomputes every image that takes part in the global colour adjustment.
  void AdjustImages(short hue, short saturation, short lightness);

  // The lookup behind a manager's GetImageEx: `own`, then `shared` (may be null), else loaded
  // and registered in `own`. A cached image is returned whatever mask or type it was loaded
  // with.
  static TImageInfo* GetImageEx(CImageCache& own, const CImageCache* shared, const wchar_t* name,
                                const wchar_t* type, DWORD mask, bool useHSL);

 private:
  CUiGrowingStringPtrMap m_images;
};

}  // namespace SkinUI
