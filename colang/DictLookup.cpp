// The lookup of menu and window translation.
#include "colang/detail/DictLookup.h"

namespace colang::detail {

XString TextLookup(const XLMTranslDict& dict, const XChar* pszText, XDirection eDirection) {
  const XChar* pszFound = eDirection == eDirTranslate ? dict.CheckTranslate(pszText) : dict.CheckRetranslate(pszText);
  return XString(pszFound != nullptr ? pszFound : pszText);
}

}  // namespace colang::detail
