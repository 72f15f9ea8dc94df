#include "uitoolkit/controls/ui_control.h"

#include <cwchar>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_control_geometry.h"
#include "uitoolkit/core/ui_color.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

bool IsNonEmpty(const RECT& rc) { return rc.right > rc.left && rc.bottom > rc.top; }

}  // namespace

CControlUI::CControlUI() = default;

void CControlUI::Delete() {
  if (m_pManager != nullptr) m_pManager->RemoveMouseLeaveNeeded(this);
  delete this;
}

CControlUI::~CControlUI() {
  if (m_pCover != nullptr) {
    m_pCover->Delete();
    m_pCover = nullptr;
  }
  RemoveAllCustomAttribute();
  OnDestroy(this);
  if (m_pManager != nullptr) m_pManager->ReapObjects(this);
}

CUiString CControlUI::GetName() const { return m_sName; }

void CControlUI::SetName(const wchar_t* name) {
  if (m_sName == name) return;
  const CUiString oldName = m_sName;
  m_sName = name;
  if (m_pManager != nullptr) m_pManager->RenameControl(this, oldName);
}

const wchar_t* CControlUI::GetClass() const { return L"Control"; }

void* CControlUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && NameIs(name, L"Control")) return this;
  return nullptr;
}

UINT CControlUI::GetControlFlags() const { return 0; }

HWND CControlUI::GetNativeWindow() const { return nullptr; }

bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }

CPaintManagerUI* CControlUI::GetManager() const {
  return m_pManager != nullptr ? m_pManager->GetPaintManager() : nullptr;
}

void CControlUI::SetManager(IControlManagerUI* manager, CControlUI* parent, bool init) {
  if (m_pCover != nullptr) m_pCover->SetManager(manager, this, init);
  m_pManager = manager;
  m_pParent = parent;
  if (init && m_pParent != nullptr) Init();
}

CControlUI* CControlUI::GetParent() const { return m_pParent; }

CControlUI* CControlUI::GetCover() const { return m_pCover; }

void CControlUI::SetCover(CControlUI* child) {
  if (m_pCover == child) return;
  if (m_pCover != nullptr) m_pCover->Delete();
  m_pCover = child;
  if (m_pCover == nullptr) return;
  if (m_pManager != nullptr) {
    m_pManager->InitControls(m_pCover, this);
  } else {
    m_pCover->SetManager(nullptr, this, false);
  }
  if (IsVisible()) {
    NeedUpdate();
  } else {
    m_pCover->SetInternVisible(false);
  }
}

CUiString CControlUI::GetText() const { return m_sText; }

void CControlUI::SetText(const wchar_t* text) {
  if (m_sText == text) return;
  m_sText = text;
  Invalidate();
  NotifyAccessible(TAccessibleChange::Text);
}

const RECT& CControlUI::GetPos() const { return m_rcItem; }

RECT CControlUI::GetRelativePos() const {
  if (m_pParent == nullptr) return RECT{0, 0, 0, 0};
  const RECT& parent = m_pParent->GetPos();
  CUiRect relative = m_rcItem;
  relative.Offset(-parent.left, -parent.top);
  return relative;
}

RECT CControlUI::GetClientPos() const { return m_rcItem; }

void CControlUI::SetPos(RECT rc, bool needInvalidate) {
  rc = NormalizeSize(rc);
  CUiRect invalidateArea = m_rcItem;
  if (invalidateArea.IsEmpty()) invalidateArea = rc;

  if (m_bFloat) {
    if (m_pParent != nullptr) {
      const CUiRect parent = m_pParent->GetPos();
      CUiRect item = rc;
      item.Offset(parent.left, parent.top);
      m_rcItem = item;
      FixedFromFloatRect(rc, parent.GetSize(), m_piFloatPercent, m_cXY, m_cxyFixed);
    }
  } else {
    m_rcItem = rc;
  }
  if (m_pManager == nullptr) return;

  if (!m_bSetPos) {
    m_bSetPos = true;
    OnSize(this);
    m_bSetPos = false;
  }
  m_bUpdateNeeded = false;

  if (needInvalidate && IsVisible()) {
    invalidateArea.Union(m_rcItem);
    if (!ClipToAncestors(invalidateArea, true)) return;
    m_pManager->Invalidate(invalidateArea);
  }
  PositionCover();
}

