// The clipboard: opened by one program at a time, owned by the window that last emptied
// it, holding one item per format. Windows CE does not render CF_UNICODETEXT from CF_TEXT.
#include "clipboard.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "faults.h"

namespace sim {

ClipboardState& Clipboard() { return PartOf(S().clipboard); }

namespace {

bool IsHandleFormat(UINT format) { return format == CF_BITMAP || format == 9 /* CF_PALETTE */; }

// Another application's hold ends by itself once its time is up.
void ExpireHold() {
    ClipboardState& c = Clipboard();
    if (!c.open) return;
    if (c.opener == kElsewhere && c.heldUntil && S().now >= c.heldUntil) c.open = false;
    // A program that ended with the clipboard open lets go of it.
    if (c.opener > 0) {
        Program* p = FindProgram(c.opener);
        if (!p || p->state == Program::State::Exited) c.open = false;
    }
}

// Who is calling: the program on whose thread the call runs; for the device's own
// programs (which run on the test's thread) the program of the window they name.
int CallerOf(HWND hwnd) {
    if (Program* p = CurrentProgram()) return p->id;
    Window* w = FindWin(hwnd);
    return w && w->program ? w->program->id : 0;
}

bool OpenedBy(int caller) {
    ExpireHold();
    const ClipboardState& c = Clipboard();
    return c.open && c.opener == caller;
}

void ReleaseData(const ClipboardItem& item) {
    if (!item.memory || !item.data) return;
    auto it = S().heap.find(item.data);
    if (it == S().heap.end()) {
        S().badFrees++;
        return;
    }
    S().heap.erase(it);
    std::free(item.data);
}

void DropAll() {
    ClipboardState& c = Clipboard();
    c.sequence++;
    for (const ClipboardItem& item : c.items) ReleaseData(item);
    c.items.clear();
}

// Stores the item, releasing what the format held before.
void Store(const ClipboardItem& item) {
    ClipboardState& c = Clipboard();
    c.sequence++;
    for (ClipboardItem& old : c.items) {
        if (old.format != item.format) continue;
        if (old.data != item.data) ReleaseData(old);
        old = item;
        return;
    }
    c.items.push_back(item);
}

const ClipboardItem* Find(UINT format) {
    for (const ClipboardItem& item : Clipboard().items)
        if (item.format == format) return &item;
    return nullptr;
}

// A block of the other application's heap, already the clipboard's.
void* NewClipboardBlock(const void* bytes, size_t size) {
    void* block = NewHeapBlock(size, false, kElsewhere, kClipboardOwner);
    if (size) std::memcpy(block, bytes, size);
    return block;
}

// What the format holds for a program that asks for it, if it may have it now.
const ClipboardItem* ItemToHandOut(UINT format) {
    ClipboardState& c = Clipboard();
    if (!OpenedBy(CallerOf(c.openWindow))) {
        Fail(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    const ClipboardItem* item = Find(format);
    if (!item || !item->data || FaultHere(FaultPoint::ClipboardData)) {
        Fail(item && item->data ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return item;
}

bool FreeForElsewhere() {
    ExpireHold();
    const ClipboardState& c = Clipboard();
    return !c.open || c.opener == kElsewhere;
}

}  // namespace

bool Device::HoldClipboardElsewhere(uint32_t milliseconds) {
    if (!FreeForElsewhere()) return false;
    ClipboardState& c = Clipboard();
    c.open = true;
    c.opener = kElsewhere;
    c.openWindow = nullptr;
    c.heldUntil = milliseconds ? S().now + milliseconds : 0;
    return true;
}

void Device::ReleaseClipboardElsewhere() {
    ClipboardState& c = Clipboard();
    if (c.open && c.opener == kElsewhere) c.open = false;
    S().generation++;
}

bool Device::EmptyClipboardElsewhere() {
    if (!FreeForElsewhere()) return false;
    DropAll();
    Clipboard().owner = nullptr;
    S().generation++;
    return true;
}

bool Device::PutClipboardText(const std::u16string& text) {
    if (!EmptyClipboardElsewhere()) return false;
    Store(ClipboardItem{CF_UNICODETEXT, NewClipboardBlock(text.c_str(), (text.size() + 1) * sizeof(char16_t)), true});
    return true;
}

void Device::CopyTextOnceFree(const std::u16string& text) { Clipboard().waitingCopy = text; }

bool Device::AddClipboardBytes(UINT format, const std::vector<uint8_t>& bytes) {
    if (!FreeForElsewhere()) return false;
    Store(ClipboardItem{format, NewClipboardBlock(bytes.data(), bytes.size()), true});
    S().generation++;
    return true;
}

bool Device::AddClipboardHandle(UINT format, HANDLE handle) {
    if (!FreeForElsewhere()) return false;
    Store(ClipboardItem{format, handle, false});
    S().generation++;
    return true;
}

UINT Device::ClipboardFormatNamed(const std::u16string& name) { return RegisterClipboardFormatW(name.c_str()); }

std::vector<UINT> Device::ClipboardFormats() const {
    std::vector<UINT> out;
    for (const ClipboardItem& item : Clipboard().items) out.push_back(item.format);
    return out;
}

std::optional<std::u16string> Device::ClipboardText() const {
    const ClipboardItem* item = Find(CF_UNICODETEXT);
    if (!item || !item->data) return std::nullopt;
    auto it = S().heap.find(item->data);
    size_t limit = it == S().heap.end() ? 0 : it->second.size / sizeof(char16_t);
    const char16_t* text = static_cast<const char16_t*>(item->data);
    size_t n = 0;
    while (n < limit && text[n]) ++n;
    return std::u16string(text, n);
}

HWND Device::ClipboardOwner() const { return Clipboard().owner; }

void Device::UseDesktopClipboard(bool on) { Clipboard().desktop = on; }

bool LendsClipboardSize(const void* block) {
    if (!Clipboard().desktop || !block) return false;
    for (const ClipboardItem& item : Clipboard().items)
        if (item.memory && item.data == block) return true;
    return false;
}

bool Device::ClipboardIsOpen() const {
    ExpireHold();
    return Clipboard().open;
}


}  // namespace sim

using namespace sim;

BOOL OpenClipboard(HWND owner) {
    Call& call = Record("OpenClipboard", {reinterpret_cast<intptr_t>(owner)});
    if (FaultHere(FaultPoint::OpenClipboard)) {
        Fail(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (owner && !FindWin(owner)) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    ExpireHold();
    ClipboardState& c = Clipboard();
    int caller = CallerOf(owner);
    if (c.open && c.opener != caller) {
        Fail(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    c.open = true;
    c.opener = caller;
    c.openWindow = owner;
    c.emptiedWithoutOwner = false;
    call.result = TRUE;
    return TRUE;
}

BOOL CloseClipboard() {
    Call& call = Record("CloseClipboard", {});
    ClipboardState& c = Clipboard();
    if (!OpenedBy(CallerOf(c.openWindow))) {
        Fail(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    c.open = false;
    c.openWindow = nullptr;
    S().generation++;
    if (c.waitingCopy) {
        std::u16string text = *c.waitingCopy;
        c.waitingCopy.reset();
        Device::Current().PutClipboardText(text);
    }
    call.result = TRUE;
    return TRUE;
}

BOOL EmptyClipboard() {
    Call& call = Record("EmptyClipboard", {});
    ClipboardState& c = Clipboard();
    if (!OpenedBy(CallerOf(c.openWindow))) {
        Fail(ERROR_CLIPBOARD_NOT_OPEN);
        return FALSE;
    }
    DropAll();
    c.owner = c.openWindow;
    c.emptiedWithoutOwner = c.openWindow == nullptr;
    call.result = TRUE;
    return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    ExpireHold();
    return Find(format) ? TRUE : FALSE;
}

HANDLE GetClipboardData(UINT format) {
    Call& call = Record("GetClipboardData", {static_cast<intptr_t>(format)});
    const ClipboardItem* item = ItemToHandOut(format);
    if (!item) return nullptr;
    call.result = reinterpret_cast<intptr_t>(item->data);
    return item->data;
}

// The system knows the size of every block it holds, whoever made it, and copies the
// block whole, its slack included.
HANDLE GetClipboardDataAlloc(UINT format) {
    Call& call = Record("GetClipboardDataAlloc", {static_cast<intptr_t>(format)});
    const ClipboardItem* item = ItemToHandOut(format);
    auto block = item && item->memory ? S().heap.find(item->data) : S().heap.end();
    if (block == S().heap.end()) {
        if (item) Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    size_t size = block->second.rounded;
    void* copy = AllocateForCaller(size, false);
    if (!copy) return nullptr;
    if (size) std::memcpy(copy, item->data, size);
    call.result = reinterpret_cast<intptr_t>(copy);
    return copy;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    Call& call = Record("SetClipboardData", {static_cast<intptr_t>(format), reinterpret_cast<intptr_t>(data)});
    ClipboardState& c = Clipboard();
    if (!OpenedBy(CallerOf(c.openWindow))) {
        Fail(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    // Emptied while opened without a window: the clipboard has no owner to hold data.
    if (format == 0 || c.emptiedWithoutOwner) {
        Fail(format == 0 ? ERROR_INVALID_PARAMETER : ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    if (FaultHere(FaultPoint::ClipboardSetData)) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    bool memory = data && !IsHandleFormat(format);
    if (memory) {
        // Only a block of the caller's own heap can change hands.
        auto it = S().heap.find(data);
        const ClipboardItem* current = Find(format);
        bool already = current && current->data == data;
        if (it == S().heap.end() || it->second.heap != HeapOfCaller() ||
            (it->second.owner == kClipboardOwner && !already)) {
            Fail(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        it->second.owner = kClipboardOwner;
    }
    Store(ClipboardItem{format, data, memory});
    S().generation++;
    call.result = reinterpret_cast<intptr_t>(data);
    return data;
}

UINT RegisterClipboardFormatW(LPCWSTR name) {
    std::u16string n = FromWide(name);
    Record("RegisterClipboardFormatW", {}, n);
    if (n.empty()) {
        Fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto& table = Clipboard().registered;
    std::u16string key = Lower(n);
    auto it = table.find(key);
    if (it != table.end()) return it->second;
    UINT format = 0xC000 + static_cast<UINT>(table.size());
    table[key] = format;
    return format;
}

BOOL QueryClipboardSequenceNumber(LPDWORD number) {
    Call& call = Record("QueryClipboardSequenceNumber", {});
    const ClipboardState& c = Clipboard();
    if (!c.desktop || !number) return FALSE;
    *number = c.sequence;
    call.result = TRUE;
    return TRUE;
}
