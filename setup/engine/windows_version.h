#pragma once

namespace vesk {

// The running Windows' major version as the kernel reports it (10 on Windows 10 and 11), or -1.
[[nodiscard]] int GetWindowsMajorVersion();

}  // namespace vesk
