// The notification area's ways of telling a program that its icon was chosen. The device's
// taskbar knows the stylus only: a tap is a button down and a button up. Desktop shells
// since Windows Vista also report a choice by keyboard (Win+B, the arrows, Enter or Space;
// the context-menu key) once the icon has asked for their newer callback form.
#pragma once

// Asks for the callback form that reports choices by mouse and keyboard alike, for the icon
// that data names (cbSize, hWnd, uID), where the platform has one. 1 when the icon now
// reports that way or the platform has a single form, 0 when the request failed.
BOOL EnableNotifyIconKeys(PNOTIFYICONDATAW data);
// Whether the notification a callback message carries (its lParam) means the person chose
// the icon, so that its menu should open: on the device a tap's button up; on the desktop a
// select, a key-select or a context-menu request, or, on a shell without the newer form, a
// left or right button up.
BOOL IsNotifyIconChoice(LPARAM lParam);
