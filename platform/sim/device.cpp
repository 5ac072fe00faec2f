// The test-facing side of the device.
#include "device.h"

#include <stdexcept>

#include "files.h"
#include "input.h"
#include "state.h"

namespace sim {

bool AnswerBox(int answer);
MessageBoxRecord* OpenBoxRecord();

namespace {
Device* gDevice = nullptr;
}  // namespace

Device::Device() : Device(DeviceOptions{}) {}

Device::Device(const DeviceOptions& options) : state_(std::make_unique<DeviceState>()) {
    if (gDevice) throw std::logic_error("one device at a time");
    state_->options = options;
    gDevice = this;
    BindState(state_.get());
    state_->files[u"\\"].directory = true;
    for (const char16_t* folder : {u"\\Windows\\Desktop", u"\\Windows\\StartUp", u"\\My Documents", u"\\Program Files", u"\\Temp"})
        MakeFolders(folder);
}

Device::~Device() {
    KillAllPrograms();
    for (auto& [key, block] : state_->heap) std::free(const_cast<void*>(key));
    state_->heap.clear();
    BindState(nullptr);
    gDevice = nullptr;
}

Device& Device::Current() {
    if (!gDevice) throw std::logic_error("no device");
    return *gDevice;
}

DeviceState& Device::State() { return *state_; }

int Device::StartProgram(const std::u16string& exePath, WinMainFunction entry, ResourceImage resources,
                         int showCommand) {
    auto p = std::make_unique<Program>();
    p->id = state_->nextProgramId++;
    p->exePath = exePath;
    p->entry = entry;
    p->resources = resources;
    p->showCommand = showCommand;
    p->instance = reinterpret_cast<HINSTANCE>(NewHandle());
    int id = p->id;
    state_->programs.push_back(std::move(p));
    state_->generation++;
    RunUntilIdle();
    return id;
}

bool Device::IsRunning(int program) const {
    Program* p = FindProgram(program);
    return p && p->state != Program::State::Exited;
}

std::optional<int> Device::ExitCode(int program) const {
    Program* p = FindProgram(program);
    if (!p || p->state != Program::State::Exited) return std::nullopt;
    return p->exitCode;
}

void Device::RunUntilIdle() { RunUntilIdleImpl(); }
void Device::Advance(uint32_t milliseconds) { AdvanceImpl(milliseconds); }
uint64_t Device::Now() const { return state_->now; }

void Device::PlaceFile(const std::u16string& devicePath, const std::vector<uint8_t>& bytes) {
    if (std::vector<uint8_t>* file = PlaceFileBytes(devicePath)) *file = bytes;
}

void Device::PlaceDirectory(const std::u16string& devicePath) { MakeFolders(devicePath); }

void Device::PlaceFolderLink(const std::u16string& devicePath, const std::u16string& targetFolder) {
    ResolvedPath r = Resolve(devicePath);
    if (!r.valid || r.isFile || r.isDirectory || !MakeFolders(devicePath + u"\\..")) return;
    FileNode& link = state_->files[r.key];
    link.name = r.name;
    link.directory = true;
    link.linkTo = Resolve(targetFolder).key;
}

void Device::RemoveFileOrFolder(const std::u16string& devicePath) {
    ResolvedPath r = Resolve(devicePath);
    if (r.isRoot || (r.isDirectory && !FolderEntries(r.key).empty())) return;
    state_->files.erase(r.key);
}

std::optional<std::vector<uint8_t>> Device::FileBytes(const std::u16string& devicePath) const {
    ResolvedPath r = Resolve(devicePath);
    if (!r.isFile) return std::nullopt;
    return NodeAt(r.key)->bytes;
}

std::vector<std::u16string> Device::FolderNames(const std::u16string& deviceFolder) const {
    std::vector<std::u16string> names;
    for (const auto& [key, node] : FolderEntries(Resolve(deviceFolder).key)) names.push_back(node->name);
    return names;
}

std::set<std::u16string> Device::AllPaths() const {
    std::set<std::u16string> paths;
    for (const auto& [key, node] : state_->files)
        if (key != u"\\") paths.insert(key);
    return paths;
}

bool Device::Exists(const std::u16string& devicePath) const {
    ResolvedPath r = Resolve(devicePath);
    return r.isFile || r.isDirectory;
}

void Device::SetFileReadOnly(const std::u16string& devicePath, bool readOnly) {
    ResolvedPath r = Resolve(devicePath);
    DWORD& a = state_->attributes[r.key];
    a = readOnly ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

void Device::InsertStorageCard(const std::u16string& rootFolder) {
    PlaceDirectory(rootFolder);
    state_->attributes[Resolve(rootFolder).key] |= FILE_ATTRIBUTE_TEMPORARY;
}

void Device::SetWriteProtected(const std::u16string& deviceFolder, bool on) {
    std::u16string key = Resolve(deviceFolder).key;
    if (on)
        state_->writeProtected.insert(key);
    else
        state_->writeProtected.erase(key);
}

HWND Device::FindWindow(const std::u16string& className, const std::u16string& title) const {
    return FindWindowW(className.empty() ? nullptr : className.c_str(), title.empty() ? nullptr : title.c_str());
}

static WindowInfo InfoOf(const sim::Window& w) {
    WindowInfo info;
    info.handle = w.handle;
    info.program = w.program ? w.program->id : 0;
    info.className = w.className;
    info.title = w.title;
    info.style = w.style;
    info.exStyle = w.exStyle;
    info.parent = w.parent;
    info.owner = w.owner;
    GetWindowRect(w.handle, &info.rect);
    info.visible = w.visible;
    info.enabled = w.enabled;
    info.topmost = w.topmost;
    return info;
}

std::vector<WindowInfo> Device::Windows(int program) const {
    std::vector<WindowInfo> out;
    for (auto& [key, w] : state_->windows)
        if (program == 0 || (w->program && w->program->id == program)) out.push_back(InfoOf(*w));
    return out;
}

std::optional<WindowInfo> Device::Window(HWND hwnd) const {
    sim::Window* w = FindWin(hwnd);
    if (!w) return std::nullopt;
    return InfoOf(*w);
}

HWND Device::Foreground() const { return state_->foreground; }
std::vector<HWND> Device::ZOrder() const { return state_->zOrder; }

LRESULT Device::Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = SendMessageW(hwnd, message, wParam, lParam);
    RunUntilIdle();
    return result;
}

void Device::Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    PostMessageW(hwnd, message, wParam, lParam);
    RunUntilIdle();
}

