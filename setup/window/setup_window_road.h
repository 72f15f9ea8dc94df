// The interactive road of the setup program: the skinned window and its message loop.
#pragma once

#include <windows.h>

#include <string>

namespace vesk {

// Shows the setup window for the extracted payload in `workingFolder` (which also holds the
// skin) and runs the message loop until the window has closed; answers the loop's result.
int RunSetupWindow(HINSTANCE instance, const std::wstring& workingFolder, bool isUpdate);

}  // namespace vesk
