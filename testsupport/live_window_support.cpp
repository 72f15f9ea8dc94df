#include "testsupport/live_window_support.h"

namespace SkinUI {
namespace testing {

void TestSkinWindow::Notify(TNotifyUI& msg) {
  notifications.push_back(std::wstring(msg.sType.GetData()) + L":" +
                          (msg.pSender != nullptr ? msg.pSender->GetName().GetData() : L""));
  for (const std::wstring& type : valueTypes) {
    if (msg.sType == type.c_str()) {
      values.push_back(type + L" " + std::to_wstring(static_cast<long long>(msg.wParam)) + L" " +
                       std::to_wstring(static_cast<long long>(msg.lParam)));
    }
  }
  WindowImplBase::Notify(msg);
}

HWND TestSkinWindow::CreateShown(int x, int y, int width, int height) {
  HWND window = Create(nullptr, L"VeskTestSkinWindow", WS_POPUP | WS_VISIBLE, 0, x, y, width,
                       height);
  if (window == nullptr) return nullptr;
  ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  ::SetForegroundWindow(window);
  ::SetActiveWindow(window);
  ::UpdateWindow(window);
  PumpFor(50);
  return window;
}

bool PumpUntil(const std::function<bool()>& done, DWORD limitMs) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > limitMs) return done();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!CPaintManagerUI::TranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    }
  }
  return true;
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

void MouseMoveToScreen(POINT screen) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((screen.x * 65535LL + width / 2) / (width - 1));
  input.mi.dy = static_cast<LONG>((screen.y * 65535LL + height / 2) / (height - 1));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  ::SendInput(1, &input, sizeof(input));
  PumpFor(30);
}

void MouseMoveTo(HWND window, POINT client) {
  ::ClientToScreen(window, &client);
  MouseMoveToScreen(client);
}

void MouseButton(bool down) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  ::SendInput(1, &input, sizeof(input));
  PumpFor(30);
}

void MouseWheel(int delta) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_WHEEL;
  input.mi.mouseData = static_cast<DWORD>(delta);
  ::SendInput(1, &input, sizeof(input));
  PumpFor(30);
}

void PostKey(HWND window, WORD key, bool shift) {
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  state[VK_SHIFT] = shift ? 0x80 : 0;
  ::SetKeyboardState(state);
  ::PostMessageW(window, WM_KEYDOWN, key, 1);
  ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
  PumpFor(30);
  state[VK_SHIFT] = 0;
  ::SetKeyboardState(state);
}

EventLog*& CurrentEventLog() {
  static EventLog* log = nullptr;
  return log;
}

void EventLog::Watch(CControlUI* control) {
  CurrentEventLog() = this;
  control->OnEvent += &EventLog::Record;
}

bool EventLog::Record(void* param) {
  const TEventUI* event = static_cast<const TEventUI*>(param);
  EventLog* log = CurrentEventLog();
  if (log != nullptr && event->pSender != nullptr) {
    log->entries.push_back(std::to_wstring(event->Type) + L":" +
                           event->pSender->GetName().GetData());
  }
  return true;
}

std::vector<std::wstring> Collapsed(const std::vector<std::wstring>& entries) {
  std::vector<std::wstring> collapsed;
  for (const std::wstring& entry : entries) {
    if (collapsed.empty() || collapsed.back() != entry) collapsed.push_back(entry);
  }
  return collapsed;
}

void CaptureClient(HWND window, TestCanvas& canvas) {
  POINT origin = {0, 0};
  ::ClientToScreen(window, &origin);
  vesk::ScopedWindowDC screen(nullptr);
  ::BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), screen.get(), origin.x, origin.y,
           SRCCOPY);
}

}  // namespace testing
}  // namespace SkinUI
