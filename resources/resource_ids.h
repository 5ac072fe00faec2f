// Resource identifiers shared by the resource script and the program.
#pragma once

#define IDI_ZARVIC 130
#define IDD_ABOUT 128
#define IDD_SETTING 129

#ifndef WS_CAPTION
#define WS_CAPTION 0x00C00000L
#define WS_SYSMENU 0x00080000L
#define DS_MODALFRAME 0x80L
#define DS_SETFONT 0x40L
#endif
