#include "support/TestSupport.h"

#include "colang/detail/DictAccess.h"
#include "colang/platform/Win32.h"
#include "colang/platform/posix/FileFault.h"

namespace colang::test {

namespace {
std::vector<XString> g_vecTraceLines;
std::vector<XString> g_vecMessageBoxes;
}  // namespace

#if defined(_WIN32)
bool OnWindows() { return true; }
bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }
bool FileReadFaultAfter(long long) { return false; }
#else
bool OnWindows() { return false; }
bool UnderWine() { return false; }
bool FileReadFaultAfter(long long nBytes) {
  platform::FileReadFaultSet(nBytes);
  return true;
}
#endif

XLMTranslDict DictMake(XPairs pairs, int nLangID) {
  XLMTranslDict dict;
  for (const auto& [pszSource, pszTransl] : pairs) XLMTranslDictAccess::Insert(dict, pszSource, pszTransl);
  dict.LangIDSet(nLangID);
  return dict;
}

std::vector<XString> Translations(const XLMTranslDict& dict, std::initializer_list<const XChar*> sources) {
  std::vector<XString> vecFound;
  for (const XChar* pszSource : sources) vecFound.push_back(Found(dict.CheckTranslate(pszSource)));
  return vecFound;
}

std::string Narrow(XStringView text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

XString Widen(std::string_view text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  XString out(static_cast<size_t>(n > 0 ? n : 0), XChar(0));
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

TraceCapture::TraceCapture()
    : m_pfnPrevious(TraceSinkSet([](const XChar* pszLine) { g_vecTraceLines.emplace_back(pszLine); })) {
  g_vecTraceLines.clear();
}
TraceCapture::~TraceCapture() { TraceSinkSet(m_pfnPrevious); }
const std::vector<XString>& TraceCapture::Lines() const { return g_vecTraceLines; }
void TraceCapture::Clear() { g_vecTraceLines.clear(); }

MessageBoxCapture::MessageBoxCapture()
    : m_pfnPrevious(MessageBoxHookSet([](const XChar* pszText, unsigned, unsigned) {
        g_vecMessageBoxes.emplace_back(pszText);
        return 1;
      })) {
  g_vecMessageBoxes.clear();
}
MessageBoxCapture::~MessageBoxCapture() { MessageBoxHookSet(m_pfnPrevious); }
const std::vector<XString>& MessageBoxCapture::Texts() const { return g_vecMessageBoxes; }

HostContext::HostContext() : m_pSaved(detail::ModuleContextSwitch(&m_context)) {}
HostContext::~HostContext() { detail::ModuleContextSwitch(m_pSaved); }

}  // namespace colang::test
