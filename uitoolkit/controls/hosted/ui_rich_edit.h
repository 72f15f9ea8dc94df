// CRichEditUI: a windowless rich text editor on the system's text services (riched20.dll,
// loaded from the system folder while any rich edit lives). The control is the text host: the
// text is drawn into the window's paint buffer inside the control's client area, mouse, keys,
// input method and focus go to the text services, the caret is the system caret of the
// window, and the text's scrolling shows on the container's scroll bars.
#pragma once

#include <memory>

#include "uitoolkit/controls/hosted/ui_rich_edit_format.h"
#include "uitoolkit/controls/ui_container.h"

namespace SkinUI {

class CRichEditHost;

class CRichEditUI : public CContainerUI, private IMessageFilterUI {
 public:
  static constexpr const wchar_t* kClassName = L"RichEdit";

  CRichEditUI();
  ~CRichEditUI() override;
  CRichEditUI(const CRichEditUI&) = delete;
  CRichEditUI& operator=(const CRichEditUI&) = delete;

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  // A tab stop that sets the text cursor itself.
  UINT GetControlFlags() const override;

  // The text as the text services hold it (paragraphs end with "\r\n"). Setting it sends no
  // "textchanged", as for the edit.
  CUiString GetText() const override;
  void SetText(const wchar_t* text) override;

  void SetEnabled(bool enabled = true) override;
  void SetPos(RECT rc, bool needInvalidate = true) override;
  void Move(SIZE offset, bool needInvalidate = true) override;
  void SetManager(IControlManagerUI* manager, CControlUI* parent, bool init = true) override;
  void DoEvent(TEventUI& event) override;
  bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  // The bars' moves scroll the text.
  void SetScrollPos(SIZE pos) override;
  // The text services are told of bars that come or go.
  void EnableScrollBar(bool enableVertical = true, bool enableHorizontal = false) override;

  const TRichEditOptions& GetOptions() const { return m_options; }
  void SetMultiLine(bool multiLine);
  void SetReadOnly(bool readOnly);
  void SetPasswordMode(bool password);
  void SetWordWrap(bool wordWrap);
  void SetWantReturn(bool wantReturn) { m_options.wantReturn = wantReturn; }
  void SetWantTab(bool wantTab) { m_options.wantTab = wantTab; }
  bool IsReadOnly() const { return m_options.readOnly; }
  bool IsPasswordMode() const { return m_options.password; }
  // Keeps Tab (inserts it) instead of moving the focus.
  bool WantsTab() const { return m_options.wantTab && !m_options.readOnly; }
  // Keeps Enter (inserts a line break) instead of leaving it to the window.
  bool WantsReturn() const { return RichEditKeepsEnter(m_options); }
  // The largest number of characters; 0: no limit.
  UINT GetMaxChar() const { return m_maxChar; }
  void SetMaxChar(UINT maxChar);
  int GetFont() const { return m_font; }
  void SetFont(int index);
  DWORD GetTextColor() const { return m_textColor; }
  void SetTextColor(DWORD color);
  void SetDisabledTextColor(DWORD color);
  wchar_t GetPasswordChar() const { return m_passwordChar; }
  void SetPasswordChar(wchar_t ch);

  // Selection and clipboard, as the text services do them (character positions).
  void SetSel(long start, long end);
  void GetSel(long& start, long& end) const;
  void Copy();
  // The first line shown (0 at the top).
  long FirstVisibleLine() const { return static_cast<long>(Send(EM_GETFIRSTVISIBLELINE)); }
  void Paste();

 private:
  friend class CRichEditHost;

  // The raw input method messages and the window's focus changes, while the control has the
  // focus.
  LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

  // Creates the text services on first use; false when the library is missing.
  bool EnsureServices() const;
  // Sends a message to the text services; S_FALSE when there are none.
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, bool* used = nullptr) const;
  // Gives the text services a new text without "textchanged", shown from its start.
  void ReplaceText(const wchar_t* text);
  // The password mode or character changed.
  void PasswordChanged();
  // Tells the text services that properties in `mask` changed.
  void PropertiesChanged(DWORD mask) const;
  // The area the text is laid out in: the client area without the text padding.
  RECT TextRect() const;
  // What the text services say about scrolling, applied to the bars.
  void SyncScrollBars();
  // Sends "textchanged" when the text really differs from the last one seen.
  void CheckTextChanged();
  // The character format of the font and the colour for the enabled state.
  CHARFORMAT2W CharFormat() const;
  // Keys and characters; true when the text services or the control used them.
  bool OnKey(const TEventUI& event);
  void OnFocus(bool focused);

  TRichEditOptions m_options;
  UINT m_maxChar = 32767;
  int m_font = -1;
  DWORD m_textColor = 0;
  DWORD m_disabledTextColor = 0;
  wchar_t m_passwordChar = L'*';
  RECT m_textPadding = {0, 0, 0, 0};
  CUiString m_lastText;        // the text when "textchanged" was last decided
  bool m_syncingBar = false;   // the bar follows the text services: no message back
  bool m_barChanging = false;  // the text is laid out again for a bar that came or went
  bool m_settingText = false;  // SetText: no "textchanged"
  bool m_filtering = false;    // registered as message filter of the manager
  mutable std::unique_ptr<CRichEditHost> m_host;
};

}  // namespace SkinUI
