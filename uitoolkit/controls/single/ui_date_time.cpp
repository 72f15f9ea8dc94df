#include "uitoolkit/controls/single/ui_date_time.h"

#include <commctrl.h>


#include "common/system_libraries.h"
#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_control_manager.h"

namespace SkinUI {
namespace {

// The window property that holds the CDateTimeWnd of a subclassed picker.
constexpr wchar_t kPickerProperty[] = L"SkinUI.CDateTimeWnd";
// Posted to the picker to close it unless the focus is in it or its calendar.
constexpr UINT kCheckFocusMessage = WM_APP + 0x51;

// The picker's window class is registered by the common controls, loaded at run time from the
// system folder (the programs do not import them).
bool RegisterPickerClass() {
  static const bool registered = [] {
    const auto init = vesk::SystemFunction<BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*)>(
        L"comctl32.dll", "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_DATE_CLASSES};
    return init != nullptr && init(&classes) != FALSE;
  }();
  return registered;
}

CUiString ShortDateText(const SYSTEMTIME& date) {
  wchar_t text[80] = L"";
  if (::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, text, 80) == 0) {
    text[0] = L'\0';
  }
  return CUiString(text);
}

// The date part of `time`, with its weekday filled in.
SYSTEMTIME DateOnly(const SYSTEMTIME& time) {
  SYSTEMTIME date = {};
  date.wYear = time.wYear;
  date.wMonth = time.wMonth;
  date.wDay = time.wDay;
  FILETIME file = {};
  if (::SystemTimeToFileTime(&date, &file)) ::FileTimeToSystemTime(&file, &date);
  return date;
}

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

bool ParseIsoDate(const wchar_t* text, SYSTEMTIME& date) {
  if (text == nullptr) return false;
  int digits[8] = {};
  int count = 0;
  for (int index = 0; index < 10; ++index) {
    const wchar_t ch = text[index];
    if (index == 4 || index == 7) {
      if (ch != L'-') return false;
    } else if (ch >= L'0' && ch <= L'9') {
      digits[count++] = ch - L'0';
    } else {
      return false;
    }
  }
  if (text[10] != L'\0') return false;
  SYSTEMTIME parsed = {};
  parsed.wYear = static_cast<WORD>(digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3]);
  parsed.wMonth = static_cast<WORD>(digits[4] * 10 + digits[5]);
  parsed.wDay = static_cast<WORD>(digits[6] * 10 + digits[7]);
  if (parsed.wYear < 1601 || parsed.wMonth < 1 || parsed.wMonth > 12 || parsed.wDay < 1 ||
      parsed.wDay > DaysInMonth(parsed.wYear, parsed.wMonth)) {
    return false;
  }
  date = DateOnly(parsed);
  return true;
}

// The native date picker over a date field while the user changes the date: a child of the
// manager's window, subclassed to pass its changes to the control and to close on Enter, Escape
// and focus loss. It deletes itself when destroyed.
class CDateTimeWnd {
 public:
  // Opens the picker with the focus; a click that opened it (window coordinates, or null) is
  // passed on, so that it selects the part of the date (or opens the calendar) under it.
  static CDateTimeWnd* Create(CDateTimeUI* owner, HWND parent, const POINT* click);
  // Destroys the window without telling the owner (the owner is going away).
  void Detach() {
    m_owner = nullptr;
    ::DestroyWindow(m_hwnd);
  }
  HWND GetHWND() const { return m_hwnd; }

 private:
  CDateTimeWnd(CDateTimeUI* owner, HWND hwnd) : m_owner(owner), m_hwnd(hwnd) {}
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // Closes once the focus is neither in the picker nor in its month calendar.
  void CloseUnlessFocused();

  CDateTimeUI* m_owner;
  HWND m_hwnd;
  WNDPROC m_oldProc = nullptr;
};

