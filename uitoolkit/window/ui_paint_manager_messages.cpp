// CPaintManagerUI's native window: binding, the message loop, pre-message handling (Tab order,
// Alt shortcuts), the message filters in front of the input router, and native child windows.
#include "uitoolkit/window/ui_paint_manager.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>

#include "uitoolkit/controls/hosted/ui_rich_edit.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/controls/ui_tab_pages.h"
#include "uitoolkit/window/ui_accessible.h"

namespace SkinUI {

// Loaded at run time, so that the programs do not import the common controls.
void CPaintManagerUI::InitCommonControlsOnce() {
  static const bool done = [] {
    HMODULE comctl = ::LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (comctl == nullptr) return false;
    typedef BOOL(WINAPI * InitProc)(const INITCOMMONCONTROLSEX*);
    InitProc init = reinterpret_cast<InitProc>(
        reinterpret_cast<void*>(::GetProcAddress(comctl, "InitCommonControlsEx")));
    if (init == nullptr) return false;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    return init(&icc) != FALSE;
  }();
  (void)done;
}

namespace {

// The focused control when it is a visible, enabled rich edit, else null.
CRichEditUI* LiveRichEdit(CControlUI* focus) {
  if (focus == nullptr || !focus->IsVisible() || !focus->IsEnabled()) return nullptr;
  return static_cast<CRichEditUI*>(focus->GetInterface(CRichEditUI::kClassName));
}

// The key state of TEventUI from the keyboard: 1 left, 2 right button, 4 Shift, 8 Ctrl, 0x20 Alt.
WORD KeyStateFromKeyboard() {
  WORD state = 0;
  if (::GetKeyState(VK_LBUTTON) < 0) state |= UIKEYSTATE_LBUTTON;
  if (::GetKeyState(VK_RBUTTON) < 0) state |= UIKEYSTATE_RBUTTON;
  if (::GetKeyState(VK_SHIFT) < 0) state |= UIKEYSTATE_SHIFT;
  if (::GetKeyState(VK_CONTROL) < 0) state |= UIKEYSTATE_CONTROL;
  if (::GetKeyState(VK_MENU) < 0) state |= UIKEYSTATE_ALT;
  return state;
}

// Tab search: every visible and enabled control in search order, remembering the tab stops
// before and after the focused one and the first and last of the tree.
struct TTabSearch {
  CControlUI* focus = nullptr;
  CControlUI* first = nullptr;
  CControlUI* last = nullptr;
  CControlUI* beforeFocus = nullptr;
  CControlUI* afterFocus = nullptr;
  bool focusSeen = false;
};

CControlUI* VisitTabStop(CControlUI* control, void* data) {
  TTabSearch* search = static_cast<TTabSearch*>(data);
  if (control == search->focus) {
    search->focusSeen = true;
    return nullptr;
  }
  if ((control->GetControlFlags() & UIFLAG_TABSTOP) == 0) return nullptr;
  if (search->first == nullptr) search->first = control;
  search->last = control;
  if (!search->focusSeen) {
    search->beforeFocus = control;
  } else if (search->afterFocus == nullptr) {
    search->afterFocus = control;
  }
  return nullptr;  // visit every control
}

// Shows the next (or previous) page of the innermost tab layout around `focus`; false when the
// focus lies in none.
bool SelectNeighbourPage(CControlUI* focus, bool forward) {
  for (CControlUI* control = focus; control != nullptr; control = control->GetParent()) {
    if (ITabPagesUI* pages = TabPagesOf(control)) return pages->SelectNeighbour(forward);
  }
  return false;
}

struct TShortcutSearch {
  wchar_t ch;
};

CControlUI* FindShortcut(CControlUI* control, void* data) {
  const wchar_t ch = static_cast<TShortcutSearch*>(data)->ch;
  return control->IsEnabled() && control->GetShortcut() == ch ? control : nullptr;
}

template <typename Listener>
bool AppendListener(std::vector<Listener*>& list, Listener* listener) {
  if (listener == nullptr) return false;
  list.push_back(listener);
  return true;
}

// Removes the first occurrence; false when the listener is not in the list.
template <typename Listener>
bool RemoveListener(std::vector<Listener*>& list, Listener* listener) {
  auto found = std::find(list.begin(), list.end(), listener);
  if (found == list.end()) return false;
  list.erase(found);
  return true;
}

}  // namespace

std::vector<CPaintManagerUI*>& CPaintManagerUI::PreMessages() {
  static std::vector<CPaintManagerUI*>* managers = new std::vector<CPaintManagerUI*>();
  return *managers;
}

void CPaintManagerUI::Init(HWND hWnd, const wchar_t* name) {
  InitCommonControlsOnce();
  RemoveAllFonts();
  RemoveAllImages();
  RemoveAllDefaultAttributeList();
  RemoveAllWindowCustomAttribute();
  RemoveAllOptionGroups();
  RemoveAllTimers();
  m_sName = name != nullptr ? name : L"";
  if (m_hWndPaint == hWnd) return;
  if (m_hDcPaint != nullptr && ::IsWindow(m_hWndPaint)) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
  m_hWndPaint = hWnd;
  m_hDcPaint = hWnd != nullptr ? ::GetDC(hWnd) : nullptr;
  std::vector<CPaintManagerUI*>& managers = PreMessages();
  if (hWnd != nullptr && std::find(managers.begin(), managers.end(), this) == managers.end()) {
    managers.push_back(this);
  }
}

// ---- Message loop ----

int CPaintManagerUI::MessageLoop() {
  MSG msg = {};
  // GetMessage answers -1 on failure; that ends the loop instead of spinning on it.
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!CPaintManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

bool CPaintManagerUI::TranslateForManager(CPaintManagerUI* manager, LPMSG msg, bool childTarget) {
  for (ITranslateAccelerator* accelerator : manager->m_aTranslateAccelerators) {
    if (accelerator->TranslateAccelerator(msg) == S_OK) return true;
  }
  LRESULT result = 0;
  const bool consumed = manager->PreMessageHandler(msg->message, msg->wParam, msg->lParam, result);
  return consumed && !childTarget;
}

bool CPaintManagerUI::TranslateMessage(const LPMSG msg) {
  if (msg == nullptr) return false;
  std::vector<CPaintManagerUI*>& managers = PreMessages();
  const bool child = msg->hwnd != nullptr &&
                     (::GetWindowLongPtrW(msg->hwnd, GWL_STYLE) & WS_CHILD) != 0;
  if (!child) {
    for (CPaintManagerUI* manager : managers) {
      if (manager->m_hWndPaint == msg->hwnd) return TranslateForManager(manager, msg, false);
    }
    return false;
  }
  // From the last manager to the first; a handler may end a window, so the index is checked
  // against the current size each time.
  for (std::size_t i = managers.size(); i-- > 0;) {
    if (i >= managers.size()) continue;
    CPaintManagerUI* manager = managers[i];
    for (HWND window = msg->hwnd; window != nullptr; window = ::GetParent(window)) {
      if (window != manager->m_hWndPaint) continue;
      for (ITranslateAccelerator* accelerator : manager->m_aTranslateAccelerators) {
        if (accelerator->TranslateAccelerator(msg) == S_OK) return true;
      }
      LRESULT result = 0;
      manager->PreMessageHandler(msg->message, msg->wParam, msg->lParam, result);
      break;
    }
  }
  return false;
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
  const std::vector<IMessageFilterUI*> filters = m_aPreMessageFilters;
  for (IMessageFilterUI* filter : filters) {
    bool handled = false;
    const LRESULT answer = filter->MessageHandler(uMsg, wParam, lParam, handled);
    if (handled) {
      result = answer;
      return true;
    }
  }
  switch (uMsg) {
    case WM_KEYDOWN:
      if (wParam == VK_RETURN) return ActivateDefaultButton();
      if (wParam != VK_TAB) return false;
      // Ctrl+Tab and Ctrl+Shift+Tab switch the pages of the tab layout holding the focus.
      if (::GetKeyState(VK_CONTROL) < 0 &&
          SelectNeighbourPage(m_pFocus, ::GetKeyState(VK_SHIFT) >= 0)) {
        return true;
      }
      // A rich edit that wants Tab takes it itself.
      if (CRichEditUI* rich = LiveRichEdit(m_pFocus); rich != nullptr && rich->WantsTab()) {
        return false;
      }
      SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
      return true;
    case WM_SYSKEYDOWN:
      if (m_pFocus != nullptr) {
        TEventUI event = MakeEvent(UIEVENT_SYSKEY, m_pFocus, wParam, lParam);
        event.chKey = static_cast<wchar_t>(wParam);
        m_pFocus->Event(event);
      }
      return false;
    case WM_SYSCHAR: {
      if (m_pRoot == nullptr) return false;
      // CharUpperW upper-cases a single character passed in the pointer's low word.
      const ULONG_PTR upper = reinterpret_cast<ULONG_PTR>(::CharUpperW(
          reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<wchar_t>(wParam)))));
      TShortcutSearch search{static_cast<wchar_t>(upper)};
      CControlUI* control = m_pRoot->FindControl(&FindShortcut, &search,
                                                 UIFIND_ENABLED | UIFIND_ME_FIRST |
                                                     UIFIND_TOP_FIRST);
      if (control == nullptr) return false;
      control->SetFocus();
      control->Activate();
      return true;
    }
    default:
      return false;
  }
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* filter) {
  return AppendListener(m_aPreMessageFilters, filter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* filter) {
  return RemoveListener(m_aPreMessageFilters, filter);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* filter) {
  return AppendListener(m_aMessageFilters, filter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) {
  return RemoveListener(m_aMessageFilters, filter);
}

bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* accelerator) {
  return AppendListener(m_aTranslateAccelerators, accelerator);
}

bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* accelerator) {
  return RemoveListener(m_aTranslateAccelerators, accelerator);
}

