// CPaintManagerUI's control timers: each control timer runs on a native timer of the window with
// an id of its own, and WM_TIMER becomes the control's timer event.
#include "uitoolkit/window/ui_paint_manager.h"

#include <algorithm>

namespace SkinUI {
namespace {

constexpr UINT_PTR kLayeredTimerId = 0x2000;
// Native ids cycle modulo 255: the counter starts at 0x1000, so a window's first timer gets
// (0x1000 + 1) % 255 = 17, then 18 ... 254, 1, 2 ... Id 0 is left out: SetTimer answers the id
// of a window timer, so 0 could not be told from a refusal.
constexpr UINT kTimerIdModulus = 255;

}  // namespace

UINT CPaintManagerUI::NextTimerId() const {
  // The next id of the cycle that no record of this window holds: handing out an id still in
  // use would replace that timer's native timer and starve its control.
  UINT candidate = m_uTimerID;
  for (UINT tries = 0; tries < kTimerIdModulus; ++tries) {
    candidate = (candidate + 1) % kTimerIdModulus;
    if (candidate == 0) candidate = 1;
    const bool used = std::any_of(m_aTimers.begin(), m_aTimers.end(), [&](const TTimerInfo& t) {
      return t.hWnd == m_hWndPaint && t.uWinTimer == candidate;
    });
    if (!used) return candidate;
  }
  return kTimerIdModulus;  // every id of the cycle is taken
}

bool CPaintManagerUI::SetTimer(CControlUI* control, UINT timerID, UINT elapse) {
  if (control == nullptr || m_hWndPaint == nullptr) return false;
  for (TTimerInfo& timer : m_aTimers) {
    if (timer.pSender != control || timer.hWnd != m_hWndPaint || timer.nLocalID != timerID) {
      continue;
    }
    if (!timer.bKilled) return false;
    if (::SetTimer(m_hWndPaint, timer.uWinTimer, elapse, nullptr) == 0) return false;
    timer.bKilled = false;
    return true;
  }
  const UINT nativeId = NextTimerId();
  if (nativeId >= kTimerIdModulus) return false;
  if (::SetTimer(m_hWndPaint, nativeId, elapse, nullptr) == 0) return false;
  m_uTimerID = nativeId;
  TTimerInfo timer;
  timer.pSender = control;
  timer.nLocalID = timerID;
  timer.hWnd = m_hWndPaint;
  timer.uWinTimer = nativeId;
  m_aTimers.push_back(timer);
  return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, UINT timerID) {
  for (TTimerInfo& timer : m_aTimers) {
    if (timer.pSender == control && timer.hWnd == m_hWndPaint && timer.nLocalID == timerID &&
        !timer.bKilled) {
      if (::IsWindow(m_hWndPaint)) ::KillTimer(timer.hWnd, timer.uWinTimer);
      timer.bKilled = true;
      return true;
    }
  }
  return false;
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
  auto removed = std::remove_if(m_aTimers.begin(), m_aTimers.end(), [&](const TTimerInfo& t) {
    return t.pSender == control && t.hWnd == m_hWndPaint;
  });
  for (auto it = removed; it != m_aTimers.end(); ++it) {
    if (!it->bKilled && ::IsWindow(it->hWnd)) ::KillTimer(it->hWnd, it->uWinTimer);
  }
  m_aTimers.erase(removed, m_aTimers.end());
}

void CPaintManagerUI::RemoveAllTimers() {
  for (const TTimerInfo& timer : m_aTimers) {
    if (!timer.bKilled && timer.hWnd != nullptr && ::IsWindow(timer.hWnd)) {
      ::KillTimer(timer.hWnd, timer.uWinTimer);
    }
  }
  m_aTimers.clear();
}

UINT CPaintManagerUI::GetNativeTimerId(CControlUI* control, UINT timerID) const {
  for (const TTimerInfo& timer : m_aTimers) {
    if (timer.pSender == control && timer.hWnd == m_hWndPaint && timer.nLocalID == timerID) {
      return timer.uWinTimer;
    }
  }
  return 0;
}

void CPaintManagerUI::OnTimer(WPARAM wParam, LPARAM lParam) {
  if (wParam == kLayeredTimerId) {
    m_painter.OnLayeredTimer();
    return;
  }
  for (const TTimerInfo& timer : m_aTimers) {
    if (timer.hWnd == m_hWndPaint && timer.uWinTimer == wParam && !timer.bKilled) {
      CControlUI* control = timer.pSender;
      TEventUI event = MakeEvent(UIEVENT_TIMER, control, timer.nLocalID, lParam);
      control->Event(event);  // may change the timer list: nothing of it is used after
      return;
    }
  }
}

}  // namespace SkinUI
