// Inside access to a dictionary for the library's own tools and tests: filling
// it entry by entry and walking its maps. Not part of the installed API.
#pragma once

#include "colang/LMTranslDict.h"

struct XLMTranslDictAccess {
  static void Insert(XLMTranslDict& dict, const XChar* pszSource, const XChar* pszTransl) {
    dict.PairInsert(pszSource, pszTransl);
  }
  static void Insert(XLMTranslDict& dict, unsigned int nID, const XChar* pszTransl) { dict.PairInsert(nID, pszTransl); }
  static const XLMTranslDict::XMapTransl& TranslMap(const XLMTranslDict& dict) { return dict.m_mapTransl; }
  static const XLMTranslDict::XMapTransl& RetranslMap(const XLMTranslDict& dict) { return dict.m_mapRetransl; }
  static const XLMTranslDict::XMapIdTransl& IdMap(const XLMTranslDict& dict) { return dict.m_mapIdTransl; }
  static const XString& DefaultDir(const XLMTranslDict& dict) { return dict.m_strDefaultDir; }
};
