// The accessibility client's side of a window, as a screen reader or a UI test robot sees it:
// the window's client object, its tree walked through AccessibleChildren, objects found by name,
// and the window events raised while a test runs. Works in the window's own process and from
// another one.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

namespace SkinUI {
namespace testing {

// An owned IAccessible reference.
class AccessiblePtr {
 public:
  AccessiblePtr() = default;
  explicit AccessiblePtr(IAccessible* object) : m_object(object) {}
  AccessiblePtr(AccessiblePtr&& other) noexcept : m_object(other.m_object) { other.m_object = nullptr; }
  AccessiblePtr& operator=(AccessiblePtr&& other) noexcept;
  ~AccessiblePtr();
  IAccessible* operator->() const { return m_object; }
  IAccessible* get() const { return m_object; }
  explicit operator bool() const { return m_object != nullptr; }

 private:
  IAccessible* m_object = nullptr;
};

// The window's client object (AccessibleObjectFromWindow with OBJID_CLIENT).
AccessiblePtr ClientObject(HWND window);
// The object's own name, value, description, default action, role, state and screen rectangle.
std::wstring NameOf(IAccessible* object);
std::wstring ValueOf(IAccessible* object);
std::wstring DescriptionOf(IAccessible* object);
std::wstring DefaultActionOf(IAccessible* object);
LONG RoleOf(IAccessible* object);
LONG StateOf(IAccessible* object);
RECT LocationOf(IAccessible* object);
// The children as objects, in order.
std::vector<AccessiblePtr> ChildrenOf(IAccessible* object);
// One line per object below `root` (itself first), indented by depth: "role 'name' value
// state-in-hex".
std::vector<std::wstring> DumpTree(IAccessible* root);
// The first object named `name`, depth first.
AccessiblePtr FindByName(IAccessible* root, const std::wstring& name);

// The window events of one process seen from the calling thread (an out-of-context hook; the
// thread must run messages). The hook ends with the object.
struct WinEventRecord {
  DWORD event;
  HWND window;
  LONG objectId;
  LONG childId;
};
class WinEventRecorder {
 public:
  explicit WinEventRecorder(DWORD processId = 0);
  ~WinEventRecorder();
  WinEventRecorder(const WinEventRecorder&) = delete;
  WinEventRecorder& operator=(const WinEventRecorder&) = delete;
  std::vector<WinEventRecord> events;
  // The name of the object an event was raised for (AccessibleObjectFromEvent).
  static std::wstring NameOfEventObject(const WinEventRecord& record);

 private:
  HWINEVENTHOOK m_hook = nullptr;
};

}  // namespace testing
}  // namespace SkinUI
