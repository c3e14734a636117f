// nsis_lang_strings OUT.nsh [LANG CATALOGUE.po]... writes what the installer
// says in each language: NSIS's own pages in English first (its fallback and
// the language of a system it has no catalogue for), then in each catalogue's
// language, and our texts (nsis_texts.h) as LangStrings in all of them. UTF-8,
// as the installer is built with Unicode true.
#include <cctype>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "packaging/po_file.h"
#include "packaging/windows/catalogue_languages.h"
#include "packaging/windows/nsis_texts.h"

namespace {

// A quoted NSIS string: $ starts a variable and $\ an escape there.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '$' ? "$$" : c == '"' ? "$\\\"" : c == '\n' ? "$\\n" : c == '\t' ? "$\\t" : std::string(1, c);
    }
    return quoted + '"';
}

// The LANG_ define that MUI_LANGUAGE makes for an NSIS language's name.
std::string LanguageId(std::string name) {
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return "${LANG_" + name + "}";
}

struct Language {
    std::string nsisName;
    std::map<std::string, std::string> translations;  // by the English
};

Language ReadLanguage(const std::string& name, const char* path) {
    const nudgewick::CatalogueLanguage* known = nudgewick::FindCatalogueLanguage(name);
    if (known == nullptr) {
        throw std::runtime_error(std::string(path) + ": NSIS's name for \"" + name +
                                 "\" is not known: add its row to packaging/windows/catalogue_languages.h");
    }
    Language language{known->nsisName, {}};
    const std::vector<nudgewick::PoEntry> entries = nudgewick::ReadPoFile(path);
    for (const auto& [english, entry] : nudgewick::TranslatedEntries(entries)) {
        if (!entry->forms.empty() && !entry->forms[0].empty()) language.translations[english] = entry->forms[0];
    }
    return language;
}

// An untranslated text is shown in English, as gettext shows it.
void Write(std::ostream& out, const std::vector<Language>& languages) {
    for (const Language& language : languages) out << "!insertmacro MUI_LANGUAGE " << Quoted(language.nsisName) << '\n';
    for (const nudgewick::InstallerText& text : nudgewick::kInstallerTexts) {
        for (const Language& language : languages) {
            const auto found = language.translations.find(text.english);
            out << "LangString " << text.name << ' ' << LanguageId(language.nsisName) << ' '
                << Quoted(found == language.translations.end() ? text.english : found->second) << '\n';
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc % 2 != 0) {
        std::cerr << "usage: nsis_lang_strings OUT.nsh [LANG CATALOGUE.po]...\n";
        return 2;
    }
    try {
        std::vector<Language> languages{{"English", {}}};
        for (int at = 2; at < argc; at += 2) languages.push_back(ReadLanguage(argv[at], argv[at + 1]));
        std::ostringstream text;
        Write(text, languages);
        std::ofstream(argv[1]) << text.str();
    } catch (const std::exception& error) {
        std::cerr << "nsis_lang_strings: " << error.what() << '\n';
        return 1;
    }
}
