// Allocation failure: a global operator new that fails the N-th allocation
// once armed. A load or a lookup that meets the failure leaves as
// std::bad_alloc; the dictionary keeps maps and lookup index in agreement,
// stays usable, and nothing leaks (the sanitizer and valgrind legs check that).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/detail/DictAccess.h"
#include "colang/pattern/PatternTranslate.h"
#include "support/Sandbox.h"

namespace {

// 0: disarmed. Otherwise the allocation that brings the count to this fails.
long g_nFailAt = 0;
long g_nCount = 0;

void* Allocate(std::size_t nSize) {
  if (g_nFailAt > 0 && ++g_nCount == g_nFailAt) throw std::bad_alloc();
  if (void* p = std::malloc(nSize != 0 ? nSize : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t nSize) { return Allocate(nSize); }
void* operator new[](std::size_t nSize) { return Allocate(nSize); }
// Allocations that ask not to throw (std::stable_sort's scratch buffer) are
// not failed: their callers manage without them by design.
void* operator new(std::size_t nSize, const std::nothrow_t&) noexcept { return std::malloc(nSize != 0 ? nSize : 1); }
void* operator new[](std::size_t nSize, const std::nothrow_t& tag) noexcept { return operator new(nSize, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace colang::test;

// Arms the failure for the N-th allocation from now on while alive.
struct XFailArm {
  explicit XFailArm(long nAt) {
    g_nCount = 0;
    g_nFailAt = nAt;
  }
  ~XFailArm() { g_nFailAt = 0; }
  // Whether the failure was reached.
  static bool Hit() { return g_nCount >= g_nFailAt; }
};

// Whether the call left as std::bad_alloc when the nAt-th allocation failed.
template <class F>
bool ThrowsAt(long nAt, F call) {
  XFailArm arm(nAt);
  try {
    call();
  } catch (const std::bad_alloc&) {
    return true;
  }
  EXPECT_FALSE(XFailArm::Hit()) << "the failed allocation was swallowed";
  return false;
}

// Every entry of both maps is found by the lookups, so the index agrees
// with the maps whatever the failure interrupted. A replacing read that
// failed has emptied the dictionary, language included: it gets one back.
void ExpectConsistent(XLMTranslDict& dict) {
  if (!dict.IsValid()) dict.LangIDSet(0x0407);
  for (const auto& [strSource, strTransl] : XLMTranslDictAccess::TranslMap(dict)) {
    const XChar* psz = dict.CheckTranslate(strSource.data());
    ASSERT_NE(psz, nullptr) << Narrow(strSource);
    EXPECT_EQ(XStringView(psz), strTransl);
  }
  for (const auto& [strTransl, strSource] : XLMTranslDictAccess::RetranslMap(dict)) {
    const XChar* psz = dict.CheckRetranslate(strTransl.data());
    ASSERT_NE(psz, nullptr) << Narrow(strTransl);
    EXPECT_EQ(XStringView(psz), strSource);
  }
}

class AllocFailTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string bytes = "0407\nDeutsch\n#7\nSieben\nPage %d of %d\nSeite %d von %d\nTab\\there\nTab\\tda\n";
    for (int i = 0; i < 40; ++i)
      bytes += "Entry number " + std::to_string(i) + "\nEintrag Nummer " + std::to_string(i) + "\n";
    m_dir.Write("Alloc0407.rlg", bytes);
    m_strName = m_dir.Text("Alloc0407.rlg");
  }
  XTempDir m_dir;
  XString m_strName;
};

TEST_F(AllocFailTest, LoadLeavesAsBadAllocAndTheDictionaryStaysUsable) {
  for (bool bAppend : {false, true}) {
    long nAt = 1;
    for (;; ++nAt) {
      SCOPED_TRACE(testing::Message() << (bAppend ? "append" : "replace") << ", failing allocation " << nAt);
      XLMTranslDict dict;
      XLMTranslDictAccess::Insert(dict, XT("Keep"), XT("Behalten"));
      dict.LangIDSet(0x0407);
      bool bRead = false;
      const bool bThrown = ThrowsAt(nAt, [&] { bRead = dict.RLGFileRead(m_strName.c_str(), bAppend); });
      ExpectConsistent(dict);
      if (!bThrown) {
        EXPECT_TRUE(bRead);
        break;
      }
      // The same dictionary reads the file once memory is back.
      EXPECT_TRUE(dict.RLGFileRead(m_strName.c_str(), bAppend));
      EXPECT_EQ(XString(dict.StringTranslate(XT("Entry number 39"))), XT("Eintrag Nummer 39"));
      EXPECT_EQ(XString(dict.StringTranslate(XT("Page 3 of 10"))), XT("Seite 3 von 10"));
      EXPECT_EQ(XString(dict.StringTranslate(XT("Keep"))), bAppend ? XT("Behalten") : XT("Keep"));
      ExpectConsistent(dict);
      dict.Empty();
      EXPECT_TRUE(XLMTranslDictAccess::TranslMap(dict).empty());
    }
    EXPECT_GT(nAt, 10) << "a load makes more allocations than that";
  }
}

TEST_F(AllocFailTest, LookupLeavesAsBadAllocAndTheNextLookupWorks) {
  XLMTranslDict dict;
  ASSERT_TRUE(dict.RLGFileRead(m_strName.c_str(), false));
  for (const XChar* pszText : {XT("Entry number 5"), XT("Page 3 of 10"), XT("Page 4 of 11"), XT("Not there 12")}) {
    long nAt = 1;
    for (;; ++nAt) {
      SCOPED_TRACE(testing::Message() << Narrow(pszText) << ", failing allocation " << nAt);
      const XChar* pszFound = nullptr;
      const bool bThrown = ThrowsAt(nAt, [&] { pszFound = dict.StringTranslate(pszText); });
      EXPECT_LE(colang::detail::PatternPoolCount(), colang::detail::kPatternPoolSize);
      if (!bThrown) {
        ASSERT_NE(pszFound, nullptr);
        break;
      }
    }
    // The same lookup gives the same answer afterwards.
    const XString strAgain = dict.StringTranslate(pszText);
    EXPECT_EQ(strAgain, XString(dict.StringTranslate(pszText)));
  }
  EXPECT_EQ(XString(dict.StringTranslate(XT("Page 3 of 10"))), XT("Seite 3 von 10"));
  ExpectConsistent(dict);
}

// A load leaves the entries in reading order; the first walk puts them in
// key order, and does so without memory too.
TEST_F(AllocFailTest, FirstWalkWithoutMemoryStillInKeyOrder) {
  for (long nAt : {1, 2, 3}) {
    SCOPED_TRACE(nAt);
    XLMTranslDict dict;
    ASSERT_TRUE(dict.RLGFileRead(m_strName.c_str(), false));
    std::vector<XString> vecKeys;
    {
      XFailArm arm(nAt);
      for (const auto& entry : XLMTranslDictAccess::TranslMap(dict)) vecKeys.emplace_back(entry.first);
    }
    EXPECT_EQ(vecKeys.size(), 42u);
    EXPECT_TRUE(std::is_sorted(vecKeys.begin(), vecKeys.end()));
  }
}

// A load leaves the retranslation index to the first retranslation. Without
// memory for it, that lookup and all after it still give the last pair's
// source, and walks find one entry per translation, in key order.
TEST_F(AllocFailTest, FirstRetranslationWithoutMemoryStillRight) {
  std::string bytes = "0407\nDeutsch\nClose\nSchliessen\nOpen\nOeffnen\nExit\nSchliessen\n";
  for (int i = 0; i < 30; ++i) bytes += "Item " + std::to_string(i) + "\nPosten " + std::to_string(i % 10) + "\n";
  const XString strName = TextFromPath(m_dir.Write("Dup0407.rlg", bytes));
  for (long nAt : {1, 2}) {
    SCOPED_TRACE(nAt);
    XLMTranslDict dict;
    ASSERT_TRUE(dict.RLGFileRead(strName.c_str(), false));
    {
      XFailArm arm(nAt);
      const XChar* psz = dict.CheckRetranslate(XT("Schliessen"));
      EXPECT_TRUE(XFailArm::Hit());
      ASSERT_NE(psz, nullptr);
      EXPECT_EQ(XStringView(psz), XT("Exit"));
    }
    EXPECT_EQ(XString(dict.StringRetranslate(XT("Posten 3"))), XT("Item 23"));
    EXPECT_EQ(dict.CheckRetranslate(XT("Posten")), nullptr);
    std::vector<XString> vecKeys;
    for (const auto& entry : XLMTranslDictAccess::RetranslMap(dict)) vecKeys.emplace_back(entry.first);
    EXPECT_EQ(vecKeys.size(), 12u);
    EXPECT_TRUE(std::is_sorted(vecKeys.begin(), vecKeys.end()));
    ExpectConsistent(dict);
    // An insertion with memory back builds the index.
    XLMTranslDictAccess::Insert(dict, XT("New"), XT("Neu"));
    EXPECT_EQ(XString(dict.StringRetranslate(XT("Neu"))), XT("New"));
    EXPECT_EQ(XString(dict.StringRetranslate(XT("Schliessen"))), XT("Exit"));
    ExpectConsistent(dict);
  }
}

}  // namespace
