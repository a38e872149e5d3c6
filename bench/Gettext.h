// glibc gettext as the peer: locale and language set up once, one text
// domain per generated catalog, all found under one directory.
#pragma once

#include <string>

#include "Catalog.h"

namespace bench {

// Selects the locale C.UTF-8 with LANGUAGE=de (gettext ignores translations
// in the plain "C" locale but honours LANGUAGE in C.UTF-8) and binds the
// catalog's domain to strDir; false with a message when the locale is missing
// or gettext does not give the translation of the catalog's first text entry.
bool GettextPrepare(const XBenchCatalog& catalog, const std::string& strDir);

// Makes the catalog's domain the one gettext() looks in.
void GettextUse(const XBenchCatalog& catalog);

}  // namespace bench
