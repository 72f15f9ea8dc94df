// Helpers of the control tests: a paint-manager stand-in that records what controls ask of it,
// with the render engine tests' image table and fonts behind it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/controls/ui_control_manager.h"
#include "uitoolkit/core/tests/render_test_support.h"

namespace SkinUI {
namespace testing {

class RecordingManager : public IControlManagerUI {
 public:
  CPaintManagerUI* GetPaintManager() override { return nullptr; }
  void Invalidate(const RECT& rcItem) override { invalidated.push_back(rcItem); }
  void NeedUpdate() override { ++updateRequests; }
  CControlUI* GetFocus() const override { return focus; }
  void SetFocus(CControlUI* control, bool) override { focus = control; }
  bool InitControls(CControlUI* control, CControlUI* parent) override {
    control->SetManager(this, parent, true);
    return true;
  }
  void ReapObjects(CControlUI* control) override { reaped.push_back(control); }
  CControlUI* FindControl(const wchar_t*) const override { return nullptr; }
  void RenameControl(CControlUI* control, const wchar_t* oldName) override {
    renames.push_back(std::wstring(oldName) + L">" + control->GetName().GetData());
  }
  void RemoveMouseLeaveNeeded(CControlUI*) override {}
  void AddDelayedCleanup(CControlUI*) override {}
  void SendNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam, LPARAM lParam, bool,
                  bool) override {
    TNotifyUI msg;
    msg.pSender = sender;
    msg.sType = type;
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, false, true);
  }
  void SendNotify(TNotifyUI& msg, bool, bool) override { notifications.push_back(msg); }
  void UsedVirtualWnd(bool used) override { usesVirtualWindows = used; }
  void GetHSL(short* hue, short* saturation, short* lightness) override {
    *hue = hsl[0];
    *saturation = hsl[1];
    *lightness = hsl[2];
  }
  DWORD GetDefaultDisabledColor() override { return 0xFFA7A6AA; }
  DWORD GetDefaultFontColor() override { return 0xFF000000; }
  bool AddOptionGroup(const wchar_t*, CControlUI*) override { return false; }
  CUiPtrArray* GetOptionGroup(const wchar_t*) override { return nullptr; }
  void RemoveOptionGroup(const wchar_t*, CControlUI*) override {}

  // IRenderHost: the render tests' stand-in.
  TImageInfo* GetImageEx(const wchar_t* name, const wchar_t* type, DWORD mask,
                         bool useHSL) override {
    return render.GetImageEx(name, type, mask, useHSL);
  }
  HFONT GetFont(int index) override { return render.GetFont(index); }
  HFONT FindOrAddFont(const wchar_t* face, int size, bool bold, bool underline,
                      bool italic) override {
    return render.FindOrAddFont(face, size, bold, underline, italic);
  }
  const wchar_t* GetMultiLanguageString(int id) override { return render.GetMultiLanguageString(id); }
  DWORD GetDefaultLinkFontColor() override { return render.linkColor; }
  DWORD GetDefaultLinkHoverFontColor() override { return render.linkHoverColor; }
  DWORD GetDefaultSelectedBkColor() override { return render.selectedColor; }
  POINT GetMousePos() override { return render.mouse; }
  HDC GetPaintDC() override { return nullptr; }

  TestRenderHost render;
  std::vector<RECT> invalidated;
  int updateRequests = 0;
  CControlUI* focus = nullptr;
  std::vector<CControlUI*> reaped;
  std::vector<std::wstring> renames;
  std::vector<TNotifyUI> notifications;
  bool usesVirtualWindows = false;
  short hsl[3] = {180, 100, 100};
};

// Controls made from attribute lists under one manager: each is attached, given its attributes
// and placed at its rectangle; all are painted in the order added.
template <class Manager = RecordingManager>
class ControlBoard {
 public:
  template <class Control = CControlUI>
  Control& Add(const std::wstring& attributes, const RECT& rc) {
    auto control = std::make_unique<Control>();
    Control& added = *control;
    added.SetManager(&manager, nullptr, false);
    added.SetAttributeList(attributes.c_str());
    added.SetPos(rc, false);
    m_controls.push_back(std::move(control));
    return added;
  }
  void PaintAll(HDC dc, const RECT& rcPaint) {
    for (auto& control : m_controls) control->Paint(dc, rcPaint, nullptr);
  }

  Manager manager;

 private:
  std::vector<std::unique_ptr<CControlUI>> m_controls;
};

// A control attached to `manager` as the child of `parent` (or as a root), placed at `rc`.
void Attach(CControlUI& control, IControlManagerUI& manager, CControlUI* parent, const RECT& rc);

}  // namespace testing
}  // namespace SkinUI
