#include "uitoolkit/controls/hosted/ui_rich_edit.h"

#include <vector>

#include "uitoolkit/controls/hosted/ui_rich_edit_host.h"
#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_scroll_bar.h"
#include "uitoolkit/core/ui_render_engine.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

// The look of a rich edit the skin says nothing about: a white field with a thin grey border
// that turns blue while it has the focus, the text three pixels inside.
constexpr DWORD kDefaultBkColor = 0xFFFFFFFF;
constexpr DWORD kDefaultBorderColor = 0xFFABADB3;
constexpr DWORD kDefaultFocusBorderColor = 0xFF0078D7;
constexpr LONG kDefaultInset = 3;

// The change bits the text services read as "ask the host again".
constexpr DWORD kChangeBits = TXTBIT_VIEWINSETCHANGE | TXTBIT_BACKSTYLECHANGE |
                              TXTBIT_MAXLENGTHCHANGE | TXTBIT_SCROLLBARCHANGE |
                              TXTBIT_CHARFORMATCHANGE | TXTBIT_PARAFORMATCHANGE |
                              TXTBIT_EXTENTCHANGE | TXTBIT_CLIENTRECTCHANGE;

}  // namespace

CRichEditUI::CRichEditUI() {
  SetBkColor(kDefaultBkColor);
  SetBorderColor(kDefaultBorderColor);
  SetFocusBorderColor(kDefaultFocusBorderColor);
  SetBorderSize(1);
  SetInset(RECT{kDefaultInset, kDefaultInset, kDefaultInset, kDefaultInset});
}

CRichEditUI::~CRichEditUI() {
  if (m_filtering && m_pManager != nullptr) m_pManager->RemoveMessageFilter(this);
  if (m_host != nullptr) m_host->DropCaret();
  // The text services go while the control can still answer them.
  m_host.reset();
}

const wchar_t* CRichEditUI::GetClass() const { return kClassName; }

void* CRichEditUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) return this;
  return CContainerUI::GetInterface(name);
}

UINT CRichEditUI::GetControlFlags() const {
  return IsEnabled() ? UIFLAG_TABSTOP | UIFLAG_SETCURSOR : 0;
}

// ---- The text services ----

bool CRichEditUI::EnsureServices() const {
  if (m_host != nullptr) return m_host->Services() != nullptr;
  // Made once the control knows its window's fonts; a failure is not tried again.
  if (m_pManager == nullptr) return false;
  auto* self = const_cast<CRichEditUI*>(this);
  m_host = std::make_unique<CRichEditHost>(*self);
  if (!m_host->Create()) return false;
  Send(EM_SETEVENTMASK, 0, ENM_CHANGE);
  self->SetMaxChar(m_maxChar);
  self->ReplaceText(m_sText);
  m_host->Activate();
  return true;
}

LRESULT CRichEditUI::Send(UINT message, WPARAM wParam, LPARAM lParam, bool* used) const {
  if (used != nullptr) *used = false;
  if (!EnsureServices()) return 0;
  LRESULT result = 0;
  const HRESULT answer = m_host->Services()->TxSendMessage(message, wParam, lParam, &result);
  if (used != nullptr) *used = answer == S_OK;
  return result;
}

void CRichEditUI::PropertiesChanged(DWORD mask) const {
  if (m_host == nullptr || m_host->Services() == nullptr) return;
  if ((mask & TXTBIT_CHARFORMATCHANGE) != 0) m_host->RefreshFormats();
  const DWORD bits = (RichEditPropertyBits(m_options) & mask) | (mask & kChangeBits);
  m_host->Services()->OnTxPropertyBitsChange(mask, bits);
  if ((mask & TXTBIT_CHARFORMATCHANGE) != 0) {
    // Also the text already there takes the new font and colour.
    CHARFORMAT2W format = m_host->CharFormat();
    Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  }
}

RECT CRichEditUI::TextRect() const {
  RECT rc = GetClientArea();
  rc.left += m_textPadding.left;
  rc.top += m_textPadding.top;
  rc.right -= m_textPadding.right;
  rc.bottom -= m_textPadding.bottom;
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  // A single line sits in the middle, as in an edit field.
  if (!m_options.multiLine && m_host != nullptr) {
    return RichEditCentredLine(rc, m_host->LineHeight());
  }
  return rc;
}

