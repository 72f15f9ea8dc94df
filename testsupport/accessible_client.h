// The accessibility client's side of a window, as a screen reader or a UI test robot sees it, in
// the window's process or from another one: the window's client object, its tree walked with
// AccessibleChildren, objects found by name, and the window events an out-of-context hook sees.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

namespace SkinUI {
namespace testing {

struct ReleaseAccessible {
  void operator()(IAccessible* object) const { object->Release(); }
};
using AccessiblePtr = std::unique_ptr<IAccessible, ReleaseAccessible>;

inline VARIANT ChildId(LONG id) {
  VARIANT child;
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}
// The window's OBJID_CLIENT object.
AccessiblePtr ClientObject(HWND window);
// An object answered in a VARIANT or as IDispatch (the reference is taken over).
AccessiblePtr AsAccessible(IDispatch* object);
inline AccessiblePtr AsAccessible(const VARIANT& answer) {
  return AsAccessible(answer.vt == VT_DISPATCH ? answer.pdispVal : nullptr);
}
// A text property (&IAccessible::get_accName, get_accValue...) of the object or of a child it
// names; empty when it has none (or for null). A role or state (-1 on failure or for null).
std::wstring TextOf(IAccessible* object,
                    HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*),
                    LONG child = CHILDID_SELF);
inline std::wstring NameOf(IAccessible* object) { return TextOf(object, &IAccessible::get_accName); }
LONG LongOf(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, VARIANT*));
inline LONG RoleOf(IAccessible* object) { return LongOf(object, &IAccessible::get_accRole); }
inline LONG StateOf(IAccessible* object) { return LongOf(object, &IAccessible::get_accState); }
// On the screen.
RECT LocationOf(IAccessible* object);
std::vector<AccessiblePtr> ChildrenOf(IAccessible* object);
// One line per object, itself first, indented by depth: "role 'name' value state-in-hex".
std::vector<std::wstring> DumpTree(IAccessible* root, int depth = 0);
// The first object below `root` named `name`, depth first.
AccessiblePtr FindByName(IAccessible* root, const std::wstring& name);

struct WinEventRecord {
  DWORD event;
  HWND window;
  LONG childId;
};
// Records the client-area events of a process (0: of every process) while it lives; the thread
// must run messages.
class WinEventRecorder {
 public:
  explicit WinEventRecorder(DWORD processId);
  ~WinEventRecorder();
  WinEventRecorder(const WinEventRecorder&) = delete;
  WinEventRecorder& operator=(const WinEventRecorder&) = delete;
  std::vector<WinEventRecord> events;

 private:
  HWINEVENTHOOK m_hook = nullptr;
};
// The name of what a client-area event was raised for, read as a client does: the window's
// client object, then the child the event names.
std::wstring NameOfEventObject(const WinEventRecord& record);
// Runs messages until `recorder` holds an `event` of `window` for the object named `name` (each
// read as it arrives, while its window is there); false after `limitMs`.
bool WaitForEvent(const WinEventRecorder& recorder, HWND window, DWORD event,
                  const std::wstring& name, DWORD limitMs = 5000);

}  // namespace testing
}  // namespace SkinUI
