// What the build embedded in a VeskSetup.exe: each payload item's id, file name and source file.
// The user's include path picks which build's "payload_manifest.inc" (the shipped program's, or a
// benchmark's with a product-sized payload).
#pragma once

namespace vesk::testing {

struct ManifestEntry {
  int id;
  const wchar_t* name;
  const wchar_t* source;
};

inline const ManifestEntry kManifest[] = {
#include "payload_manifest.inc"
};

}  // namespace vesk::testing
