// Dialogs from the device's templates, shown whole on the desktop.
//
// The templates are laid out for the device's "System" font. Desktop Windows draws that
// name in a wider bitmap font, and Wine in whatever stands in for it, so captions were cut
// off. Here a template is created in the desktop's message font instead, and before the
// dialog's own WM_INITDIALOG runs every caption is measured in its control's font: when one
// does not fit, the dialog and all its controls are stretched by one factor, so that the
// arrangement stays the template's and every caption is shown whole.
#pragma once

#include <windows.h>

INT_PTR BridgeDialogBoxIndirectParam(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                                     LPARAM param);

#define DialogBoxIndirectParamW BridgeDialogBoxIndirectParam
