#include "package/names/StringMapKey.h"

#include <cwchar>
#include <utility>

namespace tarnevo {

StringMapKeyString::StringMapKeyString(std::wstring text) : StringMapKey(std::move(text)) {
    for (wchar_t& c : text_) c = LowerAscii(c);
}

std::uint64_t HashKeyText(const wchar_t* text) noexcept {
    std::uint64_t hash = 2166136261u;
    for (const wchar_t* p = text; *p != L'\0'; ++p) {
        hash *= 16777619u;
        hash ^= static_cast<std::uint16_t>(*p);
    }
    return hash;
}

bool StringMapKeyEqual::operator()(const StringMapKey* a, const StringMapKey* b) const noexcept {
    return std::wcscmp(a->Text(), b->Text()) == 0;
}

}  // namespace tarnevo
