// The simulated Handheld PC as a test sees it: one device with a screen, a file system,
// programs that run on it, a virtual clock, and a record of the platform calls the
// programs made. Tests act on it as a person at the device would, then look at it.
//
// The device is single-stepped: programs run until every one of them is idle (blocked
// for input with nothing due), and only then does control come back to the test.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "faults.h"
#include "sim_types.h"

namespace sim {

struct DeviceState;
// what the parts of the device show a test (their headers define them)
struct ControlInfo;
struct DialogRecord;
struct FontModel;
struct GdiMisuse;
struct GdiObject;
struct IconObject;
struct Monitor;
struct OpenMenuInfo;
struct ShellExecution;
struct TrayIcon;
struct WindowDrawing;

typedef int (*WinMainFunction)(HINSTANCE, HINSTANCE, LPSTR, int);

// Compiled resources (.res image) of a program.
struct ResourceImage {
    const unsigned char* bytes = nullptr;
    size_t size = 0;
};

// One platform call, as recorded for tests.
struct Call {
    int program = 0;                  // program id; 0 for the device or the test
    std::string name;                 // the operation's Win32 name
    std::vector<intptr_t> args;       // its integer and handle arguments, in order
    std::u16string text;              // its main string argument, if any
    std::u16string text2;             // a second string argument, if any
    intptr_t result = 0;
};

struct MessageBoxRecord {
    int program = 0;
    HWND owner = nullptr;
    HWND window = nullptr;            // the box's own window while it is shown
    std::u16string text;
    std::u16string caption;
    UINT style = 0;
    int answer = 0;                   // 0 while the box is open
};

// Each program has a local heap of its own, as on the device: LocalSize and LocalFree
// answer only for blocks of the caller's heap. A block the clipboard has taken stays in
// the heap of the program that made it, and GetClipboardData hands out that block.
struct HeapBlock {
    const void* address = nullptr;
    size_t size = 0;                  // as asked of LocalAlloc
    int owner = 0;                    // program id; kClipboardOwner once the clipboard took it
    uint64_t serial = 0;
    int heap = 0;                     // program id (0: the test) whose heap holds it
    size_t rounded = 0;               // what LocalSize answers: size rounded up to the granule
};
constexpr int kClipboardOwner = -1;
// A program outside the device's list (another application): an opener of the clipboard
// and a heap.
constexpr int kElsewhere = -2;

struct WindowInfo {
    HWND handle = nullptr;
    int program = 0;
    std::u16string className;
    std::u16string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    HWND owner = nullptr;
    RECT rect{};                      // screen coordinates
    bool visible = false;
    bool enabled = true;
    bool topmost = false;
};

// A hot-key a program holds, or a timer armed, as of now.
struct HotKeyInfo {
    HWND hwnd = nullptr;
    int id = 0;
    UINT modifiers = 0;
    UINT vk = 0;
};
struct TimerInfo {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
};

struct DeviceOptions {
    int screenWidth = 800;
    int screenHeight = 480;
    int taskbarHeight = 26;
};

class Device {
public:
    Device();
    explicit Device(const DeviceOptions& options);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    static Device& Current();

    // ---- programs ----
    // Installs nothing: the executable's file must exist (see PlaceFile). Starts the
    // program and runs the device until it is idle. Returns the program id.
    int StartProgram(const std::u16string& exePath, WinMainFunction entry, ResourceImage resources = {},
                     int showCommand = SW_SHOWNORMAL);
    bool IsRunning(int program) const;
    std::optional<int> ExitCode(int program) const;

    // ---- time ----
    void RunUntilIdle();
    // Moves the virtual clock on by the given milliseconds, firing every timer that falls
    // due on the way at its own time.
    void Advance(uint32_t milliseconds);
    uint64_t Now() const;

