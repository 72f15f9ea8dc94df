// SHA-256 computed by the kit's own code: a stream that buffers input into 64-byte blocks and pads
// the last one, over a block function that runs the compression. Payload digests use it with the
// processor's SHA extensions, which the system's hashing service does not always use.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vesk {

using Sha256Digest = std::array<unsigned char, 32>;

// Runs the compression over `count` consecutive 64-byte blocks, updating `state`.
using Sha256BlockFunction = void (*)(std::uint32_t state[8], const unsigned char* blocks,
                                     std::size_t count);

// The compression with the SHA extensions (SHA, SSE4.1). Only for a processor that has them.
void Sha256BlocksWithShaExtensions(std::uint32_t state[8], const unsigned char* blocks,
                                   std::size_t count);

// The same over `count` blocks of two messages at once, each with its own state. A round
// instruction takes longer to finish than to start on many processors, so two independent
// messages are compressed almost as fast as one. Only for a processor that has them.
void Sha256TwoBlocksWithShaExtensions(std::uint32_t firstState[8],
                                      const unsigned char* firstBlocks,
                                      std::uint32_t secondState[8],
                                      const unsigned char* secondBlocks, std::size_t count);
using Sha256TwoBlockFunction = decltype(&Sha256TwoBlocksWithShaExtensions);

// True when the processor reports the SHA extensions and the SSE levels their code needs.
bool ProcessorHasShaExtensions();

class Sha256Stream {
 public:
  explicit Sha256Stream(Sha256BlockFunction blocks);

  void Update(const void* data, std::size_t size);
  // Both streams given `size` bytes each, compressed together by `blocks` where both hold no
  // partial block and `size` is whole blocks (otherwise one after the other).
  static void UpdateBoth(Sha256Stream& first, const void* firstData, Sha256Stream& second,
                         const void* secondData, std::size_t size, Sha256TwoBlockFunction blocks);
  // The digest of everything given; the stream is spent afterwards.
  Sha256Digest Finish();

 private:
  Sha256BlockFunction m_blocks;
  std::uint32_t m_state[8];
  unsigned char m_buffer[64];
  std::size_t m_buffered = 0;
  std::uint64_t m_length = 0;  // bytes given so far
};

}  // namespace vesk
