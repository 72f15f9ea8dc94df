#include "uitoolkit/window/ui_accessible.h"

#include <oleauto.h>

#include <algorithm>
#include <cwchar>

#include "common/system_libraries.h"
#include "uitoolkit/controls/hosted/ui_rich_edit.h"
#include "uitoolkit/controls/lists/ui_list.h"
#include "uitoolkit/controls/lists/ui_list_interfaces.h"
#include "uitoolkit/controls/tree/ui_tree_view.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/controls/ui_edit.h"
#include "uitoolkit/controls/ui_option.h"
#include "uitoolkit/controls/ui_progress.h"
#include "uitoolkit/controls/ui_scroll_bar.h"
#include "uitoolkit/window/ui_paint_manager.h"

namespace SkinUI {
namespace {

// oleacc.dll is looked up at run time in the system folder.
LRESULT ResultFromObject(REFIID riid, WPARAM wParam, IUnknown* object) {
  static const auto function = vesk::SystemFunction<decltype(&::LresultFromObject)>(
      L"oleacc.dll", "LresultFromObject");
  return function != nullptr ? function(riid, wParam, object) : E_NOTIMPL;
}

HRESULT StandardWindowObject(HWND hwnd, IDispatch** object) {
  static const auto function = vesk::SystemFunction<decltype(&::CreateStdAccessibleObject)>(
      L"oleacc.dll", "CreateStdAccessibleObject");
  if (function == nullptr) return E_NOTIMPL;
  return function(hwnd, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(object));
}

// A BSTR answer: S_FALSE and null for an empty text.
HRESULT AnswerText(const CUiString& text, BSTR* answer) {
  if (answer == nullptr) return E_POINTER;
  *answer = nullptr;
  if (text.IsEmpty()) return S_FALSE;
  *answer = ::SysAllocStringLen(text.GetData(), static_cast<UINT>(text.GetLength()));
  return *answer != nullptr ? S_OK : E_OUTOFMEMORY;
}

void AnswerEmpty(VARIANT* answer) { answer->vt = VT_EMPTY; }

bool IsExposedDescendant(CControlUI* ancestor, CControlUI* control) {
  for (CControlUI* step = control; step != nullptr; step = CAccessibleTable::ExposedParent(step)) {
    if (step == ancestor) return true;
  }
  return false;
}

// The nearest exposed control at `control` or above it.
CControlUI* NearestExposed(CControlUI* control) {
  while (control != nullptr && !CAccessibleTable::IsExposed(control)) {
    control = CAccessibleTable::ExposedParent(control);
  }
  return control;
}

const TAccessibleRoleRow& RoleOf(CControlUI* control) {
  return LookUpAccessibleRole([control](const wchar_t* name) {
    return control->GetInterface(name) != nullptr || std::wcscmp(control->GetClass(), name) == 0;
  });
}

IListItemUI* ListItemOf(CControlUI* control) {
  return static_cast<IListItemUI*>(control->GetInterface(L"ListItem"));
}

}  // namespace

// ---- CAccessibleUI ----

CAccessibleUI::CAccessibleUI(CAccessibleTable& table, CControlUI* control)
    : m_table(&table), m_control(control) {}

HRESULT CAccessibleUI::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG CAccessibleUI::AddRef() { return static_cast<ULONG>(++m_references); }

ULONG CAccessibleUI::Release() {
  const LONG left = --m_references;
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT CAccessibleUI::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT CAccessibleUI::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT CAccessibleUI::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT CAccessibleUI::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                              UINT*) {
  return E_NOTIMPL;
}

CAccessibleUI* CAccessibleUI::Resolve(const VARIANT& child, HRESULT& result) {
  if (m_control == nullptr) {
    result = CO_E_OBJNOTCONNECTED;
    return nullptr;
  }
  result = E_INVALIDARG;
  if (child.vt != VT_I4) return nullptr;
  if (child.lVal == CHILDID_SELF) return this;
  CControlUI* control = nullptr;
  if (child.lVal > 0) {
    const std::vector<CControlUI*> children = CAccessibleTable::ExposedChildren(m_control);
    if (static_cast<size_t>(child.lVal) <= children.size()) control = children[child.lVal - 1];
  } else {
    control = m_table->ControlFor(child.lVal);
    if (control != nullptr && !IsExposedDescendant(m_control, control)) control = nullptr;
  }
  return m_table->ObjectFor(control);
}

void CAccessibleUI::AnswerObject(CAccessibleUI* object, VARIANT* answer) {
  if (object == this) {
    answer->vt = VT_I4;
    answer->lVal = CHILDID_SELF;
    return;
  }
  object->AddRef();
  answer->vt = VT_DISPATCH;
  answer->pdispVal = object;
}

const TAccessibleRoleRow& CAccessibleUI::Role() const { return RoleOf(m_control); }

TAccessibleFacts CAccessibleUI::Facts() const {
  CPaintManagerUI& manager = m_table->Manager();
  TAccessibleFacts facts;
  CUiRect shown = m_control->GetPos();
  facts.visible = m_control->IsVisible();
  for (CControlUI* parent = m_control->GetParent(); parent != nullptr;
       parent = parent->GetParent()) {
    facts.visible = facts.visible && parent->IsVisible();
    if (!shown.Intersect(parent->GetPos())) shown.Empty();
  }
  const HWND window = manager.GetPaintWindow();
  facts.offscreen = facts.visible && (shown.IsEmpty() || (window != nullptr && ::IsIconic(window)));
  facts.enabled = m_control->IsEnabled();
  facts.focusable = (m_control->GetControlFlags() & UIFLAG_TABSTOP) != 0 &&
                    m_control->IsKeyboardEnabled();
  facts.focused = manager.GetFocus() == m_control;
  const TAccessibleRoleRow& role = Role();
  facts.checkable = role.checkable;
  if (IListItemUI* item = ListItemOf(m_control)) {
    facts.selectable = true;
    facts.selected = item->IsSelected();
  } else if (auto* option = static_cast<COptionUI*>(m_control->GetInterface(L"Option"))) {
    facts.selected = option->IsSelected();
    facts.checked = facts.selected;
  }
  if (auto* edit = static_cast<CEditUI*>(m_control->GetInterface(L"Edit"))) {
    facts.readOnly = edit->IsReadOnly();
    facts.password = edit->IsPasswordMode();
  } else if (auto* rich = static_cast<CRichEditUI*>(m_control->GetInterface(L"RichEdit"))) {
    facts.readOnly = rich->IsReadOnly();
    facts.password = rich->IsPasswordMode();
  }
  facts.isDefault = manager.GetDefaultButton() == m_control;
  if (auto* node = static_cast<CTreeNodeUI*>(m_control->GetInterface(L"TreeNode"))) {
    facts.expandable = node->GetChildCount() > 0;
    facts.expanded = node->IsExpanded();
    CTreeViewUI* tree = node->GetTreeView();
    facts.checkable = tree != nullptr && tree->GetLook().checkBoxes;
    facts.checked = node->IsChecked();
    facts.mixed = node->GetCheckState() == TreeCheckState::kMixed;
  }
  return facts;
}

CUiString CAccessibleUI::Name() const {
  const TAccessibleRoleRow& role = Role();
  CUiString name = AccessibleNameOf(m_control->GetAccessibleName(), m_control->GetText(),
                                    m_control->GetToolTip(), role.textIsValue);
  // A list element's columns are read one after the other.
  if (role.role == ROLE_SYSTEM_LISTITEM) name.Replace(L"|", L", ");
  return name;
}

CUiString CAccessibleUI::Value() const {
  const TAccessibleRoleRow& role = Role();
  if (role.textIsValue) return m_control->GetText();
  if (auto* progress = static_cast<CProgressUI*>(m_control->GetInterface(L"Progress"))) {
    return AccessibleRangeValue(progress->GetMinValue(), progress->GetMaxValue(),
                                progress->GetValue(), role.role == ROLE_SYSTEM_PROGRESSBAR);
  }
  return CUiString();
}

HRESULT CAccessibleUI::get_accParent(IDispatch** parent) {
  if (parent == nullptr) return E_POINTER;
  *parent = nullptr;
  if (m_control == nullptr) return CO_E_OBJNOTCONNECTED;
  if (m_control == m_table->Manager().GetRoot()) {
    return StandardWindowObject(m_table->Manager().GetPaintWindow(), parent);
  }
  CAccessibleUI* object = m_table->ObjectFor(CAccessibleTable::ExposedParent(m_control));
  if (object == nullptr) return S_FALSE;
  object->AddRef();
  *parent = object;
  return S_OK;
}

HRESULT CAccessibleUI::get_accChildCount(LONG* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  if (m_control == nullptr) return CO_E_OBJNOTCONNECTED;
  *count = static_cast<LONG>(CAccessibleTable::ExposedChildren(m_control).size());
  return S_OK;
}

HRESULT CAccessibleUI::get_accChild(VARIANT child, IDispatch** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  HRESULT result;
  CAccessibleUI* target = Resolve(child, result);
  if (target == nullptr) return result;
  if (target == this) return E_INVALIDARG;
  target->AddRef();
  *object = target;
  return S_OK;
}

HRESULT CAccessibleUI::get_accName(VARIANT child, BSTR* name) {
  HRESULT result;
  CAccessibleUI* target = Resolve(child, result);
  if (target == nullptr) return result;
  return AnswerText(target->Name(), name);
}

HRESULT CAccessibleUI::get_accValue(VARIANT child, BSTR* value) {
  HRESULT result;
  CAccessibleUI* target = Resolve(child, result);
  if (target == nullptr) return result;
  // A password stays hidden from every client.
  if (target->Facts().password) {
    if (value != nullptr) *value = nullptr;
    return E_ACCESSDENIED;
  }
  return AnswerText(target->Value(), value);
}

HRESULT CAccessibleUI::get_accDescription(VARIANT child, BSTR* description) {
  HRESULT result;
  CAccessibleUI* target = Resolve(child, result);
  if (target == nullptr) return result;
  return AnswerText(target->m_control->GetAccessibleDescription(), description);
}

HRESULT CAccessibleUI::get_accRole(VARIANT child, VARIANT* role) {
  if (role == nullptr) return E_POINTER;
  AnswerEmpty(role);
  HRESULT result;
  CAccessibleUI* target = Resolve(child, result);
  if (target == nullptr) return result;
  role->vt = VT_I4;
  role->lVal = target->Role().role;
  return S_OK;
}

HRESULT CAccessibleUI::get_accState(VARIANT child, VARIANT* state) {
  if (state == nullptr) return E_POINTER;
  AnswerEmpty(state);
  HRESULT result;
  CAccessibleUI* target = Resolve(child, result);
  if (target == nullptr) return result;
  state->vt = VT_I4;
  state->lVal = AccessibleStateBits(target->Facts());
  return S_OK;
}

HRESULT CAccessibleUI::get_accHelp(VARIANT child, BSTR* help) {
  HRESULT result;
  if (Resolve(child, result) == nullptr) return result;
  return AnswerText(CUiString(), help);
}

HRESULT CAccessibleUI::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
  if (file != nullptr) *file = nullptr;
  if (topic != nullptr) *topic = -1;
  HRESULT result;
  if (Resolve(child, result) == nullptr) return result;
  return S_FALSE;
}

