// win32_string_tables OUT.rc TEMPLATE.pot [LANG CATALOGUE.po]... writes the
// catalogues as the .exe's string tables (core/string_tables.h says where
// each text goes): the template's English, then one LANGUAGE block for each
// catalogue. UTF-8 throughout, which windres turns into UTF-16 by the
// code page pragma.
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/string_tables.h"
#include "packaging/po_file.h"

namespace {

using nudgewick::PoEntry;
using nudgewick::ReadPoFile;

// The header's plural rule, as PluralRule::Read takes it.
std::string PluralForms(const PoEntry& header, const char* path) {
    const std::string& text = header.forms.empty() ? std::string() : header.forms[0];
    const std::size_t at = text.find("Plural-Forms:");
    if (!header.english.empty() || at == std::string::npos) {
        throw std::runtime_error(std::string(path) + ": no Plural-Forms in its header");
    }
    return text.substr(at, text.find('\n', at) - at);
}

// Windows' LANGUAGE for each catalogue's name: SUBLANG_DEFAULT for a language
// of one country, as the resource compiler's headers (winnt.rh) name no other.
const std::map<std::string, std::string> kLanguages = {{"cs", "LANG_CZECH, SUBLANG_DEFAULT"},
                                                       {"da", "LANG_DANISH, SUBLANG_DEFAULT"},
                                                       {"de", "LANG_GERMAN, SUBLANG_GERMAN"},
                                                       {"el", "LANG_GREEK, SUBLANG_DEFAULT"},
                                                       {"es", "LANG_SPANISH, SUBLANG_SPANISH_MODERN"},
                                                       {"fi", "LANG_FINNISH, SUBLANG_DEFAULT"},
                                                       {"fr", "LANG_FRENCH, SUBLANG_FRENCH"},
                                                       {"hu", "LANG_HUNGARIAN, SUBLANG_DEFAULT"},
                                                       {"id", "LANG_INDONESIAN, SUBLANG_DEFAULT"},
                                                       {"it", "LANG_ITALIAN, SUBLANG_ITALIAN"},
                                                       {"ja", "LANG_JAPANESE, SUBLANG_DEFAULT"},
                                                       {"ko", "LANG_KOREAN, SUBLANG_KOREAN"},
                                                       {"nl", "LANG_DUTCH, SUBLANG_DUTCH"},
                                                       {"pl", "LANG_POLISH, SUBLANG_DEFAULT"},
                                                       {"pt_BR", "LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN"},
                                                       {"pt_PT", "LANG_PORTUGUESE, SUBLANG_PORTUGUESE"},
                                                       {"ru", "LANG_RUSSIAN, SUBLANG_DEFAULT"},
                                                       {"sv", "LANG_SWEDISH, SUBLANG_SWEDISH"},
                                                       {"tr", "LANG_TURKISH, SUBLANG_DEFAULT"},
                                                       {"uk", "LANG_UKRAINIAN, SUBLANG_DEFAULT"},
                                                       {"vi", "LANG_VIETNAMESE, SUBLANG_DEFAULT"},
                                                       {"zh_CN", "LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED"},
                                                       {"zh_TW", "LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL"}};

// A resource script's string: a quote doubled, as windres reads it.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? "\"\"" : c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : std::string(1, c);
    }
    return quoted + '"';
}

class Script {
public:
    explicit Script(std::ostream& out) : out_(out) { out_ << "#include <windows.h>\n#pragma code_page(65001)\n"; }
    void Begin(const std::string& language) { out_ << "LANGUAGE " << language << "\nSTRINGTABLE\nBEGIN\n"; }
    void Add(unsigned id, const std::string& text) {
        if (!text.empty()) out_ << "    " << id << ", " << Quoted(text) << '\n';
    }
    void End() { out_ << "END\n"; }

private:
    std::ostream& out_;
};

void WriteEnglish(Script& script, const std::vector<PoEntry>& texts) {
    script.Begin("LANG_ENGLISH, SUBLANG_ENGLISH_US");
    for (unsigned text = 1; text < texts.size(); ++text) {
        script.Add(nudgewick::EnglishId(text - 1, false), texts[text].english);
        script.Add(nudgewick::EnglishId(text - 1, true), texts[text].englishPlural);
    }
    script.End();
}

void WriteLanguage(Script& script, const std::vector<PoEntry>& texts, const std::string& name, const char* path) {
    const auto language = kLanguages.find(name);
    if (language == kLanguages.end()) {
        throw std::runtime_error(std::string(path) + ": no Windows language is known for \"" + name +
                                 "\": add its LANG_ and SUBLANG_ to kLanguages in packaging/win32_string_tables.cpp");
    }
    const std::vector<PoEntry> entries = ReadPoFile(path);
    const std::map<std::string, const PoEntry*> translations = nudgewick::TranslatedEntries(entries);
    script.Begin(language->second);
    script.Add(nudgewick::kHeaderId, PluralForms(entries.front(), path));
    nudgewick::TranslationIds ids;
    for (unsigned text = 1; text < texts.size(); ++text) {
        const bool plural = !texts[text].englishPlural.empty();
        const unsigned first = ids.Next(plural);
        const auto found = translations.find(texts[text].english);
        if (found == translations.end() || found->second->englishPlural.empty() == plural) continue;
        for (unsigned form = 0; form < found->second->forms.size() && form < nudgewick::kMostForms; ++form) {
            script.Add(first + form, found->second->forms[form]);
        }
    }
    script.End();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::cerr << "usage: win32_string_tables OUT.rc TEMPLATE.pot [LANG CATALOGUE.po]...\n";
        return 2;
    }
    try {
        std::ostringstream text;
        Script script(text);
        const std::vector<PoEntry> texts = ReadPoFile(argv[2]);
        WriteEnglish(script, texts);
        for (int at = 3; at < argc; at += 2) WriteLanguage(script, texts, argv[at], argv[at + 1]);
        std::ofstream(argv[1]) << text.str();
    } catch (const std::exception& error) {
        std::cerr << "win32_string_tables: " << error.what() << '\n';
        return 1;
    }
}
