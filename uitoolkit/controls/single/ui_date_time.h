// CDateTimeUI: a date field. It shows its date in the user's short date format; a click (or F4,
// Alt+Down or Space while it has the focus) lays the native date-and-time picker of the common
// controls over it, where the user changes the date by keys or in the picker's month calendar.
// Each change becomes the control's date and text at once with "textchanged" (0, 0); Enter,
// Escape or moving the focus elsewhere closes the picker. A read-only field does not open it.
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_label.h"

namespace SkinUI {

class CDateTimeWnd;

// Reads "YYYY-MM-DD" into a date (time of day 0); false for anything else or a date that does
// not exist.
bool ParseIsoDate(const wchar_t* text, SYSTEMTIME& date);

class CDateTimeUI : public CLabelUI {
 public:
  static constexpr const wchar_t* kClassName = L"DateTime";

  // Today, white with a grey border, text padded 4 pixels at the sides.
  CDateTimeUI();
  // Destroys the picker.
  ~CDateTimeUI() override;

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  UINT GetControlFlags() const override;
  // The picker while it is open, else null.
  HWND GetNativeWindow() const override;
  // Opens the picker (as a click does).
  bool Activate() override;
  void SetPos(RECT rc, bool needInvalidate = true) override;
  void Move(SIZE offset, bool needInvalidate = true) override;
  void SetVisible(bool visible = true) override;
  void SetInternVisible(bool visible = true) override;
  void SetEnabled(bool enabled = true) override;
  void DoEvent(TEventUI& event) override;
  // `date` (YYYY-MM-DD), `readonly`; the rest as for a label.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;

  const SYSTEMTIME& GetTime() const { return m_date; }
  // Takes the date part of `date` and shows it; no notification.
  void SetTime(const SYSTEMTIME& date);
  bool IsReadOnly() const { return m_bReadOnly; }
  void SetReadOnly(bool readOnly);

 private:
  friend class CDateTimeWnd;
  // Opens the picker over the control, passing on the click that opened it (or null); false
  // when it cannot be (no window, read-only, disabled, or the common controls lack it).
  bool OpenPicker(const POINT* click);
  void ClosePicker();
  void PlacePicker();
  // The picker chose `date`: it becomes the control's date, with "textchanged" when the shown
  // text changed.
  void OnPickerChanged(const SYSTEMTIME& date);
  void OnPickerGone();

  SYSTEMTIME m_date = {};
  bool m_bReadOnly = false;
  CDateTimeWnd* m_pWindow = nullptr;
};

}  // namespace SkinUI
