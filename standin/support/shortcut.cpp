#include "standin/support/shortcut.h"

#include <shlobj.h>
#include <shobjidl.h>

namespace vesk::standin {
namespace {

// Owner of one COM interface pointer.
template <typename Interface>
class ComPointer {
 public:
  ComPointer() = default;
  ComPointer(const ComPointer&) = delete;
  ComPointer& operator=(const ComPointer&) = delete;
  ~ComPointer() {
    if (m_pointer != nullptr) m_pointer->Release();
  }
  Interface* operator->() const { return m_pointer; }
  Interface* get() const { return m_pointer; }
  void** put() { return reinterpret_cast<void**>(&m_pointer); }

 private:
  Interface* m_pointer = nullptr;
};

}  // namespace

std::wstring DesktopFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT,
                              folder))) {
    return std::wstring();
  }
  return folder;
}

HRESULT CreateShortcut(const std::wstring& linkPath, const std::wstring& target,
                       const std::wstring& workingFolder, const std::wstring& description) {
  ComPointer<IShellLinkW> link;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IShellLinkW, link.put());
  if (FAILED(result)) return result;
  if (FAILED(result = link->SetPath(target.c_str()))) return result;
  if (FAILED(result = link->SetWorkingDirectory(workingFolder.c_str()))) return result;
  if (FAILED(result = link->SetDescription(description.c_str()))) return result;
  if (FAILED(result = link->SetIconLocation(target.c_str(), 0))) return result;
  ComPointer<IPersistFile> file;
  if (FAILED(result = link->QueryInterface(IID_IPersistFile, file.put()))) return result;
  return file->Save(linkPath.c_str(), TRUE);
}

std::wstring ShortcutTarget(const std::wstring& linkPath) {
  ComPointer<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.put()))) {
    return std::wstring();
  }
  ComPointer<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.put())) ||
      FAILED(file->Load(linkPath.c_str(), STGM_READ))) {
    return std::wstring();
  }
  wchar_t target[MAX_PATH] = {};
  if (link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) return std::wstring();
  return target;
}

}  // namespace vesk::standin
