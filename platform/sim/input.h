// The device's keyboard and touch screen, as the rest of the device sees them.
#pragma once

#include <deque>

#include "state.h"

namespace sim {

struct InputState {
    std::set<UINT> down;        // virtual keys held now
    std::set<UINT> swallowed;   // keys whose press became a hot-key; their release goes nowhere
    HWND capture = nullptr;     // the window that takes every tap (an open menu)
    int lastInputProgram = 0;
    // Whether keys synthesised with keybd_event fire a registered hot-key. Windows CE does
    // not say; its own keyboard drivers send their keys through keybd_event, so by default
    // they do, as on desktop Windows.
    bool synthesisedKeysFireHotKeys = true;
    // Windows whose input context a program took away (ImmAssociateContext with none):
    // the input method does not compose for them.
    std::set<HWND> withoutInputMethod;
    // Keys synthesised with keybd_event that the system has not yet handed to a window, as
    // (virtual key, released).
    std::deque<std::pair<UINT, bool>> synthesised;
};

InputState& Input();
bool IsKeyDown(UINT vk);
// A key pressed (or released) on the device's keyboard or synthesised with keybd_event.
void KeyEvent(UINT vk, bool up, bool synthesised = false);
// The system hands the synthesised keys on, in their order, each to the window that is in
// front as it does so (or as a hot-key). It does so when it runs: once the sending program
// waits or sleeps, never inside keybd_event itself.
void RouteSynthesisedKeys();
// The character a key makes with the given modifiers; 0 for none.
WCHAR CharForKey(UINT vk, bool shift, bool ctrl);
// The top-level window (or its deepest child) under a screen point.
HWND WindowAt(POINT screen);
// A tap of the stylus at a screen point: button down and up, to the window beneath or to
// the window that holds the capture.
void TapAt(POINT screen);
// Whether the input method composes text for the window: every window has the thread's
// default input context until a program takes it away.
bool InputMethodAllowed(HWND hwnd);

}  // namespace sim
