// The device's GDI: fonts, brushes and system colours, with accounting per program, and
// what every window shows: the text runs and filled rectangles last drawn in it, with
// what later drawing covered taken away, as a person would see it.
#pragma once

#include <string>
#include <vector>

#include "state.h"

namespace sim {

struct GdiObject {
    enum class Kind { Font, Brush, Pen } kind = Kind::Font;
    int program = 0;             // the creator; 0 for the device's own objects
    bool shared = false;         // stock and system-colour objects, the device's fonts
    bool deletePending = false;  // deleted while selected: freed when it leaves the last context
    bool hollow = false;         // NULL_BRUSH, NULL_PEN: paints nothing
    LOGFONTW font{};
    COLORREF color = 0;
    int sysColor = -1;           // a system-colour brush paints that colour as it is now
};

struct GdiMisuse {
    int program = 0;
    std::string what;
    HGDIOBJ handle = nullptr;
};

struct TextRun {
    std::u16string text;         // as shown: prefixes resolved
    RECT box{};                  // where the text stands, in client coordinates
    RECT clip{};                 // what of it can show: the format rectangle or the client area
    std::u16string visible;      // the characters that show at least in part (DrawingOf fills it)
    int underline = -1;          // index into text of the underlined character, or -1
    COLORREF color = 0;
    int bkMode = OPAQUE;
    COLORREF bkColor = 0;
    LOGFONTW font{};
    UINT format = 0;
    RECT formatRect{};
    std::vector<int> advances;   // of each character of text
    WCHAR Underlined() const { return underline >= 0 ? text[static_cast<size_t>(underline)] : 0; }
    std::u16string Face() const;
};

struct FilledRect {
    RECT rect{};                 // client coordinates, within the client area
    COLORREF color = 0;
};

struct WindowDrawing {
    std::vector<TextRun> texts;
    std::vector<FilledRect> fills;
    bool clipped = false;        // everything lies within clippedTo, the area it was last cut to
    RECT clippedTo{};
};

struct GdiState {
    std::map<uintptr_t, GdiObject> objects;
    std::set<uintptr_t> deleted;
    std::vector<GdiMisuse> misuses;
    std::map<uintptr_t, WindowDrawing> drawings;  // key: window handle; 0 for the screen
    std::map<int, COLORREF> sysColors;
    std::vector<std::pair<std::vector<uint8_t>, HGDIOBJ>> deviceFonts;
};

GdiState& Gdi();
GdiObject* FindObject(HGDIOBJ handle);
// The device's own font for the popup menus, as the registry records it now.
HGDIOBJ DevicePopupMenuFont(UINT dpi = 96);
// A font that a context let go: freed now if it was deleted while selected.
void ObjectLeftContext(HGDIOBJ object);
void ReportGdiMisuse(const std::string& what, const void* handle);
COLORREF SysColorValue(int index);
// Adds drawing to a window's record, covering what lies wholly beneath it.
void RecordFill(HWND hwnd, const FilledRect& fill);
void RecordText(HWND hwnd, TextRun&& run);
// The part of a window's client area drawing can reach (the screen for no window).
RECT DrawableArea(HWND hwnd);

}  // namespace sim
