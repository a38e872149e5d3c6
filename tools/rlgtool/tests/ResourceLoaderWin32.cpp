// The Windows resource loader, on a program loaded as a data file.
#include "ResourceLoader.h"

#include "TextIO.h"

namespace rlgtool::test {

namespace {

// What fn gives with the thread's language set to nLang, which is restored
// after. Windows chooses resources by the thread's user-interface language,
// Wine by its locale; both are set.
template <class F>
auto InLanguage(unsigned nLang, F fn) {
  const LANGID nUi = GetThreadUILanguage();
  const LCID nLocale = GetThreadLocale();
  SetThreadUILanguage(static_cast<LANGID>(nLang));
  SetThreadLocale(MAKELCID(nLang, SORT_DEFAULT));
  const auto result = fn();
  SetThreadUILanguage(nUi);
  SetThreadLocale(nLocale);
  return result;
}

// A resource name as the loader takes it: MAKEINTRESOURCE or the text.
LPCWSTR NameArg(const XResName& name) { return name.bOrdinal ? MAKEINTRESOURCEW(name.nOrdinal) : name.strText.c_str(); }

HMODULE Module(void* pModule) { return static_cast<HMODULE>(pModule); }

}  // namespace

std::string LoaderMissing() { return ""; }

XLoadedProgram::XLoadedProgram(const std::string& strPath) {
  const XString strName = XFromNative(strPath);
  m_pModule = LoadLibraryExW(strName.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

XLoadedProgram::~XLoadedProgram() {
  if (m_pModule != nullptr) FreeLibrary(Module(m_pModule));
}

bool XLoadedProgram::String(unsigned nLang, unsigned nID, XString& strText) const {
  const wchar_t* pText = nullptr;
  // A buffer size of 0 gives a pointer to the string in the resource itself.
  const int nLength =
      InLanguage(nLang, [&] { return LoadStringW(Module(m_pModule), nID, reinterpret_cast<LPWSTR>(&pText), 0); });
  if (nLength <= 0 || pText == nullptr) return false;
  strText.assign(pText, static_cast<size_t>(nLength));
  return true;
}

HMENU XLoadedProgram::Menu(unsigned nLang, const XResName& name) const {
  return InLanguage(nLang, [&] { return LoadMenuW(Module(m_pModule), NameArg(name)); });
}

HWND XLoadedProgram::Dialog(unsigned nLang, const XResName& name) const {
  return InLanguage(nLang, [&] { return CreateDialogParamW(Module(m_pModule), NameArg(name), nullptr, nullptr, 0); });
}

}  // namespace rlgtool::test
