// win32_string_tables OUT.rc TEMPLATE.pot [LANG CATALOGUE.po]... writes the
// catalogues as the .exe's tables (core/string_tables.h says where each text
// goes): the template's English, then each catalogue's language, each table
// deflated into a file beside OUT.rc (OUT.rc.english, OUT.rc.LANG) that
// OUT.rc makes an RCDATA resource of, a language's in its LANGUAGE block.
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <zlib.h>

#include "core/string_tables.h"
#include "packaging/po_file.h"
#include "packaging/windows/catalogue_languages.h"

namespace {

using nudgewick::PoEntry;
using nudgewick::ReadPoFile;

// The Windows front-end marks no texts of its own, so a text that only
// platform/linux/ and packaging/linux/ mark is one the .exe never shows.
bool OnlyLinux(const PoEntry& entry) {
    std::istringstream places(entry.places);
    std::string place;
    bool marked = false;
    while (places >> place) {
        if (!place.starts_with("platform/linux/") && !place.starts_with("packaging/linux/")) return false;
        marked = true;
    }
    return marked;
}

// The header's plural rule, as PluralRule::Read takes it.
std::string PluralForms(const PoEntry& header, const char* path) {
    const std::string& text = header.forms.empty() ? std::string() : header.forms[0];
    const std::size_t at = text.find("Plural-Forms:");
    if (!header.english.empty() || at == std::string::npos) {
        throw std::runtime_error(std::string(path) + ": no Plural-Forms in its header");
    }
    return text.substr(at, text.find('\n', at) - at);
}

// A resource script's string: a quote doubled, as windres reads it.
std::string Quoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? "\"\"" : c == '\\' ? "\\\\" : std::string(1, c);
    return quoted + '"';
}

// table as a raw deflate stream (no zlib header: Inflate reads none).
std::string Deflated(const std::string& table) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, MAX_MEM_LEVEL, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("zlib cannot deflate");
    }
    std::string deflated(deflateBound(&stream, table.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(table.data()));
    stream.avail_in = table.size();
    stream.next_out = reinterpret_cast<Bytef*>(deflated.data());
    stream.avail_out = deflated.size();
    const bool whole = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    deflated.resize(stream.total_out);
    deflateEnd(&stream);
    if (!whole) throw std::runtime_error("zlib could not deflate a table");
    return deflated;
}

// The resource script and the tables' files beside it.
class Script {
public:
    explicit Script(std::string path) : path_(std::move(path)) { text_ << "#include <windows.h>\n"; }
    void Add(const std::string& language, unsigned id, const std::string& name, const nudgewick::TableWriter& table) {
        const std::string file = path_ + '.' + name;
        std::ofstream(file, std::ios::binary) << Deflated(table.Table());
        text_ << "LANGUAGE " << language << '\n' << id << " RCDATA " << Quoted(file) << '\n';
    }
    void Write() const { std::ofstream(path_) << text_.str(); }

private:
    std::string path_;
    std::ostringstream text_;
};

// The template's texts that the .exe shows, in its order: the header left out.
std::vector<PoEntry> Shown(std::vector<PoEntry> texts) {
    std::erase_if(texts, [](const PoEntry& text) { return text.english.empty() || OnlyLinux(text); });
    return texts;
}

void WriteEnglish(Script& script, const std::vector<PoEntry>& texts) {
    nudgewick::TableWriter table;
    for (unsigned text = 0; text < texts.size(); ++text) {
        table.Put(nudgewick::EnglishId(text, false), texts[text].english);
        table.Put(nudgewick::EnglishId(text, true), texts[text].englishPlural);
    }
    script.Add("LANG_NEUTRAL, SUBLANG_NEUTRAL", nudgewick::kEnglishTable, "english", table);
}

void WriteLanguage(Script& script, const std::vector<PoEntry>& texts, const std::string& name, const char* path) {
    const nudgewick::CatalogueLanguage* language = nudgewick::FindCatalogueLanguage(name);
    if (language == nullptr) {
        throw std::runtime_error(std::string(path) + ": no Windows language is known for \"" + name +
                                 "\": add its row to packaging/windows/catalogue_languages.h");
    }
    const std::vector<PoEntry> entries = ReadPoFile(path);
    const std::map<std::string, const PoEntry*> translations = nudgewick::TranslatedEntries(entries);
    nudgewick::TableWriter table;
    table.Put(nudgewick::kHeaderId, PluralForms(entries.front(), path));
    nudgewick::TranslationIds ids;
    for (const PoEntry& text : texts) {
        const bool plural = !text.englishPlural.empty();
        const unsigned first = ids.Next(plural);
        const auto found = translations.find(text.english);
        if (found == translations.end() || found->second->englishPlural.empty() == plural) continue;
        for (unsigned form = 0; form < found->second->forms.size() && form < nudgewick::kMostForms; ++form) {
            table.Put(first + form, found->second->forms[form]);
        }
    }
    script.Add(language->resourceLanguage, nudgewick::kLanguageTable, name, table);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::cerr << "usage: win32_string_tables OUT.rc TEMPLATE.pot [LANG CATALOGUE.po]...\n";
        return 2;
    }
    try {
        Script script(argv[1]);
        const std::vector<PoEntry> texts = Shown(ReadPoFile(argv[2]));
        WriteEnglish(script, texts);
        for (int at = 3; at < argc; at += 2) WriteLanguage(script, texts, argv[at], argv[at + 1]);
        script.Write();
    } catch (const std::exception& error) {
        std::cerr << "win32_string_tables: " << error.what() << '\n';
        return 1;
    }
}