void CControlUI::PositionCover() {
  if (m_pCover == nullptr || !m_pCover->IsVisible()) return;
  const CUiRect item = m_rcItem;
  if (m_pCover->IsFloat()) {
    m_pCover->SetPos(FloatRectInParent(item.GetSize(), m_pCover->GetFixedXY(),
                                       SIZE{m_pCover->GetFixedWidth(), m_pCover->GetFixedHeight()},
                                       m_pCover->GetFloatPercent()),
                     false);
    return;
  }
  // A cover that is not float lies over the control's own window rectangle (for a float
  // control, SetPos's argument is parent-relative, so the item rectangle is used).
  const SIZE size = ClampSize(item.GetSize(), SIZE{m_pCover->GetMinWidth(), m_pCover->GetMinHeight()},
                              SIZE{m_pCover->GetMaxWidth(), m_pCover->GetMaxHeight()});
  m_pCover->SetPos(RECT{item.left, item.top, item.left + size.cx, item.top + size.cy}, false);
}

void CControlUI::Move(SIZE offset, bool needInvalidate) {
  CUiRect invalidateArea = m_rcItem;
  m_rcItem.Offset(offset.cx, offset.cy);
  if (m_pCover != nullptr) m_pCover->Move(offset, false);
  if (!needInvalidate || m_pManager == nullptr || !IsVisible()) return;
  invalidateArea.Union(m_rcItem);
  if (!ClipToAncestors(invalidateArea, true)) return;
  m_pManager->Invalidate(invalidateArea);
}

bool CControlUI::ClipToAncestors(CUiRect& rc, bool stopAtHidden) const {
  for (CControlUI* parent = m_pParent; parent != nullptr; parent = parent->GetParent()) {
    if (stopAtHidden && !parent->IsVisible()) return false;
    if (!rc.Intersect(parent->GetPos())) return false;
  }
  return IsNonEmpty(rc);
}

int CControlUI::GetWidth() const { return m_rcItem.GetWidth(); }
int CControlUI::GetHeight() const { return m_rcItem.GetHeight(); }
int CControlUI::GetX() const { return m_rcItem.left; }
int CControlUI::GetY() const { return m_rcItem.top; }

RECT CControlUI::GetPadding() const { return m_rcPadding; }

void CControlUI::SetPadding(RECT rcPadding) {
  m_rcPadding = rcPadding;
  NeedParentUpdate();
}

SIZE CControlUI::GetFixedXY() const { return m_cXY; }

void CControlUI::SetFixedXY(SIZE szXY) {
  m_cXY = szXY;
  NeedParentUpdate();
}

TPercentInfo CControlUI::GetFloatPercent() const { return m_piFloatPercent; }

void CControlUI::SetFloatPercent(TPercentInfo piFloatPercent) {
  m_piFloatPercent = piFloatPercent;
  NeedParentUpdate();
}

int CControlUI::GetFixedWidth() const { return m_cxyFixed.cx; }

void CControlUI::SetFixedWidth(int cx) {
  if (cx < 0) return;
  m_cxyFixed.cx = cx;
  NeedParentUpdate();
}

int CControlUI::GetFixedHeight() const { return m_cxyFixed.cy; }

void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  m_cxyFixed.cy = cy;
  NeedParentUpdate();
}

int CControlUI::GetMinWidth() const { return m_cxyMin.cx; }

void CControlUI::SetMinWidth(int cx) {
  if (cx < 0 || m_cxyMin.cx == cx) return;
  m_cxyMin.cx = cx;
  NeedParentUpdate();
}

int CControlUI::GetMaxWidth() const { return m_cxyMax.cx; }

void CControlUI::SetMaxWidth(int cx) {
  if (cx < 0 || m_cxyMax.cx == cx) return;
  m_cxyMax.cx = cx;
  NeedParentUpdate();
}

int CControlUI::GetMinHeight() const { return m_cxyMin.cy; }

void CControlUI::SetMinHeight(int cy) {
  if (cy < 0 || m_cxyMin.cy == cy) return;
  m_cxyMin.cy = cy;
  NeedParentUpdate();
}

int CControlUI::GetMaxHeight() const { return m_cxyMax.cy; }

void CControlUI::SetMaxHeight(int cy) {
  if (cy < 0 || m_cxyMax.cy == cy) return;
  m_cxyMax.cy = cy;
  NeedParentUpdate();
}

