#include "setup/engine/payload_integrity.h"

#include <bcrypt.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <vector>

#include "common/system_libraries.h"
#include "common/unique_handle.h"
#include "setup/engine/payload.h"

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

void Sha256::UpdateBoth(Sha256& first, const void* firstData, Sha256& second,
                        const void* secondData, size_t size) {
  if (first.m_stream && second.m_stream) {
    Sha256Stream::UpdateBoth(*first.m_stream, firstData, *second.m_stream, secondData, size,
                             &Sha256TwoBlocksWithShaExtensions);
    return;
  }
  first.Update(firstData, size);
  second.Update(secondData, size);
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

// Each thread's own buffers for reading pieces of files.
using PieceBuffers = std::vector<char>[2];
using PieceWorkFunction = std::function<bool(size_t piece, PieceBuffers& buffers)>;

// Pieces taken one at a time by each thread until none is left or one failed.
struct PieceWork {
  size_t count = 0;
  PieceWorkFunction work;
  std::atomic<size_t> next{0};
  std::atomic<bool> failed{false};
};

DWORD WINAPI RunPieces(LPVOID parameter) {
  PieceWork& job = *static_cast<PieceWork*>(parameter);
  PieceBuffers buffers;
  for (size_t i; !job.failed && (i = job.next++) < job.count;) {
    if (!job.work(i, buffers)) job.failed = true;
  }
  return 0;
}

// Runs `work` for the pieces 0 to count - 1 on `threads` threads at once (this one among them);
// false when it failed for a piece.
bool OnPieces(size_t count, unsigned threads, PieceWorkFunction work) {
  PieceWork job;
  job.count = count;
  job.work = std::move(work);
  std::vector<UniqueKernelHandle> helpers;
  for (unsigned i = 1; i < threads && i < count; ++i) {
    helpers.emplace_back(CreateThread(nullptr, 0, &RunPieces, &job, 0, nullptr));
  }
  RunPieces(&job);  // a helper that could not start leaves its pieces to the others
  for (const UniqueKernelHandle& helper : helpers) {
    if (helper) WaitForSingleObject(helper.get(), INFINITE);
  }
  return !job.failed;
}

size_t PieceCount(size_t size) {
  return size == 0 ? 1 : (size + kPayloadDigestPiece - 1) / kPayloadDigestPiece;
}

// A file's piece is read in parts of 1 MiB; memory is taken whole.
size_t PartSize(const ByteSource& source) {
  return source.bytes != nullptr ? kPayloadDigestPiece : 1 << 20;
}

}  // namespace

bool ByteSource::Read(size_t position, size_t length, std::vector<char>& buffer,
                      const char** at) const {
  if (bytes != nullptr) {
    *at = bytes + position;
    return true;
  }
  if (buffer.size() < length) buffer.resize(length);
  for (size_t done = 0; done < length;) {
    const unsigned long long from = offset + position + done;
    OVERLAPPED where = {};
    where.Offset = static_cast<DWORD>(from);
    where.OffsetHigh = static_cast<DWORD>(from >> 32);
    const DWORD want = static_cast<DWORD>(std::min<size_t>(length - done, 1u << 30));
    DWORD read = 0;
    if (!ReadFile(file, buffer.data() + done, want, &read, &where)) return false;
    if (read == 0) {
      SetLastError(ERROR_HANDLE_EOF);
      return false;
    }
    done += read;
  }
  *at = buffer.data();
  return true;
}