void CRichEditUI::SyncScrollBars() {
  if (m_syncingBar || m_host == nullptr || m_host->Services() == nullptr) return;
  m_syncingBar = true;
  bool shownOrHidden = false;
  for (CScrollBarUI* bar : {m_pVerticalScrollBar, m_pHorizontalScrollBar}) {
    if (bar == nullptr) continue;
    LONG min = 0, max = 0, pos = 0, page = 0;
    BOOL enabled = FALSE;
    if (bar == m_pVerticalScrollBar) {
      m_host->Services()->TxGetVScroll(&min, &max, &pos, &page, &enabled);
    } else {
      m_host->Services()->TxGetHScroll(&min, &max, &pos, &page, &enabled);
    }
    // Before the first layout there is no page to measure against: no bar yet.
    const LONG range = enabled && page > 0 ? RichEditBarRange(min, max, page) : 0;
    bar->SetScrollRange(range);
    bar->SetPageSize(page);
    bar->SetScrollPos(pos - min);
    // While the text is laid out anew for a bar that just came or went, the bars stay (no
    // flicker between wrapping for the wide and for the narrow area).
    if (!m_barChanging && bar->IsVisible() != (range > 0)) {
      bar->SetVisible(range > 0);
      shownOrHidden = true;
    }
  }
  // The bars lie along the right and bottom edges of the client area.
  const RECT client = GetClientArea();
  if (m_pVerticalScrollBar != nullptr) {
    m_pVerticalScrollBar->SetPos(RECT{client.right, client.top,
                                      client.right + m_pVerticalScrollBar->GetFixedWidth(),
                                      client.bottom},
                                 false);
  }
  if (m_pHorizontalScrollBar != nullptr) {
    m_pHorizontalScrollBar->SetPos(RECT{client.left, client.bottom, client.right,
                                        client.bottom + m_pHorizontalScrollBar->GetFixedHeight()},
                                   false);
  }
  m_syncingBar = false;
  if (shownOrHidden) {
    m_barChanging = true;
    PropertiesChanged(TXTBIT_CLIENTRECTCHANGE);
    m_barChanging = false;
    Invalidate();
  }
}

void CRichEditUI::SetScrollPos(SIZE pos) {
  if (m_syncingBar || m_host == nullptr || m_host->Services() == nullptr) return;
  POINT point = {pos.cx < 0 ? 0 : pos.cx, pos.cy < 0 ? 0 : pos.cy};
  Send(EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&point));
  SyncScrollBars();
  Invalidate();
}

void CRichEditUI::EnableScrollBar(bool enableVertical, bool enableHorizontal) {
  CContainerUI::EnableScrollBar(enableVertical, enableHorizontal);
  PropertiesChanged(TXTBIT_SCROLLBARCHANGE);
  SyncScrollBars();
}

void CRichEditUI::CheckTextChanged() {
  if (m_settingText || m_host == nullptr) return;
  CUiString text = GetText();
  // Only a real change counts (a refused keystroke may be reported too).
  if (text == m_lastText) return;
  m_lastText = text;
  m_sText = text;
  NotifyAccessible(TAccessibleChange::Value);
  if (m_pManager != nullptr) m_pManager->SendNotify(this, L"textchanged");
}

// ---- Text ----

CUiString CRichEditUI::GetText() const {
  if (!EnsureServices()) return m_sText;
  GETTEXTLENGTHEX lengthQuery = {GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
  const LRESULT length = Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0);
  if (length <= 0) return CUiString();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  GETTEXTEX textQuery = {};
  textQuery.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  textQuery.flags = GT_USECRLF;
  textQuery.codepage = 1200;
  Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&textQuery), reinterpret_cast<LPARAM>(buffer.data()));
  return CUiString(buffer.data());
}

void CRichEditUI::SetText(const wchar_t* text) {
  CContainerUI::SetText(text);
  if (m_host == nullptr || m_host->Services() == nullptr) return;
  ReplaceText(m_sText);
  Invalidate();
}

void CRichEditUI::ReplaceText(const wchar_t* text) {
  m_settingText = true;
  m_host->Services()->TxSetText(text);
  // A new text is shown from its start, the caret before its first character.
  Send(EM_SETSEL, 0, 0);
  POINT top = {0, 0};
  Send(EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&top));
  m_settingText = false;
  m_lastText = GetText();
  m_sText = m_lastText;
}

void CRichEditUI::SetSel(long start, long end) { Send(EM_SETSEL, start, end); }

void CRichEditUI::GetSel(long& start, long& end) const {
  CHARRANGE range = {0, 0};
  Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  start = range.cpMin;
  end = range.cpMax;
}

void CRichEditUI::Copy() { Send(WM_COPY); }

void CRichEditUI::Paste() { Send(WM_PASTE); }

// ---- Settings ----

void CRichEditUI::SetMultiLine(bool multiLine) {
  if (m_options.multiLine == multiLine) return;
  m_options.multiLine = multiLine;
  // Several lines come with a vertical bar, shown while the text is taller than the field.
  if (multiLine && m_pVerticalScrollBar == nullptr) {
    EnableScrollBar(true, m_pHorizontalScrollBar != nullptr);
  }
  PropertiesChanged(TXTBIT_MULTILINE | TXTBIT_WORDWRAP | TXTBIT_SCROLLBARCHANGE);
}

