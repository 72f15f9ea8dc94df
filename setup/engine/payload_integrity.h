// The SHA-256 of each payload item, recorded at build time in the setup program's resources, and
// the checks that the files about to be used still match it.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "common/seam.h"
#include "setup/engine/sha256_stream.h"

namespace vesk {

// The digest of item `id` is the resource kPayloadDigestIdOffset + id: 64 hex digits.
constexpr int kPayloadDigestIdOffset = 1000;

// Whether payload digests are computed with the processor's SHA extensions (the kit's own code)
// rather than the system's hashing service: by default, when the processor has them, since the
// service does not use them everywhere. Tests force either path.
extern Seam<bool (*)()> g_useShaExtensions;

// A SHA-256 computed piece by piece: with the SHA extensions where g_useShaExtensions says so,
// else with the system's hashing service (bcrypt.dll, loaded from the system folder). When the
// service is unavailable, Finish fails.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Update(const void* data, size_t size);
  // Both hashes given `size` bytes each: compressed together with the SHA extensions, which is
  // almost twice as fast as one after the other.
  static void UpdateBoth(Sha256& first, const void* firstData, Sha256& second,
                         const void* secondData, size_t size);
  [[nodiscard]] bool Finish(Sha256Digest& digest);
  bool UsesShaExtensions() const { return m_stream.has_value(); }

 private:
  std::optional<Sha256Stream> m_stream;  // the SHA extensions' path
  void* m_hash = nullptr;                // BCRYPT_HASH_HANDLE, the service's path
  bool m_failed = false;
};

// A payload item's digest is computed over pieces, so that both cores can hash one item: the
// SHA-256 of the concatenated SHA-256 digests of the item's consecutive pieces of
// kPayloadDigestPiece bytes, in order (the last piece may be shorter; an empty item is one empty
// piece). Every byte is in exactly one piece and the pieces' order is bound by the concatenation.
// setup/payload_digest.py records the same at build time.
constexpr size_t kPayloadDigestPiece = 4 << 20;

// The payload digest of bytes given in order, in any split.
class PayloadDigest {
 public:
  PayloadDigest() { m_piece.emplace(); }
  void Update(const void* data, size_t size);
  [[nodiscard]] bool Finish(Sha256Digest& digest);

 private:
  Sha256 m_outer;
  std::optional<Sha256> m_piece;
  size_t m_inPiece = 0;
  bool m_failed = false;
};

// Bytes to hash, write or compare: in memory, or a range of a file open for reading. A file is
// read at explicit offsets, so several threads can share its handle.
struct ByteSource {
  const char* bytes = nullptr;  // the bytes in memory, when set; else read from `file`
  HANDLE file = nullptr;
  unsigned long long offset = 0;  // where the bytes start in `file`
  size_t size = 0;

  // Points `*at` to the `length` bytes from `position`: in memory, or read into `buffer`. False
  // when the file cannot give them all.
  [[nodiscard]] bool Read(size_t position, size_t length, std::vector<char>& buffer,
                          const char** at) const;
};

// The payload digest of the source's bytes, its pieces hashed on `threads` threads at once (this
// one among them); nothing when a piece could not be read or hashed.
[[nodiscard]] std::optional<Sha256Digest> PayloadDigestOf(const ByteSource& source,
                                                          unsigned threads);

// True when both sources hold the same bytes, compared piece by piece on `threads` threads.
[[nodiscard]] bool SameBytes(const ByteSource& first, const ByteSource& second, unsigned threads);

// The whole content of a file open for reading; nothing when its size cannot be read.
[[nodiscard]] std::optional<ByteSource> WholeFile(HANDLE file);

[[nodiscard]] inline std::optional<Sha256Digest> PayloadDigestOf(const void* data, size_t size,
                                                                 unsigned threads) {
  ByteSource source;
  source.bytes = static_cast<const char*>(data);
  source.size = size;
  return PayloadDigestOf(source, threads);
}

// The digest recorded in `module` for item `id`; nothing when none is recorded or it cannot be
// read.
[[nodiscard]] std::optional<Sha256Digest> RecordedPayloadDigest(HMODULE module, int id);

// The payload digest of the whole file; nothing when it cannot be read.
[[nodiscard]] std::optional<Sha256Digest> FileDigest(const std::wstring& path);
// The same for a file open for reading, its pieces hashed on `threads` threads.
[[nodiscard]] std::optional<Sha256Digest> OpenFileDigest(HANDLE file, unsigned threads);

// True when the file matches the digest that `module` records for item `id`; false when either
// cannot be read, so a missing record never lets a file pass.
[[nodiscard]] bool FileMatchesRecordIn(HMODULE module, const std::wstring& path, int id);

// The check made on payload files right before they are used: against the digests the running
// setup program records. Tests that run stand-in programs with no record replace it.
using PayloadFileCheck = bool (*)(const std::wstring& path, int id);
extern Seam<PayloadFileCheck> g_payloadFileMatchesRecord;

[[nodiscard]] inline bool PayloadFileMatchesRecord(const std::wstring& path, int id) {
  return g_payloadFileMatchesRecord(path, id);
}

}  // namespace vesk
