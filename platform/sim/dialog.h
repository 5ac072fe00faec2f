// Modal dialogs made from templates, and their controls, as tests see and use them.
#pragma once

#include <optional>

#include "state.h"

namespace sim {

// One dialog a program showed with DialogBoxIndirectParamW, newest last.
struct DialogRecord {
    int program = 0;
    HWND window = nullptr;       // null once the dialog window is gone
    HWND owner = nullptr;
    std::u16string caption;
    bool ended = false;          // EndDialog was called
    INT_PTR result = 0;          // what DialogBoxIndirectParamW returned, once it returned
    bool returned = false;
};

// A control of a dialog as a person sees it.
struct ControlInfo {
    HWND hwnd = nullptr;
    int id = 0;
    std::u16string className;    // "Button", "Edit" or "Static"
    DWORD style = 0;
    std::u16string text;
    int check = 0;               // BST_CHECKED / BST_UNCHECKED for check boxes
    bool enabled = true;
    bool visible = true;
    bool focused = false;
    RECT rect{};                 // screen coordinates
    WORD iconId = 0;             // static icons: the icon resource shown
};

// The dialog base units of a template font: a character cell MulDiv(points, 96, 72)
// pixels high and half as wide (rounded up). Without a font, the device's 9-point system
// font.
SIZE DialogBaseUnits(int pointSize);

}  // namespace sim