// ---- Focus, Tab order, capture ----

bool CPaintManagerUI::SetNextTabControl(bool forward) {
  if (m_bUpdateNeeded && forward) {
    m_bFocusNeeded = true;
    if (m_hWndPaint != nullptr) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
    return true;
  }
  m_bFocusNeeded = false;
  if (m_pRoot == nullptr) return true;
  TTabSearch search;
  search.focus = m_pFocus;
  m_pRoot->FindControl(&VisitTabStop, &search,
                       UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
  CControlUI* next = nullptr;
  if (forward) {
    next = search.afterFocus != nullptr ? search.afterFocus : search.first;
  } else {
    next = search.beforeFocus != nullptr ? search.beforeFocus : search.last;
  }
  if (next != nullptr) {
    SetFocus(next, true);
    // A control reached by Tab is shown: every scrolling container around it scrolls to it.
    ScrollControlIntoView(next);
  }
  return true;
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* control) {
  m_bInitialFocusNeeded = false;
  if (m_hWndPaint != nullptr && !m_bNoActivate) ::SetFocus(m_hWndPaint);
  if (control == nullptr) return;
  ReleaseFocus(control);
  // The tab stop before the control is taken, so that the forward step of the next paint lands
  // on the control itself (taking the one after would skip past it).
  TTabSearch search;
  search.focus = control;
  if (m_pRoot != nullptr) {
    m_pRoot->FindControl(&VisitTabStop, &search,
                         UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
  }
  m_pFocus = search.beforeFocus;
  m_bFocusNeeded = true;
  if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
}

// ---- The default button and the first focus ----

CControlUI* CPaintManagerUI::GetDefaultButton() const {
  CControlUI* button = FindControl(m_sDefaultButton);
  if (button == nullptr || button->GetManagerInterface() != this || !button->IsVisible() ||
      !button->IsEnabled() || (button->GetControlFlags() & UIFLAG_TABSTOP) == 0) {
    return nullptr;
  }
  return button;
}

bool CPaintManagerUI::ActivateDefaultButton() {
  CControlUI* button = GetDefaultButton();
  if (button == nullptr) return false;
  // A focused button answers Enter itself, and so does a rich edit that inserts line breaks.
  if (m_pFocus != nullptr && m_pFocus->IsVisible() && m_pFocus->IsEnabled() &&
      m_pFocus->GetInterface(L"Button") != nullptr) {
    return false;
  }
  if (CRichEditUI* rich = LiveRichEdit(m_pFocus); rich != nullptr && rich->WantsReturn()) {
    return false;
  }
  button->Activate();
  return true;
}

CControlUI* CPaintManagerUI::InitialFocusControl() const {
  CControlUI* button = GetDefaultButton();
  if (button != nullptr || m_pRoot == nullptr) return button;
  struct TFirstOutsideTitleBar {
    static CControlUI* Visit(CControlUI* control, void*) {
      if ((control->GetControlFlags() & UIFLAG_TABSTOP) == 0) return nullptr;
      const CUiString name = control->GetName();
      const bool titleButton = name == L"closebtn" || name == L"minbtn" || name == L"maxbtn" ||
                               name == L"restorebtn";
      return titleButton ? nullptr : control;
    }
  };
  return m_pRoot->FindControl(&TFirstOutsideTitleBar::Visit, nullptr,
                              UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
}

void CPaintManagerUI::GiveNeededFocus() {
  if (!m_bInitialFocusNeeded || m_bUpdateNeeded) {
    SetNextTabControl();
    return;
  }
  m_bFocusNeeded = false;
  CControlUI* initial = InitialFocusControl();
  if (initial != nullptr) SetFocus(initial, true);
  m_bInitialFocusNeeded = false;
}

// ---- Native child windows ----

bool CPaintManagerUI::AddNativeWindow(CControlUI* control, HWND hChildWnd) {
  if (control == nullptr || hChildWnd == nullptr) return false;
  for (auto& native : m_aNativeWindows) {
    if (native.first == hChildWnd) {
      native.second = control;
      return true;
    }
  }
  m_aNativeWindows.emplace_back(hChildWnd, control);
  return true;
}

bool CPaintManagerUI::RemoveNativeWindow(HWND hChildWnd) {
  for (auto it = m_aNativeWindows.begin(); it != m_aNativeWindows.end(); ++it) {
    if (it->first == hChildWnd) {
      m_aNativeWindows.erase(it);
      return true;
    }
  }
  return false;
}

CControlUI* CPaintManagerUI::GetNativeWindowControl(HWND hChildWnd) const {
  for (const auto& native : m_aNativeWindows) {
    if (native.first == hChildWnd) return native.second;
  }
  return nullptr;
}

// ---- Messages ----

TEventUI CPaintManagerUI::MakeEvent(int type, CControlUI* sender, WPARAM wParam,
                                    LPARAM lParam) const {
  TEventUI event;
  event.Type = type;
  event.pSender = sender;
  event.dwTimestamp = ::GetTickCount();
  event.ptMouse = m_ptLastMousePos;
  event.wKeyState = KeyStateFromKeyboard();
  event.wParam = wParam;
  event.lParam = lParam;
  return event;
}

CControlUI* CPaintManagerUI::FindOwnControl(POINT pt) const {
  CControlUI* control = FindControl(pt);
  return control != nullptr && control->GetManagerInterface() == this ? control : nullptr;
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (m_hWndPaint == nullptr) return false;
  const std::vector<IMessageFilterUI*> filters = m_aMessageFilters;
  for (IMessageFilterUI* filter : filters) {
    bool handled = false;
    const LRESULT answer = filter->MessageHandler(uMsg, wParam, lParam, handled);
    if (handled) {
      if (uMsg >= WM_MOUSEFIRST && uMsg <= WM_MOUSELAST) {
        m_ptLastMousePos = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      }
      result = answer;
      return true;
    }
  }
  if (uMsg == WM_GETOBJECT) return m_accessibles->AnswerGetObject(wParam, lParam, result);
  if (m_accessibles->HandleActionMessage(uMsg, wParam)) {
    result = 0;
    return true;
  }
  return m_router.Route(uMsg, wParam, lParam, result);
}

void CPaintManagerUI::OnWindowDestroyed() {
  // A gone window takes no more messages from the loop, and its device context goes back.
  std::vector<CPaintManagerUI*>& managers = PreMessages();
  managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
  m_painter.DiscardBuffers();
  if (m_hDcPaint != nullptr) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
  m_hDcPaint = nullptr;
}

}  // namespace SkinUI
