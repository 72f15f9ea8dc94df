#include "uitoolkit/controls/ui_edit.h"

#include <cwchar>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/core/ui_color.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

// The window property that holds the CEditWnd of a subclassed EDIT window (its user data stays
// free for others).
constexpr wchar_t kEditWindowProperty[] = L"SkinUI.CEditWnd";

CUiString WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthW(hwnd);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  ::GetWindowTextW(hwnd, buffer.data(), length + 1);
  return CUiString(buffer.data());
}

}  // namespace

// The native EDIT window of one editing session: a child of the manager's window over the
// edit's text rectangle, subclassed to report changes, Enter and focus loss to its control. It
// destroys itself when it loses the focus and deletes itself when destroyed.
class CEditWnd {
 public:
  // Null when the window cannot be created.
  static CEditWnd* Create(CEditUI* owner, HWND parent);
  // Destroys the window without telling the owner (the owner is going away).
  void Detach();
  HWND GetHWND() const { return m_hwnd; }
  // Moves the window to `rc` (hidden when empty or when the owner is hidden).
  void Place(const RECT& rc, bool visible);

 private:
  CEditWnd(CEditUI* owner, HWND hwnd) : m_owner(owner), m_hwnd(hwnd) {}
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnControlColor(UINT message, WPARAM wParam, LPARAM lParam);

  CEditUI* m_owner;
  HWND m_hwnd;
  WNDPROC m_oldProc = nullptr;
  bool m_initializing = false;
  vesk::UniqueGdiObject<HBRUSH> m_brush;
  DWORD m_brushColor = 0;
  vesk::UniqueBitmap m_brushBitmap;
};

CEditWnd* CEditWnd::Create(CEditUI* owner, HWND parent) {
  const RECT rc = owner->NativeWindowRect();
  const DWORD style =
      EditWindowStyle(owner->m_dwEditStyle, owner->m_bPasswordMode, owner->m_uTextStyle);
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  HWND hwnd = ::CreateWindowExW(0, L"EDIT", nullptr, style, rc.left, rc.top, rc.right - rc.left,
                                rc.bottom - rc.top, parent, nullptr, instance, nullptr);
  if (hwnd == nullptr) return nullptr;
  CEditWnd* window = new CEditWnd(owner, hwnd);
  ::SetPropW(hwnd, kEditWindowProperty, window);
  window->m_oldProc = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CEditWnd::WindowProc)));

  window->m_initializing = true;
  IControlManagerUI* manager = owner->m_pManager;
  ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(manager->GetFont(owner->m_iFont)),
                 FALSE);
  ::SendMessageW(hwnd, EM_LIMITTEXT, owner->m_uMaxChar, 0);
  if (owner->m_bPasswordMode) ::SendMessageW(hwnd, EM_SETPASSWORDCHAR, owner->m_cPasswordChar, 0);
  ::SetWindowTextW(hwnd, owner->m_sText);
  ::SendMessageW(hwnd, EM_SETMODIFY, FALSE, 0);
  ::SendMessageW(hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
  ::EnableWindow(hwnd, owner->IsEnabled() ? TRUE : FALSE);
  ::SendMessageW(hwnd, EM_SETREADONLY, owner->m_bReadOnly ? TRUE : FALSE, 0);
  window->m_initializing = false;

  manager->AddNativeWindow(owner, hwnd);
  return window;
}

void CEditWnd::Detach() {
  m_owner = nullptr;
  ::DestroyWindow(m_hwnd);
}

void CEditWnd::Place(const RECT& rc, bool visible) {
  m_brush.reset();
  m_brushBitmap.reset();
  if (!visible || rc.right <= rc.left || rc.bottom <= rc.top) {
    ::ShowWindow(m_hwnd, SW_HIDE);
    return;
  }
  ::SetWindowPos(m_hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (!::IsWindowVisible(m_hwnd)) ::ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
}

LRESULT CALLBACK CEditWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* window = static_cast<CEditWnd*>(::GetPropW(hwnd, kEditWindowProperty));
  if (window == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  return window->HandleMessage(message, wParam, lParam);
}

LRESULT CEditWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KILLFOCUS: {
      const LRESULT result = ::CallWindowProcW(m_oldProc, m_hwnd, message, wParam, lParam);
      // Not destroyed inside its own focus change: the close is queued.
      ::PostMessageW(m_hwnd, WM_CLOSE, 0, 0);
      return result;
    }
    case WM_CLOSE:
      ::DestroyWindow(m_hwnd);
      return 0;
    case WM_CHAR:
      if (wParam == VK_RETURN) {
        if (m_owner != nullptr && m_owner->m_pManager != nullptr) {
          m_owner->m_pManager->SendNotify(m_owner, L"return");
        }
        return 0;
      }
      break;
    case kReflectedMessageBase + WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE && !m_initializing && m_owner != nullptr) {
        m_owner->OnNativeTextChanged(WindowText(m_hwnd));
      }
      return 0;
    case kReflectedMessageBase + WM_CTLCOLOREDIT:
    case kReflectedMessageBase + WM_CTLCOLORSTATIC:
      return OnControlColor(message - kReflectedMessageBase, wParam, lParam);
    case WM_NCDESTROY: {
      const WNDPROC oldProc = m_oldProc;
      HWND hwnd = m_hwnd;
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
      ::RemovePropW(hwnd, kEditWindowProperty);
      if (m_owner != nullptr) m_owner->OnNativeWindowGone(hwnd);
      delete this;
      return ::CallWindowProcW(oldProc, hwnd, message, wParam, lParam);
    }
    default:
      break;
  }
  return ::CallWindowProcW(m_oldProc, m_hwnd, message, wParam, lParam);
}

