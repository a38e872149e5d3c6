// Real files in a temporary directory for tests, and guards that put back the
// process state those tests change: working directory, PATH, the settings
// directory of the search path, and registry keys.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "colang/LMTranslDict.h"
#include "colang/SessionDataMng.h"
#include "colang/platform/Win32.h"
#include "support/TestSupport.h"

namespace colang::test {

namespace fs = std::filesystem;

inline XString TextFromPath(const fs::path& path) { return Widen(path.u8string()); }
inline fs::path PathFromText(XStringView text) { return fs::u8path(Narrow(text)); }

// A fresh directory under the system's temporary directory, removed with
// everything in it at the end.
class XTempDir {
 public:
  XTempDir() {
    static std::atomic<unsigned> s_nCount{0};
    auto nStamp = std::chrono::steady_clock::now().time_since_epoch().count();
    m_path =
        fs::temp_directory_path() / ("colang-" + std::to_string(nStamp) + "-" + std::to_string(s_nCount.fetch_add(1)));
    fs::create_directories(m_path);
  }
  ~XTempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
  }
  XTempDir(const XTempDir&) = delete;
  XTempDir& operator=(const XTempDir&) = delete;

  const fs::path& Path() const { return m_path; }
  // The directory, or a name in it, as the library takes it.
  XString Text(std::string_view relative = {}) const {
    return TextFromPath(relative.empty() ? m_path : (m_path / fs::u8path(std::string(relative))).make_preferred());
  }
  // Writes the bytes to the relative name, making its directories.
  fs::path Write(std::string_view relative, std::string_view bytes) const {
    fs::path path = m_path / fs::u8path(std::string(relative));
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
  }
  fs::path Dir(std::string_view relative) const {
    fs::path path = m_path / fs::u8path(std::string(relative));
    fs::create_directories(path);
    return path;
  }

 private:
  fs::path m_path;
};

// Restores the working directory and PATH.
class XProcessStateGuard {
 public:
  XProcessStateGuard() : m_cwd(fs::current_path()), m_vecPath(32768) {
    SetLastError(0);
    DWORD n = GetEnvironmentVariableW(XT("PATH"), m_vecPath.data(), static_cast<DWORD>(m_vecPath.size()));
    m_bHadPath = n != 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
    if (n >= m_vecPath.size()) m_vecPath[0] = 0;
  }
  ~XProcessStateGuard() {
    std::error_code ec;
    fs::current_path(m_cwd, ec);
    SetEnvironmentVariableW(XT("PATH"), m_bHadPath ? m_vecPath.data() : nullptr);
  }

 private:
  fs::path m_cwd;
  std::vector<XChar> m_vecPath;
  bool m_bHadPath;
};

// A test in a temporary directory whose "cwd" is the working directory and
// whose "bin" is all of PATH, so that bare names are looked for there and
// nowhere else; both are put back afterwards.
class XSandboxTest : public testing::Test {
 protected:
  void SetUp() override {
    fs::current_path(m_dir.Dir("cwd"));
    SetEnvironmentVariableW(XT("PATH"), m_dir.Text("bin").c_str());
  }
  XProcessStateGuard m_state;
  XTempDir m_dir;
};

// A session data manager that answers ValueGet with a fixed result and
// value, and records how it was called.
struct XSessionDataStub : IQV_SessionDataMng {
  HRESULT hrResult = S_OK;
  VARIANT varAnswer{};
  int nCalls = 0;
  XString strSection, strKey;
  long nArg3 = 0, nArg5 = 0;
  VARTYPE vtOnEntry = 0xFFFF;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE Reserved1() override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE Reserved2() override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE Reserved3() override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE Reserved4() override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE Reserved5() override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE Reserved6() override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE ValueGet(BSTR bstrSection, BSTR bstrKey, long n3, VARIANT* pvarValue, long n5) override {
    ++nCalls;
    strSection.assign(bstrSection, SysStringLen(bstrSection));
    strKey.assign(bstrKey, SysStringLen(bstrKey));
    nArg3 = n3;
    nArg5 = n5;
    vtOnEntry = pvarValue->vt;
    if (hrResult == S_OK) {
      *pvarValue = varAnswer;
      if (varAnswer.vt == VT_BSTR) pvarValue->bstrVal = SysAllocString(varAnswer.bstrVal);
    }
    return hrResult;
  }
};

// Sets the settings directory as a host would; the empty one is set back at the end.
class XSettingsDirGuard {
 public:
  ~XSettingsDirGuard() { Set(XT("")); }
  static bool Set(const XChar* pszDir) {
    XSessionDataStub stub;
    BSTR bstr = SysAllocString(pszDir);
    stub.varAnswer.vt = VT_BSTR;
    stub.varAnswer.bstrVal = bstr;
    bool bResult = XLMTranslDict::RLGPathInitialize(&stub);
    SysFreeString(bstr);
    return bResult;
  }
};

// Keeps the registry as it was: the keys along the path that the test
// creates are deleted at the end. A key that exists already belongs to
// someone else: Create then refuses it, and the test skips.
class XRegistryKeyGuard {
 public:
  XRegistryKeyGuard(HKEY hRoot, const std::vector<const XChar*>& vecPath) : m_hRoot(hRoot) {
    XString strKey;
    for (const XChar* pszPart : vecPath) {
      strKey += (strKey.empty() ? XString() : XString(XT("\\"))) + pszPart;
      HKEY hKey;
      if (RegOpenKeyExW(m_hRoot, strKey.c_str(), 0, KEY_READ, &hKey) == ERROR_SUCCESS)
        RegCloseKey(hKey);
      else
        m_vecCreated.push_back(strKey);
    }
    m_strKey = strKey;
  }
  ~XRegistryKeyGuard() {
    for (size_t i = m_vecCreated.size(); i > 0; --i) RegDeleteKeyW(m_hRoot, m_vecCreated[i - 1].c_str());
  }
  XRegistryKeyGuard(const XRegistryKeyGuard&) = delete;
  XRegistryKeyGuard& operator=(const XRegistryKeyGuard&) = delete;

  // The key opened for writing, made by this guard; null when it existed
  // before or may not be written.
  HKEY Create() const {
    HKEY hKey = nullptr;
    if (m_vecCreated.empty() || m_vecCreated.back() != m_strKey) return nullptr;
    return RegCreateKeyExW(m_hRoot, m_strKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                           &hKey, nullptr) == ERROR_SUCCESS
               ? hKey
               : nullptr;
  }

 private:
  HKEY m_hRoot;
  XString m_strKey;
  std::vector<XString> m_vecCreated;
};

// Writes a REG_SZ value, terminating zero included.
inline LSTATUS RegStringSet(HKEY hKey, const XChar* pszName, const XChar* pszValue, DWORD dwType = REG_SZ) {
  XStringView value(pszValue);
  return RegSetValueExW(hKey, pszName, 0, dwType, reinterpret_cast<const BYTE*>(value.data()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(XChar)));
}

}  // namespace colang::test