// Read-only, password and maximum length changes are also told as messages: not every version
// of the text services reads the change bits for them.

void CRichEditUI::SetReadOnly(bool readOnly) {
  m_options.readOnly = readOnly;
  PropertiesChanged(TXTBIT_READONLY);
  if (m_host != nullptr) Send(EM_SETREADONLY, readOnly ? TRUE : FALSE);
}

void CRichEditUI::SetPasswordMode(bool password) {
  m_options.password = password;
  PasswordChanged();
}

void CRichEditUI::SetPasswordChar(wchar_t ch) {
  m_passwordChar = ch;
  PasswordChanged();
}

void CRichEditUI::PasswordChanged() {
  PropertiesChanged(TXTBIT_USEPASSWORD);
  if (m_host != nullptr) Send(EM_SETPASSWORDCHAR, m_options.password ? m_passwordChar : 0);
  Invalidate();
}

void CRichEditUI::SetWordWrap(bool wordWrap) {
  m_options.wordWrap = wordWrap;
  PropertiesChanged(TXTBIT_WORDWRAP | TXTBIT_SCROLLBARCHANGE);
}

void CRichEditUI::SetMaxChar(UINT maxChar) {
  m_maxChar = maxChar;
  PropertiesChanged(TXTBIT_MAXLENGTHCHANGE);
  if (m_host != nullptr) Send(EM_EXLIMITTEXT, 0, maxChar == 0 ? 0x7FFFFFFF : maxChar);
}

void CRichEditUI::SetFont(int index) {
  m_font = index;
  PropertiesChanged(TXTBIT_CHARFORMATCHANGE);
  Invalidate();
}

void CRichEditUI::SetTextColor(DWORD color) {
  m_textColor = color;
  PropertiesChanged(TXTBIT_CHARFORMATCHANGE);
  Invalidate();
}

void CRichEditUI::SetDisabledTextColor(DWORD color) {
  m_disabledTextColor = color;
  PropertiesChanged(TXTBIT_CHARFORMATCHANGE);
  Invalidate();
}

void CRichEditUI::SetEnabled(bool enabled) {
  CContainerUI::SetEnabled(enabled);
  PropertiesChanged(TXTBIT_CHARFORMATCHANGE);
}

void CRichEditUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (value == nullptr) value = L"";
  if (NameIs(name, L"multiline")) {
    SetMultiLine(ParseBoolValue(value));
  } else if (NameIs(name, L"readonly")) {
    SetReadOnly(ParseBoolValue(value));
  } else if (NameIs(name, L"password")) {
    SetPasswordMode(ParseBoolValue(value));
  } else if (NameIs(name, L"passwordchar")) {
    SetPasswordChar(value[0] != L'\0' ? value[0] : L'*');
  } else if (NameIs(name, L"wordwrap")) {
    SetWordWrap(ParseBoolValue(value));
  } else if (NameIs(name, L"wantreturn")) {
    SetWantReturn(ParseBoolValue(value));
  } else if (NameIs(name, L"wanttab")) {
    SetWantTab(ParseBoolValue(value));
  } else if (NameIs(name, L"maxchar")) {
    SetMaxChar(static_cast<UINT>(ParseDecimal(value)));
  } else if (NameIs(name, L"font")) {
    SetFont(ParseDecimal(value));
  } else if (NameIs(name, L"textcolor")) {
    SetTextColor(ParseColor(value));
  } else if (NameIs(name, L"disabledtextcolor")) {
    SetDisabledTextColor(ParseColor(value));
  } else if (NameIs(name, L"textpadding")) {
    m_textPadding = ParseRectValue(value);
    PropertiesChanged(TXTBIT_CLIENTRECTCHANGE);
  } else {
    CContainerUI::SetAttribute(name, value);
  }
}

// ---- Window, layout and painting ----

void CRichEditUI::SetManager(IControlManagerUI* manager, CControlUI* parent, bool init) {
  if (m_filtering && m_pManager != nullptr && m_pManager != manager) {
    m_pManager->RemoveMessageFilter(this);
    m_filtering = false;
  }
  CContainerUI::SetManager(manager, parent, init);
  // The window's fonts are known now.
  if (EnsureServices()) {
    PropertiesChanged(TXTBIT_CHARFORMATCHANGE);
    m_host->Activate();
  }
}

void CRichEditUI::SetPos(RECT rc, bool needInvalidate) {
  // No items to lay out: the text services lay out the text in the client area.
  CControlUI::SetPos(rc, needInvalidate);
  if (!EnsureServices()) return;
  m_host->Activate();
  PropertiesChanged(TXTBIT_CLIENTRECTCHANGE);
  SyncScrollBars();
}