HRESULT CAccessibleUI::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  HRESULT result;
  CAccessibleUI* target = Resolve(child, result);
  if (target == nullptr) return result;
  return AnswerText(AccessibleShortcutText(target->m_control->GetShortcut()), shortcut);
}

HRESULT CAccessibleUI::get_accFocus(VARIANT* focus) {
  if (focus == nullptr) return E_POINTER;
  AnswerEmpty(focus);
  if (m_control == nullptr) return CO_E_OBJNOTCONNECTED;
  const HWND window = m_table->Manager().GetPaintWindow();
  const HWND focusWindow = ::GetFocus();
  if (focusWindow != window && !::IsChild(window, focusWindow)) return S_FALSE;
  CControlUI* focused = NearestExposed(m_table->Manager().GetFocus());
  if (focused == nullptr || !IsExposedDescendant(m_control, focused)) return S_FALSE;
  AnswerObject(m_table->ObjectFor(focused), focus);
  return S_OK;
}

HRESULT CAccessibleUI::get_accSelection(VARIANT* selection) {
  if (selection == nullptr) return E_POINTER;
  AnswerEmpty(selection);
  if (m_control == nullptr) return CO_E_OBJNOTCONNECTED;
  auto* owner = static_cast<IListOwnerUI*>(m_control->GetInterface(L"IListOwner"));
  auto* items = static_cast<IContainerUI*>(m_control->GetInterface(L"IContainer"));
  if (owner == nullptr || items == nullptr) return S_FALSE;
  CAccessibleUI* selected = m_table->ObjectFor(items->GetItemAt(owner->GetCurSel()));
  if (selected == nullptr) return S_FALSE;
  AnswerObject(selected, selection);
  return S_OK;
}

