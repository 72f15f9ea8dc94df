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
extern const PayloadItem PayloadTable[kPayloadItemCount];

// Empties nothing: removes the folder if it is empty, creates it again and marks it hidden,
// logging each step. A folder that still holds files is kept and reused as it is.
void PrepareWorkingFolder(const std::wstring& path);

// Writes one item into the folder; true when the whole file was written.
bool ExtractPayloadItem(HMODULE module, const PayloadItem& item, const std::wstring& folder);

// Writes the RT_RCDATA resource `id` of the module to `path`, overwriting any file there.
// A failed write removes the partial file, so a cut-off installer is never left to be run.
bool ExtractResourceToFile(HMODULE module, WORD id, const std::wstring& path);

// Every row of the table in order; a failed row does not stop the others.
void ExtractPayload(HMODULE module, const std::wstring& folder);

// The write used for extraction; tests replace it to produce a full disk.
extern Seam<decltype(&::WriteFile)> g_payloadWriteFile;

// Copies one payload file from the source folder to the target folder, overwriting.
void CopyPayloadFile(const std::wstring& fileName, const std::wstring& sourceFolder,
                     const std::wstring& targetFolder);

}  // namespace vesk
