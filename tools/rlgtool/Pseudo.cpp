// rlgtool pseudo.
#include "Pseudo.h"

#include <cstdio>
#include <cstdlib>

#include "Commands.h"
#include "Merge.h"
#include "Printf.h"

namespace rlgtool {

namespace {

// Look-alikes of the letters a to z and A to Z that common user-interface
// fonts have (Latin-1, Latin Extended-A, a few Greek); 0 keeps the letter.
const char16_t kLower[26] = {u'\u00E5', 0,         u'\u00E7', u'\u010F', u'\u00E9', u'\u0192', u'\u011D',
                             u'\u0125', u'\u00EE', u'\u0135', u'\u0137', u'\u013E', 0,         u'\u00F1',
                             u'\u00F6', u'\u03C1', 0,         u'\u0155', u'\u0161', u'\u0163', u'\u00FC',
                             u'\u03BD', u'\u0175', u'\u03C7', u'\u00FD', u'\u017E'};
const char16_t kUpper[26] = {u'\u00C5', 0,         u'\u00C7', u'\u010E', u'\u00C9', u'\u0191', u'\u011C',
                             u'\u0124', u'\u00CE', u'\u0134', u'\u0136', u'\u013D', 0,         u'\u00D1',
                             u'\u00D6', 0,         0,         u'\u0154', u'\u0160', u'\u0162', u'\u00DC',
                             0,         u'\u0174', 0,         u'\u00DD', u'\u017D'};

XChar LookAlike(XChar c) {
  char16_t u = 0;
  if (c >= XChar('a') && c <= XChar('z')) u = kLower[c - XChar('a')];
  if (c >= XChar('A') && c <= XChar('Z')) u = kUpper[c - XChar('A')];
  return u != 0 ? static_cast<XChar>(u) : c;
}

bool IsEdgeBlank(XChar c) { return c == XChar(' ') || c == XChar('\n') || c == XChar('\r'); }

}  // namespace

XString PseudoText(XStringView text, int nExpandPercent) {
  size_t nTab = text.find(XChar('\t'));
  XStringView label = text.substr(0, nTab);
  size_t nFirst = 0, nLast = label.size();
  while (nFirst < nLast && IsEdgeBlank(label[nFirst])) ++nFirst;
  while (nLast > nFirst && IsEdgeBlank(label[nLast - 1])) --nLast;
  if (nFirst == nLast) return XString(text);
  XStringView body = label.substr(nFirst, nLast - nFirst);
  XString out(label.substr(0, nFirst));
  out += XChar('[');
  size_t nShown = 0;
  for (size_t i = 0; i < body.size(); ++i) {
    size_t nKeep = 0;
    if (body[i] == XChar('%')) {
      nKeep = FormatDirectiveLength(body, i);
    } else if (body[i] == XChar('&') && i + 1 < body.size()) {
      // "&&", or a mnemonic with its own letter; a specifier after it stays whole.
      nKeep = body[i + 1] == XChar('%') ? 1 : 2;
    } else if (body[i] == XChar('&')) {
      out += XT("&&");  // a lone "&" at the end would take the marker that follows as its mnemonic
      ++nShown;
      continue;
    }
    if (nKeep > 0) {
      out += body.substr(i, nKeep);
      nShown += body[i] == XChar('&') ? 1 : nKeep;
      i += nKeep - 1;
      continue;
    }
    out += LookAlike(body[i]);
    ++nShown;
  }
  size_t nPad = (nShown * static_cast<size_t>(nExpandPercent) + 99) / 100;
  out.append(nPad, static_cast<XChar>(u'\u00B7'));
  out += XChar(']');
  out += label.substr(nLast);
  if (nTab != XStringView::npos) out += text.substr(nTab);
  return out;
}

int PseudoCommand(const std::vector<std::string>& vecArgs, const XGlobal& global) {
  XArgs args(vecArgs, {}, {"-o", "--output", "--expand", "--lang"});
  if (!args.Error().empty()) return UsageError("pseudo", args.Error(), global);
  if (args.Operands().size() != 1) return UsageError("pseudo", "expected one catalog or PO file", global);
  int nLangID = 0x0501;
  if (args.Has("--lang") && !LangIDArgument("pseudo", args.Value("--lang"), nLangID, global)) return eExitUsage;
  std::string strExpand = args.Value("--expand", "40");
  char* pEnd = nullptr;
  long nExpand = std::strtol(strExpand.c_str(), &pEnd, 10);
  if (strExpand.empty() || *pEnd != 0 || nExpand < 0 || nExpand > 1000)
    return UsageError("pseudo", "--expand takes a percentage from 0 to 1000, not \"" + strExpand + "\"", global);
  const std::string& strPath = args.Operands()[0];
  std::string strOut = args.Value("-o", args.Value("--output"));

  XDiag diag(stderr, global.bColor, false);
  XTextSet in;
  int nRead = TextSetRead(strPath, 0, false, diag, in);
  if (nRead != eExitOk) return nRead;
  XTextSet out;
  char szLang[16];
  std::snprintf(szLang, sizeof szLang, "%04x", static_cast<unsigned>(nLangID));
  out.header.strLanguageLine = TextFromUtf8(szLang);
  out.header.strTitle = XT("Pseudo-locale");
  out.header.bCRLF = in.bPo || in.header.bCRLF;
  out.nLangID = nLangID;
  for (XTextEntry& e : in.vecEntries) {
    // An identifier stands for the text its entry gives (the source text, in a skeleton).
    XStringView text = e.nID != 0 ? XStringView(e.strTransl) : XStringView(e.strSource);
    if (text.empty()) continue;
    e.strTransl = PseudoText(text, static_cast<int>(nExpand));
    e.bFuzzy = false;
    out.vecEntries.push_back(std::move(e));
  }
  int nWritten = TextSetWrite(strOut, out, {}, false, diag);
  if (nWritten != eExitOk) return nWritten;
  diag.Note(strOut.empty() || strOut == "-" ? "<stdout>" : strOut, 0,
            std::to_string(out.vecEntries.size()) + " pseudo-translations, language " + szLang);
  return eExitOk;
}

}  // namespace rlgtool
