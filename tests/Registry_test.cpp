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
    if (m_hKey == nullptr) GTEST_SKIP() << "the test key exists already or cannot be written";
  }
  void TearDown() override {
    if (m_hKey != nullptr) RegCloseKey(m_hKey);
  }
  XRegistryKeyGuard m_guard{HKEY_CURRENT_USER, {XT("Software"), XT("colang-test"), XT("common")}};
  HKEY m_hKey = nullptr;
};

TEST_F(RegistryTest, ValuesEnumerateWithTheirRoomAndNamesIgnoreCase) {
  ASSERT_EQ(RegStringSet(m_hKey, XT("LongerName"), XT("one")), ERROR_SUCCESS);
  DWORD dwNumber = 7;
  ASSERT_EQ(RegSetValueExW(m_hKey, XT("Second"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwNumber), 4),
            ERROR_SUCCESS);
  ASSERT_EQ(RegStringSet(m_hKey, XT("LONGERNAME"), XT("0123456789")), ERROR_SUCCESS);  // replaces

  XChar szName[256];
  BYTE data[64];
  DWORD cchName = 256, cbData = sizeof data, dwType = 0;
  ASSERT_EQ(RegEnumValueW(m_hKey, 0, szName, &cchName, nullptr, &dwType, data, &cbData), ERROR_SUCCESS);
  EXPECT_EQ(dwType, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(cchName, 10u);
  EXPECT_EQ(XString(reinterpret_cast<const XChar*>(data)), XT("0123456789"));
  cchName = 256;
  EXPECT_EQ(RegEnumValueW(m_hKey, 1, szName, &cchName, nullptr, &dwType, data, &cbData), ERROR_SUCCESS);
  cchName = 256;
  EXPECT_EQ(RegEnumValueW(m_hKey, 2, szName, &cchName, nullptr, &dwType, data, &cbData), ERROR_NO_MORE_ITEMS);

  cchName = 10;  // no room for the zero
  cbData = sizeof data;
  EXPECT_EQ(RegEnumValueW(m_hKey, 0, szName, &cchName, nullptr, nullptr, data, &cbData), ERROR_MORE_DATA);
  cchName = 256;
  cbData = 4;
  EXPECT_EQ(RegEnumValueW(m_hKey, 0, szName, &cchName, nullptr, nullptr, data, &cbData), ERROR_MORE_DATA);
  EXPECT_EQ(cbData, 11 * sizeof(XChar));
}

}  // namespace
