// The setup program's start-up: command line, working folder, payload, then one install road.
#pragma once

#include <windows.h>

#include <string>

namespace vesk {

// Runs the window road after the preparation; its result is not used (the road exits with 0).
using WindowRoad = int (*)(HINSTANCE instance, const std::wstring& workingFolder, bool isUpdate);

// The whole program: `commandLineText` is what the system passed to the entry point (the part
// after the program name). Returns the process exit code.
int RunSetup(HINSTANCE instance, const wchar_t* commandLineText, WindowRoad windowRoad);

// "<folder of the setup program>\.VeskSetupTemp", or empty when it does not fit a path buffer.
std::wstring GetWorkingFolder();

}  // namespace vesk
