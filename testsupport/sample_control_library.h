// The sample COM control (VeskSampleControl.dll beside the test program) loaded into the test
// and registered while the object lives, with its live-object count and its records of what its
// container told it. It is registered for the current user; COM under Wine 8 reads no per-user
// classes, so there it is registered for the machine of the test's private prefix instead.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <string>
#include <vector>

namespace vesk {
namespace testing {

class SampleControlLibrary {
 public:
  SampleControlLibrary() {
    wchar_t path[MAX_PATH];
    const std::wstring program(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    m_module = ::LoadLibraryW(
        (program.substr(0, program.find_last_of(L'\\') + 1) + L"VeskSampleControl.dll").c_str());
    CLSID clsid;
    for (const wchar_t* scope : {L"user", L"machine"}) {
      if (m_registered || m_module == nullptr || Install()(TRUE, scope) != S_OK) break;
      m_scopes.push_back(scope);
      m_registered = SUCCEEDED(::CLSIDFromProgID(L"Vesk.SampleControl", &clsid));
    }
  }
  ~SampleControlLibrary() {
    for (const wchar_t* scope : m_scopes) Install()(FALSE, scope);
  }

  bool registered() const { return m_registered; }
  LONG Objects() const { return Function<LONG(WINAPI*)()>("SampleControlObjects")(); }
  // What the controls were told, one line a call ("site", "rects l,t,r,b", "message 513"...).
  std::wstring Records() const {
    return Function<const wchar_t*(WINAPI*)()>("SampleControlRecords")();
  }
  void ClearRecords() const { Function<void(WINAPI*)()>("SampleControlClearRecords")(); }

 private:
  template <class Pointer>
  Pointer Function(const char* name) const {
    return reinterpret_cast<Pointer>(reinterpret_cast<void*>(::GetProcAddress(m_module, name)));
  }
  HRESULT(STDAPICALLTYPE* Install() const)(BOOL, LPCWSTR) {
    return Function<HRESULT(STDAPICALLTYPE*)(BOOL, LPCWSTR)>("DllInstall");
  }

  HMODULE m_module = nullptr;
  std::vector<const wchar_t*> m_scopes;
  bool m_registered = false;
};

}  // namespace testing
}  // namespace vesk
