// Patterns of a translation map, through a private pattern translator so that
// the process-wide one is not touched.
#include "Patterns.h"

#include "colang/detail/DictAccess.h"
#include "colang/pattern/MapTokVecTransl.h"
#include "colang/pattern/Token.h"

namespace rlgtool {

std::vector<XPatternInfo> PatternsCollect(const XLMTranslDict::XMapTransl& mapTransl) {
  XMapTokVecTransl translator;
  translator.TranslMapCollect(mapTransl);
  std::vector<XPatternInfo> out;
  for (const auto& [strSource, strTransl] : mapTransl) {
    if (strSource.find(XChar('%')) == XStringView::npos) continue;
    XTokVec tokens(strSource.data());
    if (!tokens.HasFormat()) continue;
    XPatternInfo info{XString(strSource), XString(strTransl), XString()};
    if (const XChar* pszWinner = translator.PatternSource(tokens, true))
      if (XStringView(pszWinner) != strSource) info.strShadowedBy = pszWinner;
    out.push_back(std::move(info));
  }
  return out;
}

std::vector<XPatternInfo> PatternsCollect(const XTextPairs& vecTexts) {
  XLMTranslDict dict;
  XLMTranslDictAccess::InsertAll(dict, vecTexts);
  return PatternsCollect(XLMTranslDictAccess::TranslMap(dict));
}

}  // namespace rlgtool
