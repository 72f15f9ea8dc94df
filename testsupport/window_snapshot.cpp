// window_snapshot.exe <window class> <output.png> [wait ms]
//   Waits (default 10 s) for a visible top-level window of the class, lets it paint, and saves the
//   window's pixels as they are on the screen as a PNG. Exit code 0 when saved, 1 when no such
//   window showed, 2 when the picture could not be taken or written.
// window_snapshot.exe --click <window class> <x> <y> <width> <height> [wait ms]
//   Waits the same way, then clicks the left mouse button with real input (SendInput) at the
//   point (x, y) of a client area laid out as width x height, mapped onto the window's actual
//   client area, so a window scaled for its DPI is hit at the same control. Exit code 0 when
//   clicked, 1 when no such window showed, 2 when the input was not taken.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "testsupport/png_writer.h"

namespace {

HWND WaitForWindow(const wchar_t* className, DWORD waitMs) {
  const ULONGLONG end = GetTickCount64() + waitMs;
  for (;;) {
    HWND window = FindWindowW(className, nullptr);
    if (window != nullptr && IsWindowVisible(window)) return window;
    if (GetTickCount64() >= end) return nullptr;
    Sleep(50);
  }
}

// The screen's pixels under the window as a PNG file's bytes; empty when they cannot be read.
std::string CaptureScreenRectAsPng(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  vesk::ScopedWindowDC screen(nullptr);
  return vesk::testing::DrawIntoPng(screen.get(), width, height, [&](HDC memory) {
    return BitBlt(memory, 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY) !=
           FALSE;
  });
}

// One absolute mouse event at a screen point (normalised to 0..65535 over the primary screen).
INPUT MouseInput(POINT screen, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return input;
}

// argv: "--click", class, x, y, width, height [, wait ms].
int Click(int argc, wchar_t** argv) {
  const long x = wcstol(argv[2], nullptr, 10);
  const long y = wcstol(argv[3], nullptr, 10);
  const long width = wcstol(argv[4], nullptr, 10);
  const long height = wcstol(argv[5], nullptr, 10);
  if (width <= 0 || height <= 0) return 2;
  HWND window = WaitForWindow(argv[1], argc > 6 ? wcstoul(argv[6], nullptr, 10) : 10000);
  if (window == nullptr) return 1;
  Sleep(500);  // the first paint
  SetForegroundWindow(window);
  RECT client = {};
  GetClientRect(window, &client);
  POINT point = {MulDiv(x, client.right, width), MulDiv(y, client.bottom, height)};
  ClientToScreen(window, &point);
  INPUT inputs[] = {MouseInput(point, MOUSEEVENTF_MOVE), MouseInput(point, MOUSEEVENTF_LEFTDOWN),
                    MouseInput(point, MOUSEEVENTF_LEFTUP)};
  // The button reacts to the press and release only after it has seen the pointer arrive.
  if (SendInput(1, &inputs[0], sizeof(INPUT)) != 1) return 2;
  Sleep(200);
  return SendInput(2, &inputs[1], sizeof(INPUT)) == 2 ? 0 : 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 7 && wcscmp(argv[1], L"--click") == 0) return Click(argc - 1, argv + 1);
  if (argc < 3) {
    fwprintf(stderr, L"usage: window_snapshot <window class> <output.png> [wait ms]\n"
                     L"       window_snapshot --click <window class> <x> <y> <width> <height> "
                     L"[wait ms]\n");
    return 2;
  }
  const DWORD waitMs = argc > 3 ? wcstoul(argv[3], nullptr, 10) : 10000;
  HWND window = WaitForWindow(argv[1], waitMs);
  if (window == nullptr) return 1;
  Sleep(500);  // the first paint
  RECT rect = {};
  GetWindowRect(window, &rect);
  const std::string png = CaptureScreenRectAsPng(rect);
  if (png.empty()) return 2;
  vesk::UniqueFile file(CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!file || !WriteFile(file.get(), png.data(), static_cast<DWORD>(png.size()), &written,
                          nullptr) || written != png.size()) {
    return 2;
  }
  return 0;
}
