// The clipboard's change count, where the platform keeps one.
#pragma once

// Not a Windows CE operation: desktop Windows' GetClipboardSequenceNumber, answered by the
// platform layer. FALSE where the platform keeps no such number, as on the device; the
// caller then compares the clipboard's contents instead.
BOOL QueryClipboardSequenceNumber(LPDWORD number);
