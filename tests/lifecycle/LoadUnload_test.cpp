// The library's life in a process: loaded, used, unloaded, and loaded again
// with its state made anew. Uses the shared library itself, not the objects
// the other tests link.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "colang/XString.h"

// The exported functions have C++ linkage; both toolchains mangle them the
// same way but for the character type (wchar_t on Windows, char16_t elsewhere).
#if defined(_WIN32)
#include <windows.h>
#define COLANG_MANGLED_XCHAR "w"
namespace {
using XModule = HMODULE;
XModule LibOpen() { return LoadLibraryA(COLANG_SHARED_LIBRARY); }
void* LibSymbol(XModule h, const char* pszName) { return reinterpret_cast<void*>(GetProcAddress(h, pszName)); }
void LibClose(XModule h) { FreeLibrary(h); }
bool LibMapped() { return GetModuleHandleA(COLANG_SHARED_LIBRARY) != nullptr; }
}  // namespace
#else
#include <dlfcn.h>
#define COLANG_MANGLED_XCHAR "Ds"
namespace {
using XModule = void*;
XModule LibOpen() { return dlopen(COLANG_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL); }
void* LibSymbol(XModule h, const char* pszName) { return dlsym(h, pszName); }
void LibClose(XModule h) { dlclose(h); }
bool LibMapped() {
  void* h = dlopen(COLANG_SHARED_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
  if (h != nullptr) dlclose(h);
  return h != nullptr;
}
}  // namespace
#endif

namespace {

using FnLoad = long (*)(const XChar*, const XChar*, int);
using FnLangID = int (*)();
using FnTranslate = const XChar* (*)(const XChar*);

class XLibrary {
 public:
  XLibrary() : m_h(LibOpen()) {}
  ~XLibrary() { Unload(); }
  bool Loaded() const { return m_h != nullptr; }
  void Unload() {
    if (m_h != nullptr) LibClose(m_h);
    m_h = nullptr;
  }
  template <typename Fn>
  Fn Get(const char* pszName) const {
    return reinterpret_cast<Fn>(LibSymbol(m_h, pszName));
  }

 private:
  XModule m_h;
};

TEST(LoadUnload, UnloadDestroysTheStateAndALoadStartsAfresh) {
  // The test runs in the library's build directory; the catalog goes there.
  {
    std::ofstream out("Life0407.rlg", std::ios::binary);
    out << "0407\nDeutsch\nOpen\nOeffnen\n";
  }
  const XChar* pszOpen = XT("Open");
  {
    XLibrary lib;
    ASSERT_TRUE(lib.Loaded());
    auto pfnLoad = lib.Get<FnLoad>("_Z14CoLoadLanguagePK" COLANG_MANGLED_XCHAR "S0_i");
    auto pfnLangID = lib.Get<FnLangID>("_Z22CoGetCurrentLanguageIDv");
    auto pfnTranslate = lib.Get<FnTranslate>("_Z15CoTranslateTextPK" COLANG_MANGLED_XCHAR);
    ASSERT_NE(pfnLoad, nullptr);
    ASSERT_NE(pfnLangID, nullptr);
    ASSERT_NE(pfnTranslate, nullptr);
    EXPECT_EQ(pfnLangID(), 0);
    ASSERT_EQ(pfnLoad(XT("."), XT("Life"), 0x407), 1);
    EXPECT_EQ(pfnLangID(), 0x407);
    EXPECT_EQ(XString(pfnTranslate(pszOpen)), XT("Oeffnen"));
    lib.Unload();
    EXPECT_FALSE(LibMapped());
  }
  XLibrary again;
  ASSERT_TRUE(again.Loaded());
  auto pfnLangID = again.Get<FnLangID>("_Z22CoGetCurrentLanguageIDv");
  auto pfnTranslate = again.Get<FnTranslate>("_Z15CoTranslateTextPK" COLANG_MANGLED_XCHAR);
  ASSERT_NE(pfnLangID, nullptr);
  EXPECT_EQ(pfnLangID(), 0);
  EXPECT_EQ(pfnTranslate(pszOpen), pszOpen);
}

}  // namespace
