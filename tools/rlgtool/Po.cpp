// PO export and import.
#include "Po.h"
#include "colang/detail/DictText.h"
#include "colang/detail/PoText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "Args.h"

#include "Printf.h"
#include "colang/pattern/Token.h"
#include "colang/platform/Charset.h"

namespace rlgtool {

namespace {

struct XLanguage {
  int nLangID;
  const char* pszLocale;
  const char* pszName;
};

const XLanguage kLanguages[] = {
    {0x0401, "ar_SA", "Arabic"},
    {0x0402, "bg_BG", "Bulgarian"},
    {0x0404, "zh_TW", "Chinese (Traditional)"},
    {0x0405, "cs_CZ", "Czech"},
    {0x0406, "da_DK", "Danish"},
    {0x0407, "de_DE", "German"},
    {0x0408, "el_GR", "Greek"},
    {0x0409, "en_US", "English"},
    {0x040b, "fi_FI", "Finnish"},
    {0x040c, "fr_FR", "French"},
    {0x040d, "he_IL", "Hebrew"},
    {0x040e, "hu_HU", "Hungarian"},
    {0x0410, "it_IT", "Italian"},
    {0x0411, "ja_JP", "Japanese"},
    {0x0412, "ko_KR", "Korean"},
    {0x0413, "nl_NL", "Dutch"},
    {0x0414, "nb_NO", "Norwegian"},
    {0x0415, "pl_PL", "Polish"},
    {0x0416, "pt_BR", "Portuguese (Brazil)"},
    {0x0418, "ro_RO", "Romanian"},
    {0x0419, "ru_RU", "Russian"},
    {0x041a, "hr_HR", "Croatian"},
    {0x041b, "sk_SK", "Slovak"},
    {0x041d, "sv_SE", "Swedish"},
    {0x041e, "th_TH", "Thai"},
    {0x041f, "tr_TR", "Turkish"},
    {0x0422, "uk_UA", "Ukrainian"},
    {0x0424, "sl_SI", "Slovenian"},
    {0x0804, "zh_CN", "Chinese (Simplified)"},
    {0x0807, "de_CH", "German (Switzerland)"},
    {0x0809, "en_GB", "English (United Kingdom)"},
    {0x080c, "fr_BE", "French (Belgium)"},
    {0x0816, "pt_PT", "Portuguese"},
    {0x0c07, "de_AT", "German (Austria)"},
    {0x0c0a, "es_ES", "Spanish"},
    {0x0c0c, "fr_CA", "French (Canada)"},
};

const XLanguage* LanguageFind(int nLangID) {
  for (const XLanguage& lang : kLanguages)
    if (lang.nLangID == nLangID) return &lang;
  return nullptr;
}

}  // namespace

namespace {

// The entries whose formats check gives errors for are the ones msgfmt
// checks: not those with the Windows size prefixes, which it does not know,
// nor those whose specifiers may be a percent sign before a word.
bool IsPlainCFormat(XStringView source) {
  if (!FormatIsChecked(source)) return false;
  XFormat format = FormatParse(source);
  return format.strWindows.empty() && !format.IsProse();
}

std::string Stem(const std::string& strPath) {
  size_t nSlash = strPath.find_last_of("/\\");
  std::string strName = nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
  size_t nDot = strName.rfind('.');
  if (nDot != std::string::npos) strName.erase(nDot);
  if (strName.size() >= 4) strName.erase(strName.size() - 4);
  return strName.empty() ? "catalog" : strName;
}

std::string BaseName(const std::string& strPath) {
  size_t nSlash = strPath.find_last_of("/\\");
  return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

// The flags of a "#," line: fuzzy, c-format, no-c-format (others are for other languages).
void FlagsRead(const std::string& strFlags, XPoEntry& entry) {
  size_t nStart = 0;
  while (nStart < strFlags.size()) {
    size_t nEnd = strFlags.find(',', nStart);
    if (nEnd == std::string::npos) nEnd = strFlags.size();
    size_t nFirst = strFlags.find_first_not_of(" \t", nStart);
    size_t nLast = strFlags.find_last_not_of(" \t", nEnd - 1);
    std::string strFlag = nFirst < nEnd && nLast != std::string::npos && nLast >= nFirst
                              ? strFlags.substr(nFirst, nLast - nFirst + 1)
                              : std::string();
    if (strFlag == "fuzzy") entry.bFuzzy = true;
    if (strFlag == "c-format") entry.eFormat = XFormatFlag::eFFYes;
    if (strFlag == "no-c-format") entry.eFormat = XFormatFlag::eFFNo;
    nStart = nEnd + 1;
  }
}

// Reads a C string literal at s[i] == '"'; false on a malformed one.
bool PoStringRead(const std::string& s, size_t& i, std::string& out) {
  if (i >= s.size() || s[i] != '"') return false;
  for (++i; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') {
      ++i;
      return true;
    }
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i >= s.size()) return false;
    c = s[i];
    switch (c) {
      case 'a':
        out += '\a';
        break;
      case 'b':
        out += '\b';
        break;
      case 'f':
        out += '\f';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case 't':
        out += '\t';
        break;
      case 'v':
        out += '\v';
        break;
      case '\\':
      case '"':
      case '\'':
      case '?':
        out += c;
        break;
      case 'x': {
        unsigned v = 0;
        int n = 0;
        while (i + 1 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) && n < 2) {
          char h = s[++i];
          v = v * 16 + static_cast<unsigned>(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
          ++n;
        }
        if (n == 0) return false;
        out += static_cast<char>(v);
        break;
      }
      default:
        if (c >= '0' && c <= '7') {
          unsigned v = static_cast<unsigned>(c - '0');
          for (int n = 1; n < 3 && i + 1 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '7'; ++n)
            v = v * 8 + static_cast<unsigned>(s[++i] - '0');
          out += static_cast<char>(v);
          break;
        }
        return false;
    }
  }
  return false;
}

std::map<std::string, std::string> HeaderFields(const std::string& strHeader) {
  std::map<std::string, std::string> fields;
  size_t nStart = 0;
  while (nStart < strHeader.size()) {
    size_t nEnd = strHeader.find('\n', nStart);
    if (nEnd == std::string::npos) nEnd = strHeader.size();
    std::string strLine = strHeader.substr(nStart, nEnd - nStart);
    size_t nColon = strLine.find(':');
    if (nColon != std::string::npos) {
      size_t nValue = strLine.find_first_not_of(' ', nColon + 1);
      fields[strLine.substr(0, nColon)] = nValue == std::string::npos ? "" : strLine.substr(nValue);
    }
    nStart = nEnd + 1;
  }
  return fields;
}

}  // namespace

