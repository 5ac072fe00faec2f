// The Handheld PC itself: Windows CE 4.10, built from the desktop SDK's headers with
// `_WIN32_WCE` defined. Nothing here stands in for a missing call; the program's Win32
// names are CE's own exports, linked from import libraries made from platform/ce_api.tsv,
// so a name CE lacks fails the link. Only the project's own operations are defined here.
#pragma once

#if !defined(UNICODE) || !defined(WIN32_LEAN_AND_MEAN)
// CE has only the W calls, and its shell records are ce_shell_types.h's, not the SDK's.
#error "build the device image with UNICODE and WIN32_LEAN_AND_MEAN defined"
#endif

#include <windows.h>
#include <imm.h>
#include <string.h>
#include <wchar.h>

#include "wince_shell.h"
#include "../platform_clipboard.h"
#include "../platform_paths.h"
#include "../platform_screens.h"
#include "../platform_shell.h"
#include "../platform_tray.h"
#include "../platform_menus.h"
#include "../platform_foreground.h"
#include "../platform_windows.h"

// CE's own clipboard call (Winuser.h): a copy of the format's data in the caller's heap.
extern "C" DECLSPEC_IMPORT HANDLE WINAPI GetClipboardDataAlloc(UINT format);

// CE's Winuser.h numbers its display elements' colours with this flag or-ed in.
#define SYS_COLOR_INDEX_FLAG 0x40000000
// The device's ShellExecuteEx has handed the file over when it returns.
#define SHELL_MASK_BEFORE_EXIT 0
// The device keeps every file it lists in its own store: none is offline or in a cloud.
#define FILE_ATTRIBUTES_NOT_HERE 0

static_assert(sizeof(WCHAR) == 2 && sizeof(wchar_t) == 2, "CE strings are 16-bit code units");

// CE's windef.h defines __stdcall as __cdecl for devices (only its desktop-hosted emulator
// keeps __stdcall), so on x86 every WINAPI and CALLBACK function is __cdecl: the caller pops
// the arguments and coredll's exports carry no @n suffix. The build passes the same
// definition to the compiler; this refuses an x86 build that did not. (ARM has one
// convention only.)
#if defined(__i386__)
template <typename A, typename B> struct WinceSameType { enum { value = 0 }; };
template <typename A> struct WinceSameType<A, A> { enum { value = 1 }; };
static_assert(WinceSameType<void(WINAPI*)(int), void(__cdecl*)(int)>::value &&
                  WinceSameType<void(CALLBACK*)(int), void(__cdecl*)(int)>::value,
              "WINAPI and CALLBACK must be __cdecl, as CE defines them");
#endif
