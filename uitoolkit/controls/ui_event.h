// The records that travel between the paint manager and the controls: input events (TEventUI),
// notifications (TNotifyUI), the percent anchors of float controls (TPercentInfo), and the flag
// values of control lookups and control kinds.
#pragma once

#include <windows.h>

#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

class CControlUI;

// Event kinds of TEventUI::Type.
enum {
  UIEVENT_KEYDOWN = 3,
  UIEVENT_KEYUP = 4,
  UIEVENT_CHAR = 5,
  UIEVENT_SYSKEY = 6,
  UIEVENT_MOUSEMOVE = 9,
  UIEVENT_MOUSELEAVE = 10,
  UIEVENT_MOUSEENTER = 11,
  UIEVENT_MOUSEHOVER = 12,
  UIEVENT_BUTTONDOWN = 13,
  UIEVENT_BUTTONUP = 14,
  UIEVENT_RBUTTONDOWN = 15,
  UIEVENT_DBLCLICK = 16,
  UIEVENT_CONTEXTMENU = 17,
  UIEVENT_SCROLLWHEEL = 18,
  UIEVENT_KILLFOCUS = 20,
  UIEVENT_SETFOCUS = 21,
  UIEVENT_WINDOWSIZE = 22,
  UIEVENT_SETCURSOR = 23,
  UIEVENT_TIMER = 24,
};

// True for the mouse event kinds, mouse move (9) to scroll wheel (18).
inline bool IsMouseEvent(int type) {
  return type >= UIEVENT_MOUSEMOVE && type <= UIEVENT_SCROLLWHEEL;
}

// Key-state bits of TEventUI::wKeyState.
enum {
  UIKEYSTATE_LBUTTON = 0x1,
  UIKEYSTATE_RBUTTON = 0x2,
  UIKEYSTATE_SHIFT = 0x4,
  UIKEYSTATE_CONTROL = 0x8,
  UIKEYSTATE_ALT = 0x20,
};

// Flags of CControlUI::FindControl.
enum : UINT {
  UIFIND_ALL = 0x0,
  UIFIND_VISIBLE = 0x1,       // a hidden control is not found
  UIFIND_ENABLED = 0x2,       // a disabled control is not found
  UIFIND_HITTEST = 0x4,       // the data is a POINT inside the control; not mouse enabled = passed over
  UIFIND_UPDATETEST = 0x8,    // a control for which the callback answers non-null is not found
  UIFIND_TOP_FIRST = 0x10,    // containers search their last items first
  UIFIND_ME_FIRST = 0x80000000u,  // the control before its cover and items
};

// Bits of CControlUI::GetControlFlags.
enum : UINT {
  UIFLAG_TABSTOP = 0x1,    // takes part in Tab navigation
  UIFLAG_SETCURSOR = 0x2,  // sets the mouse cursor itself
};

// One input event, produced by the paint manager for a control.
struct TEventUI {
  int Type = 0;
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;
  POINT ptMouse = {0, 0};
  wchar_t chKey = 0;
  WORD wKeyState = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// One notification: what happened to a control, handed to the window's notifiers.
struct TNotifyUI {
  CUiString sType;
  CUiString sVirtualWnd;   // the sender's virtual window (only when the window uses them)
  CControlUI* pSender = nullptr;
  DWORD dwTimestamp = 0;   // tick count when sent
  POINT ptMouse = {0, 0};  // the manager's last mouse position when sent
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

// Anchors of a float control as fractions of its parent's width (left, right) and height (top,
// bottom).
struct TPercentInfo {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

// The callback of CControlUI::FindControl: answers the control when it is the one looked for.
typedef CControlUI* (*FINDCONTROLPROC)(CControlUI* control, void* data);

}  // namespace SkinUI
