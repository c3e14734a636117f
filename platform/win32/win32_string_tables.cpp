#include "platform/win32/win32_string_tables.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/string_tables.h"
#include "platform/win32/win32_text.h"

namespace nudgewick::win32 {
namespace {

// A string table's resource is a block of 16 strings, each its length in
// UTF-16 units then its units; this reads the one at id in language, not
// falling back as LoadString would to another language's block.
std::string TableString(HINSTANCE instance, LANGID language, unsigned id) {
    const HRSRC found = FindResourceExW(instance, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    const HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const auto* at = loaded ? static_cast<const WCHAR*>(LockResource(loaded)) : nullptr;
    if (at == nullptr) return {};
    for (unsigned skipped = 0; skipped < id % 16; ++skipped) at += 1 + *at;
    return Narrow(std::wstring_view(at + 1, *at));
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<std::uint16_t>*>(languages)->push_back(language);
    return TRUE;
}

}  // namespace

std::unique_ptr<Catalogue> UsersCatalogue(void* module) {
    const auto instance = static_cast<HINSTANCE>(module);
    std::vector<std::uint16_t> languages;  // those with a header: English has none
    EnumResourceLanguagesW(instance, RT_STRING, MAKEINTRESOURCEW(kHeaderId / 16 + 1), AddLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    const auto language = ChosenLanguage(GetThreadUILanguage(), languages);
    if (!language) return nullptr;
    return StringTableCatalogue::Read(
        [&](unsigned id) { return TableString(instance, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), id); },
        [&](unsigned id) { return TableString(instance, *language, id); });
}

}  // namespace nudgewick::win32