std::string LocaleName(int nLangID) {
  const XLanguage* pLang = LanguageFind(nLangID);
  return pLang != nullptr ? pLang->pszLocale : "";
}

int LangIDFromLocale(const std::string& strLocale) {
  std::string strName = strLocale.substr(0, strLocale.find_first_of(".@"));
  for (char& c : strName)
    if (c == '-') c = '_';
  if (strName.empty()) return 0;
  for (const XLanguage& lang : kLanguages)
    if (strName == lang.pszLocale) return lang.nLangID;
  // A bare language ("fr") takes the first region of the table.
  for (const XLanguage& lang : kLanguages)
    if (strName.find('_') == std::string::npos && std::string(lang.pszLocale).compare(0, 3, strName + "_") == 0)
      return lang.nLangID;
  return 0;
}

std::string LanguageName(int nLangID) {
  const XLanguage* pLang = LanguageFind(nLangID);
  return pLang != nullptr ? pLang->pszName : "";
}

std::string PoHeaderText(const XCatHeader& header, int nLangID, const std::string& strProject,
                         const std::string& strDate) {
  std::string strHeader = "Project-Id-Version: " + strProject + "\n" + "PO-Revision-Date: " + strDate + "\n" +
                          "Last-Translator: \n"
                          "Language-Team: \n"
                          "Language: " +
                          LocaleName(nLangID) + "\n" +
                          "MIME-Version: 1.0\n"
                          "Content-Type: text/plain; charset=UTF-8\n"
                          "Content-Transfer-Encoding: 8bit\n";
  if (!header.strLanguageLine.empty()) {
    strHeader += "X-RLG-Language-Line: " + Utf8FromText(header.strLanguageLine) + "\n";
    strHeader += "X-RLG-Title: " + Utf8FromText(header.strTitle) + "\n";
  }
  strHeader += std::string("X-RLG-Encoding: ") + EncodingName(header.eEncoding) + "\n";
  strHeader += std::string("X-RLG-Line-Ends: ") + (header.bCRLF ? "CRLF" : "LF") + "\n";
  if (header.nTrailingBlank > 0)
    strHeader += "X-RLG-Trailing-Blank-Lines: " + std::to_string(header.nTrailingBlank) + "\n";
  return colang::detail::PoHeaderEntry(strHeader);
}

