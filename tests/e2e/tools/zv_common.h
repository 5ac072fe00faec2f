// Shared bits of the end-to-end helper programs: number parsing, UTF-8 output files and
// a small JSON writer. Each helper is one .cpp that includes this header.
//
// Results go to a file named on the command line (--out FILE): console output of a Wine
// process that another Wine service may inherit is not something a test should wait on.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>

#include <cwchar>
#include <string>

namespace zv {

// Parses decimal, 0x-hex or negative numbers; returns false on anything else.
inline bool ParseNumber(const wchar_t* text, long long* value) {
    if (!text || !*text) return false;
    wchar_t* end = nullptr;
    long long v = std::wcstoll(text, &end, 0);
    if (!end || *end != L'\0') return false;
    *value = v;
    return true;
}

// Writes a usage line to standard error; returns the exit code for bad arguments.
inline int PrintUsage(const char* usage) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), usage, lstrlenA(usage), &written, nullptr);
    return 1;
}

inline std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

inline std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
    return out;
}

// Writes bytes to `path` through a temporary file and a rename, so a reader polling the
// file never sees half of it.
inline bool WriteFileAtomically(const std::wstring& path, const std::string& bytes) {
    std::wstring temp = path + L".part";
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = bytes.empty() ||
              WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) {
        DeleteFileW(temp.c_str());
        return false;
    }
    return MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

inline bool ReadWholeFile(const std::wstring& path, std::string* bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes->clear();
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes->append(buffer, got);
    CloseHandle(file);
    return true;
}

// JSON string literal of a UTF-16 text (output is UTF-8; lone surrogates become U+FFFD).
inline std::string JsonString(const std::wstring& text) {
    std::wstring clean = text;
    for (size_t i = 0; i < clean.size(); ++i) {
        wchar_t c = clean[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < clean.size() && clean[i + 1] >= 0xDC00 && clean[i + 1] <= 0xDFFF) {
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            clean[i] = 0xFFFD;
        }
    }
    std::string utf8 = ToUtf8(clean);
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escape[8];
                wsprintfA(escape, "\\u%04x", c);
                out += escape;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

inline std::string JsonNumber(long long value) {
    char text[32];
    wsprintfA(text, "%I64d", value);
    return text;
}

// Collects one JSON object field by field.
class JsonObject {
public:
    JsonObject& Add(const char* key, const std::string& rawValue) {
        body_ += body_.empty() ? "{" : ", ";
        body_ += "\"";
        body_ += key;
        body_ += "\": ";
        body_ += rawValue;
        return *this;
    }
    JsonObject& Text(const char* key, const std::wstring& value) { return Add(key, JsonString(value)); }
    JsonObject& Number(const char* key, long long value) { return Add(key, JsonNumber(value)); }
    JsonObject& Bool(const char* key, bool value) { return Add(key, value ? "true" : "false"); }
    std::string Str() const { return body_.empty() ? "{}" : body_ + "}"; }

private:
    std::string body_;
};

inline std::wstring HandleText(HWND hwnd) {
    wchar_t text[32];
    wsprintfW(text, L"0x%I64x", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd)));
    return text;
}

inline bool ParseHandle(const wchar_t* text, HWND* hwnd) {
    long long value = 0;
    if (!ParseNumber(text, &value)) return false;
    *hwnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
    return true;
}

}  // namespace zv