    // ---- files: device paths such as u"\\Program Files\\Zarvic\\Zarvic.exe" ----
    // The files are held in memory; these make the folders on the way.
    void PlaceFile(const std::u16string& devicePath, const std::vector<uint8_t>& bytes);
    void PlaceDirectory(const std::u16string& devicePath);
    // A folder link (a junction) that stands for another folder: listed with
    // FILE_ATTRIBUTE_REPARSE_POINT, what lies below it is the target's.
    void PlaceFolderLink(const std::u16string& devicePath, const std::u16string& targetFolder);
    // Takes a file or an empty folder away, whatever holds it.
    void RemoveFileOrFolder(const std::u16string& devicePath);
    std::optional<std::vector<uint8_t>> FileBytes(const std::u16string& devicePath) const;
    // The names of a folder's entries, as they were made, in the order of their lower-case names.
    std::vector<std::u16string> FolderNames(const std::u16string& deviceFolder) const;
    // Every file and folder but the root, as lower-case device paths.
    std::set<std::u16string> AllPaths() const;
    bool Exists(const std::u16string& devicePath) const;
    void SetFileReadOnly(const std::u16string& devicePath, bool readOnly);
    // Every file created or written below this folder fails as on a write-protected card.
    void SetWriteProtected(const std::u16string& deviceFolder, bool on);
    // A storage card in the slot: the device shows it as a folder of the root (such as
    // "\\Storage Card") that carries FILE_ATTRIBUTE_TEMPORARY.
    void InsertStorageCard(const std::u16string& rootFolder);

