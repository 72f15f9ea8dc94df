#include "setup/engine/payload.h"

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

// Items are written, and hashed, in pieces of 1 MiB.
constexpr DWORD kPiece = 1 << 20;
// Items above this size are hashed on a thread of their own while they are written.
constexpr DWORD kHashAlongsideFrom = 8 << 20;

struct HashJob {
  Sha256* hash;
  const char* bytes;
  DWORD size;
};

DWORD WINAPI HashInPieces(LPVOID parameter) {
  const HashJob& job = *static_cast<const HashJob*>(parameter);
  for (DWORD done = 0; done < job.size; done += kPiece) {
    job.hash->Update(job.bytes + done, job.size - done < kPiece ? job.size - done : kPiece);
  }
  return 0;
}

}  // namespace

void PrepareWorkingFolder(const std::wstring& path) {
  if (RemoveDirectoryW(path.c_str())) {
    WriteLog(L"dirPath already exists, remove it: " + path);
  } else {
    DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
      WriteLog(L"Failed to remove dirPath: " + path + L", error code: " + std::to_wstring(error));
    }
  }
  if (!CreateDirectoryW(path.c_str(), nullptr)) {
    WriteLog(L"Failed to create dirPath: " + path);
    return;
  }
  WriteLog(L"dirPath created: " + path);
  if (SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN)) {
    WriteLog(L"dirPath set to hidden: " + path);
  } else {
    WriteLog(L"Failed to set dirPath to hidden: " + path);
  }
}

bool ExtractResourceToFile(HMODULE module, WORD id, const std::wstring& path,
                           bool* digestMismatch) {
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
  // item is hashed on a second thread while this one writes, so the item costs the longer of
  // the two rather than their sum.
  Sha256 hash;
  HashJob job{&hash, static_cast<const char*>(data), size};
  UniqueKernelHandle hashing;
  if (size > kHashAlongsideFrom) {
    hashing.reset(CreateThread(nullptr, 0, &HashInPieces, &job, 0, nullptr));
  }
  if (!hashing) HashInPieces(&job);
  const char* next = job.bytes;
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
  Sha256Digest written;
  if (!hash.Finish(written) || !recorded || written != *recorded) {
    WriteLog(L"Payload item does not match its recorded digest: " + path);
    DeleteFileW(path.c_str());
    if (digestMismatch != nullptr) *digestMismatch = true;
    return false;
  }
  WriteLog(L"Resource extracted successfully.");
  return true;
}

bool ExtractPayloadItem(HMODULE module, const PayloadItem& item, const std::wstring& folder,
                        bool* digestMismatch) {
  std::optional<std::wstring> target = JoinPath(folder, item.fileName);
  bool extracted = false;
  if (!target) {
    WriteLog(L"Path too long: " + folder + L"\\" + item.fileName);
  } else {
    extracted =
        ExtractResourceToFile(module, static_cast<WORD>(item.id), *target, digestMismatch);
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
    ExtractPayloadItem(module, item, folder, &digestMismatch);
  }
  return !digestMismatch;
}

void CopyPayloadFile(const std::wstring& fileName, const std::wstring& sourceFolder,
                     const std::wstring& targetFolder) {
  std::optional<std::wstring> source = JoinPath(sourceFolder, fileName);
  std::optional<std::wstring> target = JoinPath(targetFolder, fileName);
  if (source && target && CopyFileW(source->c_str(), target->c_str(), FALSE)) {
    WriteLog(fileName + L" copied successfully.");
  } else {
    if (!source || !target) WriteLog(L"Path too long: " + targetFolder + L"\\" + fileName);
    WriteLog(L"Failed to copy " + fileName + L".");
  }
}

}  // namespace vesk
