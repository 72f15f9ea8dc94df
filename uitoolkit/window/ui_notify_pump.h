// CNotifyPump: routes a window's notifications to member handlers through static message maps,
// and to named virtual windows (other pumps). The map macros are plain C++17: each entry holds a
// small function that turns the pump back into the handler's class and calls the handler, so
// classes with several bases route correctly on every compiler.
//
//   class CMyWindow : public CNotifyPump { ...  UI_DECLARE_MESSAGE_MAP() };
//   UI_BEGIN_MESSAGE_MAP(CMyWindow, CNotifyPump)
//     UI_ON_CLICK_CTRNAME(L"ok", CMyWindow::OnOk)
//     UI_ON_MSGTYPE(L"click", CMyWindow::OnAnyClick)
//   UI_END_MESSAGE_MAP()
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "uitoolkit/controls/ui_event.h"
#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

class CNotifyPump;

// Handler signatures of a map entry; an entry with UISig_end ends the table.
enum UISig : UINT {
  UISig_end = 0,
  UISig_lwl = 1,  // LRESULT handler(WPARAM, LPARAM)
  UISig_vn = 2,   // void handler(TNotifyUI&)
};

struct UI_MSGMAP_ENTRY {
  const wchar_t* sMsgType;  // the notification type, compared exactly
  const wchar_t* sCtrlName;  // the sender's name; empty: any control
  UINT nSig;
  LRESULT (*pfnParams)(CNotifyPump* pump, WPARAM wParam, LPARAM lParam);  // UISig_lwl
  void (*pfnNotify)(CNotifyPump* pump, TNotifyUI& msg);                  // UISig_vn
};

struct UI_MSGMAP {
  const UI_MSGMAP* (*pfnGetBaseMap)();  // the base class's map, or null
  const UI_MSGMAP_ENTRY* lpEntries;
};

namespace detail {
template <typename Member>
struct MemberClass;
template <typename Class, typename Result, typename... Args>
struct MemberClass<Result (Class::*)(Args...)> {
  using type = Class;
};

template <auto Handler>
void NotifyThunk(CNotifyPump* pump, TNotifyUI& msg) {
  using Class = typename MemberClass<decltype(Handler)>::type;
  (static_cast<Class*>(pump)->*Handler)(msg);
}

template <auto Handler>
LRESULT ParamsThunk(CNotifyPump* pump, WPARAM wParam, LPARAM lParam) {
  using Class = typename MemberClass<decltype(Handler)>::type;
  return (static_cast<Class*>(pump)->*Handler)(wParam, lParam);
}
}  // namespace detail

class CNotifyPump {
 public:
  CNotifyPump() = default;
  virtual ~CNotifyPump() = default;
  CNotifyPump(const CNotifyPump&) = delete;
  CNotifyPump& operator=(const CNotifyPump&) = delete;

  // Registers another pump under a virtual window name; false when the name is taken.
  bool AddVirtualWnd(const wchar_t* name, CNotifyPump* pump);
  // False when no pump was registered under the name.
  bool RemoveVirtualWnd(const wchar_t* name);
  // Routes one notification: to the virtual window it names, else through this pump's maps.
  void NotifyPump(TNotifyUI& msg);
  // Tries this pump's map chain; true when a handler ran.
  bool LoopDispatch(TNotifyUI& msg);

 protected:
  static const UI_MSGMAP* _GetBaseMessageMap();
  virtual const UI_MSGMAP* GetMessageMap() const;
  static const UI_MSGMAP messageMap;

 private:
  static const UI_MSGMAP_ENTRY _messageEntries[];
  std::vector<std::pair<CUiString, CNotifyPump*>> m_VirtualWndMap;
};

}  // namespace SkinUI

#define UI_DECLARE_MESSAGE_MAP()                                      \
 private:                                                             \
  static const ::SkinUI::UI_MSGMAP_ENTRY _messageEntries[];           \
                                                                      \
 protected:                                                           \
  static const ::SkinUI::UI_MSGMAP messageMap;                        \
  static const ::SkinUI::UI_MSGMAP* _GetBaseMessageMap();             \
  const ::SkinUI::UI_MSGMAP* GetMessageMap() const override;

#define UI_BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
  const ::SkinUI::UI_MSGMAP* theClass::_GetBaseMessageMap() { return &baseClass::messageMap; } \
  const ::SkinUI::UI_MSGMAP* theClass::GetMessageMap() const { return &theClass::messageMap; } \
  const ::SkinUI::UI_MSGMAP theClass::messageMap = {&theClass::_GetBaseMessageMap,            \
                                                    &theClass::_messageEntries[0]};           \
  const ::SkinUI::UI_MSGMAP_ENTRY theClass::_messageEntries[] = {

#define UI_END_MESSAGE_MAP() {L"", L"", ::SkinUI::UISig_end, nullptr, nullptr}};

// `handler` is the qualified member name, e.g. CMyWindow::OnClick.
#define UI_ON_MSGTYPE(msgType, handler) \
  {msgType, L"", ::SkinUI::UISig_vn, nullptr, &::SkinUI::detail::NotifyThunk<&handler>},
#define UI_ON_MSGTYPE_CTRNAME(msgType, ctrlName, handler) \
  {msgType, ctrlName, ::SkinUI::UISig_vn, nullptr, &::SkinUI::detail::NotifyThunk<&handler>},
#define UI_ON_CLICK_CTRNAME(ctrlName, handler) UI_ON_MSGTYPE_CTRNAME(L"click", ctrlName, handler)
#define UI_ON_SELECTCHANGED_CTRNAME(ctrlName, handler) \
  UI_ON_MSGTYPE_CTRNAME(L"selectchanged", ctrlName, handler)
// A handler taking the notification's wParam and lParam.
#define UI_ON_PARAMS_MSGTYPE(msgType, handler) \
  {msgType, L"", ::SkinUI::UISig_lwl, &::SkinUI::detail::ParamsThunk<&handler>, nullptr},
