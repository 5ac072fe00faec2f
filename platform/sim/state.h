// The device's internal state, shared by the files that implement the platform calls.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "device.h"
#include "sim_api.h"

namespace sim {

struct Program;
// The parts of the device, each keeping its state in its own file.
struct CaretState;
struct ClipboardState;
struct DcTable;
struct DialogTable;
struct EditorState;
struct FaultCounters;
struct FontModels;
struct GdiState;
struct InputState;
struct ListingState;
struct MenuState;
struct MonitorSetup;
struct RegistryState;
struct ResourceTable;
struct ShellState;
struct TrayState;

// Thrown inside a program's thread when the device shuts down while the program still
// runs; it unwinds the program's stack without running any more of its code.
struct ProgramKilled {};

struct WindowClass {
    std::u16string name;
    WNDCLASSW wc{};
    ATOM atom = 0;
    Program* program = nullptr;
};

struct Window {
    HWND handle = nullptr;
    Program* program = nullptr;
    std::u16string className;
    WNDPROC proc = nullptr;
    std::u16string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    HWND owner = nullptr;
    HMENU menuOrId = nullptr;
    RECT rect{};                 // top-level: screen; child: parent's client coordinates
    bool visible = false;
    bool enabled = true;
    bool topmost = false;
    bool invalid = false;        // has an update region
    bool erase = false;
    bool destroying = false;
    LONG_PTR userData = 0;
    LONG_PTR dialogData = 0;     // dialog procedure and state, for dialog windows
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> builtinProc;  // device-provided windows
};

struct Timer {
    Program* program = nullptr;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    uint64_t due = 0;
    TIMERPROC proc = nullptr;
};

struct SentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool done = false;
};

// A device-provided program (an editor, the shell) runs inside the device: its queue is
// pumped by the device whenever the hosted programs are idle.
struct BuiltinProgram {
    virtual ~BuiltinProgram() = default;
    virtual void Pump() {}
};

struct Program {
    int id = 0;
    std::u16string exePath;
    HINSTANCE instance = nullptr;
    ResourceImage resources;
    WinMainFunction entry = nullptr;
    int showCommand = SW_SHOWNORMAL;
    bool hosted = true;
    BuiltinProgram* builtin = nullptr;
    enum class State { NotStarted, Running, Waiting, Exited } state = State::NotStarted;
    std::thread thread;
    int exitCode = 0;

    std::deque<MSG> posted;
    std::deque<MSG> input;
    std::deque<SentMessage*> sent;
    bool quitPosted = false;
    int quitCode = 0;
    bool wake = false;            // a modal loop of this program has something to look at
    bool killRequested = false;
    std::set<UINT> keysDown;      // the thread's key state: as of the key messages it has taken
    uint64_t blockedGeneration = 0;  // the device's generation when the program last blocked
    DWORD lastError = 0;
    int modalDepth = 0;
    std::function<bool()> waitUntil;  // extra wake condition of the wait in progress
    bool sleeping = false;        // in Sleep: runs again once every other program is idle
};

struct KernelObject {
    enum class Kind { Mutex, File, Find } kind = Kind::Mutex;
    int program = 0;
    std::u16string name;          // mutex name, or the file's or the listed folder's device path (lower case)
    // files
    DWORD access = 0;
    DWORD share = 0;
    uint64_t position = 0;
    // finds: the listing goes on after the entry named `lastFound` (lower case)
    std::u16string mask;
    std::u16string lastFound;
};

// A file or folder of the device's file system, which the device holds in memory.
struct FileNode {
    std::u16string name;          // the last component, as it was made
    bool directory = false;
    std::vector<uint8_t> bytes;
    std::u16string linkTo;        // a folder link (a junction): the key of the folder it stands for
};

using HotKey = HotKeyInfo;

struct DeviceState {
    DeviceOptions options;
    std::map<std::u16string, FileNode> files;       // lower-case device path → node; "\\" is the root

    // scheduling: exactly one of the driver (the test, id 0) and the hosted programs runs
    std::mutex batonMutex;
    std::condition_variable batonSignal;
    int running = 0;
    uint64_t generation = 0;      // bumped by every change a blocked program may wait for

    uint64_t now = 0;
    std::vector<std::unique_ptr<Program>> programs;
    int nextProgramId = 1;

    std::map<uintptr_t, std::unique_ptr<Window>> windows;
    std::vector<HWND> zOrder;     // top-level windows, top first
    std::map<std::u16string, WindowClass> classes;  // key: lower-case name
    ATOM nextAtom = 0xC000;
    uintptr_t nextHandle = 0x10000;
    HWND foreground = nullptr;
    HWND focus = nullptr;
    std::vector<Timer> timers;

    std::map<uintptr_t, KernelObject> kernelObjects;
    std::map<std::u16string, int> mutexes;          // name → open handle count

