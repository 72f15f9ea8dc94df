// Settings a test changes for the programs it starts (child processes see them too), restored
// when the test ends.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "testsupport/test_support.h"

namespace vesk::testing {

// Sets (or, with no value, removes) an environment variable of this process, which the
// programs it starts inherit; the previous state comes back at the end.
class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(std::wstring name, const std::optional<std::wstring>& value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  std::wstring name_;
  std::optional<std::wstring> previous_;
};

// Points the current user's desktop folder (the shell folder every program asks for) at a fresh
// temporary folder, so shortcuts that programs place on the desktop land there; the previous
// desktop comes back at the end. It changes the real user's registry: use it in SERIAL tests.
class ScopedDesktopFolder {
 public:
  ScopedDesktopFolder();
  ~ScopedDesktopFolder();
  ScopedDesktopFolder(const ScopedDesktopFolder&) = delete;
  ScopedDesktopFolder& operator=(const ScopedDesktopFolder&) = delete;

  const std::wstring& path() const { return folder_.path(); }
  std::wstring operator/(const std::wstring& name) const { return folder_ / name; }

 private:
  struct SavedValue {
    std::wstring key;
    RegistryValue value;
  };
  ScopedTempFolder folder_{L"vesk_desktop"};
  std::vector<SavedValue> saved_;
};

}  // namespace vesk::testing
