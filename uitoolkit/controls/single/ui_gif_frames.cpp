#include "uitoolkit/controls/single/ui_gif_frames.h"

#include <climits>
#include <cstring>

#include <stb_image.h>

#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {
namespace {

// Walks a GIF's blocks, never reading past `size`.
class CGifReader {
 public:
  CGifReader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
  bool AtEnd() const { return m_pos >= m_size; }
  size_t Left() const { return m_size - m_pos; }
  BYTE Next() { return m_data[m_pos++]; }
  const BYTE* Here() const { return m_data + m_pos; }
  // Skips `count` bytes; false when fewer are left.
  bool Skip(size_t count) {
    if (count > Left()) return false;
    m_pos += count;
    return true;
  }
  // Skips a colour table of the size the flags byte gives, when it has one.
  bool SkipColorTable(BYTE flags) {
    return (flags & 0x80) == 0 || Skip(3u * (1u << ((flags & 7) + 1)));
  }
  // Skips data sub-blocks up to and including the empty one.
  bool SkipSubBlocks() {
    while (!AtEnd()) {
      const BYTE length = Next();
      if (length == 0) return true;
      if (!Skip(length)) return false;
    }
    return false;
  }

 private:
  const BYTE* m_data;
  size_t m_size;
  size_t m_pos = 0;
};

// The loop count of an application extension whose label has been read, when it is NETSCAPE2.0's
// (-1 otherwise); the extension's sub-blocks are left to the caller.
int ReadNetscapeLoopCount(const CGifReader& reader) {
  static const char kIdentifier[] = "NETSCAPE2.0";
  const BYTE* block = reader.Here();
  // Block of 11, the identifier, then a sub-block of at least 3: 1, loop count (little endian).
  if (reader.Left() < 16 || block[0] != 11 || std::memcmp(block + 1, kIdentifier, 11) != 0 ||
      block[12] < 3 || block[13] != 1) {
    return -1;
  }
  return block[14] | (block[15] << 8);
}

}  // namespace

TGifFileInfo ScanGifFile(const BYTE* data, size_t size) {
  TGifFileInfo info;
  if (data == nullptr || size < 13 || std::memcmp(data, "GIF8", 4) != 0) return info;
  info.valid = true;
  info.width = data[6] | (data[7] << 8);
  info.height = data[8] | (data[9] << 8);
  CGifReader reader(data, size);
  reader.Skip(13);
  if (!reader.SkipColorTable(data[10])) return info;
  while (!reader.AtEnd()) {
    const BYTE introducer = reader.Next();
    if (introducer == 0x21) {  // extension: label, sub-blocks
      if (reader.AtEnd()) break;
      const BYTE label = reader.Next();
      if (label == 0xFF) {
        const int loops = ReadNetscapeLoopCount(reader);
        if (loops >= 0) info.playCount = loops == 0 ? 0 : loops + 1;
      }
      if (!reader.SkipSubBlocks()) break;
    } else if (introducer == 0x2C) {  // image: descriptor, colour table, code size, data
      if (reader.Left() < 9) break;
      const BYTE flags = reader.Here()[8];
      ++info.frameCount;
      if (!reader.Skip(9) || !reader.SkipColorTable(flags) || !reader.Skip(1) ||
          !reader.SkipSubBlocks()) {
        break;
      }
    } else {  // the trailer, or something that is no block
      break;
    }
  }
  return info;
}

UINT GifFrameDelay(int delayMs) { return delayMs < 20 ? 100u : static_cast<UINT>(delayMs); }

bool CGifFrames::Decode(const BYTE* data, size_t size) {
  Free();
  const TGifFileInfo info = ScanGifFile(data, size);
  if (!info.valid || info.frameCount == 0 || size > INT_MAX) return false;
  const unsigned long long decoded = 4ull * static_cast<unsigned long long>(info.width) *
                                     static_cast<unsigned long long>(info.height) *
                                     static_cast<unsigned long long>(info.frameCount);
  if (decoded > kMaxGifDecodedBytes || info.frameCount > kMaxGifFrames) return false;
  int* delays = nullptr;
  int width = 0, height = 0, count = 0, channels = 0;
  stbi_uc* pixels = stbi_load_gif_from_memory(data, static_cast<int>(size), &delays, &width,
                                              &height, &count, &channels, 4);
  if (pixels == nullptr) return false;
  const size_t frameBytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  for (int index = 0; index < count; ++index) {
    TImageInfo* frame =
        CRenderEngine::LoadImageFromPixels(pixels + frameBytes * index, width, height, 0);
    if (frame == nullptr) break;
    m_frames.push_back(frame);
    m_delays.push_back(GifFrameDelay(delays != nullptr ? delays[index] : 0));
  }
  stbi_image_free(pixels);
  stbi_image_free(delays);
  m_playCount = info.playCount;
  if (m_frames.size() == static_cast<size_t>(count)) return true;
  Free();
  return false;
}

void CGifFrames::Free() {
  for (TImageInfo* frame : m_frames) CRenderEngine::FreeImage(frame);
  m_frames.clear();
  m_delays.clear();
  m_playCount = 1;
}

TImageInfo* CGifFrames::GetFrame(int index) const {
  return index >= 0 && index < GetCount() ? m_frames[static_cast<size_t>(index)] : nullptr;
}

UINT CGifFrames::GetDelay(int index) const {
  return index >= 0 && index < GetCount() ? m_delays[static_cast<size_t>(index)] : 0;
}

}  // namespace SkinUI
