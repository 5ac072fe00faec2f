// What the platform's shell offers the uninstall.
#pragma once

// The control panel's program by its full path (MAX_PATH units) and the parameters
// (MAX_PATH units) that open its page for removing programs: on the device
// \Windows\ctlpnl.exe with its Remove Programs applet; on the desktop System32's
// control.exe with Programs and Features. 0 when the path cannot be had.
BOOL GetRemoveProgramsPanel(LPWSTR program, LPWSTR parameters);
