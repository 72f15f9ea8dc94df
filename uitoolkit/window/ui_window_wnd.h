// CWindowWnd: one native window bound to an object. It registers the window class (its own or
// a superclass of a system class), creates the window with the object as creation parameter and
// forwards every message to the virtual HandleMessage; it also subclasses existing windows and
// runs modal loops.
#pragma once

#include <windows.h>

namespace SkinUI {

class CWindowWnd {
 public:
  CWindowWnd() = default;
  virtual ~CWindowWnd() = default;
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  HWND GetHWND() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  bool RegisterWindowClass();
  bool RegisterSuperclass();

  // Creates the window (class from GetWndClassName, superclassed when GetSuperClassName names
  // one); null when the class cannot be registered or the window not made.
  HWND Create(HWND hwndParent, const wchar_t* pstrName, DWORD dwStyle, DWORD dwExStyle,
              const RECT& rc, HMENU hMenu = nullptr);
  HWND Create(HWND hwndParent, const wchar_t* pstrName, DWORD dwStyle, DWORD dwExStyle,
              int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT,
              int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);
  // Create at position and size 0.
  HWND CreateUiWindow(HWND hwndParent, const wchar_t* pstrWindowName, DWORD dwStyle = 0,
                      DWORD dwExStyle = 0);
  // Routes the messages of an existing window to this object.
  HWND Subclass(HWND hWnd);
  void Unsubclass();
  void ShowWindow(bool show = true, bool takeFocus = true);
  // Shows the window with its owner disabled until it is gone; answers the code of the closing
  // WM_CLOSE.
  UINT ShowModal();
  // Posts WM_CLOSE with the code as wParam.
  void Close(UINT nRet = IDOK);
  // Centres on the owner (unless it is minimised), else on the nearest monitor's work area;
  // the result stays inside that work area.
  void CenterWindow();
  void SetIcon(UINT nRes);
  // Resizes so that the client area has this size; -1 keeps a dimension.
  void ResizeClient(int cx = -1, int cy = -1);

  LRESULT SendMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
  LRESULT PostMessageW(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);

  virtual const wchar_t* GetWndClassName() const = 0;
  virtual const wchar_t* GetSuperClassName() const { return nullptr; }
  virtual UINT GetClassStyle() const { return 0; }
  virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual void OnFinalMessage(HWND hWnd) { (void)hWnd; }

 protected:

  // Binds the object on WM_NCCREATE (in the user data, or with `inProperty` in the window
  // property "WndX"), unbinds it on WM_NCDESTROY and hands everything else to HandleMessage.
  static LRESULT Route(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, bool inProperty);
  static LRESULT CALLBACK WindowProcedure(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProcedure(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

  HWND m_hWnd = nullptr;
  WNDPROC m_OldWndProc = ::DefWindowProcW;
  bool m_bSubclassed = false;
};

}  // namespace SkinUI
