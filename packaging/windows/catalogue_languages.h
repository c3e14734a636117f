#pragma once
// Each catalogue's language (po/LANG.po) as Windows and NSIS name it, one row
// a catalogue, for the build's tools that write the .exe's tables and the
// installer's languages. A new catalogue's row goes here.
#include <algorithm>
#include <iterator>
#include <string_view>

namespace nudgewick {

struct CatalogueLanguage {
    std::string_view catalogue;
    // The resource script's LANGUAGE: SUBLANG_DEFAULT for a language of one
    // country, as the resource compiler's headers (winnt.rh) name no other.
    const char* resourceLanguage;
    const char* nsisName;  // of NSIS's Contrib/Language files
};

inline constexpr CatalogueLanguage kCatalogueLanguages[] = {
    {"cs", "LANG_CZECH, SUBLANG_DEFAULT", "Czech"},
    {"da", "LANG_DANISH, SUBLANG_DEFAULT", "Danish"},
    {"de", "LANG_GERMAN, SUBLANG_GERMAN", "German"},
    {"el", "LANG_GREEK, SUBLANG_DEFAULT", "Greek"},
    {"es", "LANG_SPANISH, SUBLANG_SPANISH_MODERN", "Spanish"},
    {"fi", "LANG_FINNISH, SUBLANG_DEFAULT", "Finnish"},
    {"fr", "LANG_FRENCH, SUBLANG_FRENCH", "French"},
    {"hu", "LANG_HUNGARIAN, SUBLANG_DEFAULT", "Hungarian"},
    {"id", "LANG_INDONESIAN, SUBLANG_DEFAULT", "Indonesian"},
    {"it", "LANG_ITALIAN, SUBLANG_ITALIAN", "Italian"},
    {"ja", "LANG_JAPANESE, SUBLANG_DEFAULT", "Japanese"},
    {"ko", "LANG_KOREAN, SUBLANG_KOREAN", "Korean"},
    {"nl", "LANG_DUTCH, SUBLANG_DUTCH", "Dutch"},
    {"pl", "LANG_POLISH, SUBLANG_DEFAULT", "Polish"},
    {"pt_BR", "LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN", "PortugueseBR"},
    {"pt_PT", "LANG_PORTUGUESE, SUBLANG_PORTUGUESE", "Portuguese"},
    {"ru", "LANG_RUSSIAN, SUBLANG_DEFAULT", "Russian"},
    {"sv", "LANG_SWEDISH, SUBLANG_SWEDISH", "Swedish"},
    {"tr", "LANG_TURKISH, SUBLANG_DEFAULT", "Turkish"},
    {"uk", "LANG_UKRAINIAN, SUBLANG_DEFAULT", "Ukrainian"},
    {"vi", "LANG_VIETNAMESE, SUBLANG_DEFAULT", "Vietnamese"},
    {"zh_CN", "LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED", "SimpChinese"},
    {"zh_TW", "LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL", "TradChinese"},
};

// The row of the catalogue named so, or nothing.
inline const CatalogueLanguage* FindCatalogueLanguage(std::string_view catalogue) {
    const auto* found = std::ranges::find(kCatalogueLanguages, catalogue, &CatalogueLanguage::catalogue);
    return found == std::end(kCatalogueLanguages) ? nullptr : found;
}

}  // namespace nudgewick
