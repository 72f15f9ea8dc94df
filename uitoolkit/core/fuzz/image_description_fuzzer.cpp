// Fuzz target: the image description language and the value forms it uses, then the geometry
// drawn from the parsed values. The input is UTF-8 text.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "uitoolkit/core/ui_image_description.h"
#include "uitoolkit/core/ui_nine_slice.h"
#include "uitoolkit/core/ui_platform.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace {

volatile std::size_t g_sink;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace SkinUI;
  const char* bytes = reinterpret_cast<const char*>(data);
  const std::size_t length =
      Platform::MultiByteToWide(Platform::CodePage::Utf8, bytes, size, nullptr, 0);
  std::vector<wchar_t> text(length + 1, L'\0');
  Platform::MultiByteToWide(Platform::CodePage::Utf8, bytes, size, text.data(), length);

  TImageDescription description;
  std::size_t total = ParseImageDescription(text.data(), description) ? 1 : 0;
  total += static_cast<std::size_t>(description.imageName.GetLength() +
                                    description.resourceType.GetLength());
  total += ParseColor(text.data()) + static_cast<std::size_t>(ParseDecimal(text.data()));
  const RECT asRect = ParseRectValue(text.data());
  const SIZE asSize = ParseSizeValue(text.data());
  total += static_cast<std::size_t>(asRect.left) + static_cast<std::size_t>(asSize.cx);

  // Everything a control would draw from the description, on a control of a fuzzed size. The
  // paint rectangle is kept small so that tiling stays cheap.
  const RECT control = {asRect.left % 4096, asRect.top % 4096, asRect.left % 4096 + 300,
                        asRect.top % 4096 + 200};
  const RECT destination = ResolveImageDestination(control, description.destination);
  const RECT source = ResolveImageSource(description.source, 64, 48);
  TNineSliceOptions options;
  options.hole = description.hole;
  options.xTiled = description.xTiled;
  options.yTiled = description.yTiled;
  std::vector<TImagePiece> pieces;
  ComputeNineSlice(destination, source, description.corner, options, control, pieces);
  for (const TImagePiece& piece : pieces) {
    total += static_cast<std::size_t>(piece.destination.right - piece.destination.left);
    total += static_cast<std::size_t>(piece.source.bottom - piece.source.top);
  }
  total += IsDirectCopy(destination, source, description.corner, options) ? 1 : 0;
  g_sink = total;
  return 0;
}