CDateTimeWnd* CDateTimeWnd::Create(CDateTimeUI* owner, HWND parent, const POINT* click) {
  if (!RegisterPickerClass()) return nullptr;
  const RECT rc = owner->GetPos();
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  HWND hwnd = ::CreateWindowExW(0, DATETIMEPICK_CLASSW, nullptr,
                                WS_CHILD | WS_TABSTOP | DTS_SHORTDATEFORMAT, rc.left, rc.top,
                                rc.right - rc.left, rc.bottom - rc.top, parent, nullptr,
                                instance, nullptr);
  if (hwnd == nullptr) return nullptr;
  CDateTimeWnd* window = new CDateTimeWnd(owner, hwnd);
  ::SetPropW(hwnd, kPickerProperty, window);
  window->m_oldProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
      hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CDateTimeWnd::WindowProc)));
  IControlManagerUI* manager = owner->GetManagerInterface();
  ::SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(manager->GetFont(owner->GetFont())),
                 FALSE);
  SYSTEMTIME date = owner->GetTime();
  ::SendMessageW(hwnd, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
  manager->AddNativeWindow(owner, hwnd);
  ::ShowWindow(hwnd, SW_SHOW);
  ::SetFocus(hwnd);
  if (click != nullptr) {
    const LPARAM at = MAKELPARAM(click->x - rc.left, click->y - rc.top);
    ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
  }
  return window;
}

LRESULT CALLBACK CDateTimeWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
  auto* window = static_cast<CDateTimeWnd*>(::GetPropW(hwnd, kPickerProperty));
  if (window == nullptr) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  return window->HandleMessage(message, wParam, lParam);
}

void CDateTimeWnd::CloseUnlessFocused() {
  HWND focus = ::GetFocus();
  HWND calendar = reinterpret_cast<HWND>(::SendMessageW(m_hwnd, DTM_GETMONTHCAL, 0, 0));
  const auto inside = [focus](HWND window) {
    return window != nullptr && (focus == window || ::IsChild(window, focus));
  };
  // (Some picker versions keep a hidden calendar; only a shown one counts.)
  if (inside(m_hwnd) || inside(calendar) ||
      (calendar != nullptr && ::IsWindowVisible(calendar))) {
    return;
  }
  ::DestroyWindow(m_hwnd);
}

LRESULT CDateTimeWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        // The focus goes back to the window, which closes the picker.
        ::SetFocus(::GetParent(m_hwnd));
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
      break;
    case WM_KILLFOCUS: {
      const LRESULT result = ::CallWindowProcW(m_oldProc, m_hwnd, message, wParam, lParam);
      // Looked at once the focus change is over: dropping the calendar down moves the focus
      // before the calendar shows.
      ::PostMessageW(m_hwnd, kCheckFocusMessage, 0, 0);
      return result;
    }
    case kCheckFocusMessage:
      CloseUnlessFocused();
      return 0;
    case WM_CLOSE:
      ::DestroyWindow(m_hwnd);
      return 0;
    case kReflectedMessageBase + WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == DTN_DATETIMECHANGE && m_owner != nullptr) {
        const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(lParam);
        if (change->dwFlags == GDT_VALID) m_owner->OnPickerChanged(change->st);
      } else if (header->code == DTN_CLOSEUP) {
        ::PostMessageW(m_hwnd, kCheckFocusMessage, 0, 0);
      }
      return 0;
    }
    case WM_NCDESTROY: {
      const WNDPROC oldProc = m_oldProc;
      HWND hwnd = m_hwnd;
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(oldProc));
      ::RemovePropW(hwnd, kPickerProperty);
      if (m_owner != nullptr) m_owner->OnPickerGone();
      delete this;
      return ::CallWindowProcW(oldProc, hwnd, message, wParam, lParam);
    }
    default:
      break;
  }
  return ::CallWindowProcW(m_oldProc, m_hwnd, message, wParam, lParam);
}

// ---- The control ----

CDateTimeUI::CDateTimeUI() {
  m_dwBackColor = 0xFFFFFFFF;
  m_dwBorderColor = 0xFF7A7A7A;
  m_rcBorderSize = CUiRect(1, 1, 1, 1);
  m_rcTextPadding = CUiRect(4, 0, 4, 0);
  SYSTEMTIME now = {};
  ::GetLocalTime(&now);
  SetTime(now);
}

