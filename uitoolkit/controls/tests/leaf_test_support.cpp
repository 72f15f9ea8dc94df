#include "uitoolkit/controls/tests/leaf_test_support.h"

#include <algorithm>

namespace SkinUI {
namespace testing {

bool LeafManager::AddOptionGroup(const wchar_t* groupName, CControlUI* control) {
  std::unique_ptr<CUiPtrArray>& group = m_groups[groupName];
  if (!group) group = std::make_unique<CUiPtrArray>();
  if (group->Find(control) >= 0) return false;
  return group->Add(control);
}

CUiPtrArray* LeafManager::GetOptionGroup(const wchar_t* groupName) {
  auto found = m_groups.find(groupName);
  return found != m_groups.end() ? found->second.get() : nullptr;
}

void LeafManager::RemoveOptionGroup(const wchar_t* groupName, CControlUI* control) {
  CUiPtrArray* group = GetOptionGroup(groupName);
  if (group == nullptr) return;
  const int index = group->Find(control);
  if (index >= 0) group->Remove(index);
  if (group->IsEmpty()) m_groups.erase(groupName);
}

bool LeafManager::RemoveNativeWindow(HWND hwnd) {
  auto found = std::find(nativeWindows.begin(), nativeWindows.end(), hwnd);
  if (found == nativeWindows.end()) return false;
  nativeWindows.erase(found);
  return true;
}

std::vector<std::wstring> LeafManager::NotificationLog() const {
  std::vector<std::wstring> log;
  for (const TNotifyUI& msg : notifications) {
    log.push_back(std::wstring(msg.sType.GetData()) + L":" +
                  (msg.pSender != nullptr ? msg.pSender->GetName().GetData() : L""));
  }
  return log;
}

std::wstring FiveSlice(int index, int inset) {
  return L"file='" + TestImagePath(L"five.png") + L"' source='" +
         std::to_wstring(index * 10 + inset) + L"," + std::to_wstring(inset) + L"," +
         std::to_wstring(index * 10 + 10 - inset) + L"," + std::to_wstring(10 - inset) + L"'";
}

TEventUI MakeEvent(int type, int x, int y, WPARAM wParam) {
  TEventUI event;
  event.Type = type;
  event.ptMouse = POINT{x, y};
  event.wParam = wParam;
  event.chKey = static_cast<wchar_t>(wParam);
  return event;
}

void SendEvents(CControlUI& control, std::initializer_list<TEventUI> events) {
  for (TEventUI event : events) {
    event.pSender = &control;
    control.Event(event);
  }
}

}  // namespace testing
}  // namespace SkinUI
