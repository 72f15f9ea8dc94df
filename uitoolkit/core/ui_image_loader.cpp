// CRenderEngine's image loading: finding the bytes (module resource, resource folder or zip,
// plain path), decoding them with stb_image and converting them into premultiplied bitmaps.
#include <cwchar>
#include <new>
#include <utility>
#include <vector>

#include <stb_image.h>

#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/core/ui_color.h"
#include "uitoolkit/core/ui_image_description.h"
#include "uitoolkit/core/ui_image_sources.h"
#include "uitoolkit/core/ui_pixel_conversion.h"
#include "uitoolkit/core/ui_platform.h"
#include "uitoolkit/core/ui_render_engine.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

// Image files above this size are refused (the decoder counts bytes in int).
const std::uint64_t kMaximumImageFileSize = 0x7FFFFFFF;

bool ReadWholeFile(const wchar_t* path, std::vector<BYTE>& data) {
  Platform::CReadOnlyFile file;
  std::uint64_t size = 0;
  if (!file.Open(path) || !file.GetSize(size) || size == 0 || size > kMaximumImageFileSize) {
    return false;
  }
  data.resize(static_cast<size_t>(size));
  return file.ReadAt(0, data.data(), data.size()) == data.size();
}

// A resource name written as a decimal number stands for that numeric identifier.
bool ParseResourceNumber(const wchar_t* text, WORD& number) {
  if (text == nullptr || *text == L'\0') return false;
  unsigned long value = 0;
  for (const wchar_t* position = text; *position != L'\0'; ++position) {
    if (*position < L'0' || *position > L'9') return false;
    value = value * 10 + static_cast<unsigned long>(*position - L'0');
    if (value > 0xFFFF) return false;
  }
  number = static_cast<WORD>(value);
  return true;
}

bool CopyResource(HMODULE module, const wchar_t* name, const wchar_t* type,
                  std::vector<BYTE>& data) {
  HRSRC resource = ::FindResourceW(module, name, type);
  if (resource == nullptr) return false;
  const DWORD size = ::SizeofResource(module, resource);
  HGLOBAL loaded = ::LoadResource(module, resource);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr || size == 0) return false;
  data.assign(static_cast<const BYTE*>(bytes), static_cast<const BYTE*>(bytes) + size);
  return true;
}

bool ReadModuleResource(STRINGorID bitmap, const wchar_t* type, std::vector<BYTE>& data) {
  HMODULE module = CImageSources::GetResourceModule();
  if (bitmap.IsId()) return CopyResource(module, MAKEINTRESOURCEW(bitmap.GetId()), type, data);
  WORD number = 0;
  if (ParseResourceNumber(bitmap.GetText(), number) &&
      CopyResource(module, MAKEINTRESOURCEW(number), type, data)) {
    return true;
  }
  return CopyResource(module, bitmap.GetText(), type, data);
}

// The resource folder's file, or the resource zip's entry, of that name.
bool ReadFromResourceLocation(const wchar_t* name, std::vector<BYTE>& data) {
  return CResourceFiles::Read(name, static_cast<std::uint32_t>(kMaximumImageFileSize), data) ==
         ResourceReadResult::Ok;
}

TImageInfo* MakeColorImage(const wchar_t* colorText, DWORD mask) {
  const DWORD color = ParseColor(colorText);
  const std::uint8_t rgba[4] = {ColorRed(color), ColorGreen(color), ColorBlue(color),
                                ColorAlpha(color)};
  return CRenderEngine::LoadImageFromPixels(rgba, 1, 1, mask, false);
}

}  // namespace