HRESULT CAccessibleUI::get_accDefaultAction(VARIANT child, BSTR* action) {
  HRESULT result;
  CAccessibleUI* target = Resolve(child, result);
  if (target == nullptr) return result;
  const TAccessibleRoleRow& role = target->Role();
  const TAccessibleFacts facts = target->Facts();
  const bool uncheck = role.role == ROLE_SYSTEM_CHECKBUTTON && facts.checked;
  if (role.action == TAccessibleAction::Toggle && !facts.expandable) return AnswerText({}, action);
  const wchar_t* name = uncheck                                          ? L"Uncheck"
                        : role.action == TAccessibleAction::Toggle && facts.expanded ? L"Collapse"
                                                                         : role.actionName;
  return AnswerText(CUiString(name), action);
}

HRESULT CAccessibleUI::accSelect(LONG flags, VARIANT child) {
  HRESULT result;
  CAccessibleUI* target = Resolve(child, result);
  if (target == nullptr) return result;
  CControlUI* control = target->m_control;
  if ((flags & SELFLAG_TAKEFOCUS) != 0) control->SetFocus();
  if ((flags & SELFLAG_TAKESELECTION) != 0) {
    IListItemUI* item = ListItemOf(control);
    if (item == nullptr || item->GetOwner() == nullptr) return DISP_E_MEMBERNOTFOUND;
    item->GetOwner()->SelectItem(item->GetIndex(), (flags & SELFLAG_TAKEFOCUS) != 0);
  }
  return S_OK;
}

