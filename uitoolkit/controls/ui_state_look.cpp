#include "uitoolkit/controls/ui_state_look.h"

#include <cwchar>

#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/controls/ui_control_manager.h"

namespace SkinUI {

bool ParseStateLookName(const wchar_t* name, const wchar_t* part, int& state, bool& isImage) {
  static const wchar_t* const kStateNames[kLookStateCount] = {L"normal", L"hot", L"pushed",
                                                              L"disabled"};
  const size_t partLength = std::wcslen(part);
  if (std::wcsncmp(name, part, partLength) != 0) return false;
  for (state = 0; state < kLookStateCount; ++state) {
    const wchar_t* rest = name + partLength;
    const size_t stateLength = std::wcslen(kStateNames[state]);
    if (std::wcsncmp(rest, kStateNames[state], stateLength) != 0) continue;
    rest += stateLength;
    isImage = std::wcscmp(rest, L"image") == 0;
    if (isImage || std::wcscmp(rest, L"color") == 0) return true;
  }
  return false;
}

TDrawInfo* TStateLook::ImageFor(int state) {
  if (!images[state].drawString.IsEmpty()) return &images[state];
  if (!images[kLookNormal].drawString.IsEmpty()) return &images[kLookNormal];
  return nullptr;
}

DWORD TStateLook::ColorFor(int state, DWORD plain) const {
  if (colors[state] != 0) return colors[state];
  if (colors[kLookNormal] != 0) return colors[kLookNormal];
  return plain;
}

bool TStateLook::Paint(HDC hDC, CControlUI& owner, const RECT& rc, int state, DWORD plain) {
  if (::IsRectEmpty(&rc)) return false;
  TDrawInfo* image = ImageFor(state);
  if (image != nullptr && CRenderEngine::DrawImage(hDC, owner.GetManagerInterface(), rc,
                                                   owner.GetPaintRect(), *image)) {
    return true;
  }
  const DWORD color = ColorFor(state, plain);
  if (color != 0) CRenderEngine::DrawColor(hDC, rc, owner.GetAdjustColor(color));
  return false;
}

}  // namespace SkinUI
