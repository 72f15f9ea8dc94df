// A plug-in control library for the plug-in loading test: its factory makes no control.
#include <windows.h>

extern "C" __declspec(dllexport) void* CreateControl(const wchar_t*) { return nullptr; }
