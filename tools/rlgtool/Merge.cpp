// rlgtool merge, and the reading and writing of entry sets it shares with pseudo.
#include "Merge.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "Commands.h"
#include "colang/detail/DictText.h"
#include "colang/detail/TextCodec.h"

namespace rlgtool {

namespace {

bool IsBlank(XChar c) {
  return c == XChar(' ') || c == XChar('\n') || c == XChar('\r') || c == XChar(0xA0) || c == XChar(0x202F);
}

bool EndsWith(const XString& s, XStringView suffix) {
  return s.size() >= suffix.size() && XStringView(s).substr(s.size() - suffix.size()) == suffix;
}

// A character a new mnemonic may stand on: a letter of any script, not a
// digit, blank, punctuation or symbol.
bool IsLetter(XChar c) {
  auto u = static_cast<char16_t>(c);
  return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') ||
         (u >= 0xC0 && u != 0xD7 && u != 0xF7 && !(u >= 0x2000 && u <= 0x2BFF) && !(u >= 0x3000 && u <= 0x303F) &&
          !(u >= 0xFF00 && u <= 0xFF20) && !colang::detail::IsSurrogate(u));
}

// An accelerator ("Ctrl+Shift+O") with the keys renamed as the old one was
// translated: "Ctrl+O" as "Strg+O" makes "Ctrl+Shift+P" "Strg+Shift+P".
XString AccelAdapt(XStringView oldAccel, XStringView oldTransl, XStringView newAccel) {
  auto split = [](XStringView s) {
    std::vector<XString> parts;
    size_t nStart = 0;
    for (size_t i = 0; i <= s.size(); ++i) {
      if (i < s.size() && (s[i] != XChar('+') || i == nStart)) continue;
      parts.emplace_back(s.substr(nStart, i - nStart));
      nStart = i + 1;
    }
    return parts;
  };
  std::vector<XString> vecOld = split(oldAccel), vecTransl = split(oldTransl);
  std::map<XString, XString> mapKeys;
  if (vecOld.size() == vecTransl.size())
    for (size_t i = 0; i < vecOld.size(); ++i) mapKeys.emplace(vecOld[i], vecTransl[i]);
  XString out;
  for (const XString& strPart : split(newAccel)) {
    auto it = mapKeys.find(strPart);
    out += (out.empty() ? XString() : XString(XT("+"))) + (it != mapKeys.end() ? it->second : strPart);
  }
  return out;
}

// The key under which texts that differ only in what merge adapts meet.
XString LabelKey(XStringView text) { return LabelSplit(text).strCore; }

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

}  // namespace

bool IsPoName(const std::string& strPath) {
  std::string strLower = Lower(strPath);
  auto ends = [&](const char* pszSuffix) {
    size_t n = std::strlen(pszSuffix);
    return strLower.size() > n && strLower.compare(strLower.size() - n, n, pszSuffix) == 0;
  };
  return ends(".po") || ends(".pot");
}

XLabel LabelSplit(XStringView text) {
  XLabel label;
  size_t nTab = text.find(XChar('\t'));
  XStringView body = text.substr(0, nTab);
  if (nTab != XStringView::npos) {
    label.bAccel = true;
    label.strAccel = XString(text.substr(nTab + 1));
  }
  size_t nFirst = 0, nLast = body.size();
  while (nFirst < nLast && IsBlank(body[nFirst])) ++nFirst;
  while (nLast > nFirst && IsBlank(body[nLast - 1])) --nLast;
  label.strLead = XString(body.substr(0, nFirst));
  label.strTrail = XString(body.substr(nLast));
  XString strBody(body.substr(nFirst, nLast - nFirst));
  for (bool bCut = true; bCut;) {
    bCut = false;
    for (XStringView ending :
         {XStringView(XT("...")), XStringView(XT("\u2026")), XStringView(XT(":")), XStringView(XT("\uFF1A"))}) {
      if (!EndsWith(strBody, ending) || strBody.size() == ending.size()) continue;
      size_t nCut = strBody.size() - ending.size();
      while (nCut > 0 && IsBlank(strBody[nCut - 1])) --nCut;
      label.strEnd = strBody.substr(nCut) + label.strEnd;
      strBody.erase(nCut);
      bCut = !strBody.empty();
      break;
    }
  }
  for (size_t i = 0; i < strBody.size(); ++i) {
    if (strBody[i] != XChar('&') || i + 1 == strBody.size()) {
      label.strCore += strBody[i];
    } else if (strBody[i + 1] == XChar('&')) {
      label.strCore += XT("&&");
      ++i;
    } else if (label.nMnemonic < 0) {
      label.nMnemonic = static_cast<int>(label.strCore.size());
    }
  }
  return label;
}

XString LabelJoin(const XLabel& label) {
  XString strCore = label.strCore;
  if (label.nMnemonic >= 0 && static_cast<size_t>(label.nMnemonic) <= strCore.size())
    strCore.insert(static_cast<size_t>(label.nMnemonic), 1, XChar('&'));
  XString out = label.strLead + strCore + label.strEnd + label.strTrail;
  if (label.bAccel) out += XChar('\t') + label.strAccel;
  return out;
}

XString TranslationAdapt(XStringView oldSource, XStringView oldTransl, XStringView newSource) {
  XLabel o = LabelSplit(oldSource), n = LabelSplit(newSource), r = LabelSplit(oldTransl);
  if (o.strLead != n.strLead) r.strLead = n.strLead;
  if (o.strTrail != n.strTrail) r.strTrail = n.strTrail;
  if (o.strEnd != n.strEnd) r.strEnd = n.strEnd;
  if (n.nMnemonic < 0 && r.nMnemonic >= 0) {
    // "開く(&O)": the letter in parentheses goes with its mnemonic.
    auto m = static_cast<size_t>(r.nMnemonic);
    if (m > 0 && m + 1 < r.strCore.size() && r.strCore[m - 1] == XChar('(') && r.strCore[m + 1] == XChar(')'))
      r.strCore.erase(m - 1, 3);
    r.nMnemonic = -1;
  } else if (n.nMnemonic >= 0 && r.nMnemonic < 0) {
    for (size_t i = 0; i < r.strCore.size() && r.nMnemonic < 0; ++i)
      if (IsLetter(r.strCore[i])) r.nMnemonic = static_cast<int>(i);
  }
  if (!n.bAccel) {
    r.bAccel = false;
    r.strAccel.clear();
  } else if (!(o.bAccel && r.bAccel && o.strAccel == n.strAccel)) {
    r.strAccel = o.bAccel && r.bAccel ? AccelAdapt(o.strAccel, r.strAccel, n.strAccel) : n.strAccel;
    r.bAccel = true;
  }
  return LabelJoin(r);
}

XMergeResult Merge(const std::vector<XTextEntry>& vecOld, const std::vector<XTextEntry>& vecTemplate) {
  // The old entries by text, identifier and adaptation key; of two equal sources the later wins.
  std::map<XString, size_t> mapText, mapKey;
  std::map<unsigned, size_t> mapID;
  std::map<XString, XString> mapRetransl;
  for (size_t i = 0; i < vecOld.size(); ++i) {
    const XTextEntry& e = vecOld[i];
    if (e.strTransl.empty()) continue;
    if (e.nID != 0) {
      mapID[e.nID] = i;
      continue;
    }
    mapText[e.strSource] = i;
    mapRetransl.emplace(e.strTransl, e.strSource);
    XString strKey = LabelKey(e.strSource);
    if (!strKey.empty()) mapKey.emplace(strKey, i);
  }
  std::vector<bool> vecUsed(vecOld.size(), false);
  XMergeResult result;
  // The translation for a text: its own, else an adapted one; false for none.
  auto textFind = [&](const XString& strText, XTextEntry& out) {
    auto it = mapText.find(strText);
    if (it != mapText.end()) {
      const XTextEntry& old = vecOld[it->second];
      vecUsed[it->second] = true;
      out.strTransl = old.strTransl;
      out.bFuzzy = old.bFuzzy;
      out.strFuzzyFrom = old.bFuzzy ? old.strSource : XString();
      return true;
    }
    XString strKey = LabelKey(strText);
    it = strKey.empty() ? mapKey.end() : mapKey.find(strKey);
    if (it == mapKey.end()) return false;
    const XTextEntry& old = vecOld[it->second];
    out.strTransl = TranslationAdapt(old.strSource, old.strTransl, strText);
    out.bFuzzy = true;
    out.strFuzzyFrom = old.strSource;
    return true;
  };

  std::set<std::pair<unsigned, XString>> setSeen;
  for (const XTextEntry& t : vecTemplate) {
    if (!setSeen.emplace(t.nID, t.nID != 0 ? XString() : t.strSource).second) continue;
    XTextEntry e = t;
    e.strTransl.clear();
    e.bFuzzy = false;
    bool bFound = false;
    if (t.nID != 0) {
      auto it = mapID.find(t.nID);
      if (it != mapID.end()) {
        const XTextEntry& old = vecOld[it->second];
        auto itText = mapRetransl.find(old.strTransl);
        // Renumbered when the old translation is that of another text than the one the identifier has now.
        if (t.strTransl.empty() || itText == mapRetransl.end() || itText->second == t.strTransl) {
          vecUsed[it->second] = true;
          e.strTransl = old.strTransl;
          e.bFuzzy = old.bFuzzy;
          bFound = true;
        }
      }
      if (!bFound && !t.strTransl.empty()) bFound = textFind(t.strTransl, e);
    } else {
      bFound = textFind(t.strSource, e);
    }
    if (!bFound)
      ++result.nNew;
    else if (e.bFuzzy)
      ++result.nFuzzy;
    else
      ++result.nKept;
    result.vecEntries.push_back(std::move(e));
  }
  std::set<std::pair<unsigned, XString>> setObsolete;
  for (size_t i = 0; i < vecOld.size(); ++i) {
    const XTextEntry& old = vecOld[i];
    if (vecUsed[i] || old.strTransl.empty() || setSeen.count({old.nID, old.nID != 0 ? XString() : old.strSource}))
      continue;
    if (setObsolete.emplace(old.nID, old.strSource).second) result.vecObsolete.push_back(old);
  }
  return result;
}

int TextSetRead(const std::string& strPath, int nLangID, bool bNeedLanguage, XDiag& diag, XTextSet& out) {
  out = XTextSet();
  if (IsPoName(strPath)) {
    out.bPo = true;
    std::vector<XPoEntry> vecPo;
    int nRead = PoFileRead(strPath, diag, vecPo);
    if (nRead != eExitOk) return nRead;
    if (bNeedLanguage) {
      if (!PoHeaderRead(vecPo, nLangID, strPath, diag, out.header)) return eExitProblems;
      unsigned nValue = 0;
      HexScan(nValue, out.header.strLanguageLine);
      out.nLangID = static_cast<int>(nValue);
    }
    bool bHeaderSeen = false;
    std::set<std::string> setIds;
    int nLeftOut = 0;
    for (XPoEntry& e : vecPo) {
      bool bHeader = e.strId.empty() && !e.bContext && !bHeaderSeen;
      bHeaderSeen = bHeaderSeen || bHeader;
      if (bHeader || e.bObsolete || e.strId.empty()) continue;
      // Catalogs have no context and no plural forms: the first of equal texts is taken.
      if (e.bPlural || !setIds.insert(e.strId).second) {
        ++nLeftOut;
        continue;
      }
      XTextEntry entry;
      entry.strSource = TextFromUtf8(e.strId);
      entry.nID = colang::detail::IDFromLine(entry.strSource);
      entry.nBlankBefore = e.nBlankBefore;
      entry.strTransl = TextFromUtf8(e.strStr);
      entry.bFuzzy = e.bFuzzy && !entry.strTransl.empty();
      entry.vecComments = std::move(e.vecComments);
      out.vecEntries.push_back(std::move(entry));
    }
    if (nLeftOut > 0)
      diag.Warning(strPath, 0,
                   "left out " + std::to_string(nLeftOut) + " entr" + (nLeftOut == 1 ? "y" : "ies") +
                       " a catalog cannot hold (plural forms, or told from another only by msgctxt)");
    return eExitOk;
  }
  XCatalog cat;
  if (!CatalogLoad(strPath, diag, cat)) return eExitUsage;
  if (!cat.text.vecProblems.empty()) {
    diag.Error(strPath, cat.text.vecProblems.front().nLine,
               cat.text.vecProblems.front().strText + "; rlgtool check lists the lines to fix");
    return eExitProblems;
  }
  if (bNeedLanguage && (!cat.HasHeader() || cat.nHexConsumed != 4)) {
    diag.Error(strPath, 1, "no catalog header (a language line like 0407 and a title line)");
    return eExitProblems;
  }
  if (cat.HasHeader()) {
    out.header.strLanguageLine = cat.LanguageLine();
    out.header.strTitle = cat.TitleLine();
  }
  out.header.eEncoding = cat.text.eEncoding;
  out.header.bCRLF = cat.text.bCRLF;
  out.nLangID = cat.nLangIDHeader;
  for (XCatEntry& e : cat.vecEntries) {
    XTextEntry entry;
    entry.nID = e.nID;
    entry.nBlankBefore = e.nBlankBefore;
    entry.strSource = std::move(e.strSource);
    entry.strTransl = std::move(e.strTransl);
    out.vecEntries.push_back(std::move(entry));
  }
  return eExitOk;
}

int TextSetWrite(const std::string& strOut, const XTextSet& set, const std::vector<XTextEntry>& vecObsolete,
                 bool bKeepObsolete, XDiag& diag, std::vector<int>* pvecLines) {
  if (pvecLines != nullptr) pvecLines->clear();
  if (!IsPoName(strOut)) {
    std::vector<XCatEntry> vecCat;
    int nLine = 3;
    auto add = [&](const XTextEntry& e, int nBlankBefore) {
      XCatEntry cat;
      cat.nID = e.nID;
      cat.nBlankBefore = nBlankBefore;
      cat.strSource = e.strSource;
      cat.strTransl = e.strTransl;
      nLine += nBlankBefore;
      if (pvecLines != nullptr) pvecLines->push_back(nLine);
      nLine += 2;
      vecCat.push_back(std::move(cat));
    };
    for (const XTextEntry& e : set.vecEntries) add(e, e.nBlankBefore);
    if (bKeepObsolete)
      for (size_t i = 0; i < vecObsolete.size(); ++i) add(vecObsolete[i], i == 0 ? 1 : 0);
    return CatalogOutput(strOut, CatalogLines(set.header.strLanguageLine, set.header.strTitle, vecCat),
                         set.header.eEncoding, set.header.bCRLF, diag);
  }
  size_t nSlash = strOut.find_last_of("/\\");
  std::string strName = strOut.substr(nSlash == std::string::npos ? 0 : nSlash + 1);
  std::string out = "# Translations merged by rlgtool.\n" +
                    PoHeaderText(set.header, set.nLangID, strName.substr(0, strName.rfind('.')), RevisionDate());
  auto add = [&](const XTextEntry& e, bool bObsolete) {
    XPoOut po;
    po.nBlankBefore = e.nBlankBefore;
    po.nID = e.nID;
    po.vecComments = e.vecComments;
    if (e.strFuzzyFrom != e.strSource) po.strPrevious = e.strFuzzyFrom;
    po.bFuzzy = e.bFuzzy;
    po.bObsolete = bObsolete;
    po.strSource = e.strSource;
    po.strTransl = e.strTransl;
    std::string strEntry = PoEntryText(po);
    if (pvecLines != nullptr && !bObsolete) {
      size_t nMsgid = strEntry.find("\nmsgid ");
      pvecLines->push_back(static_cast<int>(std::count(out.begin(), out.end(), '\n') +
                                            std::count(strEntry.begin(), strEntry.begin() + nMsgid + 1, '\n')) +
                           1);
    }
    out += strEntry;
  };
  for (const XTextEntry& e : set.vecEntries) add(e, false);
  for (const XTextEntry& e : vecObsolete) add(e, true);
  return OutputWrite(strOut, out, diag) ? eExitOk : eExitUsage;
}

int MergeCommand(const std::vector<std::string>& vecArgs, const XGlobal& global) {
  XArgs args(vecArgs, {"--keep-obsolete"}, {"-o", "--output", "--fuzzy-report", "--lang"});
  if (!args.Error().empty()) return UsageError("merge", args.Error(), global);
  if (args.Operands().size() != 2) return UsageError("merge", "expected OLD and TEMPLATE", global);
  int nLangID = 0;
  if (args.Has("--lang") && !LangIDArgument("merge", args.Value("--lang"), nLangID, global)) return eExitUsage;
  const std::string& strOld = args.Operands()[0];
  const std::string& strTemplate = args.Operands()[1];
  std::string strOut = args.Value("-o", args.Value("--output"));
  std::string strReport = args.Value("--fuzzy-report");

  XDiag diag(stderr, global.bColor, false);
  XTextSet old, tmpl;
  int nRead = TextSetRead(strOld, nLangID, true, diag, old);
  if (nRead == eExitOk) nRead = TextSetRead(strTemplate, 0, false, diag, tmpl);
  if (nRead != eExitOk) return nRead;

  XMergeResult result = Merge(old.vecEntries, tmpl.vecEntries);
  bool bPo = IsPoName(strOut);
  XTextSet merged;
  merged.header = old.header;
  merged.nLangID = old.nLangID;
  merged.vecEntries = std::move(result.vecEntries);
  std::map<unsigned, XString> mapIDText;
  for (const XTextEntry& t : tmpl.vecEntries)
    if (t.nID != 0 && !t.strTransl.empty()) mapIDText.emplace(t.nID, t.strTransl);
  for (XTextEntry& e : merged.vecEntries) {
    // The text an identifier stands for, for the translator; untranslated
    // catalog entries translate to themselves.
    auto it = e.nID != 0 ? mapIDText.find(e.nID) : mapIDText.end();
    if (bPo && it != mapIDText.end()) e.vecComments.push_back("#. text: " + Quoted(it->second, 200));
    if (!bPo && e.strTransl.empty()) e.strTransl = it != mapIDText.end() ? it->second : e.strSource;
  }
  std::vector<int> vecLines;
  int nWritten = TextSetWrite(strOut, merged, result.vecObsolete, args.Has("--keep-obsolete"), diag, &vecLines);
  if (nWritten != eExitOk) return nWritten;

  std::string strShown = strOut.empty() || strOut == "-" ? "<stdout>" : strOut;
  if (!strReport.empty()) {
    std::string strText;
    for (size_t i = 0; i < merged.vecEntries.size(); ++i) {
      const XTextEntry& e = merged.vecEntries[i];
      if (!e.bFuzzy) continue;
      strText += strShown + ":" + std::to_string(vecLines[i]) + ": " + Quoted(e.strSource, 200) + "\n  was " +
                 Quoted(e.strFuzzyFrom, 200) + "\n  now " + Quoted(e.strTransl, 200) + "\n";
    }
    if (!OutputWrite(strReport, strText, diag)) return eExitUsage;
  }
  std::string strSummary = std::to_string(result.nKept) + " kept, " + std::to_string(result.nFuzzy) + " fuzzy, " +
                           std::to_string(result.nNew) + " new, " + std::to_string(result.vecObsolete.size()) +
                           " obsolete";
  if (!result.vecObsolete.empty())
    strSummary += bPo                           ? " (kept as #~ entries)"
                  : args.Has("--keep-obsolete") ? " (kept at the end)"
                                                : " (dropped; --keep-obsolete keeps them at the end)";
  diag.Note(strShown, 0, strSummary);
  if (!bPo && result.nFuzzy > 0)
    diag.Note(strShown, 0,
              "a catalog has no fuzzy flag: the " + std::to_string(result.nFuzzy) +
                  " fuzzy translations are in it unreviewed" +
                  (strReport.empty() ? "; --fuzzy-report FILE lists them" : ", listed in " + strReport));
  return eExitOk;
}

}  // namespace rlgtool
