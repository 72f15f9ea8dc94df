#include "testsupport/accessible_client.h"

#include <oleauto.h>

#include <cwchar>

#include "testsupport/live_window_support.h"

namespace SkinUI {
namespace testing {
namespace {

std::vector<WinEventRecord>* g_recording = nullptr;

void CALLBACK RecordWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId,
                             LONG childId, DWORD, DWORD) {
  if (g_recording != nullptr && objectId == OBJID_CLIENT) {
    g_recording->push_back({event, window, childId});
  }
}

}  // namespace

LONG LongOf(IAccessible* object,
            HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, VARIANT*)) {
  VARIANT value;
  value.vt = VT_EMPTY;
  if (object == nullptr) return -1;
  const HRESULT result = (object->*property)(ChildId(CHILDID_SELF), &value);
  return SUCCEEDED(result) && value.vt == VT_I4 ? value.lVal : -1;
}

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
  if (object == nullptr) return L"";
  const HRESULT result = (object->*property)(ChildId(child), &text);
  std::wstring answer = SUCCEEDED(result) && text != nullptr ? text : L"";
  ::SysFreeString(text);
  return answer;
}

RECT LocationOf(IAccessible* object) {
  LONG left = 0, top = 0, width = 0, height = 0;
  object->accLocation(&left, &top, &width, &height, ChildId(CHILDID_SELF));
  return RECT{left, top, left + width, top + height};
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

WinEventRecorder::WinEventRecorder(DWORD processId) {
  g_recording = &events;
  m_hook = ::SetWinEventHook(EVENT_MIN, EVENT_MAX, nullptr, &RecordWinEvent, processId, 0,
                             WINEVENT_OUTOFCONTEXT);
}

WinEventRecorder::~WinEventRecorder() {
  if (m_hook != nullptr) ::UnhookWinEvent(m_hook);
  g_recording = nullptr;
}

std::wstring NameOfEventObject(const WinEventRecord& record) {
  AccessiblePtr client = ClientObject(record.window);
  return client ? TextOf(client.get(), &IAccessible::get_accName, record.childId) : L"";
}

bool WaitForEvent(const WinEventRecorder& recorder, HWND window, DWORD event,
                  const std::wstring& name, DWORD limitMs) {
  size_t read = 0;
  return PumpUntil(
      [&] {
        for (; read < recorder.events.size(); ++read) {
          const WinEventRecord& record = recorder.events[read];
          if (record.event == event && record.window == window && NameOfEventObject(record) == name) {
            return true;
          }
        }
        return false;
      },
      limitMs);
}

}  // namespace testing
}  // namespace SkinUI
