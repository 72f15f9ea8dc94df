// STRINGorID: a text, or a 16-bit resource identifier carried in the pointer's low word.
#pragma once

#include <cstdint>

#include "uitoolkit/core/ui_platform.h"

namespace SkinUI {

class STRINGorID {
 public:
  STRINGorID(const wchar_t* text) : m_lpstr(text) {}  // NOLINT(google-explicit-constructor)
  STRINGorID(WORD id)  // NOLINT(google-explicit-constructor)
      : m_lpstr(reinterpret_cast<const wchar_t*>(static_cast<std::uintptr_t>(id))) {}

  // True when the pointer value fits in 16 bits (a null pointer reads as identifier 0).
  bool IsId() const { return (reinterpret_cast<std::uintptr_t>(m_lpstr) >> 16) == 0; }
  WORD GetId() const { return static_cast<WORD>(reinterpret_cast<std::uintptr_t>(m_lpstr)); }
  // The text; only meaningful when IsId() is false.
  const wchar_t* GetText() const { return m_lpstr; }

  const wchar_t* m_lpstr;
};

}  // namespace SkinUI
