// zv_clip: reads and writes the Windows clipboard as a Wine program sees it.
//
//   zv_clip.exe get OUTFILE                 CF_UNICODETEXT as UTF-8 into OUTFILE (exit 2: no text)
//   zv_clip.exe formats OUTFILE             the formats on the clipboard, one JSON line each
//   zv_clip.exe set INFILE [NAME=DWORD ...] put INFILE's UTF-8 text on the clipboard, plus a
//                                           registered format NAME holding that DWORD per pair
//   zv_clip.exe empty                       empty the clipboard
//   zv_clip.exe state OUTFILE               who holds the clipboard open now, and its sequence
//                                           number (JSON); opens nothing
//   zv_clip.exe holds OUTFILE SECONDS       samples who holds the clipboard open, about every
//                                           millisecond for SECONDS; one JSON line per stretch
//
// Wine's clipboard manager may hold the clipboard open for a moment after X changes it, so
// opening is retried for up to 5 s. Exit code: 0 done, 1 bad arguments or I/O, 2 no text,
// 3 the clipboard could not be opened.
#include "zv_common.h"

#include <vector>

namespace {

bool OpenWithRetry() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (OpenClipboard(nullptr)) return true;
        Sleep(50);
    }
    return false;
}

int Get(const wchar_t* outFile) {
    if (!OpenWithRetry()) return 3;
    int status = 2;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data) {
        const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data));
        if (text) {
            size_t limit = GlobalSize(data) / sizeof(wchar_t);
            size_t length = 0;
            while (length < limit && text[length]) ++length;
            std::wstring copy(text, length);
            GlobalUnlock(data);
            status = zv::WriteFileAtomically(outFile, zv::ToUtf8(copy)) ? 0 : 1;
        }
    }
    CloseClipboard();
    return status;
}

int Formats(const wchar_t* outFile) {
    if (!OpenWithRetry()) return 3;
    std::string lines;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        wchar_t name[256] = L"";
        GetClipboardFormatNameW(format, name, 256);
        lines += zv::JsonObject().Number("format", format).Text("name", name).Str() + "\n";
    }
    CloseClipboard();
    return zv::WriteFileAtomically(outFile, lines) ? 0 : 1;
}

bool PutGlobal(UINT format, const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!memory) return false;
    void* target = GlobalLock(memory);
    CopyMemory(target, bytes, size);
    GlobalUnlock(memory);
    if (SetClipboardData(format, memory)) return true;
    GlobalFree(memory);
    return false;
}

int Set(int argc, wchar_t** argv) {
    std::string utf8;
    if (!zv::ReadWholeFile(argv[2], &utf8)) return 1;
    std::wstring text = zv::FromUtf8(utf8);
    struct Mark {
        UINT format;
        DWORD value;
    };
    std::vector<Mark> marks;
    for (int i = 3; i < argc; ++i) {
        std::wstring pair = argv[i];
        size_t equals = pair.rfind(L'=');
        long long value = 0;
        if (equals == std::wstring::npos || equals == 0 ||
            !zv::ParseNumber(pair.substr(equals + 1).c_str(), &value))
            return 1;
        UINT format = RegisterClipboardFormatW(pair.substr(0, equals).c_str());
        if (!format) return 1;
        marks.push_back({format, static_cast<DWORD>(value)});
    }
    if (!OpenWithRetry()) return 3;
    EmptyClipboard();
    bool ok = PutGlobal(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    for (const Mark& mark : marks) ok = PutGlobal(mark.format, &mark.value, sizeof mark.value) && ok;
    CloseClipboard();
    return ok ? 0 : 1;
}

int Empty() {
    if (!OpenWithRetry()) return 3;
    BOOL ok = EmptyClipboard();
    CloseClipboard();
    return ok ? 0 : 1;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = L"";
    if (hwnd) GetClassNameW(hwnd, name, 256);
    return name;
}

int State(const wchar_t* outFile) {
    HWND open = GetOpenClipboardWindow();
    std::string json = zv::JsonObject()
                           .Text("open", zv::HandleText(open))
                           .Text("open_class", ClassOf(open))
                           .Number("sequence", GetClipboardSequenceNumber())
                           .Str();
    return zv::WriteFileAtomically(outFile, json + "\n") ? 0 : 1;
}

// A program that opened the clipboard without a window is not seen: GetOpenClipboardWindow
// answers NULL for it as for a closed clipboard.
int Holds(const wchar_t* outFile, long long seconds) {
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const double limit = static_cast<double>(seconds);
    auto elapsed = [&]() {
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    };
    std::string lines;
    HWND holder = nullptr;
    double since = 0;
    for (double t = elapsed(); t < limit; t = elapsed()) {
        HWND open = GetOpenClipboardWindow();
        if (open != holder) {
            if (holder) {
                lines += zv::JsonObject()
                             .Text("window", zv::HandleText(holder))
                             .Text("class", ClassOf(holder))
                             .Number("at_us", static_cast<long long>(since * 1e6))
                             .Number("us", static_cast<long long>((t - since) * 1e6))
                             .Str() +
                         "\n";
            }
            holder = open;
            since = t;
        }
        Sleep(1);
    }
    return zv::WriteFileAtomically(outFile, lines) ? 0 : 1;
}

int Usage() {
    static const char kUsage[] =
        "usage: zv_clip.exe (get OUTFILE | formats OUTFILE | set INFILE [NAME=DWORD ...] | empty |\n"
        "                   state OUTFILE | holds OUTFILE SECONDS)\n";
    return zv::PrintUsage(kUsage);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    std::wstring command = argv[1];
    if (command == L"get" && argc == 3) return Get(argv[2]);
    if (command == L"formats" && argc == 3) return Formats(argv[2]);
    if (command == L"set" && argc >= 3) return Set(argc, argv);
    if (command == L"empty" && argc == 2) return Empty();
    if (command == L"state" && argc == 3) return State(argv[2]);
    long long seconds = 0;
    if (command == L"holds" && argc == 4 && zv::ParseNumber(argv[3], &seconds) && seconds > 0)
        return Holds(argv[2], seconds);
    return Usage();
}