TImageInfo* CRenderEngine::LoadImage(STRINGorID bitmap, const wchar_t* type, DWORD mask,
                                     bool useHSL) {
  const bool hasType = type != nullptr && *type != L'\0';
  TImageInfo* info = nullptr;
  if (hasType && std::wcscmp(type, kColorImageType) == 0) {
    if (bitmap.IsId()) return nullptr;
    info = MakeColorImage(bitmap.GetText(), mask);
  } else {
    std::vector<BYTE> data;
    if (!ReadImageData(bitmap, type, data)) return nullptr;
    info = LoadImageFromMemory(data.data(), data.size(), mask, useHSL);
  }
  if (info == nullptr) return nullptr;
  info->useHSL = useHSL;
  info->resourceType = hasType ? type : L"";
  return info;
}

bool CRenderEngine::ReadImageData(STRINGorID bitmap, const wchar_t* type,
                                  std::vector<BYTE>& data) {
  if (type != nullptr && *type != L'\0') return ReadModuleResource(bitmap, type, data);
  return !bitmap.IsId() && bitmap.GetText() != nullptr &&
         (ReadFromResourceLocation(bitmap.GetText(), data) ||
          ReadWholeFile(bitmap.GetText(), data));
}

TImageInfo* CRenderEngine::LoadImageFromMemory(const BYTE* data, size_t size, DWORD mask,
                                               bool keepSourceBits) {
  if (data == nullptr || size == 0 || size > kMaximumImageFileSize) return nullptr;
  int width = 0, height = 0, channels = 0;
  stbi_uc* rgba = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 4);
  if (rgba == nullptr) return nullptr;
  TImageInfo* info = LoadImageFromPixels(rgba, width, height, mask, keepSourceBits);
  stbi_image_free(rgba);
  return info;
}

TImageInfo* CRenderEngine::LoadImageFromPixels(const BYTE* rgba, int width, int height,
                                               DWORD mask, bool keepSourceBits) {
  if (rgba == nullptr || width <= 0 || height <= 0) return nullptr;
  BYTE* bits = nullptr;
  vesk::UniqueBitmap bitmap(CreateARGB32Bitmap(nullptr, width, height, &bits));
  if (!bitmap) return nullptr;
  const size_t pixelCount = static_cast<size_t>(width) * static_cast<size_t>(height);
  BYTE* sourceBits = nullptr;
  if (keepSourceBits) {
    sourceBits = new (std::nothrow) BYTE[pixelCount * 4];
    if (sourceBits == nullptr) return nullptr;
  }
  TImageInfo* info = new TImageInfo;
  info->bitmap = bitmap.release();
  info->bits = bits;
  info->sourceBits = sourceBits;
  info->width = width;
  info->height = height;
  info->mask = mask;
  info->useHSL = keepSourceBits;
  info->alpha = ConvertRgbaToPremultipliedBgra(rgba, pixelCount, mask, bits, sourceBits);
  return info;
}

void CRenderEngine::FreeImage(TImageInfo* info, bool deleteSelf) {
  if (info == nullptr) return;
  vesk::UniqueBitmap(std::exchange(info->bitmap, nullptr)).reset();
  info->bits = nullptr;
  delete[] info->sourceBits;
  info->sourceBits = nullptr;
  if (deleteSelf) delete info;
}

void CRenderEngine::AdjustImage(bool useHSL, TImageInfo* info, short hue, short saturation,
                                short lightness) {
  if (info == nullptr || info->sourceBits == nullptr || info->bits == nullptr) return;
  ::GdiFlush();
  const size_t pixelCount = static_cast<size_t>(info->width) * static_cast<size_t>(info->height);
  for (size_t i = 0; i < pixelCount; ++i) {
    const BYTE* in = info->sourceBits + i * 4;
    DWORD color = MakeArgb(in[3], in[2], in[1], in[0]);
    if (useHSL) color = SkinUI::AdjustColor(color, hue, saturation, lightness);
    color = PremultiplyArgb(color);
    BYTE* out = info->bits + i * 4;
    out[0] = ColorBlue(color);
    out[1] = ColorGreen(color);
    out[2] = ColorRed(color);
    out[3] = ColorAlpha(color);
  }
}

}  // namespace SkinUI
