// Real Windows. The logic calls the platform by its Win32 names; where desktop Windows
// lacks a Windows CE operation or behaves differently, this backend supplies the
// device's behaviour under the same name.
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

#include "win32_caret.h"
#include "win32_ce_shell.h"
#include "../platform_screens.h"
#include "../platform_paths.h"
#include "../platform_clipboard.h"
#include "win32_clipboard.h"
#include "win32_dialogs.h"
#include "win32_key_focus.h"
#include "win32_menu_keys.h"
#include "win32_popup_menu.h"
#include "win32_screens.h"
#include "win32_system_colors.h"
#include "win32_tool_window.h"
