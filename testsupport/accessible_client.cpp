#include "testsupport/accessible_client.h"

#include <oleauto.h>

#include <cwchar>

namespace SkinUI {
namespace testing {
namespace {

VARIANT Self() {
  VARIANT self;
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

std::wstring TakeText(HRESULT result, BSTR text) {
  std::wstring answer = SUCCEEDED(result) && text != nullptr ? std::wstring(text) : L"";
  ::SysFreeString(text);
  return answer;
}

LONG TakeLong(HRESULT result, VARIANT& value) {
  const LONG answer = SUCCEEDED(result) && value.vt == VT_I4 ? value.lVal : -1;
  ::VariantClear(&value);
  return answer;
}

void Dump(IAccessible* object, int depth, std::vector<std::wstring>& lines) {
  wchar_t state[16];
  std::swprintf(state, 16, L"%lx", static_cast<unsigned long>(StateOf(object)));
  lines.push_back(std::wstring(depth * 2, L' ') + std::to_wstring(RoleOf(object)) + L" '" +
                  NameOf(object) + L"' " + ValueOf(object) + L" " + state);
  for (const AccessiblePtr& child : ChildrenOf(object)) Dump(child.get(), depth + 1, lines);
}

std::vector<WinEventRecord>* g_recording = nullptr;

void CALLBACK RecordWinEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG objectId,
                             LONG childId, DWORD, DWORD) {
  if (g_recording != nullptr) g_recording->push_back({event, window, objectId, childId});
}

}  // namespace

AccessiblePtr& AccessiblePtr::operator=(AccessiblePtr&& other) noexcept {
  if (this != &other) {
    if (m_object != nullptr) m_object->Release();
    m_object = other.m_object;
    other.m_object = nullptr;
  }
  return *this;
}

AccessiblePtr::~AccessiblePtr() {
  if (m_object != nullptr) m_object->Release();
}

AccessiblePtr ClientObject(HWND window) {
  IAccessible* object = nullptr;
  if (FAILED(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                          IID_IAccessible, reinterpret_cast<void**>(&object)))) {
    return AccessiblePtr();
  }
  return AccessiblePtr(object);
}

std::wstring NameOf(IAccessible* object) {
  BSTR text = nullptr;
  const HRESULT result = object->get_accName(Self(), &text);
  return TakeText(result, text);
}

std::wstring ValueOf(IAccessible* object) {
  BSTR text = nullptr;
  const HRESULT result = object->get_accValue(Self(), &text);
  return TakeText(result, text);
}

std::wstring DescriptionOf(IAccessible* object) {
  BSTR text = nullptr;
  const HRESULT result = object->get_accDescription(Self(), &text);
  return TakeText(result, text);
}

std::wstring DefaultActionOf(IAccessible* object) {
  BSTR text = nullptr;
  const HRESULT result = object->get_accDefaultAction(Self(), &text);
  return TakeText(result, text);
}

LONG RoleOf(IAccessible* object) {
  VARIANT role;
  role.vt = VT_EMPTY;
  const HRESULT result = object->get_accRole(Self(), &role);
  return TakeLong(result, role);
}

LONG StateOf(IAccessible* object) {
  VARIANT state;
  state.vt = VT_EMPTY;
  const HRESULT result = object->get_accState(Self(), &state);
  return TakeLong(result, state);
}

RECT LocationOf(IAccessible* object) {
  LONG left = 0, top = 0, width = 0, height = 0;
  object->accLocation(&left, &top, &width, &height, Self());
  return RECT{left, top, left + width, top + height};
}

std::vector<AccessiblePtr> ChildrenOf(IAccessible* object) {
  std::vector<AccessiblePtr> children;
  LONG count = 0;
  if (FAILED(object->get_accChildCount(&count)) || count <= 0) return children;
  std::vector<VARIANT> found(static_cast<size_t>(count));
  LONG obtained = 0;
  if (FAILED(::AccessibleChildren(object, 0, count, found.data(), &obtained))) return children;
  for (LONG i = 0; i < obtained; ++i) {
    IAccessible* child = nullptr;
    if (found[i].vt == VT_DISPATCH && found[i].pdispVal != nullptr) {
      found[i].pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&child));
    }
    ::VariantClear(&found[i]);
    if (child != nullptr) children.emplace_back(child);
  }
  return children;
}

std::vector<std::wstring> DumpTree(IAccessible* root) {
  std::vector<std::wstring> lines;
  Dump(root, 0, lines);
  return lines;
}

AccessiblePtr FindByName(IAccessible* root, const std::wstring& name) {
  for (AccessiblePtr& child : ChildrenOf(root)) {
    if (NameOf(child.get()) == name) return std::move(child);
    AccessiblePtr below = FindByName(child.get(), name);
    if (below) return below;
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

std::wstring WinEventRecorder::NameOfEventObject(const WinEventRecord& record) {
  // As the system's AccessibleObjectFromEvent: the window's object, then the child it names.
  if (record.objectId != OBJID_CLIENT) return L"";
  AccessiblePtr client = ClientObject(record.window);
  if (!client) return L"";
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = record.childId;
  BSTR text = nullptr;
  const HRESULT result = client->get_accName(child, &text);
  return TakeText(result, text);
}

}  // namespace testing
}  // namespace SkinUI