CUiString CControlUI::GetToolTip() const { return m_sToolTip; }

void CControlUI::SetToolTip(const wchar_t* text) { m_sToolTip = ExpandToolTipLineBreaks(text); }

void CControlUI::SetToolTipWidth(int width) { m_nTooltipWidth = width; }

int CControlUI::GetToolTipWidth() const { return m_nTooltipWidth; }

void CControlUI::SetAccessibleName(const wchar_t* name) {
  if (m_sAccName == name) return;
  m_sAccName = name;
  NotifyAccessible(TAccessibleChange::Text);
}

wchar_t CControlUI::GetShortcut() const { return m_chShortcut; }

void CControlUI::SetShortcut(wchar_t ch) { m_chShortcut = ch; }

bool CControlUI::IsContextMenuUsed() const { return m_bMenuUsed; }

void CControlUI::SetContextMenuUsed(bool menuUsed) { m_bMenuUsed = menuUsed; }

const CUiString& CControlUI::GetUserData() const { return m_sUserData; }

void CControlUI::SetUserData(const wchar_t* text) { m_sUserData = text; }

UINT_PTR CControlUI::GetTag() const { return m_pTag; }

void CControlUI::SetTag(UINT_PTR tag) { m_pTag = tag; }

bool CControlUI::IsVisible() const { return m_bVisible && m_bInternVisible; }

void CControlUI::SetVisible(bool visible) {
  if (m_bVisible == visible) return;
  const bool wasVisible = IsVisible();
  m_bVisible = visible;
  m_bFocused = false;
  if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this) {
    m_pManager->SetFocus(nullptr);
  }
  if (IsVisible() != wasVisible) {
    NeedParentUpdate();
    NotifyAccessible(IsVisible() ? TAccessibleChange::Shown : TAccessibleChange::Hidden);
  }
  if (m_pCover != nullptr) m_pCover->SetInternVisible(IsVisible());
}

void CControlUI::SetInternVisible(bool visible) {
  m_bInternVisible = visible;
  if (!visible && m_pManager != nullptr && m_pManager->GetFocus() == this) {
    m_pManager->SetFocus(nullptr);
  }
  if (m_pCover != nullptr) m_pCover->SetInternVisible(IsVisible());
}

bool CControlUI::IsEnabled() const { return m_bEnabled; }

void CControlUI::SetEnabled(bool enabled) {
  if (m_bEnabled == enabled) return;
  m_bEnabled = enabled;
  Invalidate();
  NotifyAccessible(TAccessibleChange::State);
}

bool CControlUI::IsMouseEnabled() const { return m_bMouseEnabled; }

void CControlUI::SetMouseEnabled(bool enabled) { m_bMouseEnabled = enabled; }

bool CControlUI::IsKeyboardEnabled() const { return m_bKeyboardEnabled; }

void CControlUI::SetKeyboardEnabled(bool enabled) { m_bKeyboardEnabled = enabled; }

bool CControlUI::IsFocused() const { return m_bFocused; }

void CControlUI::SetFocus() {
  if (m_pManager != nullptr) m_pManager->SetFocus(this);
}

bool CControlUI::IsFloat() const { return m_bFloat; }

void CControlUI::SetFloat(bool isFloat) {
  if (m_bFloat == isFloat) return;
  m_bFloat = isFloat;
  NeedParentUpdate();
}

bool CControlUI::PassesFindFilters(FINDCONTROLPROC proc, void* data, UINT flags,
                                   bool& candidate) {
  if ((flags & UIFIND_VISIBLE) != 0 && !IsVisible()) return false;
  if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return false;
  candidate = true;
  if ((flags & UIFIND_HITTEST) != 0) {
    if (data == nullptr || !m_rcItem.Contains(*static_cast<const POINT*>(data))) return false;
    candidate = m_bMouseEnabled;
  }
  return (flags & UIFIND_UPDATETEST) == 0 || proc(this, data) == nullptr;
}

CControlUI* CControlUI::FindSelfFirstOrInCover(FINDCONTROLPROC proc, void* data, UINT flags,
                                               bool candidate) {
  CControlUI* result = nullptr;
  if ((flags & UIFIND_ME_FIRST) != 0 && candidate) result = proc(this, data);
  if (result == nullptr && m_pCover != nullptr) result = m_pCover->FindControl(proc, data, flags);
  return result;
}

