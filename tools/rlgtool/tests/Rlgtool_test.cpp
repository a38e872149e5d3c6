// rlgtool's parts: reading catalog lines as the library does, format
// specifier comparison, the checks, the PO round trip, merge and pseudo.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Catalog.h"
#include "Check.h"
#include "Merge.h"
#include "Po.h"
#include "Printf.h"
#include "Pseudo.h"
#include "TextIO.h"
#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"
#include "colang/pattern/Token.h"
#include "support/Sandbox.h"
#include "support/TestSupport.h"

namespace rlgtool {
namespace {

using colang::test::Narrow;
using colang::test::Widen;

const std::string kUtf8Bom = "\xEF\xBB\xBF";

// A text's UTF-16 bytes, little- or big-endian, unit by unit.
std::string Utf16Bytes(std::u16string_view text, bool bLE) {
  std::string out;
  for (char16_t c : text) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    out += bLE ? std::string{lo, hi} : std::string{hi, lo};
  }
  return out;
}

TEST(RlgtoolTextTest, DecodesEveryCatalogEncodingIntoTheSameLines) {
  const std::vector<XString> expected{XT("0407"), XT("Deutsch"), XT("T\u00FCr"), XT("")};
  struct {
    const char* pszName;
    std::string strBytes;
    XEncoding eEncoding;
    bool bCRLF;
  } cases[] = {
      {"utf-8", "0407\nDeutsch\nT\xC3\xBCr\n\n", XEncoding::eEncUtf8, false},
      {"utf-8 bom crlf", kUtf8Bom + "0407\r\nDeutsch\r\nT\xC3\xBCr\r\n\r\n", XEncoding::eEncUtf8Bom, true},
      {"utf-16le", Utf16Bytes(u"\uFEFF0407\nDeutsch\nT\u00FCr\n\n", true), XEncoding::eEncUtf16LE, false},
      {"utf-16be", Utf16Bytes(u"\uFEFF0407\nDeutsch\nT\u00FCr\n\n", false), XEncoding::eEncUtf16BE, false},
      // Without a byte order mark, a file that is not UTF-8 as a whole is Windows-1252.
      {"windows-1252", "0407\nDeutsch\nT\xFCr\n\n", XEncoding::eEncCp1252, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pszName);
    XDecodedText text = TextDecode(c.strBytes);
    EXPECT_EQ(text.vecLines, expected);
    EXPECT_EQ(text.eEncoding, c.eEncoding);
    EXPECT_EQ(text.bCRLF, c.bCRLF);
    EXPECT_TRUE(text.vecProblems.empty());
    EXPECT_EQ(text.nNulLine, 0);
    // Writing the lines back in the same encoding gives the same bytes.
    EXPECT_EQ(TextEncode(text.vecLines, text.eEncoding, text.bCRLF), c.strBytes);
  }
  int nUnmappable = -1;
  EXPECT_EQ(TextEncode({XT("\u20AC\u00E4\u0100\u0080")}, XEncoding::eEncCp1252, false, &nUnmappable), "\x80\xE4??\n");
  EXPECT_EQ(nUnmappable, 2);
}

TEST(RlgtoolTextTest, ReportsInvalidBytesAndNulsWithTheirLines) {
  XDecodedText text = TextDecode("0407\r\nDeutsch\rok\nbad \xE4 and \xE2\x82!\nlast", false);
  ASSERT_EQ(text.vecProblems.size(), 2u);
  EXPECT_EQ(text.vecProblems[0].nLine, 4);
  EXPECT_EQ(text.vecProblems[0].nColumn, 5);
  EXPECT_EQ(text.vecProblems[0].strText, "invalid UTF-8 byte 0xE4");
  EXPECT_EQ(text.vecProblems[1].nColumn, 11);
  EXPECT_EQ(text.vecProblems[1].strText, "incomplete UTF-8 sequence 0xE2 0x82");
  EXPECT_EQ(TextDecode(std::string("a\nb\0c\n", 6)).nNulLine, 2);
  EXPECT_EQ(TextDecode(Utf16Bytes(u"\uFEFFa\rb\r\n\xD800", true)).vecProblems.at(0).nLine, 3);
}

TEST(RlgtoolPrintfTest, AcceptsWhatGettextAcceptsAndRejectsWhatItRejects) {
  struct {
    const char* pszSource;
    const char* pszTransl;
    const char* pszError;    // start of the error, empty when there is none
    const char* pszWarning;  // start of the one warning, empty when there is none
  } cases[] = {
      {"Page %d of %d", "Seite %d von %d", "", ""},
      {"%5.2f mm", "%.1f mm", "", ""},
      {"%d%% done", "%d%% fertig", "", ""},
      {"%i items, %x", "%d Elemente, %X", "", ""},
      {"%I64d", "%lld", "", ""},
      {"# %s (key %s, mtime %I64u): ", "# %s (Schl\xC3\xBCssel %s, %%I64u): ", "",
       "the translation has 2 format specifiers (%s %s) where the source has 3"},
      {"%zu", "%Zu", "", ""},
      {"%<PRId64> B", "%<PRIi64> B", "", ""},
      {"%<PRId64> B", "%<PRIdPTR> B", "format specifier 1 is", ""},
      {"cannot write %s file '%s'", "no se puede escribir archivo '%2$s' de %1$s", "",
       "the translation numbers its format specifiers (%1$s %2$s); on Windows only the _p functions"},
      {"%*d", "%2$*1$d", "", "the translation numbers"},
      {"%1$s and %1$s", "%1$s", "", ""},
      {"%.*s", "% *s", "", "the * of % *s is a width in the translation but the * of %.*s is a precision"},
      {"%d", "%Id", "", "%Id: the Windows printf reads I as a size prefix"},
      {"%b %e  %Y", "%Y-%m-%d", "", ""},  // strftime, not printf
      {"Plain text", "Klar %u ist es", "", ""},
      {"%1$s %s", "%d", "", ""},  // the source is no valid format
      {"Adding group '%s' (new ID) ...", "Gruppe '%s' (neue ID %d) ...",
       "the translation has 2 format specifiers (%s %d) where the source has 1 format specifier (%s)", ""},
      {"%d files", "%s Dateien", "format specifier 1 is %s (string) in the translation but %d (int)", ""},
      {"%d", "%u", "format specifier 1 is %u (unsigned int)", ""},
      {"%ld", "%d", "format specifier 1 is %d (int) in the translation but %ld (long int)", ""},
      {"%s: %d", "%d: %s", "format specifiers in a different order", ""},
      {"%s %d", "%2$s %1$d", "argument 1 is %1$d (int) in the translation but %s (string)", ""},
      {"%s %s", "%1$s", "the translation has 1 format specifier (%1$s) where the source has 2", ""},
      {"%s", "%2$s", "the translation is not a valid format, unlike the source: argument 2 is taken but argument 1",
       ""},
      {"%d%%", "%d% fertig", "the translation has 2 format specifiers (%d % f)", ""},
      {"50% off", "50% Rabatt", "", "the translation is not a valid format, unlike the source: \"% R\""},
      {"%s", "%s %y", "the translation is not a valid format, unlike the source: \"%y\" is not a format specifier", ""},
      {"100%% of %s", "%s zu 100%", "the translation is not a valid format, unlike the source: \"%\" at the end", ""},
      {"%1$s %2$d", "%1$s %d", "the translation is not a valid format, unlike the source: numbered (%1$s) and", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pszSource) + " / " + c.pszTransl);
    XFormatVerdict verdict = FormatCheck(Widen(c.pszSource), Widen(c.pszTransl), XFormatFlag::eFFAuto, false);
    EXPECT_EQ(verdict.strError.substr(0, std::string(c.pszError).size()), c.pszError);
    EXPECT_EQ(verdict.strError.empty(), *c.pszError == '\0');
    ASSERT_EQ(verdict.vecWarnings.size(), *c.pszWarning == '\0' ? 0u : 1u);
    if (*c.pszWarning != '\0') {
      EXPECT_EQ(verdict.vecWarnings[0].substr(0, std::string(c.pszWarning).size()), c.pszWarning);
    }
  }
  // Flags decide where they are given; pattern entries take their numbers in order.
  EXPECT_EQ(FormatCheck(Widen("Plain"), Widen("%d"), XFormatFlag::eFFYes, false).strError.substr(0, 19),
            "the translation has");
  EXPECT_TRUE(FormatCheck(Widen("%d"), Widen("%s"), XFormatFlag::eFFNo, false).strError.empty());
  EXPECT_EQ(
      FormatCheck(Widen("%d of %d"), Widen("%2$d/%1$d"), XFormatFlag::eFFAuto, true).vecWarnings.at(0).substr(0, 80),
      "the translation numbers its format specifiers (%1$d %2$d); pattern translation f");
}

