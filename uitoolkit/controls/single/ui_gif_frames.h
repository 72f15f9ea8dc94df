// The frames of an animated GIF, decoded with stb_image (each frame composited over the ones
// before it as the file's disposal rules say), with each frame's delay and how often the file
// asks to be played. The file is untrusted input: it is walked with bounds checks before it is
// decoded, and a file whose frames would take too much memory is refused.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

namespace SkinUI {

struct TImageInfo;

// What the block structure of a GIF file tells without decoding it.
struct TGifFileInfo {
  bool valid = false;   // a GIF signature, and the screen descriptor is complete
  int width = 0;        // the logical screen
  int height = 0;
  int frameCount = 0;   // image descriptors found (up to the end of the data)
  // How many times the animation plays: 0 forever; the NETSCAPE2.0 loop count n (n > 0) plays
  // it n + 1 times; without the extension it plays once.
  int playCount = 1;
};
TGifFileInfo ScanGifFile(const BYTE* data, size_t size);

// A frame's delay as it is shown: delays under 20 ms (most often 0, "as fast as possible") show
// for 100 ms, as browsers do.
UINT GifFrameDelay(int delayMs);

// Files whose frames would take more than this decoded, or that have more frames than this, are
// refused (each frame is a bitmap of its own, and GDI objects are a limited resource).
constexpr size_t kMaxGifDecodedBytes = 256u * 1024 * 1024;
constexpr int kMaxGifFrames = 1000;

class CGifFrames {
 public:
  CGifFrames() = default;
  CGifFrames(const CGifFrames&) = delete;
  CGifFrames& operator=(const CGifFrames&) = delete;
  ~CGifFrames() { Free(); }

  // Replaces the frames with those of the file's bytes; false (and no frames) when they are no
  // GIF, cannot be decoded or would be too large.
  bool Decode(const BYTE* data, size_t size);
  void Free();

  int GetCount() const { return static_cast<int>(m_frames.size()); }
  // The frame's image (owned here), or null outside [0, count).
  TImageInfo* GetFrame(int index) const;
  // The frame's delay in ms (GifFrameDelay applied).
  UINT GetDelay(int index) const;
  int GetPlayCount() const { return m_playCount; }

 private:
  std::vector<TImageInfo*> m_frames;
  std::vector<UINT> m_delays;
  int m_playCount = 1;
};

}  // namespace SkinUI