CControlUI* CControlUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
  bool candidate = true;
  if (!PassesFindFilters(proc, data, flags, candidate)) return nullptr;
  CControlUI* result = FindSelfFirstOrInCover(proc, data, flags, candidate);
  if (result == nullptr && (flags & UIFIND_ME_FIRST) == 0 && candidate) result = proc(this, data);
  return result;
}

void CControlUI::Init() {
  DoInit();
  OnInit(this);
}

void CControlUI::DoInit() {}

void CControlUI::Event(TEventUI& event) {
  if (OnEvent(&event)) DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
      return;
    case UIEVENT_SETFOCUS:
      m_bFocused = true;
      Invalidate();
      return;
    case UIEVENT_KILLFOCUS:
      m_bFocused = false;
      Invalidate();
      return;
    case UIEVENT_TIMER:
      if (m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"timer", event.wParam, event.lParam);
      }
      return;
    case UIEVENT_CONTEXTMENU:
      if (IsContextMenuUsed()) {
        if (m_pManager != nullptr) {
          m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
        }
        return;
      }
      break;
    default:
      break;
  }
  if (m_pParent != nullptr) m_pParent->DoEvent(event);
}

CUiString CControlUI::GetAttribute(const wchar_t*) { return CUiString(); }

void CControlUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"pos")) {
    SIZE xy, size;
    FixedFromPos(ParseRectValue(value), xy, size);
    SetFixedXY(xy);
    SetFixedWidth(size.cx);
    SetFixedHeight(size.cy);
  } else if (NameIs(name, L"padding")) {
    SetPadding(ParseRectValue(value));
  } else if (NameIs(name, L"bkcolor") || NameIs(name, L"bkcolor1")) {
    SetBkColor(ParseBackgroundColorValue(value));
  } else if (NameIs(name, L"bkcolor2")) {
    SetBkColor2(ParseBackgroundColorValue(value));
  } else if (NameIs(name, L"bkcolor3")) {
    SetBkColor3(ParseBackgroundColorValue(value));
  } else if (NameIs(name, L"bordercolor")) {
    SetBorderColor(ParseColor(value));
  } else if (NameIs(name, L"focusbordercolor")) {
    SetFocusBorderColor(ParseColor(value));
  } else if (NameIs(name, L"colorhsl")) {
    SetColorHSL(ParseBoolValue(value));
  } else if (NameIs(name, L"bordersize")) {
    SetBorderSize(ParseBorderSizeValue(value));
  } else if (NameIs(name, L"borderstyle")) {
    SetBorderStyle(ParseDecimal(value));
  } else if (NameIs(name, L"borderround")) {
    SetBorderRound(ParseSizeValue(value));
  } else if (NameIs(name, L"bkimage")) {
    SetBkImage(value);
  } else if (NameIs(name, L"width")) {
    SetFixedWidth(ParseDecimal(value));
  } else if (NameIs(name, L"height")) {
    SetFixedHeight(ParseDecimal(value));
  } else if (NameIs(name, L"minwidth")) {
    SetMinWidth(ParseDecimal(value));
  } else if (NameIs(name, L"minheight")) {
    SetMinHeight(ParseDecimal(value));
  } else if (NameIs(name, L"maxwidth")) {
    SetMaxWidth(ParseDecimal(value));
  } else if (NameIs(name, L"maxheight")) {
    SetMaxHeight(ParseDecimal(value));
  } else if (NameIs(name, L"name")) {
    SetName(value);
  } else if (NameIs(name, L"text")) {
    SetText(value);
  } else if (NameIs(name, L"tooltip")) {
    SetToolTip(value);
  } else if (NameIs(name, L"accname")) {
    SetAccessibleName(value);
  } else if (NameIs(name, L"accdescription")) {
    SetAccessibleDescription(value);
  } else if (NameIs(name, L"userdata")) {
    SetUserData(value);
  } else if (NameIs(name, L"tag")) {
    SetTag(static_cast<UINT_PTR>(static_cast<LONG_PTR>(ParseDecimal(value))));
  } else if (NameIs(name, L"enabled")) {
    SetEnabled(ParseBoolValue(value));
  } else if (NameIs(name, L"mouse")) {
    SetMouseEnabled(ParseBoolValue(value));
  } else if (NameIs(name, L"keyboard")) {
    SetKeyboardEnabled(ParseBoolValue(value));
  } else if (NameIs(name, L"visible")) {
    SetVisible(ParseBoolValue(value));
  } else if (NameIs(name, L"float")) {
    bool isFloat = false;
    TPercentInfo percent;
    if (ParseFloatValue(value, isFloat, percent)) SetFloatPercent(percent);
    SetFloat(isFloat);
  } else if (NameIs(name, L"shortcut")) {
    SetShortcut(value[0]);
  } else if (NameIs(name, L"menu")) {
    SetContextMenuUsed(ParseBoolValue(value));
  } else if (NameIs(name, L"virtualwnd")) {
    SetVirtualWnd(value);
  } else {
    AddCustomAttribute(name, value);
  }
}

