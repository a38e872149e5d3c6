// XLMTranslDict: catalog file names, language identifiers in names, and the
// completion of partial names.
#include "colang/LMTranslDict.h"

void XLMTranslDict::SetDefaultDir(const XChar* pszDir) {
  if (pszDir != nullptr) m_strDefaultDir.assign(pszDir);
  if (!m_strDefaultDir.empty() && m_strDefaultDir.back() != XChar('\\') && m_strDefaultDir.back() != XChar('/'))
    m_strDefaultDir += XChar('\\');
}
