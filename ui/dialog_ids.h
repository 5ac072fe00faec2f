// Control identifiers of the About dialog (128) and the settings dialog (129), as the
// templates in resources/zarvic.rc number them.
#pragma once

#define IDC_APP_ICON 101

#define IDC_ABOUT_VERSION 100
#define IDC_ABOUT_MAIL 102
#define IDC_ABOUT_WEB 103

#define IDC_SETTING_LETTER 104
#define IDC_SETTING_DESKTOP 106
#define IDC_SETTING_STARTUP 107
#define IDC_SETTING_ALT 108
#define IDC_SETTING_CTRL 109
#define IDC_SETTING_SHIFT 110
#define IDC_SETTING_TOOLTIP 114
