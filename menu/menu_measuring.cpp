// Measuring in the menu font: set up once for the open history menu, so that measuring
// and drawing its items neither reads the registry nor makes a font nor gets a context
// for each item; set up afresh for each measurement outside a menu.
#include <string.h>

#include "menu/menu_font.h"

static HFONT s_openFont;
static HWND s_measuringWnd;
static HDC s_measuringDc;
static HGDIOBJ s_previousFont;
static TEXTMETRICW s_ownMetrics;

// A line is as high as the context's own font; on a screen of another resolution, as high
// as the menu font scaled to it.
static void TakeScaledLineHeight(HDC dc, HGDIOBJ previousFont, TEXTMETRICW* metrics) {
    if (previousFont && g_menuDpi != SCREEN_DEFAULT_DPI) GetTextMetricsW(dc, metrics);
}

void OpenMenuMeasuring(HWND hwnd) {
    CloseMenuMeasuring();
    s_openFont = CreateMenuFont();
    s_measuringDc = GetDC(hwnd);
    if (!s_measuringDc) return;
    s_measuringWnd = hwnd;
    memset(&s_ownMetrics, 0, sizeof(s_ownMetrics));
    GetTextMetricsW(s_measuringDc, &s_ownMetrics);
    s_previousFont = s_openFont ? SelectObject(s_measuringDc, s_openFont) : NULL;
    TakeScaledLineHeight(s_measuringDc, s_previousFont, &s_ownMetrics);
}

void CloseMenuMeasuring(void) {
    if (s_measuringDc) {
        if (s_previousFont) SelectObject(s_measuringDc, s_previousFont);
        ReleaseDC(s_measuringWnd, s_measuringDc);
    }
    if (s_openFont) DeleteObject(s_openFont);
    s_openFont = NULL;
    s_measuringWnd = NULL;
    s_measuringDc = NULL;
    s_previousFont = NULL;
}

HFONT UseMenuFont(void) { return s_openFont ? s_openFont : CreateMenuFont(); }

void DoneWithMenuFont(HFONT font) {
    if (font && font != s_openFont) DeleteObject(font);
}

HDC BeginMenuMeasuring(HWND hwnd, MENU_MEASURING* measuring, TEXTMETRICW* metrics) {
    memset(measuring, 0, sizeof(*measuring));
    measuring->hwnd = hwnd;
    if (s_measuringDc && hwnd == s_measuringWnd) {
        if (metrics) *metrics = s_ownMetrics;
        measuring->dc = s_measuringDc;
        return measuring->dc;
    }
    measuring->dc = GetDC(hwnd);
    if (!measuring->dc) return NULL;
    if (metrics) {
        memset(metrics, 0, sizeof(*metrics));
        GetTextMetricsW(measuring->dc, metrics);
    }
    measuring->font = CreateMenuFont();
    if (measuring->font) measuring->previous = SelectObject(measuring->dc, measuring->font);
    if (metrics) TakeScaledLineHeight(measuring->dc, measuring->previous, metrics);
    return measuring->dc;
}

void EndMenuMeasuring(MENU_MEASURING* measuring) {
    if (!measuring->dc || measuring->dc == s_measuringDc) return;
    if (measuring->previous) SelectObject(measuring->dc, measuring->previous);
    if (measuring->font) DeleteObject(measuring->font);
    ReleaseDC(measuring->hwnd, measuring->dc);
}

int GetMenuTextWidth(HWND hwnd, LPCWSTR text) {
    if (!text) return 0;
    MENU_MEASURING measuring;
    if (!BeginMenuMeasuring(hwnd, &measuring, NULL)) return 0;
    SIZE extent = {0, 0};
    if (!GetTextExtentExPointW(measuring.dc, text, lstrlenW(text), 0, NULL, NULL, &extent)) extent.cx = 0;
    EndMenuMeasuring(&measuring);
    return extent.cx;
}
