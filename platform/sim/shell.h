// The device's shell as tests see it: documents and programs it was asked to open,
// special folders, shortcut files and the application installer's record.
#pragma once

#include <optional>

#include "state.h"

namespace sim {

// One ShellExecuteEx request, with the fields of its record.
struct ShellExecution {
    int program = 0;
    DWORD cbSize = 0;
    ULONG fMask = 0;
    HWND hwnd = nullptr;
    std::u16string verb;
    std::u16string file;
    std::u16string parameters;
    bool hasParameters = false;
    bool hasDirectory = false;
    int nShow = 0;
    bool succeeded = false;
};

const std::vector<ShellExecution>& ShellExecutions();
// CSIDL_DESKTOP names the root of the shell's namespace, a virtual folder whose path
// SHGetPathFromIDList cannot give (Windows CE 5.0); its files are in
// CSIDL_DESKTOPDIRECTORY. While `on`, CSIDL_DESKTOP has that folder's path instead, as
// the later reference pages describe it.
void GiveDesktopAPath(bool on);
// Item-id lists the shell handed to a program (0: any) that were not freed yet.
size_t LiveItemIdLists(int program = 0);
// The device path of a special folder, or empty when the device has none.
std::u16string SpecialFolderPath(int csidl);
// Makes the shell report a special folder at another path, as a device set up otherwise.
void MoveSpecialFolder(int csidl, const std::u16string& devicePath);

// Writes a shortcut file as the device's shell does: "<length>#<target>".
void PlaceShortcut(const std::u16string& devicePath, const std::u16string& target);
// The target a shortcut file holds, or nothing when the file is not a shortcut.
std::optional<std::u16string> ShortcutTarget(const std::u16string& devicePath);

// Writes the application installer's record of an installed application:
// "Software\Apps\<name>" with "Instl" 1 and "InstlDir" the folder.
void InstallApplication(const std::u16string& name, const std::u16string& folder);

}  // namespace sim
