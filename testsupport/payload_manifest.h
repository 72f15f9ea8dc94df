// What the build embedded in a VeskSetup.exe: each payload item's id, file name and source file.
// The user's include path picks which build's "payload_manifest.inc" (the shipped program's, or a
// benchmark's with a product-sized payload).
#pragma once

#include <string>

#include "testsupport/test_support.h"

namespace vesk::testing {

struct ManifestEntry {
  int id;
  const wchar_t* name;
  const wchar_t* source;
};

inline const ManifestEntry kManifest[] = {
#include "payload_manifest.inc"
};

// The bytes of the setup program `program` with one byte changed inside its embedded item `id`
// (found by the bytes of the item's source file), while its resources still record the item's
// original digest; empty when the item is not found.
inline std::string ProgramWithAlteredItem(const std::wstring& program, int id) {
  std::string bytes = ReadFileBytes(program);
  for (const ManifestEntry& entry : kManifest) {
    if (entry.id != id) continue;
    const std::string data = ReadFileBytes(entry.source);
    const size_t at = data.empty() ? std::string::npos : bytes.find(data);
    if (at == std::string::npos) return std::string();
    bytes[at + data.size() / 2] = static_cast<char>(bytes[at + data.size() / 2] ^ 0x5a);
    return bytes;
  }
  return std::string();
}

}  // namespace vesk::testing