LRESULT CEditWnd::OnControlColor(UINT message, WPARAM wParam, LPARAM lParam) {
  HDC dc = reinterpret_cast<HDC>(wParam);
  const LRESULT standard = ::DefWindowProcW(::GetParent(m_hwnd), message, wParam, lParam);
  if (m_owner == nullptr) return standard;
  ::SetTextColor(dc, ToPlatformColor(m_owner->GetNativeTextColor()));
  const DWORD background = m_owner->m_dwNativeBkColor;
  if (background == 0xFFFFFFFF) return standard;
  if (ColorAlpha(background) == 0xFF) {
    if (!m_brush || m_brushColor != background) {
      m_brush.reset(::CreateSolidBrush(ToPlatformColor(background)));
      m_brushBitmap.reset();
      m_brushColor = background;
    }
    ::SetBkColor(dc, ToPlatformColor(background));
    return reinterpret_cast<LRESULT>(m_brush.get());
  }
  // Translucent: the window shows the control's own rendered background.
  if (!m_brush || m_brushColor != background) {
    RECT rc = {};
    ::GetWindowRect(m_hwnd, &rc);
    ::MapWindowPoints(nullptr, ::GetParent(m_hwnd), reinterpret_cast<POINT*>(&rc), 2);
    CControlPainter painter(m_owner);
    m_brushBitmap.reset(CRenderEngine::GenerateBitmap(m_owner->m_pManager, &painter, rc));
    m_brush.reset(m_brushBitmap ? ::CreatePatternBrush(m_brushBitmap.get()) : nullptr);
    m_brushColor = background;
  }
  ::SetBkMode(dc, TRANSPARENT);
  return m_brush ? reinterpret_cast<LRESULT>(m_brush.get()) : standard;
}

RECT EditWindowRect(const RECT& item, const RECT& textPadding, int fontHeight) {
  RECT rc = ShrinkRect(item, textPadding);
  const int height = rc.bottom - rc.top;
  if (fontHeight > 0 && height > fontHeight) {
    rc.top += (height - fontHeight) / 2;
    rc.bottom = rc.top + fontHeight;
  }
  return rc;
}

DWORD EditWindowStyle(DWORD extraStyle, bool password, UINT textStyle) {
  DWORD style = WS_CHILD | ES_AUTOHSCROLL | extraStyle;
  if (password) style |= ES_PASSWORD;
  if ((textStyle & DT_CENTER) != 0) {
    style |= ES_CENTER;
  } else if ((textStyle & DT_RIGHT) != 0) {
    style |= ES_RIGHT;
  }
  return style;
}

CUiString MaskedText(const CUiString& text, wchar_t passwordChar) {
  std::wstring masked(static_cast<size_t>(text.GetLength()), passwordChar);
  return CUiString(masked.c_str());
}

CEditUI::CEditUI() {
  m_rcTextPadding = RECT{4, 3, 4, 3};
  m_dwBackColor = 0xFFFFFFFF;
}

CEditUI::~CEditUI() {
  if (m_pWindow != nullptr) {
    CEditWnd* window = m_pWindow;
    m_pWindow = nullptr;
    if (m_pManager != nullptr) m_pManager->RemoveNativeWindow(window->GetHWND());
    window->Detach();
  }
}

const wchar_t* CEditUI::GetClass() const { return L"Edit"; }

void* CEditUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && NameIs(name, L"Edit")) return this;
  return CLabelUI::GetInterface(name);
}

UINT CEditUI::GetControlFlags() const {
  return UIFLAG_TABSTOP | (IsEnabled() ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u);
}

HWND CEditUI::GetNativeWindow() const {
  return m_pWindow != nullptr ? m_pWindow->GetHWND() : nullptr;
}

