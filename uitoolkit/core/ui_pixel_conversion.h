// Conversion of decoded image pixels into the form the renderer draws: premultiplied BGRA.
#pragma once

#include <cstddef>
#include <cstdint>

#include "uitoolkit/core/ui_platform.h"

namespace SkinUI {

// Converts `pixelCount` RGBA pixels (8 bits per channel, as decoded) into premultiplied BGRA in
// `premultiplied`. A pixel with alpha below 255 has each colour channel scaled by alpha / 255
// (truncating); a pixel whose ARGB value equals `mask` becomes all zero. When `straight` is not
// null it receives the same pixels as BGRA before premultiplication (masked pixels zero), for
// later colour adjustment. Returns true when any pixel is not fully opaque or was masked.
bool ConvertRgbaToPremultipliedBgra(const std::uint8_t* rgba, std::size_t pixelCount, DWORD mask,
                                    std::uint8_t* premultiplied, std::uint8_t* straight);

}  // namespace SkinUI
