#include "uitoolkit/core/ui_image_cache.h"

namespace SkinUI {

CImageCache::CImageCache() : m_images(83) {}

CImageCache::~CImageCache() { RemoveAll(); }

TImageInfo* CImageCache::Find(const wchar_t* name) const {
  if (name == nullptr) return nullptr;
  return static_cast<TImageInfo*>(m_images.Find(name));
}

TImageInfo* CImageCache::Add(const wchar_t* name, TImageInfo* image) {
  if (name == nullptr || image == nullptr) {
    CRenderEngine::FreeImage(image);
    return nullptr;
  }
  TImageInfo* old = static_cast<TImageInfo*>(m_images.Set(name, image));
  if (old != image) CRenderEngine::FreeImage(old);
  return image;
}

TImageInfo* CImageCache::Load(const wchar_t* name, const wchar_t* type, DWORD mask,
                              bool useHSL) {
  if (name == nullptr) return nullptr;
  TImageInfo* image = CRenderEngine::LoadImage(name, type, mask, useHSL);
  if (image == nullptr) return nullptr;
  return Add(name, image);
}

bool CImageCache::Remove(const wchar_t* name) {
  TImageInfo* image = Find(name);
  if (image == nullptr) return false;
  m_images.Remove(name);
  CRenderEngine::FreeImage(image);
  return true;
}

void CImageCache::RemoveAll() {
  m_images.ForEach([](const wchar_t*, void* image) {
    CRenderEngine::FreeImage(static_cast<TImageInfo*>(image));
  });
  m_images.RemoveAll();
}

void CImageCache::AdjustImages(short hue, short saturation, short lightness) {
  m_images.ForEach([&](const wchar_t*, void* data) {
    TImageInfo* image = static_cast<TImageInfo*>(data);
    if (image != nullptr && image->useHSL) {
      CRenderEngine::AdjustImage(true, image, hue, saturation, lightness);
    }
  });
}

TImageInfo* CImageCache::GetImageEx(CImageCache& own, const CImageCache* shared,
                                    const wchar_t* name, const wchar_t* type, DWORD mask,
                                    bool useHSL) {
  if (name == nullptr || *name == L'\0') return nullptr;
  TImageInfo* image = own.Find(name);
  if (image == nullptr && shared != nullptr) image = shared->Find(name);
  if (image == nullptr) image = own.Load(name, type, mask, useHSL);
  return image;
}

}  // namespace SkinUI
