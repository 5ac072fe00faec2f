// How the device's fonts measure text: a deterministic model a test can set per face
// name and height. Every character falls into one class with a fixed advance:
// full-width (East Asian wide and full-width forms), wide Latin ("M", "W", "m", "w",
// "@", "%") and narrow (everything else, control characters drawn as the default glyph).
#pragma once

#include "state.h"

namespace sim {

struct FontModel {
    LONG height = 14;            // tmHeight: one line of text
    LONG ascent = 11;            // tmAscent; the descent is the rest of the height
    LONG externalLeading = 2;    // tmExternalLeading: the gap between lines
    int narrow = 7;
    int wide = 10;
    int fullWidth = 14;
};

// The model that measures a font: the face's own for that height, else the face's own
// for any height, else one derived from the height (|lfHeight|, 12 for 0).
FontModel ModelOf(const LOGFONTW& font);
int CharAdvance(const FontModel& model, WCHAR c);
int TextWidth(const FontModel& model, const WCHAR* text, size_t count);

// The face name of a logical font, read up to its terminator or its 32 units.
std::u16string FaceOf(const LOGFONTW& font);

// The stock SYSTEM_FONT: what a fresh device context draws with.
LOGFONTW SystemLogFont();
// The font the device's popup menus draw with: the one recorded under
// HKEY_LOCAL_MACHINE\System\GWE\Menu\PopFnt when all five of its values are there and
// fit ("Ht", "Wt", "It", "CS" in 4 bytes, "Nm" terminated within 32 units), else the
// system font.
LOGFONTW PopupMenuLogFont();

}  // namespace sim
