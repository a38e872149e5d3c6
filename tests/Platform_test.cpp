// The path splitter, full paths, working directory, OLE variants, bulk
// memory and character set decoding, on the emulation and on Windows alike.
#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

#include "colang/detail/PathSplit.h"
#include "colang/platform/AsciiRun.h"
#include "colang/platform/Charset.h"
#include "colang/platform/Memory.h"
#include "colang/platform/Path.h"
#include "colang/platform/TextLength.h"
#include "support/Sandbox.h"

namespace {

using namespace colang::test;
using colang::detail::PathSplit;
using colang::platform::PathFullGet;

// Memory said to read as zeros does, at every size and each time again,
// and all of what was asked for can be written.
TEST(BulkMemory, ZeroedMeansZerosAndAllOfItIsUsable) {
  using namespace colang::platform;
  for (int nRound = 0; nRound < 2; ++nRound) {
    for (std::size_t nBytes :
         {std::size_t{1}, std::size_t{4096}, std::size_t{256} << 10, std::size_t{1} << 20, (std::size_t{2} << 20) - 64,
          (std::size_t{2} << 20) - 63, std::size_t{2} << 20, (std::size_t{2} << 20) + 1, std::size_t{5} << 20}) {
      SCOPED_TRACE(nBytes);
      auto* p = static_cast<unsigned char*>(BulkAlloc(nBytes));
      if (BulkZeroed(nBytes)) {
        std::size_t nNonZero = 0;
        for (std::size_t i = 0; i < nBytes; ++i) nNonZero += p[i] != 0;
        EXPECT_EQ(nNonZero, 0u);
      }
      for (std::size_t i = 0; i < nBytes; ++i) p[i] = static_cast<unsigned char>(i | 1);
      BulkFree(p, nBytes);
    }
  }
}

// Blocks of mid sizes, several to a large page where the system offers
// them, taken and given back by two threads at once: no two overlap, one
// given back leaves the others as they were, and memory given back is used
// again. Each block is stamped on every 4 KiB and at its last byte with a
// number of its own.
struct XStampedBlock {
  unsigned char* p = nullptr;
  std::size_t nBytes = 0;
  unsigned char nStamp = 0;
};

std::size_t BlockSpoiled(const XStampedBlock& block) {
  std::size_t nSpoiled = block.p[block.nBytes - 1] != block.nStamp;
  for (std::size_t i = 0; i < block.nBytes; i += 4096) nSpoiled += block.p[i] != block.nStamp;
  return nSpoiled;
}

TEST(BulkMemory, BlocksKeepTheirContentsWhileOthersComeAndGo) {
  using namespace colang::platform;
  auto churn = [](unsigned char nFirstStamp, std::size_t& nSpoiled) {
    const std::size_t anSizes[] = {std::size_t{256} << 10, 300000, std::size_t{1} << 20, (std::size_t{2} << 20) - 64,
                                   std::size_t{700} << 10};
    std::vector<XStampedBlock> vecLive;
    unsigned char nStamp = nFirstStamp;
    auto blockMake = [&](std::size_t nBytes) {
      XStampedBlock block{static_cast<unsigned char*>(BulkAlloc(nBytes)), nBytes, ++nStamp};
      for (std::size_t i = 0; i < block.nBytes; i += 4096) block.p[i] = block.nStamp;
      block.p[block.nBytes - 1] = block.nStamp;
      vecLive.push_back(block);
    };
    for (int nRound = 0; nRound < 30; ++nRound, nStamp = nFirstStamp) {
      for (int i = 0; i < 24; ++i) blockMake(anSizes[i % std::size(anSizes)]);
      // Every other block goes, then as many come, in places that may be
      // the ones just given back.
      for (std::size_t i = vecLive.size(); i-- > 0;) {
        if (i % 2 != 0) continue;
        BulkFree(vecLive[i].p, vecLive[i].nBytes);
        vecLive.erase(vecLive.begin() + static_cast<std::ptrdiff_t>(i));
      }
      for (int i = 0; i < 12; ++i) blockMake(anSizes[(i + 2) % std::size(anSizes)]);
      for (const XStampedBlock& block : vecLive) nSpoiled += BlockSpoiled(block);
      // All given back, the last block first: the next round starts afresh.
      while (!vecLive.empty()) {
        BulkFree(vecLive.back().p, vecLive.back().nBytes);
        vecLive.pop_back();
      }
    }
  };
  std::size_t nSpoiledA = 0, nSpoiledB = 0;
  std::thread other(churn, static_cast<unsigned char>(0), std::ref(nSpoiledA));
  churn(static_cast<unsigned char>(128), nSpoiledB);
  other.join();
  EXPECT_EQ(nSpoiledA, 0u);
  EXPECT_EQ(nSpoiledB, 0u);
}

// The charsets of real PO files, by the names their headers use.
// Texts of every length up to past the 32 units looked at first, at every
// alignment, and a difference at every place: the scans read blocks that
// overlap and shift masks, where an off-by-one hides in one length.
TEST(UnitScans, EveryLengthAlignmentAndPlace) {
  std::vector<XChar> vecUnits(64 + 8);
  std::vector<unsigned char> vecBytes(64);
  for (std::size_t nAt = 0; nAt < 8; ++nAt)
    for (std::size_t n = 0; n <= 40; ++n) {
      XChar* p = vecUnits.data() + nAt;
      for (std::size_t k = 0; k < n; ++k) vecBytes[k] = static_cast<unsigned char>(p[k] = XChar('a' + k % 26));
      p[n] = 0;
      ASSERT_EQ(colang::platform::UnitsToZero(p), n) << "at " << nAt;
      ASSERT_TRUE(colang::platform::UnitsEqualBytes(p, vecBytes.data(), n)) << n;
      for (std::size_t k = 0; k < n; ++k) {
        vecBytes[k] ^= 1;
        ASSERT_FALSE(colang::platform::UnitsEqualBytes(p, vecBytes.data(), n)) << n << " differing at " << k;
        vecBytes[k] ^= 1;
      }
    }
}

TEST(CharsetDecode, ReadsTheCharsetsOfRealCatalogs) {
  using namespace colang::platform;
  struct {
    const char* pszCharset;
    const char* pszBytes;
    const char16_t* pszText;
  } cases[] = {
      {"ISO-8859-1", "caf\xE9", u"caf\u00E9"},
      {"iso-8859-15", "\xA4", u"\u20AC"},
      {"ISO-8859-2", "\xF5", u"\u0151"},
      {"ISO-8859-7", "\xE1", u"\u03B1"},
      {"ISO-8859-8", "\xE0", u"\u05D0"},
      {"ISO-8859-9", "\xF0", u"\u011F"},
      {"KOI8-R", "\xF2\xD5\xD3", u"\u0420\u0443\u0441"},
      {"windows-1251", "\xD0\xF3\xF1", u"\u0420\u0443\u0441"},
      {"CP1252", "\x80", u"\u20AC"},
      {"EUC-JP", "\xC6\xFC\xCB\xDC", u"\u65E5\u672C"},
      {"Shift_JIS", "\x93\xFA\x96\x7B", u"\u65E5\u672C"},
      {"Shift_JIS", "\x95\\\\ ~", u"\u8868\\ ~"},  // a trail byte 0x5C; ASCII stays ASCII

      {"GB2312", "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
      {"GBK", "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
      {"BIG5", "\xA4\xA4\xA4\xE5", u"\u4E2D\u6587"},
      {"EUC-KR", "\xC7\xD1\xB1\xDB", u"\uD55C\uAE00"},
      {"UTF-8", "\xF0\x9F\x98\x80", u"\U0001F600"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pszCharset);
    XString strText;
    ASSERT_EQ(CharsetDecode(c.pszCharset, c.pszBytes, strText), eCSOk);
    EXPECT_EQ(strText, XString(reinterpret_cast<const XChar*>(c.pszText)));
  }
  XString strText = XT("kept?");
  EXPECT_EQ(CharsetDecode("NO-SUCH-CHARSET", "a", strText), eCSUnknown);
  EXPECT_EQ(CharsetDecode("EUC-JP", "ok \xC6", strText), eCSInvalid);  // cut off in a character
  EXPECT_EQ(CharsetDecode("Shift_JIS", "\x81\x20", strText), eCSInvalid);
  EXPECT_TRUE(strText.empty());
}

TEST(PathSplit, PartsFollowTheWindowsRules) {
  // Deep build directories and long names split like short ones.
  const XString strDeep(300, XChar('\\')), strLong(300, XChar('a'));
  struct Case {
    XString path;
    XString parts;  // drive|dir|fname|ext
  } cases[] = {
      {XT("C:\\rlg\\App0407.rlg"), XT("C:|\\rlg\\|App0407|.rlg")},
      {XT("/some/dir\\App0407.rlg"), XT("|/some/dir\\|App0407|.rlg")},
      {XT("a.b/c"), XT("|a.b/|c|")},
      {XT("x.tar.gz"), XT("||x.tar|.gz")},
      {XT(".rlg"), XT("|||.rlg")},
      {XT("dir\\"), XT("|dir\\||")},
      {XT("C:App"), XT("C:||App|")},
      {XT(""), XT("|||")},
      {XT("C:") + strDeep + strLong + XT(".rlg"), XT("C:|") + strDeep + XT("|") + strLong + XT("|.rlg")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.path));
    XString drive, dir, fname, ext = XT("old");
    ASSERT_TRUE(PathSplit(c.path.c_str(), &drive, &dir, &fname, &ext));
    EXPECT_EQ(drive + XT("|") + dir + XT("|") + fname + XT("|") + ext, c.parts);
  }
  XString dir, ext;
  EXPECT_FALSE(PathSplit(nullptr, nullptr, &dir, nullptr, &ext));
  EXPECT_EQ(dir + ext, XT(""));
}

TEST(PathFullGet, EverySpellingOfANameGivesOneForm) {
  XProcessStateGuard state;
  XTempDir dir;
  fs::current_path(dir.Dir("sub"));
  XString strExpected = dir.Text("sub/x/y.rlg");
  for (const XChar* psz : {XT("x\\y.rlg"), XT("x/y.rlg"), XT("./x/../x//y.rlg"), XT(".\\x\\.\\y.rlg")}) {
    SCOPED_TRACE(Narrow(psz));
    XString strFull;
    ASSERT_TRUE(PathFullGet(psz, strFull));
    EXPECT_EQ(strFull, strExpected);
  }
  XString strFull = XT("kept");
  EXPECT_FALSE(PathFullGet(XT(""), strFull));
  EXPECT_EQ(strFull, XT("kept"));
}

TEST(CurrentDirectory, SetWithBackslashesAndReadBackWithTheRoomItNeeds) {
  XProcessStateGuard state;
  XTempDir dir;
  dir.Dir("a/b");
  ASSERT_TRUE(SetCurrentDirectoryW((dir.Text() + XT("\\a\\b")).c_str()));
  EXPECT_FALSE(SetCurrentDirectoryW((dir.Text() + XT("\\absent")).c_str()));
  XChar buffer[1024];
  DWORD n = GetCurrentDirectoryW(1024, buffer);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(XString(buffer, n), dir.Text("a/b"));
  EXPECT_EQ(GetCurrentDirectoryW(2, buffer), n + 1);
}

TEST(OleVariants, ChangeTypeToString) {
  VARIANT cases[9];
  for (VARIANT& var : cases) VariantInit(&var);
  cases[1].vt = VT_BSTR, cases[1].bstrVal = SysAllocString(XT("C:\\rlg"));
  cases[2].vt = VT_I2, cases[2].iVal = -12;
  cases[3].vt = VT_I4, cases[3].lVal = -123456;
  cases[4].vt = VT_UI4, cases[4].ulVal = 4000000000u;
  cases[5].vt = VT_R8, cases[5].dblVal = 1.5;
  cases[6].vt = VT_BOOL, cases[6].boolVal = VARIANT_TRUE;
  cases[7].vt = VT_BOOL, cases[7].boolVal = VARIANT_FALSE;
  cases[8].vt = VT_NULL;  // converts to no string and stays
  const XChar* expected[] = {XT(""),           XT("C:\\rlg"), XT("-12"), XT("-123456"),
                             XT("4000000000"), XT("1.5"),     XT("-1"),  XT("0")};
  for (size_t i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    ASSERT_EQ(VariantChangeType(&cases[i], &cases[i], 0, VT_BSTR), S_OK);
    EXPECT_EQ(cases[i].vt, VT_BSTR);
    ASSERT_NE(cases[i].bstrVal, nullptr);
    EXPECT_EQ(XString(cases[i].bstrVal, SysStringLen(cases[i].bstrVal)), expected[i]);
    EXPECT_EQ(VariantClear(&cases[i]), S_OK);
    EXPECT_EQ(cases[i].vt, VT_EMPTY);
  }
  EXPECT_NE(VariantChangeType(&cases[8], &cases[8], 0, VT_BSTR), S_OK);
  EXPECT_EQ(cases[8].vt, VT_NULL);
}

}  // namespace
