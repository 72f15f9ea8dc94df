// The install steps both install roads share, each logging as it goes: the working folder's life
// (where it is, preparing and emptying it, its version file), creating the install folder,
// copying payload files, recording the version, and the two roads' install sequences around the
// installer runner. The quiet road (quiet_install.cpp) and the window (setup/window/) call them in
// their own order; neither writes these steps again.
#pragma once

#include <windows.h>

#include <string>

namespace vesk {

// "<folder of the setup program>\.VeskSetupTemp", or empty when it does not fit a path buffer.
[[nodiscard]] std::wstring GetWorkingFolder();

// Empties the folder of everything (linked folders are removed as links, never entered), removes
// it, creates it again and marks it hidden, logging each step. False, after a log line, when
// something in it could not be removed: then nothing of the folder may be used.
[[nodiscard]] bool PrepareWorkingFolder(const std::wstring& path);

// Deletes every file below the folder and then the folder itself, logging each failure; a failure
// never stops the walk. True when the folder itself was removed.
bool DeleteAllFilesInDirectory(const std::wstring& directoryPath);

// The end of an install road: lets go of the held payload items, then removes the working
// folder with DeleteAllFilesInDirectory.
void RemoveWorkingFolder(const std::wstring& workingFolder);

// The first line of a text file (its CR LF line end removed), each byte widened to one
// character; empty when the file cannot be read.
[[nodiscard]] std::wstring ReadFirstLine(const std::wstring& path);

// Logs "version.txt: " with the first line of the working folder's "version.txt" and stores it
// as the product's version (empty when the file cannot be read).
void RecordProductVersion(const std::wstring& workingFolder);

// Creates the install folder with its parents; false (after its log line) when that fails.
[[nodiscard]] bool CreateInstallFolder(const std::wstring& installFolder);

// Copies one payload file from the source folder to the target folder, overwriting.
void CopyPayloadFile(const std::wstring& fileName, const std::wstring& sourceFolder,
                     const std::wstring& targetFolder);

// Copies the working folder's installer alone into the install folder (the quiet road); false
// after "Failed to copy mini_installer.exe, error code: " when that fails.
[[nodiscard]] bool CopyInstaller(const std::wstring& workingFolder,
                                 const std::wstring& installFolder);

// Whether the Chromium installer must run elevated: an existing installation (`hasRegistryPath`)
// in a folder setup cannot write. Logs the answer.
[[nodiscard]] bool UseAdministratorMode(bool hasRegistryPath, const std::wstring& installFolder);

// One install started from the setup window, as the window chose it.
struct InteractiveInstall {
  HWND window = nullptr;  // receives the progress and completion messages
  std::wstring installFolder;
  std::wstring workingFolder;
  bool hasRegistryPath = false;
  bool isUpdate = false;
  bool isAutoStart = true;
};

// The window's steps before its worker starts: the log moves into the install folder, the folder
// is created, the payload is copied into it (not on the elevated road) and the auto-start choice
// is applied (not in update mode). False when the install folder cannot be created; then
// nothing else has happened.
[[nodiscard]] bool PrepareInteractiveInstall(const InteractiveInstall& install);

// The window's worker: registers the product, runs the installer with progress and, when it
// succeeded, records the version; returns the runner's result once the progress monitors have
// ended.
int RunInteractiveInstall(const InteractiveInstall& install);

}  // namespace vesk
