#include "setup/engine/payload_integrity.h"

#include <bcrypt.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "common/system_libraries.h"
#include "common/unique_handle.h"

namespace vesk {

namespace {

// The hashing service's functions, looked up once; bcrypt.dll is not one of the libraries Windows
// always takes from the system folder.
struct HashingService {
  decltype(&::BCryptOpenAlgorithmProvider) openAlgorithm;
  decltype(&::BCryptCreateHash) createHash;
  decltype(&::BCryptHashData) hashData;
  decltype(&::BCryptFinishHash) finishHash;
  decltype(&::BCryptDestroyHash) destroyHash;
  BCRYPT_ALG_HANDLE sha256 = nullptr;  // open for the life of the process
};

const HashingService& Service() {
  static const HashingService service = [] {
    HashingService found = {
        SystemFunction<decltype(&::BCryptOpenAlgorithmProvider)>(L"bcrypt.dll",
                                                                 "BCryptOpenAlgorithmProvider"),
        SystemFunction<decltype(&::BCryptCreateHash)>(L"bcrypt.dll", "BCryptCreateHash"),
        SystemFunction<decltype(&::BCryptHashData)>(L"bcrypt.dll", "BCryptHashData"),
        SystemFunction<decltype(&::BCryptFinishHash)>(L"bcrypt.dll", "BCryptFinishHash"),
        SystemFunction<decltype(&::BCryptDestroyHash)>(L"bcrypt.dll", "BCryptDestroyHash")};
    if (found.openAlgorithm && found.createHash && found.hashData && found.finishHash &&
        found.destroyHash &&
        found.openAlgorithm(&found.sha256, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) {
      found.sha256 = nullptr;
    }
    return found;
  }();
  return service;
}

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

}  // namespace

Seam<bool (*)()> g_useShaExtensions{&ProcessorHasShaExtensions};

Sha256::Sha256() {
  if (g_useShaExtensions()) {
    m_stream.emplace(&Sha256BlocksWithShaExtensions);
    return;
  }
  const HashingService& service = Service();
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (service.sha256 == nullptr ||
      service.createHash(service.sha256, &hash, nullptr, 0, nullptr, 0, 0) != 0) {
    m_failed = true;
    return;
  }
  m_hash = hash;
}

Sha256::~Sha256() {
  if (m_hash != nullptr) Service().destroyHash(static_cast<BCRYPT_HASH_HANDLE>(m_hash));
}

void Sha256::Update(const void* data, size_t size) {
  if (m_stream) {
    m_stream->Update(data, size);
    return;
  }
  const unsigned char* next = static_cast<const unsigned char*>(data);
  while (!m_failed && size > 0) {
    ULONG piece = size > 0x40000000 ? 0x40000000 : static_cast<ULONG>(size);
    if (Service().hashData(static_cast<BCRYPT_HASH_HANDLE>(m_hash), const_cast<PUCHAR>(next), piece,
                           0) != 0) {
      m_failed = true;
    }
    next += piece;
    size -= piece;
  }
}

bool Sha256::Finish(Sha256Digest& digest) {
  if (m_stream) {
    digest = m_stream->Finish();
    return true;
  }
  if (m_failed) return false;
  m_failed = Service().finishHash(static_cast<BCRYPT_HASH_HANDLE>(m_hash), digest.data(),
                                 static_cast<ULONG>(digest.size()), 0) != 0;
  return !m_failed;
}

void PayloadDigest::Update(const void* data, size_t size) {
  const char* next = static_cast<const char*>(data);
  while (size > 0) {
    if (m_inPiece == kPayloadDigestPiece) {
      Sha256Digest piece;
      if (!m_piece->Finish(piece)) m_failed = true;
      m_outer.Update(piece.data(), piece.size());
      m_piece.emplace();
      m_inPiece = 0;
    }
    const size_t take = std::min(size, kPayloadDigestPiece - m_inPiece);
    m_piece->Update(next, take);
    m_inPiece += take;
    next += take;
    size -= take;
  }
}

bool PayloadDigest::Finish(Sha256Digest& digest) {
  Sha256Digest piece;
  if (!m_piece->Finish(piece)) m_failed = true;
  m_outer.Update(piece.data(), piece.size());
  return m_outer.Finish(digest) && !m_failed;
}

namespace {

// The pieces of one item, taken one at a time by each hashing thread: from memory, or read from
// a file at their offsets.
struct PieceJob {
  const char* bytes = nullptr;
  HANDLE file = nullptr;
  size_t size = 0;
  std::vector<Sha256Digest> digests;
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
};

// Hashes `length` bytes of the job's file from `offset`, read in parts of 1 MiB.
bool HashFileRange(const PieceJob& job, size_t offset, size_t length, Sha256& hash,
                   std::vector<char>& buffer) {
  buffer.resize(std::min<size_t>(length, 1 << 20));
  while (length > 0) {
    const DWORD want = static_cast<DWORD>(std::min(length, buffer.size()));
    OVERLAPPED at = {};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(static_cast<unsigned long long>(offset) >> 32);
    DWORD read = 0;
    if (!ReadFile(job.file, buffer.data(), want, &read, &at) || read != want) return false;
    hash.Update(buffer.data(), read);
    offset += read;
    length -= read;
  }
  return true;
}

// Takes the job's pieces one at a time until none is left.
DWORD WINAPI HashPieces(LPVOID parameter) {
  PieceJob& job = *static_cast<PieceJob*>(parameter);
  std::vector<char> buffer;
  for (size_t i; (i = job.next++) < job.digests.size();) {
    const size_t start = i * kPayloadDigestPiece;
    const size_t length = std::min(kPayloadDigestPiece, job.size - start);
    Sha256 hash;
    if (job.bytes != nullptr) {
      hash.Update(job.bytes + start, length);
    } else if (!HashFileRange(job, start, length, hash, buffer)) {
      job.failed = true;
    }
    if (!hash.Finish(job.digests[i])) job.failed = true;
  }
  return 0;
}

// The payload digest of the job's pieces, hashed on `threads` threads at once (this one among
// them).
std::optional<Sha256Digest> DigestOfPieces(PieceJob& job, unsigned threads) {
  job.digests.resize(job.size == 0 ? 1
                                   : (job.size + kPayloadDigestPiece - 1) / kPayloadDigestPiece);
  std::vector<UniqueKernelHandle> helpers;
  for (unsigned i = 1; i < threads && i < job.digests.size(); ++i) {
    helpers.emplace_back(CreateThread(nullptr, 0, &HashPieces, &job, 0, nullptr));
  }
  HashPieces(&job);  // a helper that could not start leaves its pieces to the others
  for (const UniqueKernelHandle& helper : helpers) {
    if (helper) WaitForSingleObject(helper.get(), INFINITE);
  }
  Sha256 outer;
  for (const Sha256Digest& piece : job.digests) outer.Update(piece.data(), piece.size());
  Sha256Digest digest;
  if (job.failed || !outer.Finish(digest)) return std::nullopt;
  return digest;
}

}  // namespace

std::optional<Sha256Digest> PayloadDigestOf(const void* data, size_t size, unsigned threads) {
  PieceJob job;
  job.bytes = static_cast<const char*>(data);
  job.size = size;
  return DigestOfPieces(job, threads);
}

std::optional<Sha256Digest> RecordedPayloadDigest(HMODULE module, int id) {
  HRSRC resource =
      FindResourceW(module, MAKEINTRESOURCEW(kPayloadDigestIdOffset + id), RT_RCDATA);
  if (resource == nullptr || SizeofResource(module, resource) < 64) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, resource);
  const char* text = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (text == nullptr) return std::nullopt;
  Sha256Digest digest;
  for (size_t i = 0; i < digest.size(); ++i) {
    int high = HexValue(text[2 * i]);
    int low = HexValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    digest[i] = static_cast<unsigned char>(high * 16 + low);
  }
  return digest;
}

std::optional<Sha256Digest> FileDigest(const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  LARGE_INTEGER size = {};
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
  // Both cores hash the pieces of a large file (an installer is checked right before it runs).
  PieceJob job;
  job.file = file.get();
  job.size = static_cast<size_t>(size.QuadPart);
  return DigestOfPieces(job, 2);
}

bool FileMatchesRecordIn(HMODULE module, const std::wstring& path, int id) {
  if (module == nullptr) return false;
  std::optional<Sha256Digest> recorded = RecordedPayloadDigest(module, id);
  std::optional<Sha256Digest> actual = FileDigest(path);
  return recorded && actual && *recorded == *actual;
}

namespace {

bool MatchesRecordOfThisProgram(const std::wstring& path, int id) {
  return FileMatchesRecordIn(GetModuleHandleW(nullptr), path, id);
}

}  // namespace

Seam<PayloadFileCheck> g_payloadFileMatchesRecord{&MatchesRecordOfThisProgram};

}  // namespace vesk
