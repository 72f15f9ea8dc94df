// The product carried inside the setup program, and its unpacking into the working folder.
#pragma once

#include <windows.h>

#include "common/seam.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/slim_lock.h"
#include "common/unique_handle.h"
#include "setup/engine/payload_integrity.h"

namespace vesk {

struct PayloadItem {
  int32_t id;
  const wchar_t* fileName;
};

constexpr size_t kPayloadItemCount = 26;
// The item that is the Chromium installer, mini_installer.exe.
constexpr int kInstallerPayloadId = 111;
extern const PayloadItem PayloadTable[kPayloadItemCount];

// Files held open for reading only, sharing reading only: while held, nothing can write,
// replace or delete them (readers, the toolkit, copies and started programs still can).
class HeldFiles {
 public:
  // Holds the file once its whole content has the expected payload digest; false (holding
  // nothing) when it cannot be opened so or its digest differs.
  [[nodiscard]] bool Hold(const std::wstring& path, const Sha256Digest& expected);
  // Whether the file at `path` has the content of a held file with the payload digest `digest`,
  // compared byte for byte (cheaper than hashing it; a held file cannot change); nothing when no
  // such file is held.
  [[nodiscard]] std::optional<bool> MatchesHeld(const std::wstring& path,
                                                const Sha256Digest& digest);
  void ReleaseAll();

 private:
  struct HeldFile {
    UniqueFile file;
    Sha256Digest digest;
  };
  SlimLock m_lock;
  std::vector<HeldFile> m_files;
};

// The extracted payload items, held from extraction until the working folder is removed.
HeldFiles& HeldPayload();

// Writes one item into the folder; true when the whole file was written and matches its digest.
// A mismatch sets `*digestMismatch` (when given).
[[nodiscard]] bool ExtractPayloadItem(HMODULE module, const PayloadItem& item,
                                      const std::wstring& folder, bool* digestMismatch = nullptr,
                                      HeldFiles* holdIn = nullptr);

// Writes the RT_RCDATA resource `id` of the module to `path`, overwriting any file there, and
// checks what was written against the SHA-256 the module records for `id`. A large item of a
// module loaded as a program is read from the module's file rather than from its mapped image. A failed write, or
// data that does not match (or has no recorded digest), removes the file, so a cut-off or altered
// installer is never left to be run; a mismatch also sets `*digestMismatch` (when given). With
// `holdIn` the written file is held there, and a file that changed before it was held counts
// as a mismatch.
[[nodiscard]] bool ExtractResourceToFile(HMODULE module, WORD id, const std::wstring& path,
                                         bool* digestMismatch = nullptr,
                                         HeldFiles* holdIn = nullptr);

// Every row of the table in order, each written item held in HeldPayload(); a failed row does
// not stop the others. False when some item did not match its recorded digest.
[[nodiscard]] bool ExtractPayload(HMODULE module, const std::wstring& folder);

// The write used for extraction; tests replace it to produce a full disk.
extern Seam<decltype(&::WriteFile)> g_payloadWriteFile;

}  // namespace vesk
