#include "testsupport/accessible_client.h"

#include <oleauto.h>

#include <cwchar>

#include "testsupport/live_window_support.h"

namespace SkinUI {
namespace testing {
namespace {

struct TWinEvent {
  DWORD event;
  HWND window;
  LONG childId;
};
std::vector<TWinEvent> g_events;

void CALLBACK RecordWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId,
                             LONG childId, DWORD, DWORD) {
  if (objectId == OBJID_CLIENT) g_events.push_back({event, window, childId});
}

}  // namespace

AccessiblePtr ClientObject(HWND window) {
  IAccessible* object = nullptr;
  ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                               reinterpret_cast<void**>(&object));
  return AccessiblePtr(object);
}

AccessiblePtr AsAccessible(IDispatch* object) {
  IAccessible* accessible = nullptr;
  if (object == nullptr) return AccessiblePtr();
  object->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&accessible));
  object->Release();
  return AccessiblePtr(accessible);
}

std::wstring TextOf(IAccessible* object,
                    HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*),
                    LONG child) {
  BSTR text = nullptr;
  if (object == nullptr || FAILED((object->*property)(ChildId(child), &text))) return L"";
  std::wstring answer = text != nullptr ? text : L"";
  ::SysFreeString(text);
  return answer;
}

LONG LongOf(IAccessible* object,
            HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, VARIANT*)) {
  VARIANT value;
  value.vt = VT_EMPTY;
  if (object == nullptr || FAILED((object->*property)(ChildId(CHILDID_SELF), &value))) return -1;
  return value.vt == VT_I4 ? value.lVal : -1;
}

std::vector<AccessiblePtr> ChildrenOf(IAccessible* object) {
  std::vector<AccessiblePtr> children;
  LONG count = 0, obtained = 0;
  if (FAILED(object->get_accChildCount(&count)) || count <= 0) return children;
  std::vector<VARIANT> found(static_cast<size_t>(count));
  if (FAILED(::AccessibleChildren(object, 0, count, found.data(), &obtained))) return children;
  for (LONG i = 0; i < obtained; ++i) {
    if (AccessiblePtr child = AsAccessible(found[i])) children.push_back(std::move(child));
  }
  return children;
}

std::vector<std::wstring> DumpTree(IAccessible* root, int depth) {
  wchar_t state[16];
  std::swprintf(state, 16, L"%lx", static_cast<unsigned long>(StateOf(root)));
  std::vector<std::wstring> lines = {std::wstring(depth * 2, L' ') +
                                     std::to_wstring(RoleOf(root)) + L" '" + NameOf(root) +
                                     L"' " + TextOf(root, &IAccessible::get_accValue) + L" " +
                                     state};
  for (const AccessiblePtr& child : ChildrenOf(root)) {
    for (std::wstring& line : DumpTree(child.get(), depth + 1)) lines.push_back(std::move(line));
  }
  return lines;
}

AccessiblePtr FindByName(IAccessible* root, const std::wstring& name) {
  for (AccessiblePtr& child : ChildrenOf(root)) {
    if (NameOf(child.get()) == name) return std::move(child);
    if (AccessiblePtr below = FindByName(child.get(), name)) return below;
  }
  return AccessiblePtr();
}

WinEventRecorder::WinEventRecorder() {
  g_events.clear();
  m_hook = ::SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &RecordWinEvent, 0, 0,
                             WINEVENT_OUTOFCONTEXT);
}

WinEventRecorder::~WinEventRecorder() { ::UnhookWinEvent(m_hook); }

bool WinEventRecorder::WaitFor(HWND window, DWORD event, const std::wstring& name,
                               DWORD limitMs) {
  size_t read = 0;
  return PumpUntil(
      [&] {
        for (; read < g_events.size(); ++read) {
          const TWinEvent& seen = g_events[read];
          if (seen.event == event && seen.window == window &&
              TextOf(ClientObject(window).get(), &IAccessible::get_accName, seen.childId) == name) {
            return true;
          }
        }
        return false;
      },
      limitMs);
}

}  // namespace testing
}  // namespace SkinUI