const std::vector<MessageBoxRecord>& Device::MessageBoxes() const { return state_->messageBoxes; }

const MessageBoxRecord* Device::OpenMessageBox() const { return OpenBoxRecord(); }

void Device::AnswerMessageBox(int answer) {
    if (!AnswerBox(answer)) throw std::logic_error("no open message box takes that answer");
    RunUntilIdle();
}

void Device::HoldKey(UINT vk) {
    KeyEvent(vk, false);
    RunUntilIdle();
}

void Device::ReleaseKey(UINT vk) {
    KeyEvent(vk, true);
    RunUntilIdle();
}

void Device::PressKey(UINT vk) {
    KeyEvent(vk, false);
    RunUntilIdle();
    KeyEvent(vk, true);
    RunUntilIdle();
}

void Device::TypeText(const std::u16string& text) {
    for (char16_t c : text) {
        UINT vk = 0;
        bool shift = false;
        if (c >= u'a' && c <= u'z') vk = c - 32;
        else if (c >= u'A' && c <= u'Z') { vk = c; shift = true; }
        else if (c >= u'0' && c <= u'9') vk = c;
        else if (c == u' ') vk = VK_SPACE;
        else if (c == u'\r' || c == u'\n') vk = VK_RETURN;
        else if (c == u'\t') vk = VK_TAB;
        else if (c == 8) vk = VK_BACK;
        else if (c == 27) vk = VK_ESCAPE;
        else throw std::logic_error("TypeText: no key for that character");
        if (shift) HoldKey(VK_SHIFT);
        PressKey(vk);
        if (shift) ReleaseKey(VK_SHIFT);
    }
}

void Device::QueueKey(UINT vk, bool up) { KeyEvent(vk, up); }
HWND Device::CapturingWindow() const { return Input().capture; }
bool Device::InputMethodComposesFor(HWND hwnd) const { return InputMethodAllowed(hwnd); }

void Device::Tap(int x, int y) {
    TapAt(POINT{x, y});
    RunUntilIdle();
}

std::vector<HotKeyInfo> Device::HotKeys(HWND hwnd) const {
    std::vector<HotKeyInfo> out;
    for (const HotKey& k : state_->hotKeys)
        if (k.hwnd == hwnd) out.push_back(k);
    return out;
}

std::vector<TimerInfo> Device::Timers(HWND hwnd) const {
    std::vector<TimerInfo> out;
    for (const Timer& t : state_->timers)
        if (t.hwnd == hwnd) out.push_back({t.hwnd, t.id, t.interval});
    return out;
}

bool Device::PressHotKey(UINT modifiers, UINT vk) {
    bool registered = false;
    for (const HotKey& k : state_->hotKeys)
        if (k.modifiers == modifiers && k.vk == vk) registered = true;
    if (modifiers & MOD_ALT) HoldKey(VK_MENU);
    if (modifiers & MOD_CONTROL) HoldKey(VK_CONTROL);
    if (modifiers & MOD_SHIFT) HoldKey(VK_SHIFT);
    PressKey(vk);
    if (modifiers & MOD_SHIFT) ReleaseKey(VK_SHIFT);
    if (modifiers & MOD_CONTROL) ReleaseKey(VK_CONTROL);
    if (modifiers & MOD_ALT) ReleaseKey(VK_MENU);
    return registered;
}

void Device::HoldHotKeyElsewhere(UINT modifiers, UINT vk) { state_->foreignHotKeys.emplace_back(modifiers, vk); }
void Device::SetSynthesisedKeysFireHotKeys(bool on) { Input().synthesisedKeysFireHotKeys = on; }

std::vector<HeapBlock> Device::LiveBlocks(int owner) const {
    std::vector<HeapBlock> out;
    for (auto& [key, block] : state_->heap)
        if (block.owner == owner) out.push_back(block);
    return out;
}

size_t Device::BadFrees() const { return state_->badFrees; }

void Device::SetHeapGranule(size_t bytes) { state_->heapGranule = bytes; }
void Device::SetZeroWordAfterBlocks(bool on) { state_->zeroWordAfterBlocks = on; }

bool Device::MutexExists(const std::u16string& name) const { return state_->mutexes.count(name) > 0; }

const std::vector<Call>& Device::Calls() const { return state_->calls; }

std::vector<Call> Device::Calls(const std::string& name, int program) const {
    std::vector<Call> out;
    for (const Call& c : state_->calls)
        if (c.name == name && (program == 0 || c.program == program)) out.push_back(c);
    return out;
}

void Device::ClearCalls() { state_->calls.clear(); }

int Device::ScreenWidth() const { return state_->options.screenWidth; }
int Device::ScreenHeight() const { return state_->options.screenHeight; }

RECT Device::WorkArea() const {
    return RECT{0, 0, state_->options.screenWidth, state_->options.screenHeight - state_->options.taskbarHeight};
}

}  // namespace sim
