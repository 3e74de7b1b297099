#include "manager/PackageList.h"

#include <memory>

#include "com/OwnedHandles.h"
#include "definition/PackageStore.h"

namespace tarnevo {
namespace {

}  // namespace

std::vector<std::wstring> BuildPackageList() {
    std::vector<std::wstring> names;
    if (UserFolder().empty()) return names;
    WIN32_FIND_DATAW data;
    HANDLE first = FindFirstFileW(PackageSearchPattern().c_str(), &data);
    if (first == INVALID_HANDLE_VALUE) return names;
    UniqueFind find(first);
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;  // not a package file
        std::wstring name = data.cFileName;
        if (name.size() < 4) continue;
        names.push_back(name.substr(0, name.size() - 4));
    } while (FindNextFileW(find.get(), &data));
    return names;
}

void PackageListToVariant(const std::vector<std::wstring>& names, VARIANT* out) {
    VariantArray list;
    list.Create(static_cast<LONG>(names.size()), VT_BSTR);
    for (size_t i = 0; i < names.size(); ++i) list.PutString(static_cast<LONG>(i), names[i]);
    list.Detach(out);
}

}  // namespace tarnevo
