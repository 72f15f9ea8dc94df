// What a control needs from the paint manager of its window. CPaintManagerUI (uitoolkit/window)
// implements it; controls hold and call it, so that controls/ never includes window/. Tests of
// controls implement it with small recording stand-ins.
#pragma once

#include <windows.h>

#include <memory>

#include "uitoolkit/controls/ui_event.h"
#include "uitoolkit/controls/ui_popup_host.h"
#include "uitoolkit/core/ui_containers.h"
#include "uitoolkit/core/ui_render_host.h"

namespace SkinUI {

class CControlUI;
class CPaintManagerUI;

// The window that hosts the controls reflects WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR* of its
// native child windows back to the child as the same message plus this value.
constexpr UINT kReflectedMessageBase = 0x2000;

// A filter that sees a window's messages before the paint manager handles them. Setting
// `handled` ends the message's processing with the answer returned.
class IMessageFilterUI {
 public:
  virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

 protected:
  ~IMessageFilterUI() = default;
};

// Asked by the message loop before a message is dispatched; answering 0 (S_OK) consumes it.
class ITranslateAccelerator {
 public:
  virtual LRESULT TranslateAccelerator(MSG* msg) = 0;

 protected:
  ~ITranslateAccelerator() = default;
};

// What changed about a control, for the accessibility clients of its window (screen readers,
// magnifiers, test robots): its text, its value, its state (enabled, checked, expanded...), or
// its visibility.
enum class TAccessibleChange { Text, Value, State, Shown, Hidden };

class IControlManagerUI : public IRenderHost {
 public:
  // The paint manager behind this interface (null for stand-ins that are none).
  virtual CPaintManagerUI* GetPaintManager() = 0;

  // Repaints `rcItem` (window coordinates) at the next paint.
  virtual void Invalidate(const RECT& rcItem) = 0;
  // Asks for a layout pass before the next paint.
  virtual void NeedUpdate() = 0;

  virtual CControlUI* GetFocus() const = 0;
  // Gives `control` the keyboard focus (null: nobody); with `focusWindow` also the window.
  virtual void SetFocus(CControlUI* control, bool focusWindow = true) = 0;

  // Attaches `control` and everything below it to this manager with `parent` as parent and
  // enters the named ones into the name map.
  virtual bool InitControls(CControlUI* control, CControlUI* parent = nullptr) = 0;
  // Forgets `control` in every role (focus, hover, click, key, name map, timers).
  virtual void ReapObjects(CControlUI* control) = 0;
  // The control of the window registered under `name`, or null.
  virtual CControlUI* FindControl(const wchar_t* name) const = 0;
  // Re-indexes `control` in the name map after its name changed from `oldName`.
  virtual void RenameControl(CControlUI* control, const wchar_t* oldName) = 0;
  // Forgets `control` as a target of mouse-leave events.
  virtual void RemoveMouseLeaveNeeded(CControlUI* control) = 0;
  // Detaches `control` and deletes it when queued notifications have been delivered.
  virtual void AddDelayedCleanup(CControlUI* control) = 0;

  // Sends a notification about `sender` (its OnNotify listeners, then the window's notifiers).
  virtual void SendNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam = 0,
                          LPARAM lParam = 0, bool async = false, bool allowRepeat = true) = 0;
  virtual void SendNotify(TNotifyUI& msg, bool async = false, bool allowRepeat = true) = 0;
  // Marks that the window's controls name virtual windows.
  virtual void UsedVirtualWnd(bool used) = 0;

  // The global hue (0-360), saturation and lightness (percent) for controls with colorhsl.
  virtual void GetHSL(short* hue, short* saturation, short* lightness) = 0;
  virtual DWORD GetDefaultDisabledColor() = 0;
  virtual DWORD GetDefaultFontColor() = 0;

  // Named groups of mutually exclusive options.
  virtual bool AddOptionGroup(const wchar_t* groupName, CControlUI* control) = 0;
  virtual CUiPtrArray* GetOptionGroup(const wchar_t* groupName) = 0;
  virtual void RemoveOptionGroup(const wchar_t* groupName, CControlUI* control) = 0;

  // Services of the live window. A manager without a native window keeps the defaults: no
  // window, no mouse-leave tracking, no timers, no native child windows.
  // The window the manager paints; the parent of native child windows such as an edit field.
  virtual HWND GetPaintWindow() const { return nullptr; }
  // Sends `control` a mouse-leave event when the pointer leaves the window's hover control.
  virtual bool AddMouseLeaveNeeded(CControlUI*) { return false; }
  // Starts (or restarts) the control's timer `timerID`; it receives timer events every `elapse`
  // milliseconds.
  virtual bool SetTimer(CControlUI*, UINT /*timerID*/, UINT /*elapse*/) { return false; }
  virtual bool KillTimer(CControlUI*, UINT /*timerID*/) { return false; }
  // Registers a native child window hosted by `control` (focus moving into it focuses the
  // control), and forgets it.
  virtual bool AddNativeWindow(CControlUI*, HWND) { return false; }
  virtual bool RemoveNativeWindow(HWND) { return false; }
  // Registers `control` to draw over the painted window (DoPostPaint after each paint), and
  // forgets it.
  virtual bool AddPostPaint(CControlUI*) { return false; }
  virtual bool RemovePostPaint(CControlUI*) { return false; }
  // Lets `filter` see the window's messages before the manager routes them (a rich edit takes
  // the input method's messages this way while it has the focus), and forgets it.
  virtual bool AddMessageFilter(IMessageFilterUI*) { return false; }
  virtual bool RemoveMessageFilter(IMessageFilterUI*) { return false; }
  // Lets `accelerator` see each message of the thread's loop before it is dispatched (a hosted
  // control with a window of its own takes its keys this way), and forgets it.
  virtual bool AddTranslateAccelerator(ITranslateAccelerator*) { return false; }
  virtual bool RemoveTranslateAccelerator(ITranslateAccelerator*) { return false; }
  // Tells the window's accessibility clients that `control` changed.
  virtual void AccessibleChanged(CControlUI* /*control*/, TAccessibleChange /*change*/) {}
  // A pop-up window host serving `listener` (see ui_popup_host.h); null without a window.
  virtual std::unique_ptr<IPopupHostUI> CreatePopupHost(IPopupListenerUI* /*listener*/) {
    return nullptr;
  }
};

}  // namespace SkinUI
