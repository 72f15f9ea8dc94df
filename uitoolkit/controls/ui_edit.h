// CEditUI: a single-line text field. It paints its text itself (password characters in password
// mode) and, while it is being edited, places a native EDIT window over its text rectangle; the
// native window's changes come back as the control's text with "textchanged", and Enter sends
// "return".
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_label.h"

namespace SkinUI {

class CEditWnd;

// The native window's position for an edit of `item` with `textPadding` and a font
// `fontHeight` high: the item shrunk by the padding, vertically centred on the font height when
// taller.
RECT EditWindowRect(const RECT& item, const RECT& textPadding, int fontHeight);

// The native window's style bits: child, horizontal auto-scroll, the extra style (number-only),
// password, and centred or right-aligned text from the label's text style.
DWORD EditWindowStyle(DWORD extraStyle, bool password, UINT textStyle);

// `text` as a password field shows it: one `passwordChar` per character.
CUiString MaskedText(const CUiString& text, wchar_t passwordChar);

class CEditUI : public CLabelUI {
 public:
  CEditUI();
  // Destroys the native window.
  ~CEditUI() override;

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  UINT GetControlFlags() const override;
  // The native edit window while editing, else null.
  HWND GetNativeWindow() const override;

  void SetEnabled(bool enabled = true) override;
  // Also replaces the native window's text while editing.
  void SetText(const wchar_t* text) override;
  void SetPos(RECT rc, bool needInvalidate = true) override;
  void Move(SIZE offset, bool needInvalidate = true) override;
  void SetVisible(bool visible = true) override;
  void SetInternVisible(bool visible = true) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintText(HDC hDC) override;

  UINT GetMaxChar() const { return m_uMaxChar; }
  // Limits typing in the native window to `maxChar` characters.
  void SetMaxChar(UINT maxChar);
  bool IsReadOnly() const { return m_bReadOnly; }
  void SetReadOnly(bool readOnly);
  bool IsPasswordMode() const { return m_bPasswordMode; }
  void SetPasswordMode(bool passwordMode);
  wchar_t GetPasswordChar() const { return m_cPasswordChar; }
  void SetPasswordChar(wchar_t passwordChar);
  bool IsAutoSelAll() const { return m_bAutoSelAll; }
  void SetAutoSelAll(bool autoSelAll);
  bool IsNumberOnly() const { return (m_dwEditStyle & ES_NUMBER) != 0; }
  void SetNumberOnly(bool numberOnly);
  // Extra style bits of the native window.
  DWORD GetWindowStyles() const { return m_dwEditStyle; }
  DWORD GetNativeEditBkColor() const { return m_dwNativeBkColor; }
  // FFFFFFFF keeps the native window's own background; another opaque colour fills it; a
  // translucent one shows the control's rendered background.
  void SetNativeEditBkColor(DWORD color);

  const wchar_t* GetNormalImage() const { return m_diNormal.drawString; }
  void SetNormalImage(const wchar_t* description);
  const wchar_t* GetHotImage() const { return m_diHot.drawString; }
  void SetHotImage(const wchar_t* description);
  const wchar_t* GetFocusedImage() const { return m_diFocused.drawString; }
  void SetFocusedImage(const wchar_t* description);
  const wchar_t* GetDisabledImage() const { return m_diDisabled.drawString; }
  void SetDisabledImage(const wchar_t* description);

  UINT GetEditState() const { return m_uButtonState; }
  // The text colour the native window uses (the manager's default when unset).
  DWORD GetNativeTextColor() const;

 protected:
  CUiString GetTextForPaint() const override;
  // Creates the native window (when there is none and the manager has a window).
  void StartEditing();
  // Places the native window over the text rectangle, hidden when that is empty.
  void PlaceNativeWindow();
  // Where the native window goes: EditWindowRect clipped to the ancestors (empty when nothing
  // of it is visible).
  RECT NativeWindowRect() const;

 private:
  friend class CEditWnd;
  // The native window's text changed: it becomes the control's text, and "textchanged" is sent.
  void OnNativeTextChanged(const CUiString& text);
  void OnNativeWindowGone(HWND hwnd);

  CEditWnd* m_pWindow = nullptr;
  UINT m_uMaxChar = 255;
  bool m_bReadOnly = false;
  bool m_bPasswordMode = false;
  wchar_t m_cPasswordChar = L'*';
  bool m_bAutoSelAll = false;
  DWORD m_dwNativeBkColor = 0xFFFFFFFF;
  DWORD m_dwEditStyle = 0;
  UINT m_uButtonState = 0;
  TDrawInfo m_diNormal;
  TDrawInfo m_diHot;
  TDrawInfo m_diFocused;
  TDrawInfo m_diDisabled;
};

}  // namespace SkinUI
