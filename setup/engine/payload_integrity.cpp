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

struct PieceJob {
  const char* bytes;
  size_t size;
  std::vector<Sha256Digest> digests;
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
};

// Takes the job's pieces one at a time until none is left.
DWORD WINAPI HashPieces(LPVOID parameter) {
  PieceJob& job = *static_cast<PieceJob*>(parameter);
  for (size_t i; (i = job.next++) < job.digests.size();) {
    const size_t start = i * kPayloadDigestPiece;
    Sha256 hash;
    hash.Update(job.bytes + start, std::min(kPayloadDigestPiece, job.size - start));
    if (!hash.Finish(job.digests[i])) job.failed = true;
  }
  return 0;
}

}  // namespace

std::optional<Sha256Digest> PayloadDigestOf(const void* data, size_t size, unsigned threads) {
  PieceJob job;
  job.bytes = static_cast<const char*>(data);
  job.size = size;
  job.digests.resize(size == 0 ? 1 : (size + kPayloadDigestPiece - 1) / kPayloadDigestPiece);
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
  if (!file) return std::nullopt;
  PayloadDigest hash;
  std::vector<char> buffer(1 << 20);
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
      return std::nullopt;
    }
    if (read == 0) break;
    hash.Update(buffer.data(), read);
  }
  Sha256Digest digest;
  if (!hash.Finish(digest)) return std::nullopt;
  return digest;
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
