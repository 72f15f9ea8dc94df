// The window's accessible objects: what screen readers, magnifiers and UI test tools see of a
// skinned window whose controls are drawn by the toolkit. Each control answers through an object
// of its own (CAccessibleUI, made when a client first asks for it and disconnected when the
// control goes), and the window's client area through the root control's object, handed out on
// WM_GETOBJECT. CAccessibleTable is the paint manager's part that owns the objects, gives each
// control a child id that stays the same while the control lives, and raises the window events
// (focus, state, value, name, selection, show and hide) as the controls change.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <unordered_map>
#include <vector>

#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/controls/ui_control_manager.h"
#include "uitoolkit/window/ui_accessible_roles.h"

namespace SkinUI {

class CPaintManagerUI;
class CAccessibleTable;

// The accessible object of one control. Children are the control's items in tree order (a
// list's header first; blank fillers are left out), addressed as full objects (get_accChild
// with a 1-based index) or by the window-wide child id of an event (negative). Once its control
// is gone every call answers CO_E_OBJNOTCONNECTED.
class CAccessibleUI final : public IAccessible {
 public:
  CAccessibleUI(CAccessibleTable& table, CControlUI* control);
  CAccessibleUI(const CAccessibleUI&) = delete;
  CAccessibleUI& operator=(const CAccessibleUI&) = delete;

  // The control is gone: the object stays for clients that hold it, but answers nothing.
  void Disconnect() {
    m_table = nullptr;
    m_control = nullptr;
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch: no type information; clients call the IAccessible methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                   EXCEPINFO*, UINT*) override;
  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 private:
  ~CAccessibleUI() = default;
  // The object `child` names (this one for CHILDID_SELF), or null; `result` tells why not.
  CAccessibleUI* Resolve(const VARIANT& child, HRESULT& result);
  // `object` (held by the caller) as the answer: CHILDID_SELF for this object, else a new
  // reference to it.
  void AnswerObject(CAccessibleUI* object, VARIANT* answer);
  const TAccessibleRoleRow& Role() const;
  TAccessibleFacts Facts() const;
  CUiString Name() const;
  CUiString Value() const;

  LONG m_references = 1;
  CAccessibleTable* m_table;
  CControlUI* m_control;
};

class CAccessibleTable {
 public:
  explicit CAccessibleTable(CPaintManagerUI& manager) : m_manager(manager) {}
  // Disconnects every object still held by a client.
  ~CAccessibleTable();
  CAccessibleTable(const CAccessibleTable&) = delete;
  CAccessibleTable& operator=(const CAccessibleTable&) = delete;

  // WM_GETOBJECT: the root control's object for OBJID_CLIENT; false for other objects (the
  // system answers them) or without a tree.
  bool AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The posted default action of the control with `childId`, carried out now (when the control
  // still lives).
  bool HandleActionMessage(UINT uMsg, WPARAM wParam);
  // The control is deleted: its object is disconnected and its id forgotten.
  void Forget(CControlUI* control);
  // Raises the window event of a notification, or of a change, for `control`.
  void OnNotification(CControlUI* control, const wchar_t* type, WPARAM wParam);
  void OnChange(CControlUI* control, TAccessibleChange change);

  // ---- For the objects ----
  CPaintManagerUI& Manager() const { return m_manager; }
  // The control's object (made on first use), not add-referenced; null for null.
  CAccessibleUI* ObjectFor(CControlUI* control);
  // The window-wide child id of `control` (negative, given on first use).
  LONG ChildIdFor(CControlUI* control);
  // The control with window-wide child id `id`, or null.
  CControlUI* ControlFor(LONG id) const;
  // Asks the window to carry out the control's default action once the client's call returned.
  bool PostAction(CControlUI* control);
  // The children and the parent as accessibility clients see them.
  static std::vector<CControlUI*> ExposedChildren(CControlUI* control);
  static CControlUI* ExposedParent(CControlUI* control);
  // A blank filler (a plain "Control" without text, name, tooltip or image) is left out.
  static bool IsExposed(CControlUI* control);
  // The message a posted default action arrives with.
  static UINT ActionMessage();

 private:
  void Raise(DWORD event, CControlUI* control);

  CPaintManagerUI& m_manager;
  std::unordered_map<CControlUI*, CAccessibleUI*> m_objects;
  std::unordered_map<CControlUI*, LONG> m_ids;
  std::unordered_map<LONG, CControlUI*> m_controls;
  LONG m_lastId = 0;
};

}  // namespace SkinUI
