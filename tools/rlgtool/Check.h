// The checks of "rlgtool check": everything in a catalog that the library
// would read differently from what its author meant, or that breaks the
// program at run time (format specifiers), reported with its line.
#pragma once

#include "Catalog.h"
#include "Diag.h"

namespace rlgtool {

// Reports every problem of the catalog to diag, in line order, under strFile.
void CatalogCheck(const XCatalog& cat, const std::string& strFile, XDiag& diag);

}  // namespace rlgtool
