#include "uitoolkit/core/resource_files.h"

#include <memory>

#include "uitoolkit/core/ui_platform.h"
#include "uitoolkit/core/zip_archive.h"

namespace SkinUI {
namespace {

struct ResourceState {
  CUiString path;
  CUiString zipName;
  bool zipSet = false;
  std::unique_ptr<CZipArchive> cachedZip;
};

ResourceState& State() {
  static ResourceState state;
  return state;
}

// `folder` + `name`, refused (false) when it would not fit a 260-character path buffer.
bool BuildPath(const CUiString& folder, const wchar_t* name, CUiString& path) {
  path = folder;
  path += name;
  return path.GetLength() < MAX_PATH;
}

ResourceReadResult ReadFromFolder(const wchar_t* name, std::uint32_t maxSize,
                                  std::vector<unsigned char>& bytes) {
  CUiString path;
  if (!BuildPath(State().path, name, path)) return ResourceReadResult::OpenFailed;
  Platform::CReadOnlyFile file;
  std::uint64_t size = 0;
  if (!file.Open(path.GetData())) return ResourceReadResult::OpenFailed;
  if (!file.GetSize(size)) return ResourceReadResult::ReadFailed;
  if (size == 0) return ResourceReadResult::Empty;
  if (size > maxSize) return ResourceReadResult::TooLarge;
  bytes.resize(static_cast<std::size_t>(size));
  if (file.ReadAt(0, bytes.data(), bytes.size()) != bytes.size()) {
    bytes.clear();
    return ResourceReadResult::ReadFailed;
  }
  return ResourceReadResult::Ok;
}

ResourceReadResult ReadFromZip(CZipArchive& archive, const wchar_t* name, std::uint32_t maxSize,
                               std::vector<unsigned char>& bytes) {
  const int index = archive.FindEntry(name);
  if (index < 0) return ResourceReadResult::NotInZip;
  const ZipEntry* entry = archive.GetEntry(index);
  if (entry->size == 0) return ResourceReadResult::Empty;
  if (entry->size > maxSize) return ResourceReadResult::TooLarge;
  bytes.resize(entry->size);
  const ZipResult result = archive.Extract(index, bytes.data(), bytes.size());
  if (result != ZipResult::Ok && result != ZipResult::MoreData) {
    bytes.clear();
    return ResourceReadResult::UnzipFailed;
  }
  return ResourceReadResult::Ok;
}

}  // namespace

void CResourceFiles::SetResourcePath(const wchar_t* path) {
  CUiString& stored = State().path;
  stored = path;
  if (!stored.IsEmpty()) {
    const wchar_t last = stored[stored.GetLength() - 1];
    if (last != L'\\' && last != L'/') stored += L'\\';
  }
}

const CUiString& CResourceFiles::GetResourcePath() { return State().path; }

void CResourceFiles::SetResourceZip(const wchar_t* zipName, bool cached) {
  ResourceState& state = State();
  state.cachedZip.reset();
  state.zipName = zipName;
  state.zipSet = true;
  if (cached) {
    CUiString path;
    std::unique_ptr<CZipArchive> archive(new CZipArchive);
    if (BuildPath(state.path, zipName, path) && archive->OpenFile(path.GetData())) {
      state.cachedZip = std::move(archive);
    }
  }
}

void CResourceFiles::SetResourceZip(const void* data, std::size_t size) {
  ResourceState& state = State();
  state.cachedZip.reset();
  state.zipName = L"";
  state.zipSet = true;
  std::unique_ptr<CZipArchive> archive(new CZipArchive);
  if (archive->OpenMemory(data, size)) state.cachedZip = std::move(archive);
}

bool CResourceFiles::HasResourceZip() { return State().zipSet; }

const CUiString& CResourceFiles::GetResourceZip() { return State().zipName; }

CZipArchive* CResourceFiles::GetCachedResourceZip() { return State().cachedZip.get(); }

void CResourceFiles::CloseResourceZip() {
  ResourceState& state = State();
  state.cachedZip.reset();
  state.zipName.Empty();
  state.zipSet = false;
}

ResourceReadResult CResourceFiles::Read(const wchar_t* name, std::uint32_t maxSize,
                                        std::vector<unsigned char>& bytes) {
  bytes.clear();
  ResourceState& state = State();
  if (name == nullptr) {
    return state.zipSet ? ResourceReadResult::NotInZip : ResourceReadResult::OpenFailed;
  }
  if (!state.zipSet) return ReadFromFolder(name, maxSize, bytes);
  if (state.cachedZip != nullptr) return ReadFromZip(*state.cachedZip, name, maxSize, bytes);
  if (state.zipName.IsEmpty()) return ResourceReadResult::ZipOpenFailed;
  CUiString path;
  CZipArchive archive;
  if (!BuildPath(state.path, state.zipName.GetData(), path) || !archive.OpenFile(path.GetData())) {
    return ResourceReadResult::ZipOpenFailed;
  }
  return ReadFromZip(archive, name, maxSize, bytes);
}

const wchar_t* CResourceFiles::Describe(ResourceReadResult result) {
  switch (result) {
    case ResourceReadResult::Ok: return L"";
    case ResourceReadResult::OpenFailed: return L"Error opening file";
    case ResourceReadResult::Empty: return L"File is empty";
    case ResourceReadResult::TooLarge: return L"File too large";
    case ResourceReadResult::ReadFailed: return L"Could not read file";
    case ResourceReadResult::ZipOpenFailed: return L"Error opening zip file";
    case ResourceReadResult::NotInZip: return L"Could not find ziped file";
    case ResourceReadResult::UnzipFailed: return L"Could not unzip file";
  }
  return L"";
}

}  // namespace SkinUI