CUiString CControlUI::GetAttributeList(bool) { return CUiString(); }

void CControlUI::SetAttributeList(const wchar_t* list) {
  TAttributePairs pairs;
  ParseAttributeList(list, pairs);
  for (const auto& pair : pairs) SetAttribute(pair.first, pair.second);
}

SIZE CControlUI::EstimateSize(SIZE) { return m_cxyFixed; }

bool CControlUI::Paint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) {
  if (stopControl == this) return false;
  if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) return true;
  if (OnPaint && !OnPaint(this)) return true;
  if (!DoPaint(hDC, rcPaint, stopControl)) return false;
  if (m_pCover != nullptr) return m_pCover->Paint(hDC, rcPaint, nullptr);
  return true;
}

bool CControlUI::DoPaint(HDC hDC, const RECT&, CControlUI*) {
  CRenderClip roundClip;
  if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
    CRenderClip::GenerateRoundClip(hDC, m_rcPaint, m_rcItem, m_cxyBorderRound.cx,
                                   m_cxyBorderRound.cy, roundClip);
  }
  PaintBkColor(hDC);
  PaintBkImage(hDC);
  PaintStatusImage(hDC);
  PaintText(hDC);
  PaintBorder(hDC);
  return true;
}

void CControlUI::PaintBkColor(HDC hDC) {
  if (m_dwBackColor == 0) return;
  const DWORD first = GetAdjustColor(m_dwBackColor);
  if (m_dwBackColor2 != 0) {
    const DWORD second = GetAdjustColor(m_dwBackColor2);
    if (m_dwBackColor3 != 0) {
      const DWORD third = GetAdjustColor(m_dwBackColor3);
      RECT upper = m_rcItem;
      upper.bottom = (m_rcItem.top + m_rcItem.bottom) / 2;
      CRenderEngine::DrawGradient(hDC, upper, first, second, true, 8);
      RECT lower = m_rcItem;
      lower.top = upper.bottom;
      CRenderEngine::DrawGradient(hDC, lower, second, third, true, 8);
    } else {
      CRenderEngine::DrawGradient(hDC, m_rcItem, first, second, true, 16);
    }
  } else if (ColorAlpha(m_dwBackColor) == 0xFF) {
    CRenderEngine::DrawColor(hDC, m_rcPaint, first);
  } else {
    CRenderEngine::DrawColor(hDC, m_rcItem, first);
  }
}

void CControlUI::PaintBkImage(HDC hDC) {
  if (m_diBk.drawString.IsEmpty()) return;
  DrawImage(hDC, m_diBk);
}

void CControlUI::PaintStatusImage(HDC) {}

void CControlUI::PaintText(HDC) {}

void CControlUI::PaintBorder(HDC hDC) {
  if (m_rcBorderSize.left <= 0) return;
  const DWORD chosen =
      IsFocused() && m_dwFocusBorderColor != 0 ? m_dwFocusBorderColor : m_dwBorderColor;
  // 0 is "not set": a control with only a focused border colour draws no border unfocused.
  if (chosen == 0) return;
  const DWORD color = GetAdjustColor(chosen);
  if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
    CRenderEngine::DrawRoundRect(hDC, m_rcItem, m_rcBorderSize.left, m_cxyBorderRound.cx,
                                 m_cxyBorderRound.cy, color, m_nBorderStyle);
  } else if (m_rcBorderSize.left == m_rcBorderSize.top &&
             m_rcBorderSize.left == m_rcBorderSize.right &&
             m_rcBorderSize.left == m_rcBorderSize.bottom) {
    CRenderEngine::DrawRect(hDC, m_rcItem, m_rcBorderSize.left, color, m_nBorderStyle);
  } else {
    TBorderLine lines[4];
    const int count = BorderSideLines(m_rcItem, m_rcBorderSize, lines);
    for (int i = 0; i < count; ++i) {
      CRenderEngine::DrawLine(hDC, lines[i].line, lines[i].width, color, m_nBorderStyle);
    }
  }
}