std::optional<Sha256Digest> PayloadDigestOf(const ByteSource& source, unsigned threads) {
  std::vector<Sha256Digest> digests(PieceCount(source.size));
  const size_t part = PartSize(source);
  // Each thread takes two consecutive pieces at a time and hashes them together.
  const bool hashed = OnPieces((digests.size() + 1) / 2, threads, [&](size_t pair,
                                                                      PieceBuffers& buffers) {
    const size_t first = 2 * pair;
    const size_t firstStart = first * kPayloadDigestPiece;
    const size_t firstSize = std::min(kPayloadDigestPiece, source.size - firstStart);
    const bool second = first + 1 < digests.size();
    const size_t secondStart = firstStart + kPayloadDigestPiece;
    const size_t secondSize =
        second ? std::min(kPayloadDigestPiece, source.size - secondStart) : 0;
    Sha256 hashes[2];
    for (size_t at = 0; at < firstSize; at += part) {
      const size_t length = std::min(part, firstSize - at);
      const size_t secondLength = at < secondSize ? std::min(part, secondSize - at) : 0;
      const char* firstBytes = nullptr;
      const char* secondBytes = nullptr;
      if (!source.Read(firstStart + at, length, buffers[0], &firstBytes) ||
          (secondLength > 0 &&
           !source.Read(secondStart + at, secondLength, buffers[1], &secondBytes))) {
        return false;
      }
      if (secondLength == length) {
        Sha256::UpdateBoth(hashes[0], firstBytes, hashes[1], secondBytes, length);
      } else {
        hashes[0].Update(firstBytes, length);
        if (secondLength > 0) hashes[1].Update(secondBytes, secondLength);
      }
    }
    return hashes[0].Finish(digests[first]) && (!second || hashes[1].Finish(digests[first + 1]));
  });
  Sha256 outer;
  for (const Sha256Digest& piece : digests) outer.Update(piece.data(), piece.size());
  Sha256Digest digest;
  if (!hashed || !outer.Finish(digest)) return std::nullopt;
  return digest;
}

bool SameBytes(const ByteSource& first, const ByteSource& second, unsigned threads) {
  if (first.size != second.size) return false;
  const size_t part = std::min(PartSize(first), PartSize(second));
  return OnPieces(PieceCount(first.size), threads, [&](size_t i, PieceBuffers& buffers) {
    const size_t end = std::min((i + 1) * kPayloadDigestPiece, first.size);
    for (size_t at = i * kPayloadDigestPiece; at < end; at += part) {
      const size_t length = std::min(part, end - at);
      const char* firstBytes = nullptr;
      const char* secondBytes = nullptr;
      if (!first.Read(at, length, buffers[0], &firstBytes) ||
          !second.Read(at, length, buffers[1], &secondBytes) ||
          std::memcmp(firstBytes, secondBytes, length) != 0) {
        return false;
      }
    }
    return true;
  });
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
  // Both cores hash the pieces of a large file (an installer is checked right before it runs).
  return file ? OpenFileDigest(file.get(), 2) : std::nullopt;
}

std::optional<ByteSource> WholeFile(HANDLE file) {
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) return std::nullopt;
  ByteSource source;
  source.file = file;
  source.size = static_cast<size_t>(size.QuadPart);
  return source;
}

std::optional<Sha256Digest> OpenFileDigest(HANDLE file, unsigned threads) {
  std::optional<ByteSource> source = WholeFile(file);
  return source ? PayloadDigestOf(*source, threads) : std::nullopt;
}

bool FileMatchesRecordIn(HMODULE module, const std::wstring& path, int id) {
  if (module == nullptr) return false;
  std::optional<Sha256Digest> recorded = RecordedPayloadDigest(module, id);
  std::optional<Sha256Digest> actual = FileDigest(path);
  return recorded && actual && *recorded == *actual;
}

namespace {

bool MatchesRecordOfThisProgram(const std::wstring& path, int id) {
  std::optional<Sha256Digest> recorded = RecordedPayloadDigest(GetModuleHandleW(nullptr), id);
  if (!recorded) return false;
  // A copy of an extracted item (held from its extraction on) is compared with that item.
  if (std::optional<bool> same = HeldPayload().MatchesHeld(path, *recorded)) return *same;
  std::optional<Sha256Digest> actual = FileDigest(path);
  return actual && *actual == *recorded;
}

}  // namespace

Seam<PayloadFileCheck> g_payloadFileMatchesRecord{&MatchesRecordOfThisProgram};

}  // namespace vesk
