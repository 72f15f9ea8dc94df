// The SHA-256 compression with the processor's SHA extensions. This file alone is compiled for
// them (SHA, SSE4.1); it is only called after ProcessorHasShaExtensions() answered true.
#include <immintrin.h>

#include "setup/engine/sha256_stream.h"

namespace vesk {

namespace {

alignas(16) constexpr std::uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

}  // namespace

void Sha256BlocksWithShaExtensions(std::uint32_t state[8], const unsigned char* blocks,
                                   std::size_t count) {
  // The instructions keep the working variables as ABEF and CDGH.
  __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
  __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
  __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
  __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
  __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);
  // Message words are big-endian.
  const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);

  for (; count > 0; --count, blocks += 64) {
    const __m128i abefBefore = abef;
    const __m128i cdghBefore = cdgh;
    __m128i words[4];  // the last four groups of four schedule words
    for (int group = 0; group < 16; ++group) {
      __m128i next;
      if (group < 4) {
        next = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * group)), byteSwap);
      } else {
        // W[t] = s1(W[t-2]) + W[t-7] + s0(W[t-15]) + W[t-16], four at a time.
        const __m128i older = words[group & 3];            // group - 4
        const __m128i old = words[(group + 1) & 3];        // group - 3
        const __m128i previous2 = words[(group + 2) & 3];  // group - 2
        const __m128i previous = words[(group + 3) & 3];   // group - 1
        next = _mm_sha256msg1_epu32(older, old);
        next = _mm_add_epi32(next, _mm_alignr_epi8(previous, previous2, 4));
        next = _mm_sha256msg2_epu32(next, previous);
      }
      words[group & 3] = next;
      const __m128i withConstants = _mm_add_epi32(
          next, _mm_load_si128(reinterpret_cast<const __m128i*>(kRoundConstants + 4 * group)));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, withConstants);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(withConstants, 0x0E));
    }
    abef = _mm_add_epi32(abef, abefBefore);
    cdgh = _mm_add_epi32(cdgh, cdghBefore);
  }

  __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  dcba = _mm_blend_epi16(feba, dchg, 0xF0);
  hgfe = _mm_alignr_epi8(dchg, feba, 8);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), dcba);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), hgfe);
}

void Sha256TwoBlocksWithShaExtensions(std::uint32_t firstState[8],
                                      const unsigned char* firstBlocks,
                                      std::uint32_t secondState[8],
                                      const unsigned char* secondBlocks, std::size_t count) {
  // The same steps as above for two messages, interleaved step by step: each round instruction
  // waits for the one before it in its own message, and the other message's fills that wait.
  // The two messages' variables are written out apart (not as arrays) so they stay in registers.
  const __m128i firstCdab =
      _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(firstState)), 0xB1);
  const __m128i firstEfgh =
      _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(firstState + 4)), 0x1B);
  const __m128i secondCdab =
      _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(secondState)), 0xB1);
  const __m128i secondEfgh =
      _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(secondState + 4)), 0x1B);
  __m128i abef1 = _mm_alignr_epi8(firstCdab, firstEfgh, 8);
  __m128i cdgh1 = _mm_blend_epi16(firstEfgh, firstCdab, 0xF0);
  __m128i abef2 = _mm_alignr_epi8(secondCdab, secondEfgh, 8);
  __m128i cdgh2 = _mm_blend_epi16(secondEfgh, secondCdab, 0xF0);
  const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);

  for (; count > 0; --count, firstBlocks += 64, secondBlocks += 64) {
    const __m128i abefBefore1 = abef1;
    const __m128i cdghBefore1 = cdgh1;
    const __m128i abefBefore2 = abef2;
    const __m128i cdghBefore2 = cdgh2;
    __m128i words1[4];
    __m128i words2[4];
    for (int group = 0; group < 16; ++group) {
      __m128i next1;
      __m128i next2;
      if (group < 4) {
        next1 = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(firstBlocks + 16 * group)), byteSwap);
        next2 = _mm_shuffle_epi8(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(secondBlocks + 16 * group)),
            byteSwap);
      } else {
        next1 = _mm_sha256msg1_epu32(words1[group & 3], words1[(group + 1) & 3]);
        next2 = _mm_sha256msg1_epu32(words2[group & 3], words2[(group + 1) & 3]);
        next1 = _mm_add_epi32(
            next1, _mm_alignr_epi8(words1[(group + 3) & 3], words1[(group + 2) & 3], 4));
        next2 = _mm_add_epi32(
            next2, _mm_alignr_epi8(words2[(group + 3) & 3], words2[(group + 2) & 3], 4));
        next1 = _mm_sha256msg2_epu32(next1, words1[(group + 3) & 3]);
        next2 = _mm_sha256msg2_epu32(next2, words2[(group + 3) & 3]);
      }
      words1[group & 3] = next1;
      words2[group & 3] = next2;
      const __m128i constants =
          _mm_load_si128(reinterpret_cast<const __m128i*>(kRoundConstants + 4 * group));
      const __m128i withConstants1 = _mm_add_epi32(next1, constants);
      const __m128i withConstants2 = _mm_add_epi32(next2, constants);
      cdgh1 = _mm_sha256rnds2_epu32(cdgh1, abef1, withConstants1);
      cdgh2 = _mm_sha256rnds2_epu32(cdgh2, abef2, withConstants2);
      abef1 = _mm_sha256rnds2_epu32(abef1, cdgh1, _mm_shuffle_epi32(withConstants1, 0x0E));
      abef2 = _mm_sha256rnds2_epu32(abef2, cdgh2, _mm_shuffle_epi32(withConstants2, 0x0E));
    }
    abef1 = _mm_add_epi32(abef1, abefBefore1);
    cdgh1 = _mm_add_epi32(cdgh1, cdghBefore1);
    abef2 = _mm_add_epi32(abef2, abefBefore2);
    cdgh2 = _mm_add_epi32(cdgh2, cdghBefore2);
  }

  const __m128i feba1 = _mm_shuffle_epi32(abef1, 0x1B);
  const __m128i dchg1 = _mm_shuffle_epi32(cdgh1, 0xB1);
  const __m128i feba2 = _mm_shuffle_epi32(abef2, 0x1B);
  const __m128i dchg2 = _mm_shuffle_epi32(cdgh2, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(firstState), _mm_blend_epi16(feba1, dchg1, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(firstState + 4), _mm_alignr_epi8(dchg1, feba1, 8));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(secondState), _mm_blend_epi16(feba2, dchg2, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(secondState + 4),
                   _mm_alignr_epi8(dchg2, feba2, 8));
}

}  // namespace vesk
