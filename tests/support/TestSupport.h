// Helpers shared by the tests: dictionaries made of pairs and their lookups,
// capturing trace lines and message boxes, standing in for the host's module
// context, and the switches between Windows and the emulation.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "colang/Hooks.h"
#include "colang/LMTranslDict.h"
#include "colang/XString.h"
#include "colang/detail/ModuleContext.h"

namespace colang::test {

// UTF-8 copy of a UTF-16 text, for messages.
std::string Narrow(XStringView text);
// UTF-16 copy of a UTF-8 text.
XString Widen(std::string_view text);
// The text a lookup found, or "<none>" for none.
inline XString Found(const XChar* psz) { return psz != nullptr ? XString(psz) : XString(XT("<none>")); }

using XPairs = std::initializer_list<std::pair<const XChar*, const XChar*>>;
// A dictionary of language nLangID (0: none) holding the pairs, inserted in order.
XLMTranslDict DictMake(XPairs pairs, int nLangID = 0x407);
// What the dictionary translates each source to, "<none>" where it has no entry.
std::vector<XString> Translations(const XLMTranslDict& dict, std::initializer_list<const XChar*> sources);

// Whether the suite runs on Windows (or Wine) rather than on the emulation.
bool OnWindows();
// Whether that Windows is Wine, for the few checks where Wine departs from Windows.
bool UnderWine();
// From now on, file reads fail once nBytes bytes have been read (a negative
// count ends the fault); false where only the emulation can arrange that.
bool FileReadFaultAfter(long long nBytes);

// Collects every trace line while alive; restores the previous sink after.
class TraceCapture {
 public:
  TraceCapture();
  ~TraceCapture();
  const std::vector<XString>& Lines() const;
  void Clear();

 private:
  XTraceSink m_pfnPrevious;
};

// Collects every message box text while alive; restores the previous hook after.
class MessageBoxCapture {
 public:
  MessageBoxCapture();
  ~MessageBoxCapture();
  const std::vector<XString>& Texts() const;

 private:
  XMessageBoxHook m_pfnPrevious;
};

// Makes a context of the "host" current while alive, as a caller would.
class HostContext {
 public:
  HostContext();
  ~HostContext();
  detail::XModuleContext* Get() { return &m_context; }

 private:
  detail::XModuleContext m_context{"host"};
  detail::XModuleContext* m_pSaved;
};

}  // namespace colang::test