std::string PoEntryText(const XPoOut& entry) {
  colang::detail::XPoMessage message;
  if (entry.nBlankBefore > 0)
    message.vecComments.push_back("#. rlg: " + std::to_string(entry.nBlankBefore) + " blank line" +
                                  (entry.nBlankBefore == 1 ? "" : "s") + " before");
  if (entry.nID != 0) message.vecComments.push_back("#. resource identifier " + std::to_string(entry.nID));
  message.vecComments.insert(message.vecComments.end(), entry.vecComments.begin(), entry.vecComments.end());
  const bool bCFormat = entry.nID == 0 && IsPlainCFormat(entry.strSource);
  message.strFlags =
      std::string(entry.bFuzzy ? "fuzzy" : "") + (entry.bFuzzy && bCFormat ? ", " : "") + (bCFormat ? "c-format" : "");
  message.strPrevious = Utf8FromText(entry.strPrevious);
  message.bObsolete = entry.bObsolete;
  message.strId = Utf8FromText(entry.strSource);
  message.strStr = Utf8FromText(entry.strTransl);
  return colang::detail::PoMessageText(message);
}

std::string PoFromCatalog(const XCatalog& cat, const std::string& strFile, const std::string& strDate, XDiag& diag) {
  XCatHeader header;
  if (cat.HasHeader()) {
    header.strLanguageLine = cat.LanguageLine();
    header.strTitle = cat.TitleLine();
  }
  header.eEncoding = cat.text.eEncoding;
  header.bCRLF = cat.text.bCRLF;
  header.nTrailingBlank = cat.nTrailingBlank;
  std::string out =
      "# Translations of " + Stem(cat.strPath) + ", exported from " + BaseName(cat.strPath) + " by rlgtool.\n" +
      PoHeaderText(header, cat.nLangIDHeader != 0 ? cat.nLangIDHeader : cat.nLangIDName, Stem(cat.strPath), strDate);

  // Each source once, at its first place, with the translation read last.
  std::map<std::pair<unsigned, XString>, size_t> mapLast;
  for (size_t i = 0; i < cat.vecEntries.size(); ++i) {
    const XCatEntry& e = cat.vecEntries[i];
    mapLast[{e.nID, e.strSource}] = i;
  }
  std::map<std::pair<unsigned, XString>, bool> mapDone;
  std::string strRef = BaseName(cat.strPath);
  for (const XCatEntry& entry : cat.vecEntries) {
    auto key = std::make_pair(entry.nID, entry.strSource);
    if (mapDone[key]) {
      diag.Warning(strFile, entry.nSourceLine,
                   "repeated source " + Quoted(entry.strSource) +
                       " is exported once, at its first place, with the translation the library keeps");
      continue;
    }
    mapDone[key] = true;
    const XCatEntry& winner = cat.vecEntries[mapLast[key]];
    if (winner.strTransl.empty())
      diag.Warning(
          strFile, winner.nTranslLine,
          "empty translation of " + Quoted(entry.strSource) + " is exported as untranslated; import-po leaves it out");
    XPoOut po;
    po.nBlankBefore = entry.nBlankBefore;
    po.nID = entry.nID;
    po.vecComments.push_back("#: " + strRef + ":" + std::to_string(entry.nSourceLine));
    po.strSource = entry.strSource;
    po.strTransl = winner.strTransl;
    out += PoEntryText(po);
  }
  return out;
}

