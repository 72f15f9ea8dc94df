#include "uitoolkit/samples/skin_viewer/viewer_options.h"

#include <cwctype>

namespace SkinViewer {
namespace {

bool EndsWithNoCase(const std::wstring& text, const std::wstring& tail) {
  if (text.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i) {
    if (towlower(text[text.size() - tail.size() + i]) != towlower(tail[i])) return false;
  }
  return true;
}

// Splits "C:\skins\gallery.xml" into the folder "C:\skins\" and the name "gallery.xml".
void SplitPath(const std::wstring& path, std::wstring& folder, std::wstring& name) {
  const size_t slash = path.find_last_of(L"\\/");
  folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
  name = slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool ParseViewerOptions(const std::vector<std::wstring>& arguments, ViewerOptions& options,
                        std::wstring& error) {
  std::wstring skin;
  std::wstring xmlInZip;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    std::wstring* target = nullptr;
    if (argument == L"--xml") {
      target = &xmlInZip;
    } else if (argument == L"--notify-log") {
      target = &options.notifyLog;
    } else if (argument == L"--screenshot") {
      target = &options.screenshot;
    } else if (argument == L"--activate") {
      options.activate.emplace_back();
      target = &options.activate.back();
    } else if (argument.rfind(L"--", 0) == 0 || !skin.empty()) {
      error = L"unexpected argument: " + argument;
      return false;
    } else {
      skin = argument;
      continue;
    }
    if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
      error = argument + L" needs a value";
      return false;
    }
    *target = arguments[++i];
  }
  if (skin.empty()) {
    error = L"no skin file given";
    return false;
  }
  std::wstring name;
  SplitPath(skin, options.skinFolder, name);
  if (EndsWithNoCase(name, L".zip")) {
    options.zipFile = name;
    options.skinFile = xmlInZip.empty() ? name.substr(0, name.size() - 4) + L".xml" : xmlInZip;
  } else if (!xmlInZip.empty()) {
    error = L"--xml names the skin file inside a zip";
    return false;
  } else {
    options.skinFile = name;
  }
  return true;
}

}  // namespace SkinViewer
