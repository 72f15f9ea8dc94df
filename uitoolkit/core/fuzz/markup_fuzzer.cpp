// Fuzz target: CMarkup::LoadFromMem in each encoding, then a walk over every node and attribute.
// The first byte picks the encoding (0 UTF-8, 1 UTF-16, 2 ANSI) and the whitespace mode; the rest
// is the document.
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <vector>

#include "uitoolkit/core/markup.h"

namespace {

volatile std::size_t g_sink;

void Walk(SkinUI::CMarkup& markup) {
  // Depth-first over the element tree without recursion (documents may nest deeply).
  std::size_t total = 0;
  SkinUI::CMarkupNode node = markup.GetRoot();
  while (node.IsValid()) {
    total += std::wcslen(node.GetName()) + std::wcslen(node.GetValue());
    const int count = node.GetAttributeCount();
    for (int i = -1; i <= count; ++i) {
      total += std::wcslen(node.GetAttributeName(i)) + std::wcslen(node.GetAttributeValue(i));
    }
    if (count > 0) {
      const wchar_t* first = node.GetAttributeName(0);
      total += std::wcslen(node.GetAttributeValue(first));
      wchar_t buffer[8];
      total += node.GetAttributeValue(first, buffer, 8) ? 1 : 0;
    }
    total += node.GetChild(L"Button").IsValid() ? 1 : 0;
    if (node.HasChildren()) {
      node = node.GetChild();
      continue;
    }
    while (node.IsValid() && !node.HasSiblings()) node = node.GetParent();
    if (node.IsValid()) node = node.GetSibling();
  }
  g_sink = total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int encodings[] = {SkinUI::MarkupEncodingUtf8, SkinUI::MarkupEncodingUtf16,
                           SkinUI::MarkupEncodingAnsi};
  const int encoding = encodings[data[0] % 3];
  const bool preserveWhitespace = (data[0] & 0x80) == 0;
  // A private copy: the parser must not depend on, or change, the caller's bytes.
  const std::vector<std::uint8_t> bytes(data + 1, data + size);
  SkinUI::CMarkup markup;
  markup.SetPreserveWhitespace(preserveWhitespace);
  if (markup.LoadFromMem(bytes.data(), static_cast<std::uint32_t>(bytes.size()), encoding)) {
    Walk(markup);
  } else {
    wchar_t message[100];
    wchar_t location[50];
    markup.GetLastErrorMessage(message, 100);
    markup.GetLastErrorLocation(location, 50);
    g_sink = std::wcslen(message) + std::wcslen(location);
  }
  return 0;
}