    std::map<const void*, HeapBlock> heap;
    uint64_t heapSerial = 0;
    int builtinRunning = 0;       // the device's own program being pumped on the test's thread
    size_t heapGranule = 32;      // LocalSize rounds up to it (CE 6 retail: 32 bytes)
    bool zeroWordAfterBlocks = true;  // see Device::SetZeroWordAfterBlocks
    size_t badFrees = 0;

    std::map<std::u16string, DWORD> attributes;     // lower-case device path → extra attributes
    std::set<std::u16string> writeProtected;        // lower-case device folders

    std::vector<MessageBoxRecord> messageBoxes;
    std::vector<HotKey> hotKeys;
    std::vector<std::pair<UINT, UINT>> foreignHotKeys;

    std::vector<Call> calls;

    std::map<std::u16string, UINT> windowMessages;  // lower-case name → RegisterWindowMessageW's answer

    // The state of each part, made on first use by the part's own accessor (PartOf), whose
    // file alone knows its type: a shared_ptr frees it here all the same.
    std::shared_ptr<CaretState> caret;
    std::shared_ptr<ClipboardState> clipboard;
    std::shared_ptr<DcTable> dcs;
    std::shared_ptr<DialogTable> dialogs;
    std::shared_ptr<EditorState> editors;
    std::shared_ptr<FaultCounters> faults;
    std::shared_ptr<FontModels> fontModels;
    std::shared_ptr<GdiState> gdi;
    std::shared_ptr<InputState> input;
    std::shared_ptr<ListingState> listing;
    std::shared_ptr<MenuState> menus;
    std::shared_ptr<MonitorSetup> monitors;
    std::shared_ptr<RegistryState> registry;
    std::shared_ptr<ResourceTable> resources;
    std::shared_ptr<ShellState> shell;
    std::shared_ptr<TrayState> tray;
};

template <typename T>
T& PartOf(std::shared_ptr<T>& slot) {
    if (!slot) slot = std::make_shared<T>();
    return *slot;
}

// ---- helpers shared by the implementation files ----
DeviceState& S();
Program* CurrentProgram();           // null on the test's thread
int CurrentProgramId();
Program* FindProgram(int id);
Window* FindWin(HWND hwnd);
HWND NewHandle();
void Fail(DWORD error);               // SetLastError for the calling program
Call& Record(const char* name, std::vector<intptr_t> args, std::u16string text = u"", std::u16string text2 = u"");

std::u16string Lower(std::u16string s);
std::u16string FromWide(LPCWSTR s);   // empty for null
std::string ToUtf8(const std::u16string& s);
std::u16string FromUtf8(const std::string& s);

// Retrieves the next message for the program as GetMessageW/PeekMessageW would. With
// wait, blocks until one comes or until stop() holds (then returns false).
bool NextMessage(Program* p, MSG* out, HWND filter, UINT min, UINT max, bool remove, bool wait,
                 const std::function<bool()>& stop = nullptr);
// A modal loop on the program's thread (a message box, a dialog): runs until done() holds
// or WM_QUIT comes. Each message goes to handled() first and, unless it took it, is
// translated and dispatched. Returns whether WM_QUIT ended the loop, with its code; the
// caller posts the quit again once its window is gone, as Win32's modal loops do.
bool RunModalLoop(Program* p, const std::function<bool()>& done, const std::function<bool(MSG&)>& handled,
                  int* quitCode);
// Blocks the calling program until the driver resumes it.
void Block(Program* p);
// Runs a window procedure for a message, as SendMessageW does within one thread.
LRESULT CallWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void DestroyWindowsOf(Program* p);
// Registers one of the device's own window classes, which belong to no program and
// outlive every one; a class already there is kept.
void RegisterDeviceClass(const char16_t* name, WNDPROC proc);
void ActivateNextAfter(HWND leaving);
RECT ClientRectOf(const Window& w);   // client rectangle in screen coordinates
POINT ClientOriginOf(const Window& w);
bool HasWork(Program* p);
void ProcessSentMessages(Program* p);
void RunUntilIdleImpl();
void AdvanceImpl(uint32_t milliseconds);
void BindState(DeviceState* state);
void KillAllPrograms();
DWORD LastErrorOfCaller();
void ReleaseKernelObjectsOf(Program* p);
// The heap that LocalAlloc, LocalSize and LocalFree use for the calling code: its
// program's, the device's own program's while the device pumps it, else the test's (0).
int HeapOfCaller();
constexpr size_t kHeapGuardBytes = 4;
// A block of `bytes` in the given heap, zeroed or filled with garbage; null without memory.
void* NewHeapBlock(size_t bytes, bool zero, int heap, int owner);
// A new block of the caller's heap, as LocalAlloc makes it: null when memory runs short,
// by the LocalAlloc fault point.
void* AllocateForCaller(size_t bytes, bool zero);

}  // namespace sim
