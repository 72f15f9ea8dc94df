// A pop-up window that hosts a tree of controls for a control of another window (a combo box's
// drop-down list, later a date picker's calendar). Controls cannot make windows themselves
// (the window folder builds on this one), so they ask their manager for a host
// (`IControlManagerUI::CreatePopupHost`); the window folder implements it with a borderless,
// owned pop-up window that has its own paint manager. The control owns the host and deletes it
// when it goes; deleting an open host closes its window first.
#pragma once

#include <windows.h>

namespace SkinUI {

class CControlUI;

// What the pop-up tells the control it serves. Each call may close the pop-up (`Close`) before
// it returns; none may delete the host.
class IPopupListenerUI {
 public:
  // A key pressed while the pop-up has the keyboard (`vk`, with Alt held when `alt`); true
  // when used.
  virtual bool OnPopupKey(UINT vk, bool alt) = 0;
  // The left button went up at `pt` (client coordinates of the pop-up) after the pop-up's own
  // controls had the click.
  virtual void OnPopupClick(POINT pt) = 0;
  // The pop-up wants to go without a choice: a click outside it, or it lost the activation.
  virtual void OnPopupDismiss() = 0;
  // The window is going (closed, dismissed or destroyed with its owner window). `root` is still
  // alive: take back what was lent to it; the host deletes the root afterwards.
  virtual void OnPopupClosing(CControlUI* root) = 0;

 protected:
  ~IPopupListenerUI() = default;
};

class IPopupHostUI {
 public:
  virtual ~IPopupHostUI() = default;
  // Makes and shows the pop-up at `rcScreen`, owned by the window of the control's manager,
  // with `root` as its tree (the host owns `root` from here on). It takes the activation, the
  // keyboard and the mouse capture. False when no window could be made (the listener's
  // OnPopupClosing has then had the root, which is gone).
  virtual bool Open(CControlUI* root, const RECT& rcScreen) = 0;
  // Destroys the window (the listener's OnPopupClosing first); nothing when closed.
  virtual void Close() = 0;
  // The pop-up window while open, else null.
  virtual HWND GetWindow() const = 0;
};

}  // namespace SkinUI
