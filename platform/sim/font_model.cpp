// The device's font model, its system font and the popup-menu font of its registry.
#include "font_model.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "registry.h"

namespace sim {

namespace {

constexpr WCHAR kSystemFace[] = u"System";
constexpr LONG kSystemHeight = 14;
constexpr int64_t kMaxHeight = 16384;

}  // namespace

struct FontModels {
    std::map<std::pair<std::u16string, LONG>, FontModel> models;  // (lower-case face, lfHeight)
    FontModels() { models[{Lower(kSystemFace), 0}] = FontModel{}; }
};

namespace {

FontModels& Models() { return PartOf(S().fontModels); }

bool IsFullWidth(WCHAR c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6);
}

bool IsWideLatin(WCHAR c) { return c == u'M' || c == u'W' || c == u'm' || c == u'w' || c == u'@' || c == u'%'; }

// A registry value as RegQueryValueExW would hand it to a buffer of `room` bytes.
const RegistryValue* ValueThatFits(const std::map<std::u16string, RegistryValue>& values, const char16_t* name,
                                   size_t room) {
    auto it = values.find(Lower(name));
    if (it == values.end() || it->second.data.size() > room) return nullptr;
    return &it->second;
}

LONG NumberOf(const RegistryValue& v) {
    uint32_t n = 0;
    if (!v.data.empty()) std::memcpy(&n, v.data.data(), v.data.size());
    return static_cast<LONG>(n);
}

}  // namespace

void Device::SetFontModel(const std::u16string& face, LONG lfHeight, const FontModel& model) {
    Models().models[{Lower(face), lfHeight}] = model;
}

std::u16string FaceOf(const LOGFONTW& font) {
    size_t n = 0;
    while (n < LF_FACESIZE && font.lfFaceName[n]) ++n;
    return std::u16string(font.lfFaceName, n);
}

FontModel ModelOf(const LOGFONTW& font) {
    auto& models = Models().models;
    std::u16string face = Lower(FaceOf(font));
    auto it = models.find({face, font.lfHeight});
    if (it == models.end()) it = models.find({face, 0});
    if (it != models.end()) return it->second;
    // The font mapper realises no font taller than kMaxHeight, whatever was asked for.
    int64_t asked = font.lfHeight;
    LONG h = static_cast<LONG>(std::min<int64_t>(asked < 0 ? -asked : asked, kMaxHeight));
    if (h == 0) h = 12;
    FontModel m;
    m.height = h;
    m.ascent = h - h / 5;
    m.externalLeading = h / 8;
    m.narrow = (h + 1) / 2;
    m.wide = (3 * h + 3) / 4;
    m.fullWidth = h;
    return m;
}

int CharAdvance(const FontModel& model, WCHAR c) {
    if (c < 0x1100) return IsWideLatin(c) ? model.wide : model.narrow;
    if (c >= 0xDC00 && c <= 0xDFFF) return 0;  // the second half of a pair adds nothing
    if (IsFullWidth(c) || (c >= 0xD800 && c <= 0xDBFF)) return model.fullWidth;
    if (IsWideLatin(c)) return model.wide;
    return model.narrow;
}

// A run wider than an int can say is reported as the widest there is.
int TextWidth(const FontModel& model, const WCHAR* text, size_t count) {
    int64_t width = 0;
    for (size_t i = 0; i < count && width < INT32_MAX; ++i) width += CharAdvance(model, text[i]);
    return static_cast<int>(std::min<int64_t>(width, INT32_MAX));
}

LOGFONTW SystemLogFont() {
    LOGFONTW lf{};
    lf.lfHeight = kSystemHeight;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::memcpy(lf.lfFaceName, kSystemFace, sizeof(kSystemFace));
    return lf;
}

LOGFONTW PopupMenuLogFont() {
    auto& keys = Registry().keys;
    auto key = keys.find(Lower(u"System\\GWE\\Menu\\PopFnt"));
    if (key == keys.end()) return SystemLogFont();
    const RegistryValue* ht = ValueThatFits(key->second, u"Ht", 4);
    const RegistryValue* wt = ValueThatFits(key->second, u"Wt", 4);
    const RegistryValue* it = ValueThatFits(key->second, u"It", 4);
    const RegistryValue* cs = ValueThatFits(key->second, u"CS", 4);
    const RegistryValue* nm = ValueThatFits(key->second, u"Nm", LF_FACESIZE * sizeof(WCHAR));
    if (!ht || !wt || !it || !cs || !nm) return SystemLogFont();
    LOGFONTW lf{};
    if (!nm->data.empty()) std::memcpy(lf.lfFaceName, nm->data.data(), nm->data.size());
    bool terminated = false;
    for (WCHAR c : lf.lfFaceName) terminated = terminated || c == 0;
    if (!terminated) return SystemLogFont();
    lf.lfHeight = NumberOf(*ht);
    lf.lfWeight = NumberOf(*wt);
    lf.lfItalic = static_cast<BYTE>(NumberOf(*it));
    lf.lfCharSet = static_cast<BYTE>(NumberOf(*cs));
    return lf;
}

}  // namespace sim
