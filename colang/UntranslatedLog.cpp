// The untranslated-text log and the two exported functions that run it.
#include "colang/detail/UntranslatedLog.h"

#include <string>

#include "colang/CoLangTrans.h"
#include "colang/detail/DictText.h"
#include "colang/detail/Format.h"
#include "colang/detail/Globals.h"
#include "colang/detail/PoText.h"
#include "colang/detail/TextCodec.h"
#include "colang/platform/FileWrite.h"

namespace colang::detail {

namespace {

bool EndsWithPo(const XString& strPath) {
  if (strPath.size() < 3) return false;
  XStringView ext = XStringView(strPath).substr(strPath.size() - 3);
  return (ext[0] == XChar('.')) && (ext[1] == XChar('p') || ext[1] == XChar('P')) &&
         (ext[2] == XChar('o') || ext[2] == XChar('O'));
}

}  // namespace

XUntranslatedLog::~XUntranslatedLog() {
  if (!m_bWritten) Write();
}

void XUntranslatedLog::Record(const XChar* pszText, int nLangID) {
  if (pszText == nullptr || *pszText == 0) return;
  if (m_nLangID == 0) m_nLangID = nLangID;
  std::set<XString>& setOrigins = m_mapTexts[XString(pszText)];
  setOrigins.insert(g_pszUntranslatedOrigin != nullptr ? XString(g_pszUntranslatedOrigin) : XString(XT("text")));
}

bool XUntranslatedLog::Write() {
  m_bWritten = true;
  std::string strOut;
  const std::string strLang = Utf8FromText(HexFormat(static_cast<unsigned>(m_nLangID != 0 ? m_nLangID : 0x409), 4));
  if (EndsWithPo(m_strPath)) {
    strOut = "# Texts the application showed without a translation.\n" +
             PoHeaderEntry("Content-Type: text/plain; charset=UTF-8\nX-Language-ID: " + strLang + "\n");
    for (const auto& [strText, setOrigins] : m_mapTexts) {
      XPoMessage message;
      for (const XString& strOrigin : setOrigins) message.vecComments.push_back("#. " + Utf8FromText(strOrigin));
      message.strId = Utf8FromText(strText);
      strOut += PoMessageText(message);
    }
  } else {
    strOut = strLang + " untranslated\nTexts the application showed without a translation\n";
    for (const auto& entry : m_mapTexts) {
      // A text written like an identifier line would be read as one.
      if (IDFromLine(entry.first) != 0) continue;
      const std::string strLine = Utf8FromText(StringEscape(entry.first));
      strOut += strLine + "\n" + strLine + "\n";
    }
  }
  return platform::FileWriteAll(m_strPath.c_str(), strOut);
}

XUntranslatedOrigin::XUntranslatedOrigin(const XChar* pszOrigin) : m_pszSaved(g_pszUntranslatedOrigin) {
  g_pszUntranslatedOrigin = pszOrigin;
}

XUntranslatedOrigin::~XUntranslatedOrigin() { g_pszUntranslatedOrigin = m_pszSaved; }

bool UntranslatedLogActive() { return g_ptrUntranslatedLog != nullptr; }

}  // namespace colang::detail

int CoUntranslatedLogStart(const XChar* pszPath) {
  using colang::detail::g_ptrUntranslatedLog;
  if (pszPath == nullptr || *pszPath == 0) return 0;
  // A log already running is written before the new one starts.
  g_ptrUntranslatedLog.reset();
  g_ptrUntranslatedLog = std::make_unique<colang::detail::XUntranslatedLog>(XString(pszPath));
  return 1;
}

int CoUntranslatedLogStop() {
  using colang::detail::g_ptrUntranslatedLog;
  if (g_ptrUntranslatedLog == nullptr) return 0;
  bool bWritten = g_ptrUntranslatedLog->Write();
  g_ptrUntranslatedLog.reset();
  return bWritten ? 1 : 0;
}
