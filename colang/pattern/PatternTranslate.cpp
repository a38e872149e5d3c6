// Pattern translation entry. Patterns are not matched yet: every text misses.
#include "colang/pattern/PatternTranslate.h"

const XChar* PatternTranslate(const XChar* /*pszText*/, const XLMTranslDict::XMapTransl& /*mapTransl*/) {
  return nullptr;
}
