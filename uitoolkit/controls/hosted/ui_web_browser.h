// CWebBrowserUI: the ActiveX host with the system's web browser control. It navigates to its
// home page once created, navigates on request, goes back and forward, and hands the browser's
// events to a handler the caller provides. Where the browser engine is not installed the host
// stays empty: the failure is logged once and nothing else happens.
#pragma once

#include <windows.h>

#include <exdisp.h>

#include "uitoolkit/controls/hosted/ui_activex.h"

namespace SkinUI {

class CWebBrowserUI;
class CWebBrowserEvents;

// What the caller hears from the browser; every method does nothing unless overridden. `cancel`
// starts false; set it to stop the navigation or the new window.
class IWebBrowserEventHandlerUI {
 public:
  virtual void BeforeNavigate2(CWebBrowserUI* /*browser*/, const wchar_t* /*url*/,
                               bool& /*cancel*/) {}
  virtual void NavigateComplete2(CWebBrowserUI* /*browser*/, const wchar_t* /*url*/) {}
  virtual void DocumentComplete(CWebBrowserUI* /*browser*/, const wchar_t* /*url*/) {}
  virtual void NavigateError(CWebBrowserUI* /*browser*/, const wchar_t* /*url*/,
                             long /*status*/, bool& /*cancel*/) {}
  virtual void TitleChange(CWebBrowserUI* /*browser*/, const wchar_t* /*title*/) {}
  // A page asks for a new window (`url` empty when the browser does not tell it).
  virtual void NewWindow(CWebBrowserUI* /*browser*/, const wchar_t* /*url*/, bool& /*cancel*/) {}
  // Back (CSC_NAVIGATEBACK) or forward (CSC_NAVIGATEFORWARD) became possible or not.
  virtual void CommandStateChange(CWebBrowserUI* /*browser*/, long /*command*/,
                                  bool /*enabled*/) {}

 protected:
  ~IWebBrowserEventHandlerUI() = default;
};

// Hands one DWebBrowserEvents2 call (`dispid` with its arguments as the browser passes them) to
// `handler`; false for an event the handler does not take.
bool DispatchWebBrowserEvent(DISPID dispid, DISPPARAMS* params, CWebBrowserUI* browser,
                             IWebBrowserEventHandlerUI& handler);

class CWebBrowserUI : public CActiveXUI {
 public:
  static constexpr const wchar_t* kClassName = L"WebBrowser";

  ~CWebBrowserUI() override;

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;

  // The page navigated to when the browser is created.
  const CUiString& GetHomePage() const { return m_sHomePage; }
  void SetHomePage(const wchar_t* url) { m_sHomePage = url; }
  // The handler of the browser's events (not owned; null: none).
  void SetWebBrowserEventHandler(IWebBrowserEventHandlerUI* handler) { m_pHandler = handler; }
  IWebBrowserEventHandlerUI* GetWebBrowserEventHandler() const { return m_pHandler; }

  // Each fails (false) while no browser is hosted.
  bool Navigate(const wchar_t* url);
  bool GoBack();
  bool GoForward();
  bool Refresh();
  // The hosted browser (not add-referenced), or null.
  IWebBrowser2* GetWebBrowser2() const { return m_pBrowser; }

 protected:
  const CLSID* DefaultClassId() const override { return &CLSID_WebBrowser; }
  bool CanCreate() override;
  void OnControlCreated() override;
  void OnControlReleasing() override;

 private:
  CUiString m_sHomePage;
  IWebBrowserEventHandlerUI* m_pHandler = nullptr;
  IWebBrowser2* m_pBrowser = nullptr;
  CWebBrowserEvents* m_pEvents = nullptr;
  IConnectionPoint* m_pConnection = nullptr;
  DWORD m_dwCookie = 0;
};

}  // namespace SkinUI
