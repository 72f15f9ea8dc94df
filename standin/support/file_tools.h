// File, folder and process helpers of the stand-in programs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vesk::standin {

// Writes `size` bytes to `path`, replacing an existing file; false when the file cannot be
// opened or not every byte was written.
bool WriteWholeFile(const std::wstring& path, const void* data, size_t size);
bool WriteTextFile(const std::wstring& path, const std::string& text);

// Appends bytes to a file, creating it; false when it cannot be opened or written.
bool AppendToFile(const std::wstring& path, const std::string& bytes);

// Writes the RT_RCDATA resource `id` of `module` to `path`; false when the resource is missing
// or the file cannot be written.
bool WriteResourceToFile(HMODULE module, int id, const std::wstring& path);

[[nodiscard]] bool PathExists(const std::wstring& path);
[[nodiscard]] bool IsFolder(const std::wstring& path);

// Paths compared as Windows compares them: without regard to letter case.
[[nodiscard]] bool SamePath(const std::wstring& left, const std::wstring& right);

// Removes everything inside `folder` except the paths in `keep` (full paths) and the folders
// that lead to them; removes `folder` itself too when it ends up empty. True when everything
// that was not kept is gone.
bool DeleteContentsExcept(const std::wstring& folder, const std::vector<std::wstring>& keep);

// Removes a folder with everything in it; true when it is gone.
inline bool DeleteTree(const std::wstring& folder) { return DeleteContentsExcept(folder, {}); }

// True when some process has exactly this executable name (letter case included).
[[nodiscard]] bool IsProcessRunning(const wchar_t* executableName);

}  // namespace vesk::standin
