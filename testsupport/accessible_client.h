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
  VARIANT child = {};
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}
// The window's OBJID_CLIENT object.
AccessiblePtr ClientObject(HWND window);
// An object answered as IDispatch or in a VARIANT (the reference is taken over).
AccessiblePtr AsAccessible(IDispatch* object);
inline AccessiblePtr AsAccessible(const VARIANT& answer) {
  return AsAccessible(answer.vt == VT_DISPATCH ? answer.pdispVal : nullptr);
}
// A text property (&IAccessible::get_accName, ...) of the object or of the child it names, and a
// role or state; empty or -1 when it has none (also for null).
std::wstring TextOf(IAccessible* object,
                    HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*),
                    LONG child = CHILDID_SELF);
inline std::wstring NameOf(IAccessible* object) { return TextOf(object, &IAccessible::get_accName); }
LONG LongOf(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, VARIANT*));
inline LONG RoleOf(IAccessible* object) { return LongOf(object, &IAccessible::get_accRole); }
inline LONG StateOf(IAccessible* object) { return LongOf(object, &IAccessible::get_accState); }
std::vector<AccessiblePtr> ChildrenOf(IAccessible* object);
// One line per object, itself first, indented by depth: "role 'name' value state-in-hex".
std::vector<std::wstring> DumpTree(IAccessible* root, int depth = 0);
// The first object below `root` named `name`, depth first.
AccessiblePtr FindByName(IAccessible* root, const std::wstring& name);

// Records the client-area events of every process while it lives (the thread runs messages).
class WinEventRecorder {
 public:
  WinEventRecorder();
  ~WinEventRecorder();
  WinEventRecorder(const WinEventRecorder&) = delete;
  WinEventRecorder& operator=(const WinEventRecorder&) = delete;
  // Runs messages until an `event` of `window` arrives for the object named `name` (read back
  // as a client does, through the window's client object); false after `limitMs`.
  bool WaitFor(HWND window, DWORD event, const std::wstring& name, DWORD limitMs = 5000);

 private:
  HWINEVENTHOOK m_hook = nullptr;
};

}  // namespace testing
}  // namespace SkinUI
