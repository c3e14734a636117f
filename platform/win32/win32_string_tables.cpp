#include "platform/win32/win32_string_tables.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/inflate.h"
#include "core/string_tables.h"

namespace nudgewick::win32 {
namespace {

// The table with that id in language, inflated; nothing where the .exe has
// none or its bytes are not a whole deflate stream.
std::optional<std::string> Table(HINSTANCE instance, unsigned id, LANGID language) {
    const HRSRC found = FindResourceExW(instance, RT_RCDATA, MAKEINTRESOURCEW(id), language);
    const HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const auto* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (bytes == nullptr) return std::nullopt;
    return Inflate(std::string_view(bytes, SizeofResource(instance, found)));
}

BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<std::uint16_t>*>(languages)->push_back(language);
    return TRUE;
}

}  // namespace

std::unique_ptr<Catalogue> UsersCatalogue(void* module) {
    const auto instance = static_cast<HINSTANCE>(module);
    std::vector<std::uint16_t> languages;
    EnumResourceLanguagesW(instance, RT_RCDATA, MAKEINTRESOURCEW(kLanguageTable), AddLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    const auto language = ChosenLanguage(GetThreadUILanguage(), languages);
    if (!language) return nullptr;
    auto english = Table(instance, kEnglishTable, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    auto translations = Table(instance, kLanguageTable, *language);
    if (!english || !translations) return nullptr;
    return StringTableCatalogue::Read(std::move(*english), std::move(*translations));
}

}  // namespace nudgewick::win32
