#include "package/names/NameMap.h"

#include <cwchar>

namespace tarnevo {

std::int32_t& NameMap::operator[](const std::wstring& name) {
    auto key = std::make_unique<StringMapKeyString>(name);
    auto found = ids_.find(key.get());
    if (found != ids_.end()) return found->second;
    keys_.reserve(keys_.size() + 1);
    std::int32_t& id = ids_.emplace(key.get(), 0).first->second;
    keys_.push_back(std::move(key));
    return id;
}

std::optional<std::int32_t> NameMap::Find(const wchar_t* name) const {
    if (name == nullptr || *name == L'\0') return std::nullopt;

    // Short names are lowered on the stack, longer ones on the heap: no length limit.
    constexpr std::size_t kInline = 128;
    wchar_t inlineText[kInline];
    std::unique_ptr<wchar_t[]> heapText;
    const std::size_t length = std::wcslen(name);
    wchar_t* lower = inlineText;
    if (length >= kInline) {
        heapText = std::make_unique<wchar_t[]>(length + 1);
        lower = heapText.get();
    }
    for (std::size_t i = 0; i < length; ++i) lower[i] = LowerAscii(name[i]);
    lower[length] = L'\0';

    const StringMapKeyPtr key(lower);
    auto found = ids_.find(&key);
    if (found == ids_.end()) return std::nullopt;
    return found->second;
}

void NameMap::Clear() noexcept {
    ids_.clear();
    keys_.clear();
}

}  // namespace tarnevo
