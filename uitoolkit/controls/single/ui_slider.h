// CSliderUI: a trackbar as a Windows user knows it: a progress bar (minimum, maximum, value,
// horizontal or vertical) with a thumb the user moves by dragging it, by pressing on the track
// (a page towards the press, repeated while held), with the arrow, Page, Home and End keys and
// with the wheel. The value moves in whole steps; "valuechanged" (0, 0) tells each change the
// user made (while dragging, only when `sendmove` asks for it; otherwise once at the drag's end).
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_progress.h"
#include "uitoolkit/controls/ui_state_look.h"

namespace SkinUI {

// ---- Geometry ----

// The thumb of `size` over the bar: centred across it; along it, its centre travels from half
// the thumb's length to the bar's length minus that, the minimum at the left (horizontal) or at
// the bottom (vertical). A range without room (maximum <= minimum) puts it at the minimum.
RECT SliderThumbRect(const RECT& bar, bool horizontal, SIZE size, int minimum, int maximum,
                     int value);

// `value` moved to the nearest minimum + k × step within [minimum, maximum]; the maximum itself
// stays reachable when the range is no multiple of the step.
int SnapSliderValue(int value, int minimum, int maximum, int step);

// The value whose thumb centre lies at `pt` (limited to the range, not snapped).
int SliderValueAtPoint(const RECT& bar, bool horizontal, SIZE thumb, int minimum, int maximum,
                       POINT pt);

// One page from `value` towards `target`, never past it.
int SliderStepToward(int value, int target, int page);

// ---- The control ----

class CSliderUI : public CProgressUI {
 public:
  static constexpr const wchar_t* kClassName = L"Slider";
  // The breadth of a new slider across its bar, and the plain look.
  static constexpr int kDefaultThickness = 24;
  static constexpr SIZE kDefaultThumbSize = {10, 20};  // horizontal; turned when vertical
  static constexpr int kDefaultRailSize = 4;
  // A press held on the track repeats its page step as a scroll bar's track does (its delay and
  // interval), on this control timer, until the thumb reaches the pointer.
  static constexpr UINT kRepeatTimerId = 14;
  static constexpr DWORD kPlainRailColor = 0xFFC8C8C8;
  static constexpr DWORD kPlainFocusColor = 0xFF606060;
  static constexpr DWORD kPlainThumbColors[kLookStateCount] = {0xFF0078D7, 0xFF1A8CE6,
                                                               0xFF005A9E, 0xFFB4B4B4};

  CSliderUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  UINT GetControlFlags() const override;
  void SetEnabled(bool enabled = true) override;
  void DoEvent(TEventUI& event) override;
  // `step`, `pagestep`, `thumbsize`, `railsize`, `railcolor`, `sendmove`,
  // `thumb<state>image` / `thumb<state>color`; the rest as for a progress bar.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  // The rail with its filled part, the fore image, then the thumb.
  void PaintStatusImage(HDC hDC) override;

  int GetStep() const { return m_nStep; }
  void SetStep(int step);
  // The Page keys' and a track press's step: `pagestep`, or a fifth of the range (at least one
  // step) when it is 0.
  int GetPageStep() const;
  SIZE GetThumbSize() const;
  // The thumb's rectangle now (window coordinates).
  RECT GetThumbRect() const;
  // The state the thumb is drawn in now.
  TLookState GetThumbState() const;

 private:
  // Moves to `value` snapped to the step, and sends "valuechanged" when it changed and `notify`.
  void MoveTo(int value, bool notify = true);
  void MoveBy(long long delta);
  // One page towards the pressed point of the track.
  void StepTowardPress();
  // Runs the repeat timer at `period` ms; 0 stops it.
  void SetRepeat(UINT period);
  void Notify();
  void SetThumbHot(bool hot);

  int m_nStep = 1;
  int m_nPageStep = 0;
  SIZE m_szThumb = {0, 0};  // 0: the default for the orientation
  int m_nRailSize = kDefaultRailSize;
  DWORD m_dwRailColor = 0;
  bool m_bSendMove = false;
  TStateLook m_thumb;

  bool m_bThumbHot = false;
  bool m_bDragging = false;
  POINT m_ptDragOffset = {0, 0};  // from the pointer to the thumb's centre
  bool m_bTrackPressed = false;
  POINT m_ptPress = {0, 0};  // where the pointer is while the track is held
  UINT m_uRepeat = 0;        // the repeat timer's period; 0 when it does not run
  int m_nDragStartValue = 0;
};

}  // namespace SkinUI
