// A path in the platform's own spelling, before the logic compares it with another.
#pragma once

// Writes into out (units long) path as the platform spells it in full: on the desktop
// made absolute, with long names for short 8.3 ones and without a "\\?\" prefix ("\\?\UNC\"
// becomes "\\"); on the device, whose paths are always full and have no short names, path
// as given. "." and ".." may remain. 0 when the result does not fit.
BOOL GetComparablePath(LPCWSTR path, LPWSTR out, DWORD units);
