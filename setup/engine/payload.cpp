#include "setup/engine/payload.h"

#include <cstring>
#include <optional>

#include "common/bounded_path.h"
#include "common/unique_handle.h"
#include "setup/engine/payload_integrity.h"
#include "setup/engine/setup_log.h"

namespace vesk {

const PayloadItem PayloadTable[kPayloadItemCount] = {
#define VESK_PAYLOAD_ITEM(id, name) {id, name},
#include "setup/engine/payload_table.inc"
#undef VESK_PAYLOAD_ITEM
};

Seam<decltype(&::WriteFile)> g_payloadWriteFile{&::WriteFile};

namespace {

// Items are written, and read back, in pieces of 1 MiB.
constexpr DWORD kPiece = 1 << 20;
// Items above this size are hashed on two threads of their own while this one writes them.
constexpr DWORD kHashAlongsideFrom = 8 << 20;

struct DigestJob {
  const void* bytes;
  DWORD size;
  std::optional<Sha256Digest> digest;
};

DWORD WINAPI DigestOnTwoThreads(LPVOID parameter) {
  DigestJob& job = *static_cast<DigestJob*>(parameter);
  job.digest = PayloadDigestOf(job.bytes, job.size, 2);
  return 0;
}

}  // namespace

bool HeldFiles::Hold(const std::wstring& path, const void* expected, DWORD size) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  // Whatever happened between the write and this hold shows here; from now on nothing can.
  // A smaller item is read into a buffer of its own size (one byte at least, so that a longer
  // file shows): a fresh 1 MiB buffer cost about 7 ms under Wine, whose pages are new to the
  // process each time, more than writing and checking a small item together.
  std::vector<char> piece(size == 0 ? 1 : (size < kPiece ? size : kPiece));
  const DWORD pieceSize = static_cast<DWORD>(piece.size());
  const char* next = static_cast<const char*>(expected);
  for (DWORD left = size;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), piece.data(), pieceSize, &read, nullptr) || read > left) {
      return false;
    }
    if (read == 0) {
      if (left != 0) return false;
      break;
    }
    if (std::memcmp(piece.data(), next, read) != 0) return false;
    next += read;
    left -= read;
  }
  std::lock_guard<SlimLock> guard(m_lock);
  m_files.push_back(std::move(file));
  return true;
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

  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    WriteLog(L"Failed to open output file.");
    return false;
  }
  // Straight from the mapped resource to the file, no copy in memory, in pieces of 1 MiB: one
  // write of a whole 230 MB item from a freshly mapped program is several times slower than
  // copying the file (Wine on Linux), while pieces run at copying speed.
  // The data is in memory already, so the check hashes it there, with no second read; a large
  // item is hashed on two more threads while this one writes, so the item costs about the
  // longer of the two rather than their sum.
  DigestJob job{data, size, std::nullopt};
  UniqueKernelHandle hashing;
  if (size > kHashAlongsideFrom) {
    hashing.reset(CreateThread(nullptr, 0, &DigestOnTwoThreads, &job, 0, nullptr));
  }
  if (!hashing) job.digest = PayloadDigestOf(data, size, 1);
  const char* next = static_cast<const char*>(data);
  DWORD left = size;
  DWORD error = ERROR_SUCCESS;
  while (left > 0 && error == ERROR_SUCCESS) {
    const DWORD piece = left < kPiece ? left : kPiece;
    DWORD written = 0;
    if (!g_payloadWriteFile(file.get(), next, piece, &written, nullptr)) {
      error = GetLastError();
    } else if (written != piece) {
      error = ERROR_HANDLE_DISK_FULL;
    }
    next += piece;
    left -= piece;
  }
  if (hashing) WaitForSingleObject(hashing.get(), INFINITE);
  // Closed here rather than by the owner, because a failing close (data that could not be
  // flushed) fails the item too.
  if (!CloseHandle(file.release()) && error == ERROR_SUCCESS) error = GetLastError();
  if (error != ERROR_SUCCESS) {
    WriteLog(L"Failed to write output file, error code: " + std::to_wstring(error));
    DeleteFileW(path.c_str());
    return false;
  }
  std::optional<Sha256Digest> recorded = RecordedPayloadDigest(module, id);
  if (!job.digest || !recorded || *job.digest != *recorded ||
      (holdIn != nullptr && !holdIn->Hold(path, data, size))) {
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