CDateTimeUI::~CDateTimeUI() {
  if (m_pWindow != nullptr) m_pWindow->Detach();
}

const wchar_t* CDateTimeUI::GetClass() const { return kClassName; }

void* CDateTimeUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) return this;
  return CLabelUI::GetInterface(name);
}

UINT CDateTimeUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_TABSTOP : 0u; }

HWND CDateTimeUI::GetNativeWindow() const {
  return m_pWindow != nullptr ? m_pWindow->GetHWND() : nullptr;
}

void CDateTimeUI::SetTime(const SYSTEMTIME& date) {
  m_date = DateOnly(date);
  SetText(ShortDateText(m_date));
}

void CDateTimeUI::SetReadOnly(bool readOnly) {
  m_bReadOnly = readOnly;
  if (readOnly) ClosePicker();
}

bool CDateTimeUI::Activate() {
  if (!CLabelUI::Activate()) return false;
  return OpenPicker(nullptr);
}

bool CDateTimeUI::OpenPicker(const POINT* click) {
  if (m_pWindow != nullptr) return true;
  if (m_bReadOnly || !IsEnabled() || m_pManager == nullptr ||
      m_pManager->GetPaintWindow() == nullptr) {
    return false;
  }
  m_pWindow = CDateTimeWnd::Create(this, m_pManager->GetPaintWindow(), click);
  return m_pWindow != nullptr;
}

void CDateTimeUI::ClosePicker() {
  if (m_pWindow != nullptr) ::DestroyWindow(m_pWindow->GetHWND());
}

void CDateTimeUI::PlacePicker() {
  if (m_pWindow == nullptr) return;
  ::SetWindowPos(m_pWindow->GetHWND(), nullptr, m_rcItem.left, m_rcItem.top, m_rcItem.GetWidth(),
                 m_rcItem.GetHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDateTimeUI::OnPickerChanged(const SYSTEMTIME& date) {
  const CUiString before = m_sText;
  SetTime(date);
  if (m_sText != before && m_pManager != nullptr) m_pManager->SendNotify(this, L"textchanged");
}

void CDateTimeUI::OnPickerGone() {
  HWND hwnd = m_pWindow->GetHWND();
  m_pWindow = nullptr;
  if (m_pManager != nullptr) m_pManager->RemoveNativeWindow(hwnd);
  Invalidate();
}

void CDateTimeUI::SetPos(RECT rc, bool needInvalidate) {
  CLabelUI::SetPos(rc, needInvalidate);
  PlacePicker();
}

void CDateTimeUI::Move(SIZE offset, bool needInvalidate) {
  CLabelUI::Move(offset, needInvalidate);
  PlacePicker();
}

void CDateTimeUI::SetVisible(bool visible) {
  CLabelUI::SetVisible(visible);
  if (!IsVisible()) ClosePicker();
}

void CDateTimeUI::SetInternVisible(bool visible) {
  CLabelUI::SetInternVisible(visible);
  if (!IsVisible()) ClosePicker();
}

void CDateTimeUI::SetEnabled(bool enabled) {
  CLabelUI::SetEnabled(enabled);
  if (!enabled) ClosePicker();
}

void CDateTimeUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (IsEnabled()) {
        SetFocus();
        OpenPicker(&event.ptMouse);
      }
      return;
    case UIEVENT_KEYDOWN:
      if (event.chKey == VK_F4 || event.chKey == VK_SPACE) {
        OpenPicker(nullptr);
        return;
      }
      break;
    case UIEVENT_SYSKEY:
      if (event.chKey == VK_DOWN) {
        OpenPicker(nullptr);
        return;
      }
      break;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

void CDateTimeUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  SYSTEMTIME date = {};
  if (NameIs(name, L"date")) {
    if (ParseIsoDate(value, date)) SetTime(date);
  } else if (NameIs(name, L"readonly")) {
    SetReadOnly(ParseBoolValue(value));
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

}  // namespace SkinUI
