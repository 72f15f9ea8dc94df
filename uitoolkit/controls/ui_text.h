// CTextUI: a label for wrapped text that may hold links (with show HTML). A click on a link
// sends "link" with the link's index.
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_label.h"

namespace SkinUI {

class CTextUI : public CLabelUI {
 public:
  static constexpr int kMaxLinks = 8;

  CTextUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  UINT GetControlFlags() const override;
  // A new text has no links until it is painted.
  void SetText(const wchar_t* text) override;
  void DoEvent(TEventUI& event) override;

  // The text of link `index` as recorded at the last paint, or null.
  const CUiString* GetLinkContent(int index) const;
  int GetLinkCount() const { return m_nLinks; }
  // The rectangle of link `index` as drawn at the last paint (empty when there is none).
  RECT GetLinkRect(int index) const {
    return index >= 0 && index < m_nLinks ? m_rcLinks[index] : RECT{0, 0, 0, 0};
  }

 protected:
  void DrawLabelText(HDC hDC, RECT& rc, const CUiString& text, DWORD color) override;
  // The index of the link under `pt`, or -1.
  int LinkAt(POINT pt) const;

  int m_nLinks = 0;
  RECT m_rcLinks[kMaxLinks] = {};
  CUiString m_sLinks[kMaxLinks];
  int m_nHoverLink = -1;
};

}  // namespace SkinUI