void CRichEditUI::Move(SIZE offset, bool needInvalidate) {
  CControlUI::Move(offset, needInvalidate);
  if (m_pVerticalScrollBar != nullptr) m_pVerticalScrollBar->Move(offset, false);
  if (m_pHorizontalScrollBar != nullptr) m_pHorizontalScrollBar->Move(offset, false);
  PropertiesChanged(TXTBIT_CLIENTRECTCHANGE);
}

bool CRichEditUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) {
  RECT area;
  if (!::IntersectRect(&area, &rcPaint, &m_rcItem)) return true;
  CRenderClip outerClip;
  CRenderClip::GenerateClip(hDC, area, outerClip);
  CControlUI::DoPaint(hDC, rcPaint, stopControl);
  RECT text = TextRect();
  RECT update;
  if (EnsureServices() && ::IntersectRect(&update, &text, &rcPaint)) {
    CRenderClip textClip;
    CRenderClip::GenerateClip(hDC, update, textClip);
    RECTL bounds = {text.left, text.top, text.right, text.bottom};
    m_host->Services()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, hDC, nullptr, &bounds,
                               nullptr, &update, nullptr, 0,
                               m_host->IsActive() ? TXTVIEW_ACTIVE : TXTVIEW_INACTIVE);
  }
  return PaintScrollBars(hDC, rcPaint, stopControl);
}

// ---- Input ----

void CRichEditUI::DoEvent(TEventUI& event) {
  const bool enabled = IsEnabled();
  const LPARAM point = MAKELPARAM(event.ptMouse.x, event.ptMouse.y);
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
      CContainerUI::DoEvent(event);
      OnFocus(event.Type == UIEVENT_SETFOCUS);
      return;
    case UIEVENT_SETCURSOR: {
      const RECT text = TextRect();
      if (::PtInRect(&text, event.ptMouse)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
        return;
      }
      break;
    }
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_BUTTONUP:
    case UIEVENT_MOUSEMOVE: {
      if (!enabled) break;
      const UINT message = event.Type == UIEVENT_BUTTONDOWN ? WM_LBUTTONDOWN
                           : event.Type == UIEVENT_DBLCLICK ? WM_LBUTTONDBLCLK
                           : event.Type == UIEVENT_BUTTONUP ? WM_LBUTTONUP
                                                            : WM_MOUSEMOVE;
      Send(message, event.wKeyState, point);
      return;
    }
    case UIEVENT_KEYDOWN:
    case UIEVENT_KEYUP:
    case UIEVENT_CHAR:
      if (enabled && OnKey(event)) return;
      break;
    case UIEVENT_TIMER:
      Send(WM_TIMER, event.wParam, 0);
      return;
    default:
      break;
  }
  CContainerUI::DoEvent(event);
}

bool CRichEditUI::OnKey(const TEventUI& event) {
  const UINT message = event.Type == UIEVENT_KEYDOWN ? WM_KEYDOWN
                       : event.Type == UIEVENT_KEYUP ? WM_KEYUP
                                                     : WM_CHAR;
  if (message == WM_KEYDOWN && event.wParam == VK_TAB && !WantsTab()) return false;
  if (message == WM_CHAR && event.wParam == L'\t' && !WantsTab()) return false;
  if (!WantsReturn()) {
    // Enter inserts nothing: its character sends "return", as in the edit.
    if (message == WM_KEYDOWN && event.wParam == VK_RETURN) return true;
    if (message == WM_CHAR && event.wParam == L'\r') {
      if (m_pManager != nullptr) m_pManager->SendNotify(this, L"return");
      return true;
    }
  }
  bool used = false;
  Send(message, event.wParam, event.lParam, &used);
  return used;
}

void CRichEditUI::OnFocus(bool focused) {
  if (focused) {
    Send(WM_SETFOCUS);
    if (!m_filtering && m_pManager != nullptr) m_filtering = m_pManager->AddMessageFilter(this);
    return;
  }
  Send(WM_KILLFOCUS);
  if (m_host != nullptr) m_host->DropCaret();
  if (m_filtering && m_pManager != nullptr) m_pManager->RemoveMessageFilter(this);
  m_filtering = false;
}

LRESULT CRichEditUI::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  switch (message) {
    // The window losing the keyboard focus takes the caret and the selection's highlight
    // along; they come back with the focus.
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (IsFocused()) {
        Send(message);
        if (message == WM_KILLFOCUS && m_host != nullptr) m_host->DropCaret();
      }
      return 0;
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_IME_CHAR:
    case WM_IME_REQUEST: {
      if (!IsFocused() || !IsEnabled()) return 0;
      bool used = false;
      const LRESULT result = Send(message, wParam, lParam, &used);
      handled = used;
      return result;
    }
    default:
      return 0;
  }
}

}  // namespace SkinUI
