// Running processes, matched by executable file name only (never by path).
#pragma once

#include <string>

#include "common/product.h"

namespace vesk {

// Terminates every process named exactly "vesk.helm.exe", wherever it was started from, then
// pauses one second so they have left before files are copied. `installFolder` only names the
// application in the log lines.
void killTargetApp(const std::wstring& installFolder);

// True while a process whose executable name equals `exeName` exactly (letter case included)
// exists.
[[nodiscard]] bool IsProcessRunning(const std::wstring& exeName);

// Identifier of the first process whose executable name equals `exeName` ignoring letter case;
// 0 when there is none or the process list cannot be read.
unsigned long FindProcessIgnoringCase(const std::wstring& exeName);

}  // namespace vesk
