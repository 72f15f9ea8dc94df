// The setup program's start-up: command line, working folder, payload, then one install road.
#pragma once

#include <windows.h>

#include <string>

namespace vesk {

// Runs the window road after the preparation; answers 106 when the install stopped at a payload
// digest mismatch, else 0 (the road's exit code).
using WindowRoad = int (*)(HINSTANCE instance, const std::wstring& workingFolder, bool isUpdate);

// The whole program: `commandLineText` is what the system passed to the entry point (the part
// after the program name). Returns the process exit code.
[[nodiscard]] int RunSetup(HINSTANCE instance, const wchar_t* commandLineText, WindowRoad windowRoad);

}  // namespace vesk
