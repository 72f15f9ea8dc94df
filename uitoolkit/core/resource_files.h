// Where the toolkit reads skin files (and other resources named by file) from: the resource
// folder, or a zip archive that replaces it when set. The paint manager's process-wide part sets
// these; CMarkup::LoadFromFile reads through them. Used on the UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

enum class ResourceReadResult {
  Ok,
  OpenFailed,     // "Error opening file"
  Empty,          // "File is empty"
  TooLarge,       // "File too large"
  ReadFailed,     // "Could not read file"
  ZipOpenFailed,  // "Error opening zip file"
  NotInZip,       // "Could not find ziped file"
  UnzipFailed,    // "Could not unzip file"
};

class CZipArchive;

class CResourceFiles {
 public:
  // The folder resource names are relative to; a backslash is appended unless the path is empty
  // or already ends with a backslash or slash.
  static void SetResourcePath(const wchar_t* path);
  static const CUiString& GetResourcePath();

  // A zip file in the resource folder becomes the resource location. With `cached` it is opened
  // now and kept open until CloseResourceZip; otherwise each read opens and closes it.
  static void SetResourceZip(const wchar_t* zipName, bool cached = false);
  // A zip archive held in memory becomes the resource location (kept open). The bytes are not
  // copied: they must stay alive until CloseResourceZip or the next SetResourceZip.
  static void SetResourceZip(const void* data, std::size_t size);
  static bool HasResourceZip();
  static const CUiString& GetResourceZip();
  // The archive kept open, or null.
  static CZipArchive* GetCachedResourceZip();
  // Closes the archive kept open and returns to reading from the resource folder.
  static void CloseResourceZip();

  // Reads the resource `name` whole. A file or entry of 0 bytes is Empty, one above `maxSize`
  // bytes TooLarge. A path that does not fit 260 characters is not opened (OpenFailed /
  // ZipOpenFailed); it is never cut.
  static ResourceReadResult Read(const wchar_t* name, std::uint32_t maxSize,
                                 std::vector<unsigned char>& bytes);
  // The message text for a failed read.
  static const wchar_t* Describe(ResourceReadResult result);
};

}  // namespace SkinUI
