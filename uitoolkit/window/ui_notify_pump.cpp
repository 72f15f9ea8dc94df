#include "uitoolkit/window/ui_notify_pump.h"

#include "uitoolkit/controls/ui_control.h"

namespace SkinUI {

const UI_MSGMAP_ENTRY CNotifyPump::_messageEntries[] = {
    {L"", L"", UISig_end, nullptr, nullptr}};

const UI_MSGMAP CNotifyPump::messageMap = {&CNotifyPump::_GetBaseMessageMap,
                                           &CNotifyPump::_messageEntries[0]};

const UI_MSGMAP* CNotifyPump::_GetBaseMessageMap() { return nullptr; }

const UI_MSGMAP* CNotifyPump::GetMessageMap() const { return &CNotifyPump::messageMap; }

bool CNotifyPump::AddVirtualWnd(const wchar_t* name, CNotifyPump* pump) {
  if (name == nullptr || pump == nullptr) return false;
  for (const auto& entry : m_VirtualWndMap) {
    if (entry.first == name) return false;
  }
  m_VirtualWndMap.emplace_back(CUiString(name), pump);
  return true;
}

bool CNotifyPump::RemoveVirtualWnd(const wchar_t* name) {
  if (name == nullptr) return false;
  for (auto it = m_VirtualWndMap.begin(); it != m_VirtualWndMap.end(); ++it) {
    if (it->first == name) {
      m_VirtualWndMap.erase(it);
      return true;
    }
  }
  return false;
}

void CNotifyPump::NotifyPump(TNotifyUI& msg) {
  if (!msg.sVirtualWnd.IsEmpty()) {
    for (const auto& entry : m_VirtualWndMap) {
      if (entry.first.CompareNoCase(msg.sVirtualWnd.GetData()) == 0 &&
          entry.second->LoopDispatch(msg)) {
        return;
      }
    }
  }
  LoopDispatch(msg);
}

bool CNotifyPump::LoopDispatch(TNotifyUI& msg) {
  const CUiString senderName = msg.pSender != nullptr ? msg.pSender->GetName() : CUiString();
  for (const UI_MSGMAP* map = GetMessageMap(); map != nullptr;
       map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
    const UI_MSGMAP_ENTRY* found = nullptr;
    for (const UI_MSGMAP_ENTRY* entry = map->lpEntries; entry->nSig != UISig_end; ++entry) {
      if (msg.sType != entry->sMsgType) continue;
      if (entry->sCtrlName[0] == L'\0') {
        found = entry;  // the last unnamed entry of the type, unless a named one matches
      } else if (!senderName.IsEmpty() && senderName == entry->sCtrlName) {
        found = entry;
        break;
      }
    }
    if (found == nullptr) continue;
    switch (found->nSig) {
      case UISig_lwl:
        found->pfnParams(this, msg.wParam, msg.lParam);
        return true;
      case UISig_vn:
        found->pfnNotify(this, msg);
        return true;
      default:
        return false;
    }
  }
  return false;
}

}  // namespace SkinUI
