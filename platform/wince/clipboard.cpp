#include "wince_platform.h"

// The device's clipboard keeps no change count.
BOOL QueryClipboardSequenceNumber(LPDWORD) { return FALSE; }
