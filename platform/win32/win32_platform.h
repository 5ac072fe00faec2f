// Real Windows. The logic calls the platform by its Win32 names; where desktop Windows
// lacks a Windows CE operation, this backend supplies it under CE's name, and where it
// behaves differently, the project's own operations (platform_*.h) give the device's
// behaviour. The macros left are bridges of a convention only: clipboard memory and the
// system colours' index flag.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <imm.h>
#include <wchar.h>

#include "win32_ce_shell.h"
#include "../platform_screens.h"
#include "../platform_paths.h"
#include "../platform_clipboard.h"
#include "../platform_tray.h"
#include "../platform_shell.h"
#include "../platform_menus.h"
#include "../platform_foreground.h"
#include "../platform_windows.h"

// The desktop's ShellExecuteEx may hand over on another thread after it returned; right
// before the program exits it must finish first.
#define SHELL_MASK_BEFORE_EXIT SEE_MASK_NOASYNC

#ifndef FILE_ATTRIBUTE_RECALL_ON_OPEN
#define FILE_ATTRIBUTE_RECALL_ON_OPEN 0x00040000
#endif
#ifndef FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS
#define FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS 0x00400000
#endif
// A listed file whose contents are elsewhere: offline, or a cloud file that is fetched
// when it is opened or read.
#define FILE_ATTRIBUTES_NOT_HERE \
    (FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_RECALL_ON_OPEN | FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS)
#include "win32_clipboard.h"
#include "win32_menu_keys.h"
#include "win32_screens.h"
#include "win32_system_colors.h"
