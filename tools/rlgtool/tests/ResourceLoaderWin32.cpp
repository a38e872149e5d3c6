// The Windows resource loader, on a program loaded as a data file.
#include "ResourceLoader.h"

#include "TextIO.h"

namespace rlgtool::test {

namespace {

// Sets the thread's language for the loader while alive. Windows chooses
// resources by the thread's user-interface language, Wine by its locale;
// both are set.
class XThreadLanguage {
 public:
  explicit XThreadLanguage(unsigned nLang) : m_nUi(GetThreadUILanguage()), m_nLocale(GetThreadLocale()) {
    SetThreadUILanguage(static_cast<LANGID>(nLang));
    SetThreadLocale(MAKELCID(nLang, SORT_DEFAULT));
  }
  ~XThreadLanguage() {
    SetThreadUILanguage(m_nUi);
    SetThreadLocale(m_nLocale);
  }
  XThreadLanguage(const XThreadLanguage&) = delete;
  XThreadLanguage& operator=(const XThreadLanguage&) = delete;

 private:
  LANGID m_nUi;
  LCID m_nLocale;
};

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
  XThreadLanguage language(nLang);
  const wchar_t* pText = nullptr;
  // A buffer size of 0 gives a pointer to the string in the resource itself.
  const int nLength = LoadStringW(Module(m_pModule), nID, reinterpret_cast<LPWSTR>(&pText), 0);
  if (nLength <= 0 || pText == nullptr) return false;
  strText.assign(pText, static_cast<size_t>(nLength));
  return true;
}

HMENU XLoadedProgram::Menu(unsigned nLang, const XResName& name) const {
  XThreadLanguage language(nLang);
  return LoadMenuW(Module(m_pModule), NameArg(name));
}

HWND XLoadedProgram::Dialog(unsigned nLang, const XResName& name) const {
  XThreadLanguage language(nLang);
  return CreateDialogParamW(Module(m_pModule), NameArg(name), nullptr, nullptr, 0);
}

}  // namespace rlgtool::test