RECT CEditUI::NativeWindowRect() const {
  CUiRect rc = EditWindowRect(m_rcItem, m_rcTextPadding, GetFontHeight());
  if (!ClipToAncestors(rc, false)) return RECT{rc.left, rc.top, rc.left, rc.top};
  return rc;
}

void CEditUI::StartEditing() {
  if (m_pWindow != nullptr || m_pManager == nullptr) return;
  HWND parent = m_pManager->GetPaintWindow();
  if (parent == nullptr) return;
  m_pWindow = CEditWnd::Create(this, parent);
  if (m_pWindow == nullptr) return;
  HWND hwnd = m_pWindow->GetHWND();
  PlaceNativeWindow();
  ::SetFocus(hwnd);
  if (m_bAutoSelAll) {
    ::SendMessageW(hwnd, EM_SETSEL, 0, -1);
  } else {
    const int length = ::GetWindowTextLengthW(hwnd);
    ::SendMessageW(hwnd, EM_SETSEL, length, length);
  }
  Invalidate();
}

void CEditUI::PlaceNativeWindow() {
  if (m_pWindow != nullptr) m_pWindow->Place(NativeWindowRect(), IsVisible());
}

void CEditUI::OnNativeTextChanged(const CUiString& text) {
  // Some edit windows report a change for a refused keystroke too: only real changes count.
  if (m_sText == text) return;
  m_sText = text;
  MakeSizeDirty();
  if (m_pManager != nullptr) m_pManager->SendNotify(this, L"textchanged");
}

void CEditUI::OnNativeWindowGone(HWND hwnd) {
  m_pWindow = nullptr;
  if (m_pManager != nullptr) m_pManager->RemoveNativeWindow(hwnd);
  Invalidate();
}

DWORD CEditUI::GetNativeTextColor() const {
  if (m_dwTextColor != 0 || m_pManager == nullptr) return m_dwTextColor;
  return m_pManager->GetDefaultFontColor();
}

void CEditUI::SetEnabled(bool enabled) {
  CLabelUI::SetEnabled(enabled);
  if (!enabled) m_uButtonState = 0;
  if (m_pWindow != nullptr) ::EnableWindow(m_pWindow->GetHWND(), enabled ? TRUE : FALSE);
}

void CEditUI::SetText(const wchar_t* text) {
  if (m_sText == text) return;
  CLabelUI::SetText(text);
  if (m_pWindow != nullptr) ::SetWindowTextW(m_pWindow->GetHWND(), m_sText);
}

void CEditUI::SetPos(RECT rc, bool needInvalidate) {
  CLabelUI::SetPos(rc, needInvalidate);
  PlaceNativeWindow();
}

void CEditUI::Move(SIZE offset, bool needInvalidate) {
  CLabelUI::Move(offset, needInvalidate);
  PlaceNativeWindow();
}

void CEditUI::SetVisible(bool visible) {
  CLabelUI::SetVisible(visible);
  PlaceNativeWindow();
}

void CEditUI::SetInternVisible(bool visible) {
  CLabelUI::SetInternVisible(visible);
  PlaceNativeWindow();
}

void CEditUI::SetMaxChar(UINT maxChar) {
  m_uMaxChar = maxChar;
  if (m_pWindow != nullptr) ::SendMessageW(m_pWindow->GetHWND(), EM_LIMITTEXT, m_uMaxChar, 0);
}