bool PoParse(const std::string& strText, const std::string& strFile, XDiag& diag, std::vector<XPoEntry>& vecOut) {
  XPoEntry entry;
  bool bHasId = false, bHasStr = false;
  std::string* pField = nullptr;
  bool bOk = true;
  auto flush = [&]() {
    if (bHasId) vecOut.push_back(entry);
    entry = XPoEntry();
    bHasId = bHasStr = false;
    pField = nullptr;
  };

  size_t nStart = strText.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  int nLine = 0;
  std::string strDummy;
  while (nStart < strText.size()) {
    size_t nEnd = strText.find('\n', nStart);
    if (nEnd == std::string::npos) nEnd = strText.size();
    std::string line = strText.substr(nStart, nEnd - nStart);
    nStart = nEnd + 1;
    ++nLine;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos) continue;

    if (line[i] == '#' && bHasStr) flush();
    if (line.compare(i, 2, "#~") == 0) {
      // An obsolete entry is not read; the comments and flags before it were its own.
      entry.bObsolete = true;
      continue;
    }
    if (entry.bObsolete) entry = XPoEntry();
    if (line[i] == '#') {
      if (line.compare(i, 2, "#,") == 0) {
        FlagsRead(line.substr(i + 2), entry);
      } else if (line.compare(i, 8, "#. rlg: ") == 0 && line.find(" blank line", i) != std::string::npos) {
        entry.nBlankBefore = std::atoi(line.c_str() + i + 8);
      } else if (line.compare(i, 22, "#. resource identifier") == 0) {
        entry.bIdentifier = true;
      } else if (line.compare(i, 2, "#.") == 0 || line.compare(i, 2, "#:") == 0) {
        entry.vecComments.push_back(line.substr(i));
      }
      continue;
    }
    if (line[i] == '"') {
      if (pField == nullptr) {
        diag.Error(strFile, nLine, "string without a keyword before it");
        bOk = false;
        continue;
      }
      std::string strValue;
      if (!PoStringRead(line, i, strValue) || line.find_first_not_of(" \t", i) != std::string::npos) {
        diag.Error(strFile, nLine, "malformed string");
        bOk = false;
        continue;
      }
      *pField += strValue;
      continue;
    }
    size_t nKeyEnd = line.find_first_of(" \t\"", i);
    std::string strKey = line.substr(i, nKeyEnd == std::string::npos ? std::string::npos : nKeyEnd - i);
    if ((strKey == "msgctxt" || strKey == "msgid") && (bHasStr || bHasId)) flush();
    if (strKey == "msgctxt") {
      entry.nLine = nLine;
      entry.bContext = true;
      pField = &entry.strContext;
    } else if (strKey == "msgid") {
      if (!entry.bContext) entry.nLine = nLine;
      bHasId = true;
      pField = &entry.strId;
    } else if (strKey == "msgid_plural") {
      entry.bPlural = true;
      pField = &strDummy;
    } else if (strKey == "msgstr" || strKey == "msgstr[0]") {
      bHasStr = true;
      entry.nStrLine = nLine;
      pField = &entry.strStr;
    } else if (strKey.compare(0, 7, "msgstr[") == 0) {
      bHasStr = true;
      pField = &strDummy;
    } else {
      diag.Error(strFile, nLine, "unknown keyword \"" + strKey + "\"");
      bOk = false;
      pField = nullptr;
      continue;
    }
    size_t q = line.find_first_not_of(" \t", i + strKey.size());
    std::string strValue;
    if (q == std::string::npos || !PoStringRead(line, q, strValue) ||
        line.find_first_not_of(" \t", q) != std::string::npos) {
      diag.Error(strFile, nLine, "malformed string after " + strKey);
      bOk = false;
      continue;
    }
    *pField += strValue;
    if (pField == &strDummy) strDummy.clear();
  }
  flush();
  return bOk;
}

bool PoHeaderRead(const std::vector<XPoEntry>& vecEntries, int nLangID, const std::string& strFile, XDiag& diag,
                  XCatHeader& header) {
  std::map<std::string, std::string> fields;
  for (const XPoEntry& e : vecEntries) {
    if (e.strId.empty() && !e.bContext && !e.bObsolete) {
      fields = HeaderFields(e.strStr);
      break;
    }
  }

  // The language line and title travel in the header; a different --lang gets its own.
  auto itLine = fields.find("X-RLG-Language-Line");
  if (itLine != fields.end()) {
    unsigned nValue = 0;
    XString strLine = TextFromUtf8(itLine->second);
    if (HexScan(nValue, strLine) == 4 && nValue != 0 && (nLangID == 0 || static_cast<int>(nValue) == nLangID)) {
      header.strLanguageLine = strLine;
      nLangID = static_cast<int>(nValue);
      auto itTitle = fields.find("X-RLG-Title");
      if (itTitle != fields.end()) header.strTitle = TextFromUtf8(itTitle->second);
    }
  }
  auto itLocale = fields.find("Language");
  if (nLangID <= 0 && itLocale != fields.end()) nLangID = LangIDFromLocale(itLocale->second);
  if (nLangID <= 0) {
    diag.Error(strFile, 0, "the PO file names no catalog language; give one with --lang, like --lang 0407");
    return false;
  }
  if (header.strLanguageLine.empty()) {
    char sz[16];
    std::snprintf(sz, sizeof sz, "%04x", static_cast<unsigned>(nLangID));
    header.strLanguageLine = TextFromUtf8(sz);
  }
  if (header.strTitle.empty()) {
    std::string strName = LanguageName(nLangID);
    header.strTitle = TextFromUtf8(strName.empty() ? "Language " + Utf8FromText(header.strLanguageLine) : strName);
  }
  auto itEncoding = fields.find("X-RLG-Encoding");
  if (itEncoding != fields.end() && !EncodingFromName(itEncoding->second, header.eEncoding))
    diag.Warning(strFile, 0, "unknown X-RLG-Encoding \"" + itEncoding->second + "\"; writing UTF-8");
  auto itEnds = fields.find("X-RLG-Line-Ends");
  if (itEnds != fields.end()) header.bCRLF = itEnds->second != "LF";
  auto itTrailing = fields.find("X-RLG-Trailing-Blank-Lines");
  if (itTrailing != fields.end())
    header.nTrailingBlank = std::max(0, std::min(std::atoi(itTrailing->second.c_str()), 1000));
  return true;
}

