// What the build embedded in VeskSetup.exe: each payload item's id, file name and source file.
#pragma once

namespace vesk::testing {

struct ManifestEntry {
  int id;
  const wchar_t* name;
  const wchar_t* source;
};

inline const ManifestEntry kManifest[] = {
#include "setup/payload_manifest.inc"
};

}  // namespace vesk::testing