HRESULT CAccessibleUI::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                   VARIANT child) {
  if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
  *left = *top = *width = *height = 0;
  HRESULT result;
  CAccessibleUI* target = Resolve(child, result);
  if (target == nullptr) return result;
  const RECT& item = target->m_control->GetPos();
  POINT corner = {item.left, item.top};
  ::ClientToScreen(m_table->Manager().GetPaintWindow(), &corner);
  *left = corner.x;
  *top = corner.y;
  *width = item.right - item.left;
  *height = item.bottom - item.top;
  return S_OK;
}

HRESULT CAccessibleUI::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  if (end == nullptr) return E_POINTER;
  AnswerEmpty(end);
  HRESULT result;
  CAccessibleUI* target = Resolve(start, result);
  if (target == nullptr) return result;
  CControlUI* found = nullptr;
  if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
    if (start.lVal != CHILDID_SELF) return E_INVALIDARG;
    const std::vector<CControlUI*> children = CAccessibleTable::ExposedChildren(m_control);
    if (!children.empty()) found = direction == NAVDIR_FIRSTCHILD ? children.front() : children.back();
  } else if (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS) {
    CControlUI* parent = CAccessibleTable::ExposedParent(target->m_control);
    if (parent == nullptr) return S_FALSE;
    const std::vector<CControlUI*> siblings = CAccessibleTable::ExposedChildren(parent);
    auto at = std::find(siblings.begin(), siblings.end(), target->m_control);
    if (at == siblings.end()) return S_FALSE;
    if (direction == NAVDIR_NEXT && at + 1 != siblings.end()) found = *(at + 1);
    if (direction == NAVDIR_PREVIOUS && at != siblings.begin()) found = *(at - 1);
  } else {
    return E_NOTIMPL;  // no spatial navigation
  }
  CAccessibleUI* object = m_table->ObjectFor(found);
  if (object == nullptr) return S_FALSE;
  AnswerObject(object, end);
  return S_OK;
}

