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

// The device path of a special folder, or empty when the device has none.
std::u16string SpecialFolderPath(int csidl);

}  // namespace sim
