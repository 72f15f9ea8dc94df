// Fuzz target: CZipArchive over an archive in memory: open, look up every entry by its own name,
// and extract each one whole and into a short buffer.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "uitoolkit/core/zip_archive.h"

namespace {
volatile std::size_t g_sink;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SkinUI::CZipArchive archive;
  if (!archive.OpenMemory(data, size)) return 0;
  std::size_t total = 0;
  const int count = archive.GetEntryCount();
  for (int i = 0; i < count && i < 64; ++i) {
    const SkinUI::ZipEntry* entry = archive.GetEntry(i);
    total += static_cast<std::size_t>(archive.FindEntry(entry->name.GetData()) + 1);
    // Whole extraction only for entries that claim a modest size (the loader refuses > 4 MiB).
    if (entry->size <= (1u << 20)) {
      std::vector<unsigned char> whole(entry->size);
      total += static_cast<std::size_t>(archive.Extract(i, whole.data(), whole.size()));
    }
    unsigned char small[7];
    total += static_cast<std::size_t>(archive.Extract(i, small, sizeof(small)));
  }
  total += static_cast<std::size_t>(archive.FindEntry(L"main.xml") + 1);
  g_sink = total;
  return 0;
}
