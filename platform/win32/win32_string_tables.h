#pragma once
// The catalogue of the user's language, from the tables in the .exe's resources.
#include <memory>

#include "core/catalogue.h"

namespace nudgewick::win32 {

// Nothing (English) when the .exe has no table for the thread's UI language.
std::unique_ptr<Catalogue> UsersCatalogue(void* instance);

}  // namespace nudgewick::win32