    // ---- windows ----
    HWND FindWindow(const std::u16string& className, const std::u16string& title = u"") const;
    std::vector<WindowInfo> Windows(int program = 0) const;     // 0: every program's
    std::optional<WindowInfo> Window(HWND hwnd) const;
    HWND Foreground() const;
    std::vector<HWND> ZOrder() const;                           // top-level windows, top first
    // Sends a message from outside any program (as another process would) and runs the
    // device until it is idle.
    LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void Post(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // ---- message boxes ----
    const std::vector<MessageBoxRecord>& MessageBoxes() const;
    const MessageBoxRecord* OpenMessageBox() const;
    // Answers the box that is open (the newest), as a tap on its button would.
    void AnswerMessageBox(int answer);

    // ---- keyboard and touch screen (each runs the device until it is idle) ----
    void HoldKey(UINT vk);
    void ReleaseKey(UINT vk);
    void PressKey(UINT vk);               // down and up
    // Types characters as a person would: letters, digits, space, Enter ('\r'), with
    // Shift held around capitals.
    void TypeText(const std::u16string& text);
    void Tap(int x, int y);               // screen coordinates
    // A key goes down or comes up on the keyboard; the device does not run.
    void QueueKey(UINT vk, bool up);
    // The window that takes every tap (an open menu's), or null.
    HWND CapturingWindow() const;
    // Whether the input method composes text for the window (until a program takes the
    // window's input context away).
    bool InputMethodComposesFor(HWND hwnd) const;

    // ---- hot-keys ----
    // Presses a key combination: the modifiers go down, the key is pressed, the modifiers
    // come up. Returns whether a registered hot-key took it.
    bool PressHotKey(UINT modifiers, UINT vk);
    // Makes another program hold this combination, so registering it fails.
    void HoldHotKeyElsewhere(UINT modifiers, UINT vk);
    // Whether keys synthesised with keybd_event fire a registered hot-key (Windows CE does
    // not say; on by default). Keys pressed on the keyboard always do.
    void SetSynthesisedKeysFireHotKeys(bool on);
    std::vector<HotKeyInfo> HotKeys(HWND hwnd) const;   // those registered for this window

    // ---- timers ----
    std::vector<TimerInfo> Timers(HWND hwnd) const;      // those armed for this window

    // ---- heap ----
    std::vector<HeapBlock> LiveBlocks(int owner) const;
    size_t BadFrees() const;
    // Blocks made from now on are rounded up to this many bytes, which LocalSize answers
    // (default 32, as CE 6's retail heap; 1: exactly the size asked). The slack of a block
    // not made with LMEM_ZEROINIT holds garbage.
    void SetHeapGranule(size_t bytes);
    // Off: no zero word follows a block (on by default, so that a program which may only
    // count to the NUL of another program's text finds one). A read past a block's end
    // then runs into whatever follows, as on the device, and the sanitizer sees it.
    void SetZeroWordAfterBlocks(bool on);

    // ---- mutexes ----
    bool MutexExists(const std::u16string& name) const;

    // ---- recorded calls ----
    const std::vector<Call>& Calls() const;
    std::vector<Call> Calls(const std::string& name, int program = 0) const;
    void ClearCalls();

    // ---- screen ----
    int ScreenWidth() const;
    int ScreenHeight() const;
    RECT WorkArea() const;

    // ---- failures (see faults.h) ----
    // Makes the n-th call (counting from 1) at the point fail; with andLater, every later
    // one as well. n = 0 disarms the point (FailNext included).
    void FailAt(FaultPoint point, uint64_t n, bool andLater = false);
    // Makes the call after the next `skip` ones fail, whoever makes it (the test's own calls
    // count here); with andLater, every later one as well.
    void FailNext(FaultPoint point, uint64_t skip = 0, bool andLater = false);
    // How many calls programs have made at the point.
    uint64_t TimesReached(FaultPoint point) const;

    // ---- the clipboard (see clipboard.h) ----
    // Another application acting on the clipboard (each false while a program holds it open):
    // Keeps the clipboard open for the given virtual milliseconds (0: until released).
    bool HoldClipboardElsewhere(uint32_t milliseconds = 0);
    void ReleaseClipboardElsewhere();
    bool EmptyClipboardElsewhere();
    // Empties the clipboard and puts the text (with its NUL) on it as CF_UNICODETEXT.
    bool PutClipboardText(const std::u16string& text);
    // Another application that waits for the clipboard: it copies the text the moment a
    // program closes the clipboard, before anyone else can open it.
    void CopyTextOnceFree(const std::u16string& text);
    // Adds the format, without emptying, holding exactly these bytes (no NUL is added).
    bool AddClipboardBytes(UINT format, const std::vector<uint8_t>& bytes);
    // Adds a format that holds a handle rather than memory (CF_BITMAP), or, with a null
    // handle, one that is only offered.
    bool AddClipboardHandle(UINT format, HANDLE handle);
    UINT ClipboardFormatNamed(const std::u16string& name);   // as RegisterClipboardFormatW
    std::vector<UINT> ClipboardFormats() const;
    // The CF_UNICODETEXT text up to its NUL, never past its block; none when absent.
    std::optional<std::u16string> ClipboardText() const;
    HWND ClipboardOwner() const;
    bool ClipboardIsOpen() const;
    // The clipboard as the desktop backend presents desktop Windows' (off: the device's):
    // it keeps a sequence number (QueryClipboardSequenceNumber), and LocalSize answers for
    // any block GetClipboardData hands out, as GlobalSize does there, whichever program made it.
    void UseDesktopClipboard(bool on);

    // ---- the device's text editor (see editor.h) ----
    // Starts a new editor window in front of the others, with the device's caret in it.
    HWND StartEditor(const std::u16string& title = u"Pad");
    std::u16string EditorText(HWND editor) const;
    // Replaces the whole text; the caret goes to its end, nothing is selected.
    void SetEditorText(HWND editor, const std::u16string& text);
    // Selects [start, end) (end may be before start); the caret stands at end.
    void SelectEditorText(HWND editor, size_t start, size_t end);
    std::u16string EditorSelection(HWND editor) const;
    size_t EditorCaret(HWND editor) const;

    // ---- dialogs (see dialog.h) ----
    const std::vector<DialogRecord>& Dialogs() const;
    // The newest dialog that is open, or null.
    HWND OpenDialog() const;
    std::vector<ControlInfo> DialogControls(HWND dialog) const;
    std::optional<ControlInfo> FindDialogControl(HWND dialog, int id) const;
    // Taps the middle of a control of the dialog and runs the device until it is idle.
    void TapDialogControl(HWND dialog, int id);
    // Taps the close box of the dialog's caption and runs the device until it is idle.
    void TapDialogClose(HWND dialog);

    // ---- popup menus (see menu.h) ----
    // The popup menu that is open now, if any.
    std::optional<OpenMenuInfo> OpenMenu() const;
    // A tap on the item at a position of the open menu, and on a point outside the menu;
    // each runs the device until it is idle.
    void TapMenuItem(int position);
    void TapOutsideMenu();
    // Menus a program created and has not destroyed.
    size_t LiveMenus(int program) const;
    // A device whose menu windows have another class than "MNU", or whose items sit the
    // given pixels inside the menu's client area (0 on the default device).
    void SetMenuWindowClass(const std::u16string& className);
    void SetMenuItemInset(int pixels);

    // ---- the notification area (see tray.h) ----
    // The icons in the notification area, in the order they were added.
    const std::vector<TrayIcon>& TrayIcons() const;
    // Taps an icon as a person would: its window is sent the icon's callback message with
    // WM_LBUTTONDOWN, then with WM_LBUTTONUP. Runs the device until it is idle. Returns
    // false when there is no such icon.
    bool TapTrayIcon(UINT id);
    bool TapTrayIconWithTip(const std::u16string& tip);
    // The taskbar starts anew (as when the desktop shell restarts): every icon is gone, and
    // every top-level window receives the registered message "TaskbarCreated".
    void RestartTaskbar();
    // The taskbar is not there (not yet started at sign-in, or gone): every icon is gone and
    // Shell_NotifyIcon fails until StartTaskbar.
    void StopTaskbar();
    // The taskbar is there again; with `announce`, "TaskbarCreated" goes to every top-level
    // window as in RestartTaskbar, otherwise nobody is told.
    void StartTaskbar(bool announce);

    // ---- the shell (see shell.h) ----
    const std::vector<ShellExecution>& ShellExecutions() const;
    // CSIDL_DESKTOP names the root of the shell's namespace, a virtual folder whose path
    // SHGetPathFromIDList cannot give (Windows CE 5.0); its files are in
    // CSIDL_DESKTOPDIRECTORY. While `on`, CSIDL_DESKTOP has that folder's path instead, as
    // the later reference pages describe it.
    void GiveDesktopAPath(bool on);
    // Item-id lists the shell handed to a program (0: any) that were not freed yet.
    size_t LiveItemIdLists(int program = 0) const;
    // Makes the shell report a special folder at another path, as a device set up otherwise.
    void MoveSpecialFolder(int csidl, const std::u16string& devicePath);
    // Writes a shortcut file as the device's shell does: "<length>#<target>".
    void PlaceShortcut(const std::u16string& devicePath, const std::u16string& target);
    // The target a shortcut file holds, or nothing when the file is not a shortcut.
    std::optional<std::u16string> ShortcutTarget(const std::u16string& devicePath) const;
    // Writes the application installer's record of an installed application:
    // "Software\Apps\<name>" with "Instl" 1 and "InstlDir" the folder.
    void InstallApplication(const std::u16string& name, const std::u16string& folder);

    // ---- the registry (see registry.h) ----
    void CreateRegistryKey(const std::u16string& key);
    void DeleteRegistryKey(const std::u16string& key);
    void SetRegistryValue(const std::u16string& key, const std::u16string& name, DWORD type,
                          const std::vector<uint8_t>& data);
    void SetRegistryDword(const std::u16string& key, const std::u16string& name, DWORD value);
    void SetRegistryString(const std::u16string& key, const std::u16string& name, const std::u16string& value);
    // Keys a program opened and has not closed.
    size_t OpenRegistryKeys() const;

    // ---- GDI and what windows show (see gdi.h) ----
    std::vector<std::pair<HGDIOBJ, GdiObject>> LiveGdiObjects(int program) const;
    std::vector<GdiMisuse> GdiMisuses(int program = 0) const;
    void SetSysColorValue(int index, COLORREF color);
    WindowDrawing DrawingOf(HWND hwnd) const;
    void ClearDrawing(HWND hwnd);

    // ---- device contexts (see dc.h) ----
    // Contexts the program got and has not given back.
    size_t OpenDeviceContexts(int program) const;
    // The font selected into a context that is out now; null for no such context.
    HGDIOBJ FontSelectedInto(HDC dc) const;
    // The device's own font for its popup menus, at 96 DPI, and what it is made from.
    HGDIOBJ PopupMenuFont() const;
    LOGFONTW PopupMenuLogFont() const;

    // ---- icons (see resources.h) ----
    std::vector<IconObject> LiveIconObjects(int program) const;

    // ---- fonts (see font_model.h) ----
    // The model for fonts of this face (case-insensitive) created with this lfHeight; an
    // lfHeight of 0 sets the model for every height of the face that has no model of its own.
    void SetFontModel(const std::u16string& face, LONG lfHeight, const FontModel& model);

    // ---- the caret (see caret.h) ----
    // Windows CE's GetCaretPos answers only the thread that owns the caret, in that window's
    // client coordinates, and fails with ERROR_ACCESS_DENIED for any other thread. While `on`,
    // the device answers every program instead, in screen coordinates: a device whose caret
    // is system-wide.
    void SetSystemWideCaret(bool on);

    // ---- screens (see monitors.h) ----
    // Desktop mode: these monitors replace the device's screen; the first is the primary and
    // must lie at (0, 0). An empty list returns to the device's own screen.
    void SetMonitors(const std::vector<Monitor>& monitors);

    // ---- file listings (see files.h) ----
    // FindFirstFileW and FindNextFileW list a folder live: each step looks at the folder as
    // it is then, so an entry deleted before its turn is not listed and the listing goes on
    // after one deleted at its turn. Win32 leaves the order undefined; the device lists by
    // name, or backwards while `on`.
    void ListFoldersBackwards(bool on);

    DeviceState& State();

private:
    std::unique_ptr<DeviceState> state_;
};

}  // namespace sim