HRESULT CAccessibleUI::accHitTest(LONG left, LONG top, VARIANT* child) {
  if (child == nullptr) return E_POINTER;
  AnswerEmpty(child);
  if (m_control == nullptr) return CO_E_OBJNOTCONNECTED;
  POINT point = {left, top};
  ::ScreenToClient(m_table->Manager().GetPaintWindow(), &point);
  if (!::PtInRect(&m_control->GetPos(), point)) return S_FALSE;
  CControlUI* hit = NearestExposed(m_table->Manager().FindControl(point));
  if (hit == nullptr || !IsExposedDescendant(m_control, hit)) hit = m_control;
  AnswerObject(m_table->ObjectFor(hit), child);
  return S_OK;
}

HRESULT CAccessibleUI::accDoDefaultAction(VARIANT child) {
  HRESULT result;
  CAccessibleUI* target = Resolve(child, result);
  if (target == nullptr) return result;
  if (target->Role().action == TAccessibleAction::None) return DISP_E_MEMBERNOTFOUND;
  const TAccessibleFacts facts = target->Facts();
  if (!facts.visible || !facts.enabled) return E_FAIL;
  // Carried out from the window's queue, so that a dialog the action opens never holds the
  // client's call.
  return m_table->PostAction(target->m_control) ? S_OK : E_FAIL;
}

HRESULT CAccessibleUI::put_accName(VARIANT, BSTR) { return DISP_E_MEMBERNOTFOUND; }

HRESULT CAccessibleUI::put_accValue(VARIANT, BSTR) { return DISP_E_MEMBERNOTFOUND; }

// ---- CAccessibleTable ----

CAccessibleTable::~CAccessibleTable() {
  for (auto& entry : m_objects) {
    entry.second->Disconnect();
    entry.second->Release();
  }
}

UINT CAccessibleTable::ActionMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"SkinUI.AccessibleDefaultAction");
  return message;
}

bool CAccessibleTable::AnswerGetObject(WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return false;
  CAccessibleUI* root = ObjectFor(m_manager.GetRoot());
  if (root == nullptr) return false;
  const LRESULT answer = ResultFromObject(IID_IAccessible, wParam, root);
  if (answer < 0) return false;  // a failure: the system's own object answers
  result = answer;
  return true;
}

bool CAccessibleTable::PostAction(CControlUI* control) {
  const HWND window = m_manager.GetPaintWindow();
  return window != nullptr &&
         ::PostMessageW(window, ActionMessage(), static_cast<WPARAM>(-ChildIdFor(control)), 0);
}

bool CAccessibleTable::HandleActionMessage(UINT uMsg, WPARAM wParam) {
  if (uMsg != ActionMessage() || uMsg == 0) return false;
  CControlUI* control = ControlFor(-static_cast<LONG>(wParam));
  if (control == nullptr) return true;  // gone meanwhile
  const TAccessibleRoleRow& role = RoleOf(control);
  if (role.action == TAccessibleAction::Select) {
    IListItemUI* item = ListItemOf(control);
    if (item != nullptr && item->GetOwner() != nullptr) {
      item->GetOwner()->SelectItem(item->GetIndex(), false);
    }
  } else if (role.action == TAccessibleAction::Activate) {
    control->Activate();
  } else if (auto* node = static_cast<CTreeNodeUI*>(control->GetInterface(L"TreeNode"))) {
    node->SetExpanded(!node->IsExpanded());
  }
  return true;
}

void CAccessibleTable::Forget(CControlUI* control) {
  auto object = m_objects.find(control);
  if (object != m_objects.end()) {
    object->second->Disconnect();
    object->second->Release();
    m_objects.erase(object);
  }
  auto id = m_ids.find(control);
  if (id != m_ids.end()) {
    m_controls.erase(id->second);
    m_ids.erase(id);
  }
}

