#include "uitoolkit/core/ui_image_preload.h"

#include <vector>

#include "uitoolkit/core/ui_string.h"

namespace SkinUI {
namespace {

struct TPreload {
  CUiString name;  // empty: a free slot
  std::vector<BYTE> data;
  TImageInfo* image = nullptr;
  HANDLE worker = nullptr;
};

// A few large images at most are worth decoding ahead. Never destroyed: a decoding still
// running when the process ends is not waited for.
TPreload* Slots() {
  static auto* slots = new TPreload[4];
  return slots;
}
constexpr int kSlotCount = 4;

DWORD WINAPI Decode(LPVOID parameter) {
  TPreload& preload = *static_cast<TPreload*>(parameter);
  preload.image = CRenderEngine::LoadImageFromMemory(preload.data.data(), preload.data.size(), 0);
  return 0;
}

TPreload* SlotOf(const wchar_t* name) {
  for (int i = 0; i < kSlotCount; ++i) {
    if (Slots()[i].name == name) return &Slots()[i];
  }
  return nullptr;
}

}  // namespace

bool CImagePreloads::Start(const wchar_t* name) {
  if (name == nullptr || *name == L'\0' || SlotOf(name) != nullptr) return false;
  TPreload* slot = SlotOf(L"");
  if (slot == nullptr || !CRenderEngine::ReadImageData(STRINGorID(name), nullptr, slot->data)) {
    return false;
  }
  slot->worker = ::CreateThread(nullptr, 0, &Decode, slot, 0, nullptr);
  if (slot->worker == nullptr) {
    slot->data.clear();
    return false;
  }
  slot->name = name;
  return true;
}

TImageInfo* CImagePreloads::Take(const wchar_t* name) {
  TPreload* slot = name != nullptr && *name != L'\0' ? SlotOf(name) : nullptr;
  if (slot == nullptr) return nullptr;
  ::WaitForSingleObject(slot->worker, INFINITE);
  ::CloseHandle(slot->worker);
  TImageInfo* image = slot->image;
  *slot = TPreload();
  return image;
}

}  // namespace SkinUI
