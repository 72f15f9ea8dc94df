#include "setup/engine/sha256_stream.h"

#include <cstring>

#if defined(_MSC_VER)
#include <intrin.h>
#else
#include <cpuid.h>
#endif

namespace vesk {

namespace {

constexpr std::uint32_t kInitialState[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                            0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

// Registers a, b, c, d of CPUID `leaf`, `subleaf`; zeros when the leaf is beyond the maximum.
void ReadCpuid(unsigned leaf, unsigned subleaf, unsigned registers[4]) {
#if defined(_MSC_VER)
  int values[4] = {};
  __cpuid(values, 0);
  if (static_cast<unsigned>(values[0]) < leaf) {
    registers[0] = registers[1] = registers[2] = registers[3] = 0;
    return;
  }
  __cpuidex(values, static_cast<int>(leaf), static_cast<int>(subleaf));
  for (int i = 0; i < 4; ++i) registers[i] = static_cast<unsigned>(values[i]);
#else
  registers[0] = registers[1] = registers[2] = registers[3] = 0;
  if (__get_cpuid_max(0, nullptr) < leaf) return;
  __cpuid_count(leaf, subleaf, registers[0], registers[1], registers[2], registers[3]);
#endif
}

}  // namespace

bool ProcessorHasShaExtensions() {
  static const bool present = [] {
    unsigned features[4];
    ReadCpuid(1, 0, features);
    const bool ssse3 = (features[2] & (1u << 9)) != 0;
    const bool sse41 = (features[2] & (1u << 19)) != 0;
    unsigned extended[4];
    ReadCpuid(7, 0, extended);
    const bool sha = (extended[1] & (1u << 29)) != 0;
    return ssse3 && sse41 && sha;
  }();
  return present;
}

Sha256Stream::Sha256Stream(Sha256BlockFunction blocks) : m_blocks(blocks) {
  std::memcpy(m_state, kInitialState, sizeof(m_state));
}

void Sha256Stream::Update(const void* data, std::size_t size) {
  const unsigned char* next = static_cast<const unsigned char*>(data);
  m_length += size;
  if (m_buffered > 0) {
    std::size_t taken = size < 64 - m_buffered ? size : 64 - m_buffered;
    std::memcpy(m_buffer + m_buffered, next, taken);
    m_buffered += taken;
    next += taken;
    size -= taken;
    if (m_buffered < 64) return;
    m_blocks(m_state, m_buffer, 1);
    m_buffered = 0;
  }
  if (size >= 64) {
    m_blocks(m_state, next, size / 64);
    next += size / 64 * 64;
    size %= 64;
  }
  std::memcpy(m_buffer, next, size);
  m_buffered = size;
}

void Sha256Stream::UpdateBoth(Sha256Stream& first, const void* firstData, Sha256Stream& second,
                              const void* secondData, std::size_t size,
                              Sha256TwoBlockFunction blocks) {
  if (first.m_buffered != 0 || second.m_buffered != 0 || size % 64 != 0) {
    first.Update(firstData, size);
    second.Update(secondData, size);
    return;
  }
  blocks(first.m_state, static_cast<const unsigned char*>(firstData), second.m_state,
         static_cast<const unsigned char*>(secondData), size / 64);
  first.m_length += size;
  second.m_length += size;
}

Sha256Digest Sha256Stream::Finish() {
  // Padding: a one bit, zeros up to 56 bytes into a block, then the length in bits, big-endian.
  const std::uint64_t bits = m_length * 8;
  unsigned char tail[128] = {};
  std::memcpy(tail, m_buffer, m_buffered);
  tail[m_buffered] = 0x80;
  const std::size_t tailSize = m_buffered < 56 ? 64 : 128;
  for (int i = 0; i < 8; ++i) {
    tail[tailSize - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
  }
  m_blocks(m_state, tail, tailSize / 64);
  Sha256Digest digest;
  for (int i = 0; i < 8; ++i) {
    for (int byte = 0; byte < 4; ++byte) {
      digest[4 * i + byte] = static_cast<unsigned char>(m_state[i] >> (24 - 8 * byte));
    }
  }
  return digest;
}

}  // namespace vesk
