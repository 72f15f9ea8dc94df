// The interactive road of the setup program: the skinned window and its message loop.
#pragma once

#include <windows.h>

#include <string>

namespace vesk {

int RunSetupWindow(HINSTANCE instance, const std::wstring& workingFolder, bool isUpdate);

}  // namespace vesk
