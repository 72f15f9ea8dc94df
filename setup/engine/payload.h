// The product carried inside the setup program, and its unpacking into the working folder.
#pragma once

#include <windows.h>

#include "common/seam.h"

#include <cstdint>
#include <string>

namespace vesk {

struct PayloadItem {
  int32_t id;
  const wchar_t* fileName;
};

constexpr size_t kPayloadItemCount = 26;
// The item that is the Chromium installer, mini_installer.exe.
constexpr int kInstallerPayloadId = 111;
extern const PayloadItem PayloadTable[kPayloadItemCount];

// Empties nothing: removes the folder if it is empty, creates it again and marks it hidden,
// logging each step. A folder that still holds files is kept and reused as it is.
void PrepareWorkingFolder(const std::wstring& path);

// Writes one item into the folder; true when the whole file was written and matches its digest.
// A mismatch sets `*digestMismatch` (when given).
bool ExtractPayloadItem(HMODULE module, const PayloadItem& item, const std::wstring& folder,
                        bool* digestMismatch = nullptr);

// Writes the RT_RCDATA resource `id` of the module to `path`, overwriting any file there, and
// checks what was written against the SHA-256 the module records for `id`. A failed write, or
// data that does not match (or has no recorded digest), removes the file, so a cut-off or altered
// installer is never left to be run; a mismatch also sets `*digestMismatch` (when given).
bool ExtractResourceToFile(HMODULE module, WORD id, const std::wstring& path,
                           bool* digestMismatch = nullptr);

// Every row of the table in order; a failed row does not stop the others. False when some item
// did not match its recorded digest.
bool ExtractPayload(HMODULE module, const std::wstring& folder);

// The write used for extraction; tests replace it to produce a full disk.
extern Seam<decltype(&::WriteFile)> g_payloadWriteFile;

// Copies one payload file from the source folder to the target folder, overwriting.
void CopyPayloadFile(const std::wstring& fileName, const std::wstring& sourceFolder,
                     const std::wstring& targetFolder);

}  // namespace vesk
