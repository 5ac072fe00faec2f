// A text editor the device provides, used as a person would: typed into when it is the
// foreground window, with a caret, a selection, Ctrl+C, Ctrl+X and Ctrl+V.
#pragma once

#include "state.h"

namespace sim {

// Starts a new editor window in front of the others, with the device's caret in it.
HWND StartEditor(const std::u16string& title = u"Pad");
std::u16string EditorText(HWND editor);
// Replaces the whole text; the caret goes to its end, nothing is selected.
void SetEditorText(HWND editor, const std::u16string& text);
// Selects [start, end) (end may be before start); the caret stands at end.
void SelectEditorText(HWND editor, size_t start, size_t end);
std::u16string EditorSelection(HWND editor);
size_t EditorCaret(HWND editor);

}  // namespace sim
