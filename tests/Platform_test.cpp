// The path splitter, full paths, environment, working directory and OLE
// strings and variants, on the emulation and on Windows alike.
#include <gtest/gtest.h>

#include "colang/platform/Path.h"
#include "support/Sandbox.h"

namespace {

using namespace colang::test;
using colang::platform::PathFullGet;
using colang::platform::PathSplit;

TEST(PathSplit, PartsFollowTheWindowsRules) {
  struct Case {
    const XChar* path;
    const XChar *drive, *dir, *fname, *ext;
  } cases[] = {
      {XT("C:\\rlg\\App0407.rlg"), XT("C:"), XT("\\rlg\\"), XT("App0407"), XT(".rlg")},
      {XT("/some/dir\\App0407.rlg"), XT(""), XT("/some/dir\\"), XT("App0407"), XT(".rlg")},
      {XT("a.b/c"), XT(""), XT("a.b/"), XT("c"), XT("")},
      {XT("x.tar.gz"), XT(""), XT(""), XT("x.tar"), XT(".gz")},
      {XT(".rlg"), XT(""), XT(""), XT(""), XT(".rlg")},
      {XT("dir\\"), XT(""), XT("dir\\"), XT(""), XT("")},
      {XT("C:App"), XT("C:"), XT(""), XT("App"), XT("")},
      {XT(""), XT(""), XT(""), XT(""), XT("")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.path));
    XString drive, dir, fname, ext;
    ASSERT_TRUE(PathSplit(c.path, &drive, &dir, &fname, &ext));
    EXPECT_EQ(drive, c.drive);
    EXPECT_EQ(dir, c.dir);
    EXPECT_EQ(fname, c.fname);
    EXPECT_EQ(ext, c.ext);
  }
}

TEST(PathSplit, APartBeyondItsRoomSplitsNothing) {
  XString fname;
  XString strLong = XT("dir\\") + XString(255, XChar('a')) + XT(".rlg");
  ASSERT_TRUE(PathSplit(strLong.c_str(), nullptr, nullptr, &fname, nullptr));
  EXPECT_EQ(fname.size(), 255u);
  strLong = XT("dir\\") + XString(256, XChar('a')) + XT(".rlg");
  XString dir = XT("old");
  EXPECT_FALSE(PathSplit(strLong.c_str(), nullptr, &dir, &fname, nullptr));
  EXPECT_EQ(dir, XT(""));
  EXPECT_EQ(fname, XT(""));
  EXPECT_FALSE(PathSplit(nullptr, nullptr, &dir, nullptr, nullptr));
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

TEST(CurrentDirectory, SetWithBackslashesAndReadBack) {
  XProcessStateGuard state;
  XTempDir dir;
  dir.Dir("a/b");
  XString strTarget = dir.Text() + XT("\\a\\b");
  ASSERT_TRUE(SetCurrentDirectoryW(strTarget.c_str()));
  XChar buffer[1024];
  DWORD n = GetCurrentDirectoryW(1024, buffer);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(XString(buffer, n), dir.Text("a/b"));
  EXPECT_EQ(GetCurrentDirectoryW(2, buffer), n + 1);
  EXPECT_FALSE(SetCurrentDirectoryW((dir.Text() + XT("\\absent")).c_str()));
}

TEST(OleVariants, ChangeTypeToString) {
  BSTR bstrSource = SysAllocString(XT("C:\\rlg"));
  struct Case {
    VARTYPE vt;
    void (*set)(VARIANT&, BSTR);
    const XChar* expected;
  } cases[] = {
      {VT_EMPTY, [](VARIANT&, BSTR) {}, XT("")},
      {VT_BSTR, [](VARIANT& v, BSTR b) { v.bstrVal = SysAllocString(b); }, XT("C:\\rlg")},
      {VT_I2, [](VARIANT& v, BSTR) { v.iVal = -12; }, XT("-12")},
      {VT_I4, [](VARIANT& v, BSTR) { v.lVal = -123456; }, XT("-123456")},
      {VT_UI4, [](VARIANT& v, BSTR) { v.ulVal = 4000000000u; }, XT("4000000000")},
      {VT_R8, [](VARIANT& v, BSTR) { v.dblVal = 1.5; }, XT("1.5")},
      {VT_BOOL, [](VARIANT& v, BSTR) { v.boolVal = VARIANT_TRUE; }, XT("-1")},
      {VT_BOOL, [](VARIANT& v, BSTR) { v.boolVal = VARIANT_FALSE; }, XT("0")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.expected));
    VARIANT var;
    VariantInit(&var);
    var.vt = c.vt;
    c.set(var, bstrSource);
    ASSERT_EQ(VariantChangeType(&var, &var, 0, VT_BSTR), S_OK);
    EXPECT_EQ(var.vt, VT_BSTR);
    ASSERT_NE(var.bstrVal, nullptr);
    EXPECT_EQ(XString(var.bstrVal, SysStringLen(var.bstrVal)), c.expected);
    EXPECT_EQ(VariantClear(&var), S_OK);
    EXPECT_EQ(var.vt, VT_EMPTY);
  }
  SysFreeString(bstrSource);

  VARIANT var;
  VariantInit(&var);
  var.vt = VT_NULL;
  EXPECT_NE(VariantChangeType(&var, &var, 0, VT_BSTR), S_OK);
  EXPECT_EQ(var.vt, VT_NULL);
}

}  // namespace