void CEditUI::SetReadOnly(bool readOnly) {
  if (m_bReadOnly == readOnly) return;
  m_bReadOnly = readOnly;
  if (m_pWindow != nullptr) {
    ::SendMessageW(m_pWindow->GetHWND(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
  }
  Invalidate();
}

void CEditUI::SetPasswordMode(bool passwordMode) {
  if (m_bPasswordMode == passwordMode) return;
  m_bPasswordMode = passwordMode;
  if (m_pWindow != nullptr) {
    ::SendMessageW(m_pWindow->GetHWND(), EM_SETPASSWORDCHAR, passwordMode ? m_cPasswordChar : 0, 0);
    ::InvalidateRect(m_pWindow->GetHWND(), nullptr, TRUE);
  }
  MakeSizeDirty();
  Invalidate();
}

void CEditUI::SetPasswordChar(wchar_t passwordChar) {
  if (m_cPasswordChar == passwordChar) return;
  m_cPasswordChar = passwordChar;
  if (m_pWindow != nullptr && m_bPasswordMode) {
    ::SendMessageW(m_pWindow->GetHWND(), EM_SETPASSWORDCHAR, passwordChar, 0);
  }
  Invalidate();
}

void CEditUI::SetAutoSelAll(bool autoSelAll) { m_bAutoSelAll = autoSelAll; }

void CEditUI::SetNumberOnly(bool numberOnly) {
  if (numberOnly) {
    m_dwEditStyle |= ES_NUMBER;
  } else {
    m_dwEditStyle &= ~static_cast<DWORD>(ES_NUMBER);
  }
  if (m_pWindow != nullptr) {
    HWND hwnd = m_pWindow->GetHWND();
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, GWL_STYLE);
    ::SetWindowLongPtrW(
        hwnd, GWL_STYLE,
        numberOnly ? (style | ES_NUMBER) : (style & ~static_cast<LONG_PTR>(ES_NUMBER)));
  }
}

void CEditUI::SetNativeEditBkColor(DWORD color) {
  m_dwNativeBkColor = color;
  if (m_pWindow != nullptr) ::InvalidateRect(m_pWindow->GetHWND(), nullptr, TRUE);
}

void CEditUI::SetNormalImage(const wchar_t* description) { LoadDrawInfo(m_diNormal, description); }
void CEditUI::SetHotImage(const wchar_t* description) { LoadDrawInfo(m_diHot, description); }
void CEditUI::SetFocusedImage(const wchar_t* description) {
  LoadDrawInfo(m_diFocused, description);
}
void CEditUI::SetDisabledImage(const wchar_t* description) {
  LoadDrawInfo(m_diDisabled, description);
}

void CEditUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"readonly")) {
    SetReadOnly(ParseBoolValue(value));
  } else if (NameIs(name, L"numberonly")) {
    SetNumberOnly(ParseBoolValue(value));
  } else if (NameIs(name, L"password")) {
    SetPasswordMode(ParseBoolValue(value));
  } else if (NameIs(name, L"autoselall")) {
    SetAutoSelAll(ParseBoolValue(value));
  } else if (NameIs(name, L"maxchar")) {
    SetMaxChar(static_cast<UINT>(ParseDecimal(value)));
  } else if (NameIs(name, L"normalimage")) {
    SetNormalImage(value);
  } else if (NameIs(name, L"hotimage")) {
    SetHotImage(value);
  } else if (NameIs(name, L"focusedimage")) {
    SetFocusedImage(value);
  } else if (NameIs(name, L"disabledimage")) {
    SetDisabledImage(value);
  } else if (NameIs(name, L"nativebkcolor")) {
    SetNativeEditBkColor(ParseColor(value));
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

void CEditUI::DoEvent(TEventUI& event) {
  if (PassOnMouseEventWhenMouseDisabled(event)) return;
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      if (IsEnabled()) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_IBEAM));
        return;
      }
      break;
    case UIEVENT_WINDOWSIZE:
      PlaceNativeWindow();
      return;
    case UIEVENT_SETFOCUS:
      CLabelUI::DoEvent(event);
      if (IsEnabled()) StartEditing();
      return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
    case UIEVENT_RBUTTONDOWN:
      if (!IsEnabled()) return;
      if (IsFocused() && m_pWindow == nullptr) {
        StartEditing();
      } else if (m_pWindow != nullptr && !m_bAutoSelAll) {
        // The click goes on in the native window: the caret lands where the user pointed.
        HWND hwnd = m_pWindow->GetHWND();
        const RECT rc = NativeWindowRect();
        ::SendMessageW(hwnd, EM_SETSEL, 0, 0);
        ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON,
                       MAKELPARAM(event.ptMouse.x - rc.left, event.ptMouse.y - rc.top));
      }
      return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_BUTTONUP:
    case UIEVENT_CONTEXTMENU:
      return;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) {
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      if (IsEnabled()) {
        m_uButtonState &= ~UISTATE_HOT;
        Invalidate();
      }
      return;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

void CEditUI::PaintStatusImage(HDC hDC) {
  m_uButtonState = WithFocusedAndDisabledBits(m_uButtonState);
  TDrawInfo* state = nullptr;
  if ((m_uButtonState & UISTATE_DISABLED) != 0) {
    state = &m_diDisabled;
  } else if ((m_uButtonState & UISTATE_FOCUSED) != 0) {
    state = &m_diFocused;
  } else if ((m_uButtonState & UISTATE_HOT) != 0) {
    state = &m_diHot;
  }
  if (state != nullptr && DrawImage(hDC, *state)) return;
  DrawImage(hDC, m_diNormal);
}

void CEditUI::PaintText(HDC hDC) {
  // While editing, the native window shows the text.
  if (m_pWindow != nullptr) return;
  CLabelUI::PaintText(hDC);
}

CUiString CEditUI::GetTextForPaint() const {
  return m_bPasswordMode ? MaskedText(m_sText, m_cPasswordChar) : m_sText;
}

}  // namespace SkinUI