CAccessibleUI* CAccessibleTable::ObjectFor(CControlUI* control) {
  if (control == nullptr) return nullptr;
  CAccessibleUI*& object = m_objects[control];
  if (object == nullptr) object = new CAccessibleUI(*this, control);
  return object;
}

LONG CAccessibleTable::ChildIdFor(CControlUI* control) {
  auto found = m_ids.find(control);
  if (found != m_ids.end()) return found->second;
  const LONG id = -(++m_lastId);
  m_ids.emplace(control, id);
  m_controls.emplace(id, control);
  return id;
}

CControlUI* CAccessibleTable::ControlFor(LONG id) const {
  auto found = m_controls.find(id);
  return found != m_controls.end() ? found->second : nullptr;
}

bool CAccessibleTable::IsExposed(CControlUI* control) {
  if (control == nullptr) return false;
  if (std::wcscmp(control->GetClass(), L"Control") != 0) return true;
  const wchar_t* image = control->GetBkImage();
  return !control->GetText().IsEmpty() || !control->GetAccessibleName().IsEmpty() ||
         !control->GetToolTip().IsEmpty() || (image != nullptr && *image != L'\0');
}

std::vector<CControlUI*> CAccessibleTable::ExposedChildren(CControlUI* control) {
  std::vector<CControlUI*> children;
  if (control == nullptr) return children;
  auto add = [&children](CControlUI* child) {
    if (IsExposed(child)) children.push_back(child);
  };
  if (auto* list = static_cast<CListUI*>(control->GetInterface(L"List"))) add(list->GetHeader());
  if (auto* items = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"))) {
    for (int i = 0; i < items->GetCount(); ++i) add(items->GetItemAt(i));
  }
  if (auto* container = static_cast<CContainerUI*>(control->GetInterface(L"Container"))) {
    add(container->GetVerticalScrollBar());
    add(container->GetHorizontalScrollBar());
  }
  add(control->GetCover());
  return children;
}

CControlUI* CAccessibleTable::ExposedParent(CControlUI* control) {
  if (control == nullptr) return nullptr;
  CControlUI* parent = control->GetParent();
  // A list's elements live in its body, but the list names them as its items.
  CControlUI* grandparent = parent != nullptr ? parent->GetParent() : nullptr;
  if (grandparent != nullptr) {
    auto* items = static_cast<IContainerUI*>(grandparent->GetInterface(L"IContainer"));
    if (items != nullptr && items->GetItemIndex(control) >= 0) return grandparent;
  }
  return parent;
}

void CAccessibleTable::OnNotification(CControlUI* control, const wchar_t* type, WPARAM wParam) {
  const DWORD event = WinEventForNotification(type);
  if (event == 0 || control == nullptr) return;
  // A new selection of a list is raised for the element that became selected.
  if (event == EVENT_OBJECT_SELECTION) {
    auto* items = static_cast<IContainerUI*>(control->GetInterface(L"IContainer"));
    CControlUI* selected = items != nullptr ? items->GetItemAt(static_cast<int>(wParam)) : nullptr;
    if (selected != nullptr) control = selected;
  }
  Raise(event, control);
}

void CAccessibleTable::OnChange(CControlUI* control, TAccessibleChange change) {
  if (control == nullptr) return;
  Raise(WinEventForChange(change, RoleOf(control).textIsValue), control);
}

void CAccessibleTable::Raise(DWORD event, CControlUI* control) {
  const HWND window = m_manager.GetPaintWindow();
  // Nobody can see a window that is not shown yet (its controls are still being built). A
  // control of another window (a pop-up sends its notifications through its owner) is that
  // window's to announce: an id here would outlive it.
  if (event == 0 || window == nullptr || !::IsWindowVisible(window) || !IsExposed(control) ||
      control->GetManagerInterface() != &m_manager) {
    return;
  }
  const LONG child = control == m_manager.GetRoot() ? CHILDID_SELF : ChildIdFor(control);
  ::NotifyWinEvent(event, window, OBJID_CLIENT, child);
}

}  // namespace SkinUI