void CControlUI::DoPostPaint(HDC, const RECT&) { OnPostPaint(this); }

CUiString CControlUI::GetVirtualWnd() const { return m_sVirtualWnd; }

void CControlUI::SetVirtualWnd(const wchar_t* value) {
  m_sVirtualWnd = value;
  if (m_pManager != nullptr) m_pManager->UsedVirtualWnd(true);
}

void CControlUI::Invalidate() {
  if (!IsVisible() || m_pManager == nullptr) return;
  CUiRect area = m_rcItem;
  if (!ClipToAncestors(area, false)) return;
  m_pManager->Invalidate(area);
}

void CControlUI::NeedUpdate() {
  if (!IsVisible()) return;
  m_bUpdateNeeded = true;
  Invalidate();
  if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
  if (m_pParent != nullptr) {
    m_pParent->NeedUpdate();
    m_pParent->Invalidate();
  } else {
    NeedUpdate();
  }
  if (m_pManager != nullptr) m_pManager->NeedUpdate();
}

void CControlUI::SetBkColor(DWORD color) {
  if (m_dwBackColor == color) return;
  m_dwBackColor = color;
  Invalidate();
}

void CControlUI::SetBkColor2(DWORD color) {
  if (m_dwBackColor2 == color) return;
  m_dwBackColor2 = color;
  Invalidate();
}

void CControlUI::SetBkColor3(DWORD color) {
  if (m_dwBackColor3 == color) return;
  m_dwBackColor3 = color;
  Invalidate();
}

void CControlUI::SetBkImage(const wchar_t* description) { LoadDrawInfo(m_diBk, description); }

bool CControlUI::LoadDrawInfo(TDrawInfo& drawInfo, const wchar_t* description, SIZE imageSize) {
  if (description == nullptr) description = L"";
  if (drawInfo.drawString == description && drawInfo.loaded) return drawInfo.image != nullptr;
  drawInfo.Clear();
  drawInfo.drawString = description;
  DrawImage(nullptr, drawInfo);
  if (m_bFloat && m_cxyFixed.cx == 0 && m_cxyFixed.cy == 0 && drawInfo.image != nullptr) {
    const bool useImage = imageSize.cx <= 0 && imageSize.cy <= 0;
    m_cxyFixed.cx = useImage ? drawInfo.image->width : imageSize.cx;
    m_cxyFixed.cy = useImage ? drawInfo.image->height : imageSize.cy;
  }
  Invalidate();
  return drawInfo.image != nullptr;
}

void CControlUI::SetBorderColor(DWORD color) {
  if (m_dwBorderColor == color) return;
  m_dwBorderColor = color;
  Invalidate();
}

void CControlUI::SetFocusBorderColor(DWORD color) {
  if (m_dwFocusBorderColor == color) return;
  m_dwFocusBorderColor = color;
  Invalidate();
}

void CControlUI::SetColorHSL(bool colorHSL) {
  if (m_bColorHSL == colorHSL) return;
  m_bColorHSL = colorHSL;
  Invalidate();
}

void CControlUI::SetBorderSize(RECT rc) {
  m_rcBorderSize = rc;
  Invalidate();
}

void CControlUI::SetBorderSize(int size) { SetBorderSize(RECT{size, size, size, size}); }

void CControlUI::SetBorderRound(SIZE cxyRound) {
  m_cxyBorderRound = cxyRound;
  Invalidate();
}

void CControlUI::SetBorderStyle(int style) {
  m_nBorderStyle = style;
  Invalidate();
}

DWORD CControlUI::GetAdjustColor(DWORD color) const {
  if (!m_bColorHSL || m_pManager == nullptr) return color;
  short hue = 180, saturation = 100, lightness = 100;
  m_pManager->GetHSL(&hue, &saturation, &lightness);
  return CRenderEngine::AdjustColor(color, hue, saturation, lightness);
}

bool CControlUI::DrawImage(HDC hDC, TDrawInfo& drawInfo) {
  return CRenderEngine::DrawImage(hDC, m_pManager, m_rcItem, m_rcPaint, drawInfo);
}

}  // namespace SkinUI