TEST(RlgtoolCheckTest, ReportsEachProblemOnceAtItsLine) {
  const std::string kHeader = "0407\nDeutsch\n";
  struct {
    const char* pszName;
    std::string strBytes;
    const char* pszMessages;
  } cases[] = {
      {"T0407.rlg", kHeader + "A\nB\n\n\nC\nD\n", ""},
      {"T0407.rlg", kHeader + "Save\nSpeichern\nStore\nSpeichern\n",
       "T0407.rlg:6: warning: the translation \"Speichern\" is shared with \"Save\" (line 3); it retranslates only to "
       "\"Store\"\n"},
      {"T0407.rlg", kHeader + "A\nX\nB\nY\nA\nZ\n",
       "T0407.rlg:7: warning: \"A\" is translated differently at line 3; this later translation wins\n"},
      {"T0407.rlg", kHeader + "#7\nX\n#7\nX\n",
       "T0407.rlg:5: warning: repeated entry for identifier 7 (first at line 3)\n"},
      // A blank line after a source is its translation; blank lines before a source are not.
      {"T0407.rlg", kHeader + "A\n\nB\nC\n",
       "T0407.rlg:4: warning: empty translation; the text \"A\" will be shown blank\n"},
      {"T0407.rlg", kHeader + "A\nB\n\n\nC\n",
       "T0407.rlg:7: error: source line without a translation at the end of the file is dropped (if a line went "
       "missing earlier, the entries after it are shifted)\n"},
      {"T0407.rlg", kHeader + "#0x0\nN\n#-3\nM\n#0xFFFFFFFFF\nO\n",
       "T0407.rlg:3: error: \"#0x0\" is identifier 0, which cannot be used; the line is read as a text\n"
       "T0407.rlg:5: warning: \"#-3\" is read as a text; identifiers have no sign\n"
       "T0407.rlg:7: warning: \"#0xFFFFFFFFF\" does not fit in 32 bits; it is read as identifier 4294967295\n"},
      {"T0407.rlg", kHeader + "#12\nZw\\\\lf\n", ""},  // escapes in identifier lines are not escapes
      {"T0407.rlg", kHeader + "  \nX\n",
       "T0407.rlg:3: warning: source text of blanks only; a blank line between entries must be empty\n"},
      {"T0407.rlg", kHeader + "\\nA\nB\n",
       "T0407.rlg:4: warning: the source starts with \\n but the translation does not\n"},
      // The header: what the library refuses, at its line, and the file name's language.
      {"A0007.rlg", "0x07\nSeven\n", ""},
      {"A0407.rlg", "407\nDeutsch\n",
       "A0407.rlg:1: error: the language line \"407\" must start with the language identifier as four hex digits "
       "(like 0407) or 0x and two digits\n"},
      {"A0407.rlg", "0407\n", "A0407.rlg:1: error: missing title line; line 2 names the language\n"},
      {"A0407.rlg", "", "A0407.rlg: error: empty file; a catalog starts with a language line and a title line\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.strBytes);
    std::string strMessages;
    XDiag diag(&strMessages, false);
    CatalogCheck(CatalogParse(c.pszName, TextDecode(c.strBytes)), c.pszName, diag);
    EXPECT_EQ(strMessages, c.pszMessages);
  }
}

// A catalog of nEntries entries with every kind of text: escapes, line
// feeds and control characters, format specifiers, identifiers, non-ASCII,
// quotes and empty lines.
std::string CatalogGenerate(int nEntries) {
  std::string out = "0407 Generated\r\nDeutsch\r\n";
  for (int i = 0; i < nEntries; ++i) {
    std::string n = std::to_string(i);
    if (i % 97 == 1) out += i % 2 == 0 ? "\r\n" : "\r\n\r\n";  // groups, as catalogs are laid out
    switch (i % 6) {
      case 0:
        out += "Text " + n + "\r\nText \xC3\xBC" + n + "\r\n";
        break;
      case 1:
        out += "Page %d of " + n + "\r\nSeite %d von " + n + "\r\n";
        break;
      case 2:
        out += "#" + std::to_string(i + 1) + "\r\nKennung " + n + "\r\n";
        break;
      case 3:
        out += "Tab\\there " + n + "\\n\\a\\b\\f\\r\\v\r\nTab\\thier " + n + "\\n\r\n";
        break;
      case 4:
        out += "\"Quoted\" C:\\\\dir\\\\" + n +
               "\r\n\xE2\x80\x9E"
               "Zitat\xE2\x80\x9C C:\\\\Ordner " +
               n + "\r\n";
        break;
      default:
        out += "Multi\\nline\\n" + n + "\r\nMehr\\nzeilig\\n" + n + "\r\n";
        break;
    }
  }
  return out;
}

TEST(RlgtoolPoTest, ExportThenImportGivesBackTheSameCatalog) {
  std::string strCatalog = CatalogGenerate(10000);
  std::string strMessages;
  XDiag diag(&strMessages, false);
  XCatalog cat = CatalogParse("Gen0407.rlg", TextDecode(strCatalog));
  ASSERT_EQ(cat.vecEntries.size(), 10000u);
  std::string strPo = PoFromCatalog(cat, "Gen0407.rlg", "2024-01-01 00:00+0000", diag);

  std::vector<XPoEntry> vecEntries;
  ASSERT_TRUE(PoParse(strPo, "Gen.po", diag, vecEntries));
  EXPECT_EQ(vecEntries.size(), 10001u);  // the header and every entry
  XPoImport result;
  ASSERT_TRUE(CatalogFromPo(vecEntries, 0, false, "Gen.po", diag, result));
  EXPECT_EQ(result.nEntries, 10000);
  EXPECT_EQ(TextEncode(result.vecLines, result.eEncoding, result.bCRLF), strCatalog);
  EXPECT_EQ(strMessages, "");
}

// Fuzzy flags and contexts are left to the command-line test.
TEST(RlgtoolPoTest, ReadsPoStringsWithAllTheirEscapes) {
  const char* pszPo =
      "msgid \"\"\nmsgstr \"Language: de_AT\\n\"\n\n"
      "#, fuzzy\n#~ msgid \"Old\"\n#~ msgstr \"Alt\"\n"  // an obsolete entry, not read, with its flag
      "msgid \"\"\n\"a\\n\"\n  \"b\\t\\\"q\\\"\\\\\\101\\x42\"\nmsgstr \"x\"\n";
  std::string strMessages;
  XDiag diag(&strMessages, false);
  std::vector<XPoEntry> vecEntries;
  ASSERT_TRUE(PoParse(pszPo, "t.po", diag, vecEntries));
  ASSERT_EQ(vecEntries.size(), 2u);
  EXPECT_EQ(vecEntries[1].strId, "a\nb\t\"q\"\\AB");
  EXPECT_EQ(vecEntries[1].nLine, 7);

  XPoImport result;
  ASSERT_TRUE(CatalogFromPo(vecEntries, 0, false, "t.po", diag, result));  // the language comes from "Language"
  EXPECT_EQ(result.vecLines,
            (std::vector<XString>{XT("0c07"), XT("German (Austria)"), XT("a\\nb\\t\"q\"\\\\AB"), XT("x")}));
  EXPECT_FALSE(CatalogFromPo({vecEntries[1]}, 0, false, "t.po", diag, result));
}

TEST(RlgtoolMergeTest, AdaptsTranslationsOfTextsThatChangedOnlyAroundTheirWords) {
  struct {
    const char16_t* pszOldSource;
    const char16_t* pszOldTransl;
    const char16_t* pszNewSource;
    const char16_t* pszAdapted;
  } cases[] = {
      {u"&Open...\tCtrl+O", u"\u00D6&ffnen...\tStrg+O", u"Open...\tCtrl+Shift+O", u"\u00D6ffnen...\tStrg+Shift+O"},
      {u"&Print...\tCtrl+P", u"&Drucken...\tStrg+P", u"&Print...", u"&Drucken..."},
      {u"Print", u"Drucken", u"Print\tCtrl+P", u"Drucken\tCtrl+P"},
      {u"&Open", u"\u958B\u304F(&O)", u"Open", u"\u958B\u304F"},
      {u"Open", u"\u00AB Ouvrir", u"&Open", u"\u00AB &Ouvrir"},
      {u"Save &As...", u"Speichern &unter...", u"Save As", u"Speichern unter"},
      {u"Name:", u"Nom :", u"Name", u"Nom"},
      {u"Name", u"Nom", u"Name\u2026", u"Nom\u2026"},
      {u"Total", u"Summe", u"  Total:\n", u"  Summe:\n"},
  };
  for (const auto& c : cases) {
    auto x = [](const char16_t* psz) { return XString(reinterpret_cast<const XChar*>(psz)); };
    SCOPED_TRACE(Narrow(x(c.pszNewSource).c_str()));
    ASSERT_EQ(LabelSplit(x(c.pszOldSource)).strCore, LabelSplit(x(c.pszNewSource)).strCore);
    EXPECT_EQ(TranslationAdapt(x(c.pszOldSource), x(c.pszOldTransl), x(c.pszNewSource)), x(c.pszAdapted));
  }
}

TEST(RlgtoolPseudoTest, KeepsEveryTextUsable) {
  const char* const kTexts[] = {
      "&Open...\tCtrl+O", "Save &As...", "Page %d of %d", "%1$s of %2$5.1f", "100% sure",       "%d%% done",  "A && B",
      "\n  Indented\n",   "%.*s: %ls",   "Trailing &",    "E&xit\tAlt+F4",   "Progress: %3d%%", "&%1$d files"};
  for (const char* pszText : kTexts) {
    SCOPED_TRACE(pszText);
    XString strText = Widen(pszText);
    XString strPseudo = PseudoText(strText, 40);
    XLabel source = LabelSplit(strText), pseudo = LabelSplit(strPseudo);
    EXPECT_NE(strPseudo, strText);
    EXPECT_EQ(pseudo.strAccel, source.strAccel);
    EXPECT_EQ(pseudo.strLead, source.strLead);
    ASSERT_EQ(pseudo.nMnemonic < 0, source.nMnemonic < 0);
    if (source.nMnemonic >= 0) {
      EXPECT_EQ(pseudo.strCore[static_cast<size_t>(pseudo.nMnemonic)],
                source.strCore[static_cast<size_t>(source.nMnemonic)]);
    }
    XFormatVerdict verdict = FormatCheck(strText, strPseudo, XFormatFlag::eFFAuto, false);
    EXPECT_EQ(verdict.strError, "");
    EXPECT_EQ(XTokVec(strPseudo.c_str()).HasFormat(), XTokVec(strText.c_str()).HasFormat());
    // Lengthened by 40 percent at least, with the markers.
    XStringView label = XStringView(strText).substr(0, strText.find(XChar('\t')));
    EXPECT_GE(strPseudo.find(XChar('\t')) == XString::npos ? strPseudo.size() : strPseudo.find(XChar('\t')),
              label.size() * 14 / 10);
  }
}

// What the tool reads from a catalog is what the library loads: the same
// lines, a broken sequence being one U+FFFD and one reported problem, and the
// same entries, paired, unescaped and told apart as texts or identifiers.
TEST(RlgtoolCatalogTest, ReadsCatalogsAsTheLibraryLoadsThem) {
  const std::vector<XString> lone{XT("0407"), XT("Deutsch"), XT("k\xD800\xD800\xDE00"), XT("v\xDC00")};
  const std::string cases[] = {
      CatalogGenerate(600) +
          "A\r\nX\r\nA\r\nY\r\n\r\nB\\N\r\nZ\\\r\n#0\r\nnull\r\n#12 \r\nblank\r\n#0x7\rsieben\r\nEnd\r\n",
      kUtf8Bom + "0407\nDeutsch\nkey\na\xE2\x82",
      kUtf8Bom + "0407\nDeutsch\n\xE1\x80\xE2\xF0\x91\x92\xF1\xBF\x41 \xC0\xAF\n\xED\xA0\x80 \xF4\x90\x80\x80 \xFF\n",
      "0407\nDeutsch\n\xE2\x82\xAC\n\xE2\x82\n",              // not UTF-8 as a whole: Windows-1252
      TextEncode(lone, XEncoding::eEncUtf16LE, false) + "x",  // and an odd byte at the end
      TextEncode(lone, XEncoding::eEncUtf16BE, false),
  };
  for (const std::string& strBytes : cases) {
    SCOPED_TRACE(testing::PrintToString(strBytes.substr(strBytes.size() > 200 ? strBytes.size() - 80 : 0)));
    const XDecodedText text = TextDecode(strBytes);
    size_t nReplaced = 0;
    for (const XString& strLine : text.vecLines) nReplaced += std::count(strLine.begin(), strLine.end(), XChar(0xFFFD));
    EXPECT_EQ(text.vecProblems.size(), nReplaced);

    colang::test::XTempDir dir;
    dir.Write("Read0407.rlg", strBytes);
    XLMTranslDict dict;
    ASSERT_TRUE(dict.RLGFileRead(dir.Text("Read0407.rlg").c_str(), false));
    // The tool's entries, inserted one by one, give the dictionary the reader made.
    const XCatalog cat = CatalogParse("Read0407.rlg", text);
    ASSERT_TRUE(cat.HeaderValid());
    XLMTranslDict expected;
    for (const XCatEntry& entry : cat.vecEntries) {
      if (entry.nID != 0)
        XLMTranslDictAccess::Insert(expected, entry.nID, entry.strTransl.c_str());
      else
        XLMTranslDictAccess::Insert(expected, entry.strSource.c_str(), entry.strTransl.c_str());
    }
    EXPECT_TRUE(XLMTranslDictAccess::TranslMap(dict) == XLMTranslDictAccess::TranslMap(expected));
    EXPECT_TRUE(XLMTranslDictAccess::RetranslMap(dict) == XLMTranslDictAccess::RetranslMap(expected));
    EXPECT_TRUE(XLMTranslDictAccess::IdMap(dict) == XLMTranslDictAccess::IdMap(expected));
  }
}

}  // namespace
}  // namespace rlgtool
