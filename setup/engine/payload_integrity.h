// The SHA-256 of each payload item, recorded at build time in the setup program's resources, and
// the checks that the files about to be used still match it.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace vesk {

using Sha256Digest = std::array<unsigned char, 32>;

// The digest of item `id` is the resource kPayloadDigestIdOffset + id: 64 hex digits.
constexpr int kPayloadDigestIdOffset = 1000;

// A SHA-256 computed piece by piece with the system's hashing service (bcrypt.dll, loaded from
// the system folder). When the service is unavailable, Finish fails.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Update(const void* data, size_t size);
  bool Finish(Sha256Digest& digest);

 private:
  void* hash_ = nullptr;  // BCRYPT_HASH_HANDLE
  bool failed_ = false;
};

// The digest recorded in `module` for item `id`; nothing when none is recorded or it cannot be
// read.
std::optional<Sha256Digest> RecordedPayloadDigest(HMODULE module, int id);

// The digest of the whole file; nothing when it cannot be read.
std::optional<Sha256Digest> FileDigest(const std::wstring& path);

// The module whose recorded digests the installer is checked against right before it is
// started; set once by the setup program's entry. While it is null no check is made.
extern HMODULE g_payloadDigestModule;

// True when no digest module is set, or the file matches the digest recorded for item `id`.
bool PayloadFileMatchesRecord(const std::wstring& path, int id);

}  // namespace vesk
