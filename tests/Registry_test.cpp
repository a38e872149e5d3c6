// The registry calls the search path relies on, on the emulation and on
// Windows alike. Keys live under HKEY_CURRENT_USER, which needs no rights.
#include <gtest/gtest.h>

#include "support/Sandbox.h"

namespace {

using namespace colang::test;

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    m_hKey = m_guard.Create();
    ASSERT_NE(m_hKey, nullptr);
  }
  void TearDown() override {
    if (m_hKey != nullptr) RegCloseKey(m_hKey);
  }
  XRegistryKeyGuard m_guard{HKEY_CURRENT_USER, {XT("Software"), XT("colang-test"), XT("common")}};
  HKEY m_hKey = nullptr;
};

TEST_F(RegistryTest, ValuesEnumerateUntilNoMoreItems) {
  ASSERT_EQ(RegStringSet(m_hKey, XT("First"), XT("one")), ERROR_SUCCESS);
  DWORD dwNumber = 7;
  ASSERT_EQ(RegSetValueExW(m_hKey, XT("Second"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwNumber), 4),
            ERROR_SUCCESS);
  // Names compare without case: this replaces the first value.
  ASSERT_EQ(RegStringSet(m_hKey, XT("FIRST"), XT("uno")), ERROR_SUCCESS);

  std::vector<std::pair<XString, DWORD>> seen;
  XString strFirst;
  for (DWORD i = 0;; ++i) {
    XChar szName[256];
    DWORD cchName = 256;
    BYTE data[512];
    DWORD cbData = sizeof data;
    DWORD dwType = 0;
    LSTATUS rc = RegEnumValueW(m_hKey, i, szName, &cchName, nullptr, &dwType, data, &cbData);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(rc, ERROR_SUCCESS);
    EXPECT_EQ(XString(szName).size(), cchName);
    seen.emplace_back(XString(szName, cchName), dwType);
    if (dwType == REG_SZ) strFirst.assign(reinterpret_cast<const XChar*>(data));
  }
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(strFirst, XT("uno"));
}

TEST_F(RegistryTest, TooSmallRoomIsMoreData) {
  ASSERT_EQ(RegStringSet(m_hKey, XT("LongerName"), XT("0123456789")), ERROR_SUCCESS);
  XChar szName[256];
  BYTE data[64];
  DWORD cchName = 5, cbData = sizeof data;
  EXPECT_EQ(RegEnumValueW(m_hKey, 0, szName, &cchName, nullptr, nullptr, data, &cbData), ERROR_MORE_DATA);
  cchName = 256;
  cbData = 4;
  EXPECT_EQ(RegEnumValueW(m_hKey, 0, szName, &cchName, nullptr, nullptr, data, &cbData), ERROR_MORE_DATA);
  EXPECT_EQ(cbData, 11 * sizeof(XChar));
}

TEST_F(RegistryTest, KeysOpenWithoutCaseAndReadOnlyHandlesCannotWrite) {
  HKEY hRead = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, XT("SOFTWARE\\COLANG-TEST\\Common"), 0, KEY_READ, &hRead), ERROR_SUCCESS);
  EXPECT_EQ(RegStringSet(hRead, XT("x"), XT("y")), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegCloseKey(hRead), ERROR_SUCCESS);
  HKEY hMissing = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, XT("Software\\colang-test\\absent"), 0, KEY_READ, &hMissing),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, DeletingValuesAndKeys) {
  ASSERT_EQ(RegStringSet(m_hKey, XT("Gone"), XT("soon")), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(m_hKey, XT("gone")), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(m_hKey, XT("gone")), ERROR_FILE_NOT_FOUND);
  // A key with subkeys stays.
  EXPECT_NE(RegDeleteKeyW(HKEY_CURRENT_USER, XT("Software\\colang-test")), ERROR_SUCCESS);
  HKEY hSub = nullptr;
  ASSERT_EQ(RegCreateKeyExW(m_hKey, XT("sub"), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hSub, nullptr), ERROR_SUCCESS);
  RegCloseKey(hSub);
  EXPECT_EQ(RegDeleteKeyW(m_hKey, XT("sub")), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyExW(m_hKey, XT("sub"), 0, KEY_READ, &hSub), ERROR_FILE_NOT_FOUND);
}

}  // namespace
