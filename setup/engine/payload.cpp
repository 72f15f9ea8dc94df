#include "setup/engine/payload.h"

#include <algorithm>
#include <mutex>
#include <optional>

#include "common/bounded_path.h"
#include "common/module_path.h"
#include "common/unique_handle.h"
#include "setup/engine/payload_integrity.h"
#include "setup/engine/replacing_files.h"
#include "setup/engine/setup_log.h"

namespace vesk {

const PayloadItem PayloadTable[kPayloadItemCount] = {
#define VESK_PAYLOAD_ITEM(id, name) {id, name},
#include "setup/engine/payload_table.inc"
#undef VESK_PAYLOAD_ITEM
};

Seam<decltype(&::WriteFile)> g_payloadWriteFile{&::WriteFile};

namespace {

// Items are written in pieces of 1 MiB.
constexpr DWORD kPiece = 1 << 20;
// Items above this size are read from the program's file rather than from its mapped image.
constexpr DWORD kReadFromFileAbove = 8 << 20;

// Where the `size` bytes at `data`, inside the image `module` loaded as a program, lie in the
// image's file: nothing for a module loaded as data or bytes outside the sections' file data.
std::optional<unsigned long long> OffsetInImageFile(HMODULE module, const void* data, DWORD size) {
  // A module loaded as data has its handle's low bits set; an image starts at its headers.
  if (module == nullptr || (reinterpret_cast<uintptr_t>(module) & 3) != 0) return std::nullopt;
  const char* base = reinterpret_cast<const char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return std::nullopt;
  const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (headers->Signature != IMAGE_NT_SIGNATURE) return std::nullopt;
  const uintptr_t address = reinterpret_cast<uintptr_t>(data) - reinterpret_cast<uintptr_t>(base);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(headers);
  for (WORD i = 0; i < headers->FileHeader.NumberOfSections; ++i, ++section) {
    const uintptr_t inSection = address - section->VirtualAddress;
    if (address >= section->VirtualAddress && inSection <= section->SizeOfRawData &&
        size <= section->SizeOfRawData - inSection) {
      return section->PointerToRawData + static_cast<unsigned long long>(inSection);
    }
  }
  return std::nullopt;
}

// The module's file, open for reading, when the bytes at `data` can be read from it at
// `*offset`. Under Wine the first touch of each page of a freshly mapped image costs several times
// more than reading the same bytes from the file, and a large item's bytes are touched once only.
UniqueFile OpenImageFileAt(HMODULE module, const void* data, DWORD size,
                           unsigned long long* offset) {
  std::optional<unsigned long long> found = OffsetInImageFile(module, data, size);
  if (!found) return UniqueFile();
  *offset = *found;
  return UniqueFile(CreateFileW(GetModulePath(module).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

}  // namespace

bool HeldFiles::Hold(const std::wstring& path, const Sha256Digest& expected) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  // Whatever happened to the file before this hold shows in its digest; from now on nothing can
  // change it. Both cores hash the pieces of a large file.
  std::optional<Sha256Digest> digest = file ? OpenFileDigest(file.get(), 2) : std::nullopt;
  if (!digest || *digest != expected) return false;
  std::lock_guard<SlimLock> guard(m_lock);
  m_files.push_back({std::move(file), expected});
  return true;
}

std::optional<bool> HeldFiles::MatchesHeld(const std::wstring& path, const Sha256Digest& digest) {
  // Under the lock, so the held file stays open while it is read.
  std::lock_guard<SlimLock> guard(m_lock);
  auto held = std::find_if(m_files.begin(), m_files.end(),
                           [&](const HeldFile& file) { return file.digest == digest; });
  if (held == m_files.end()) return std::nullopt;
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  BY_HANDLE_FILE_INFORMATION one = {}, other = {};
  if (!file || !GetFileInformationByHandle(file.get(), &one) ||
      !GetFileInformationByHandle(held->file.get(), &other)) {
    return false;
  }
  if (one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
      one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow) {
    return true;  // the held file itself
  }
  std::optional<ByteSource> content = WholeFile(file.get());
  std::optional<ByteSource> heldContent = WholeFile(held->file.get());
  return content && heldContent && SameBytes(*content, *heldContent, 2);
}

void HeldFiles::ReleaseAll() {
  std::lock_guard<SlimLock> guard(m_lock);
  m_files.clear();
}

HeldFiles& HeldPayload() {
  static HeldFiles held;
  return held;
}

bool ExtractResourceToFile(HMODULE module, WORD id, const std::wstring& path,
                           bool* digestMismatch, HeldFiles* holdIn) {
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
  if (resource == nullptr) {
    WriteLog(L"Failed to find resource.");
    return false;
  }
  HGLOBAL loaded = LoadResource(module, resource);
  if (loaded == nullptr) {
    WriteLog(L"Failed to load resource.");
    return false;
  }
  const void* data = LockResource(loaded);
  DWORD size = SizeofResource(module, resource);

  UniqueFile file = CreateReplacing(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
  if (!file) {
    WriteLog(L"Failed to open output file.");
    return false;
  }
  // Written in pieces of 1 MiB: one write of a whole 230 MB item from a freshly mapped program is
  // several times slower than copying the file (Wine on Linux), while pieces run at copying speed.
  // Nothing is hashed while writing: the check hashes the file once it is held, which it must
  // read back anyway, so every byte is read once more and hashed once.
  ByteSource source;
  source.bytes = static_cast<const char*>(data);
  source.size = size;
  UniqueFile programFile;
  if (size > kReadFromFileAbove) {
    programFile = OpenImageFileAt(module, data, size, &source.offset);
    if (programFile) {
      source.bytes = nullptr;
      source.file = programFile.get();
    }
  }
  std::vector<char> buffer;
  DWORD error = ERROR_SUCCESS;
  for (size_t position = 0; position < size && error == ERROR_SUCCESS; position += kPiece) {
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(size - position, kPiece));
    const char* bytes = nullptr;
    DWORD written = 0;
    if (!source.Read(position, piece, buffer, &bytes)) {
      error = GetLastError();
    } else if (!g_payloadWriteFile(file.get(), bytes, piece, &written, nullptr)) {
      error = GetLastError();
    } else if (written != piece) {
      error = ERROR_HANDLE_DISK_FULL;
    }
  }
  // Closed here rather than by the owner, because a failing close (data that could not be
  // flushed) fails the item too.
  if (!CloseHandle(file.release()) && error == ERROR_SUCCESS) error = GetLastError();
  if (error != ERROR_SUCCESS) {
    WriteLog(L"Failed to write output file, error code: " + std::to_wstring(error));
    DeleteFileW(path.c_str());
    return false;
  }
  std::optional<Sha256Digest> recorded = RecordedPayloadDigest(module, id);
  HeldFiles checkedOnly;  // released at the end when the caller holds nothing
  if (!recorded || !(holdIn != nullptr ? *holdIn : checkedOnly).Hold(path, *recorded)) {
    WriteLog(L"Payload item does not match its recorded digest: " + path);
    DeleteFileW(path.c_str());
    if (digestMismatch != nullptr) *digestMismatch = true;
    return false;
  }
  WriteLog(L"Resource extracted successfully.");
  return true;
}

bool ExtractPayloadItem(HMODULE module, const PayloadItem& item, const std::wstring& folder,
                        bool* digestMismatch, HeldFiles* holdIn) {
  std::optional<std::wstring> target = JoinPath(folder, item.fileName);
  bool extracted = false;
  if (!target) {
    WriteLog(L"Path too long: " + folder + L"\\" + item.fileName);
  } else {
    extracted =
        ExtractResourceToFile(module, static_cast<WORD>(item.id), *target, digestMismatch, holdIn);
  }
  if (extracted) {
    WriteLog(std::wstring(item.fileName) + L" extracted successfully!");
  } else {
    WriteLog(std::wstring(L"Failed to extract ") + item.fileName);
  }
  return extracted;
}

bool ExtractPayload(HMODULE module, const std::wstring& folder) {
  bool digestMismatch = false;
  for (const PayloadItem& item : PayloadTable) {
    // A failed row is logged and does not stop the others.
    (void)ExtractPayloadItem(module, item, folder, &digestMismatch, &HeldPayload());
  }
  return !digestMismatch;
}

}  // namespace vesk