bool CatalogFromPo(const std::vector<XPoEntry>& vecEntries, int nLangID, bool bPluralFirst, const std::string& strFile,
                   XDiag& diag, XPoImport& out) {
  XCatHeader header;
  if (!PoHeaderRead(vecEntries, nLangID, strFile, diag, header)) return false;
  out.eEncoding = header.eEncoding;
  out.bCRLF = header.bCRLF;

  std::vector<XCatEntry> vecCat;
  // Each msgid with the line and context of its first entry, and its place in vecCat.
  struct XSeen {
    int nLine;
    const std::string* pContext;
  };
  std::map<std::string, XSeen> mapSeen;
  bool bHeaderSeen = false;
  for (const XPoEntry& e : vecEntries) {
    if (e.bObsolete) continue;
    if (e.strId.empty() && !e.bContext && !bHeaderSeen) {
      bHeaderSeen = true;
      continue;
    }
    if (e.bPlural && !bPluralFirst) {
      ++out.nPlural;
      continue;
    }
    if (e.strId.empty()) {
      diag.Warning(strFile, e.nLine, "empty msgid cannot be written to a catalog; entry skipped");
      continue;
    }
    if (e.bFuzzy) {
      ++out.nFuzzy;
      continue;
    }
    if (e.strStr.empty()) {
      ++out.nUntranslated;
      continue;
    }
    XString strId = TextFromUtf8(e.strId);
    auto it = mapSeen.find(e.strId);
    if (it != mapSeen.end() && (e.bContext || it->second.pContext != nullptr)) {
      auto context = [](const std::string* pContext) {
        return pContext == nullptr ? std::string("no msgctxt") : "msgctxt " + Quoted(TextFromUtf8(*pContext));
      };
      diag.Warning(strFile, e.nLine,
                   Quoted(strId) + " (" + context(e.bContext ? &e.strContext : nullptr) +
                       ") differs from the entry at line " + std::to_string(it->second.nLine) + " (" +
                       context(it->second.pContext) + ") only by its context; catalogs have none, the one at line " +
                       std::to_string(it->second.nLine) + " is kept");
      continue;
    }
    if (it != mapSeen.end()) {
      diag.Warning(
          strFile, e.nLine,
          "repeated msgid (first at line " + std::to_string(it->second.nLine) + "); the later translation wins");
    }
    XCatEntry cat;
    cat.nID = colang::detail::IDFromLine(strId);
    if (cat.nID != 0 && !e.bIdentifier)
      diag.Warning(strFile, e.nLine,
                   Quoted(strId) + " is read as resource identifier " + std::to_string(cat.nID) +
                       " in a catalog, not as a text");
    cat.strSource = std::move(strId);
    cat.nBlankBefore = std::max(0, std::min(e.nBlankBefore, 1000));
    cat.strTransl = TextFromUtf8(e.strStr);
    if (cat.nID == 0) {
      XFormatVerdict verdict =
          FormatCheck(cat.strSource, cat.strTransl, e.eFormat, XTokVec(cat.strSource.c_str()).HasFormat());
      if (!verdict.strError.empty()) diag.Error(strFile, e.nStrLine, verdict.strError);
      for (const std::string& strWarning : verdict.vecWarnings) diag.Warning(strFile, e.nStrLine, strWarning);
    }
    if (e.bContext) ++out.nContextDropped;
    if (it == mapSeen.end()) mapSeen.emplace(e.strId, XSeen{e.nLine, e.bContext ? &e.strContext : nullptr});
    vecCat.push_back(std::move(cat));
  }
  if (out.nPlural > 0)
    diag.Warning(strFile, 0,
                 std::to_string(out.nPlural) + " plural entr" + (out.nPlural == 1 ? "y" : "ies") +
                     " skipped; catalogs have no plural forms (--plural=first imports msgstr[0] for the singular "
                     "text)");
  out.nEntries = static_cast<int>(vecCat.size());
  out.vecLines = CatalogLines(header.strLanguageLine, header.strTitle, vecCat, header.nTrailingBlank);
  return true;
}

