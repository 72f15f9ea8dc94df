// Stand-in for the vesk.helm application: runs until it is closed or terminated and, when a
// display exists, shows a small window saying so. It accepts "--win-auto-start" (started at
// sign-in) and a "veskhelm:" link to open.
#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "common/command_line_arguments.h"
#include "common/log_text.h"
#include "standin/support/file_tools.h"
#include "standin/support/standin_controls.h"

namespace {

constexpr wchar_t kWindowClass[] = L"VeskHelmStandInWindow";

// The text the window shows: that the application runs, how it was started, what it opens.
std::wstring DescribeStart(const wchar_t* commandLine) {
  std::wstring text = L"vesk.helm is running.";
  std::optional<std::vector<std::wstring>> arguments = vesk::SplitCommandLine(commandLine);
  if (!arguments) return text;
  for (size_t i = 1; i < arguments->size(); ++i) {
    const std::wstring& argument = (*arguments)[i];
    if (argument == L"--win-auto-start") {
      text += L"\nStarted at sign-in.";
    } else if (argument.size() >= 9 &&
               CompareStringOrdinal(argument.c_str(), 9, L"veskhelm:", 9, TRUE) == CSTR_EQUAL) {
      text += L"\nOpening " + argument;
    }
  }
  return text;
}

std::wstring g_statusText;

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT area;
      GetClientRect(window, &area);
      InflateRect(&area, -12, -12);
      DrawTextW(dc, g_statusText.c_str(), -1, &area, DT_LEFT | DT_TOP | DT_WORDBREAK);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND CreateStatusWindow(HINSTANCE instance) {
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512) /* IDC_ARROW */);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kWindowClass;
  if (RegisterClassExW(&windowClass) == 0) return nullptr;
  return CreateWindowExW(0, kWindowClass, L"vesk.helm", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                         CW_USEDEFAULT, CW_USEDEFAULT, 380, 160, nullptr, nullptr, instance,
                         nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  const wchar_t* commandLine = GetCommandLineW();
  std::wstring startLog = vesk::standin::ReadControl(vesk::standin::kApplicationLogVariable);
  if (!startLog.empty()) {
    std::string line;
    vesk::AppendLogBytes(line, commandLine);
    line += "\r\n";
    vesk::standin::AppendToFile(startLog, line);
  }
  g_statusText = DescribeStart(commandLine);

  HWND window = CreateStatusWindow(instance);
  if (window == nullptr) {
    // No display: keep running until terminated.
    for (;;) Sleep(INFINITE);
  }
  ShowWindow(window, showCommand);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
