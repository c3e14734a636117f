#pragma once
// The installer's own texts, each shown by nudgewick.nsi.in as $(NAME): the
// build writes them as LangStrings in English and in every catalogue's
// language (nsis_lang_strings.cpp). Marked takes them into the template.
#include "core/catalogue.h"

namespace nudgewick {

struct InstallerText {
    const char* name;
    const char* english;
};

inline constexpr InstallerText kInstallerTexts[] = {
    // TRANSLATORS: the installer's choice, beside the program itself, of a start at every sign-in to Windows.
    {"StartAtSignIn", Marked("Start when I sign in")},
};

}  // namespace nudgewick