namespace {

// The charset that the header entry's Content-Type names, or an empty string.
// The header comes first and is ASCII in every charset gettext allows, so it
// is found in the bytes before they are decoded.
std::string PoCharset(std::string_view bytes) {
  size_t nStart = bytes.find("msgid \"\"");
  if (nStart == std::string_view::npos || (nStart > 0 && bytes[nStart - 1] != '\n')) return "";
  size_t nEnd = bytes.find("\nmsgid", nStart + 1);
  size_t nContext = bytes.find("\nmsgctxt", nStart + 1);
  std::string_view header = bytes.substr(nStart, std::min(nEnd, nContext) - nStart);
  size_t nCharset = header.find("charset=");
  if (nCharset == std::string_view::npos) return "";
  size_t nValue = nCharset + 8;
  size_t nValueEnd = nValue;
  while (nValueEnd < header.size() &&
         (std::isalnum(static_cast<unsigned char>(header[nValueEnd])) || std::strchr("-_.:", header[nValueEnd])))
    ++nValueEnd;
  return std::string(header.substr(nValue, nValueEnd - nValue));
}

bool IsUtf8Name(std::string strCharset) {
  for (char& c : strCharset) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  // ASCII is a part of UTF-8; CHARSET is what a template says before a translator chose.
  return strCharset.empty() || strCharset == "UTF-8" || strCharset == "UTF8" || strCharset == "CHARSET" ||
         strCharset == "ASCII" || strCharset == "US-ASCII" || strCharset == "ANSI_X3.4-1968";
}

}  // namespace

int PoFileRead(const std::string& strPath, XDiag& diag, std::vector<XPoEntry>& vecOut) {
  XFileBytes file = FileBytesRead(strPath);
  if (!file.strError.empty()) {
    diag.Error(strPath, 0, file.strError);
    return eExitUsage;
  }
  if (file.strBytes.find('\0') != std::string::npos) {
    XDecodedText text = TextDecode(file.strBytes, false);
    diag.Error(strPath, text.nNulLine, "binary file, not a PO file");
    return eExitUsage;
  }
  std::string strCharset = PoCharset(file.strBytes);
  std::string strUtf8;
  if (IsUtf8Name(strCharset)) {
    XDecodedText text = TextDecode(file.strBytes, false);
    for (const XDecodeProblem& problem : text.vecProblems)
      diag.Error(strPath, problem.nLine,
                 problem.strText + "; the file says it is " + (strCharset.empty() ? "UTF-8" : strCharset) +
                     " (its header's Content-Type names the charset)");
    if (!text.vecProblems.empty()) return eExitProblems;
    strUtf8 = std::move(file.strBytes);
  } else {
    XString strText;
    colang::platform::XCharsetResult eResult =
        colang::platform::CharsetDecode(strCharset.c_str(), file.strBytes, strText);
    if (eResult == colang::platform::eCSUnknown) {
      diag.Error(strPath, 0,
                 "unknown charset \"" + strCharset +
                     "\" in the header's Content-Type; convert the file to UTF-8 (msgconv --to-code=UTF-8)");
      return eExitProblems;
    }
    if (eResult == colang::platform::eCSInvalid) {
      // Find the line: no charset that PO files use has a line feed inside a character.
      int nLine = 1;
      for (size_t nStart = 0; nStart < file.strBytes.size(); ++nLine) {
        size_t nEnd = std::min(file.strBytes.find('\n', nStart), file.strBytes.size());
        XString strLine;
        if (colang::platform::CharsetDecode(strCharset.c_str(),
                                            std::string_view(file.strBytes).substr(nStart, nEnd - nStart),
                                            strLine) != colang::platform::eCSOk)
          break;
        nStart = nEnd + 1;
      }
      diag.Error(strPath, nLine, "bytes that are not " + strCharset + ", the charset the header names");
      return eExitProblems;
    }
    strUtf8 = Utf8FromText(strText);
  }
  return PoParse(strUtf8, strPath, diag, vecOut) ? eExitOk : eExitProblems;
}

}  // namespace rlgtool
