// CRichEditHost: the text host of a CRichEditUI. It owns the text services object (made by
// CreateTextServices of riched20.dll, loaded from the system folder and kept loaded while the
// host lives) and answers the text services' questions from the control: the window, the
// client area, the formats and colours, the property bits; it turns their requests into the
// toolkit's: repaint, caret, capture, timers, scroll bar, change notification.
#pragma once

#include <windows.h>

#include <richedit.h>
#include <textserv.h>

#include "uitoolkit/controls/hosted/ui_rich_edit_format.h"

namespace SkinUI {

class CRichEditUI;

class CRichEditHost : public ITextHost {
 public:
  explicit CRichEditHost(CRichEditUI& owner);
  ~CRichEditHost();
  CRichEditHost(const CRichEditHost&) = delete;
  CRichEditHost& operator=(const CRichEditHost&) = delete;

  // Loads the library and creates the text services; false when either fails.
  bool Create();
  ITextServices* Services() const { return m_services; }
  // The formats are read again from the control at the next request.
  void RefreshFormats();
  // Activates the text services in place once the control has a window.
  void Activate();
  bool IsActive() const { return m_active; }
  // The character format the text services were given last.
  const CHARFORMAT2W& CharFormat() const { return m_charFormat; }
  // The height of a line of the font, in pixels.
  int LineHeight() const { return m_lineHeight; }
  // Destroys the window's caret when this host made it.
  void DropCaret();

  // IUnknown: the host lives as long as its control, not by reference count.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  // ITextHost.
  HDC TxGetDC() override;
  INT TxReleaseDC(HDC dc) override;
  BOOL TxShowScrollBar(INT bar, BOOL show) override;
  BOOL TxEnableScrollBar(INT flags, INT arrows) override;
  BOOL TxSetScrollRange(INT bar, LONG minPos, INT maxPos, BOOL redraw) override;
  BOOL TxSetScrollPos(INT bar, INT pos, BOOL redraw) override;
  void TxInvalidateRect(LPCRECT rc, BOOL mode) override;
  void TxViewChange(BOOL update) override;
  BOOL TxCreateCaret(HBITMAP bitmap, INT width, INT height) override;
  BOOL TxShowCaret(BOOL show) override;
  BOOL TxSetCaretPos(INT x, INT y) override;
  BOOL TxSetTimer(UINT id, UINT timeout) override;
  void TxKillTimer(UINT id) override;
  void TxScrollWindowEx(INT dx, INT dy, LPCRECT scroll, LPCRECT clip, HRGN update,
                        LPRECT updateRect, UINT flags) override;
  void TxSetCapture(BOOL capture) override;
  void TxSetFocus() override;
  void TxSetCursor(HCURSOR cursor, BOOL text) override;
  BOOL TxScreenToClient(LPPOINT pt) override;
  BOOL TxClientToScreen(LPPOINT pt) override;
  HRESULT TxActivate(LONG* oldState) override;
  HRESULT TxDeactivate(LONG newState) override;
  HRESULT TxGetClientRect(LPRECT rc) override;
  HRESULT TxGetViewInset(LPRECT rc) override;
  HRESULT TxGetCharFormat(const CHARFORMATW** format) override;
  HRESULT TxGetParaFormat(const PARAFORMAT** format) override;
  COLORREF TxGetSysColor(int index) override;
  HRESULT TxGetBackStyle(TXTBACKSTYLE* style) override;
  HRESULT TxGetMaxLength(DWORD* length) override;
  HRESULT TxGetScrollBars(DWORD* scrollBars) override;
  HRESULT TxGetPasswordChar(TCHAR* ch) override;
  HRESULT TxGetAcceleratorPos(LONG* cp) override;
  HRESULT TxGetExtent(LPSIZEL extent) override;
  HRESULT OnTxCharFormatChange(const CHARFORMATW* format) override;
  HRESULT OnTxParaFormatChange(const PARAFORMAT* format) override;
  HRESULT TxGetPropertyBits(DWORD mask, DWORD* bits) override;
  HRESULT TxNotify(DWORD notification, void* data) override;
  HIMC TxImmGetContext() override;
  void TxImmReleaseContext(HIMC context) override;
  HRESULT TxGetSelectionBarWidth(LONG* width) override;

 private:
  HWND Window() const;

  CRichEditUI& m_owner;
  HMODULE m_library = nullptr;
  ITextServices* m_services = nullptr;
  CHARFORMAT2W m_charFormat = {};
  PARAFORMAT2 m_paraFormat = {};
  bool m_active = false;
  bool m_caret = false;
  int m_lineHeight = 0;
};

}  // namespace SkinUI
