// Full paths and the file status query on POSIX, with both '\' and '/' as
// separators.
#include "colang/platform/Path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "colang/detail/TextCodec.h"
#include "colang/platform/posix/Utf8.h"

namespace colang::platform {

namespace {

bool IsSeparator(XChar c) { return c == XChar('\\') || c == XChar('/'); }

// The working directory as UTF-16; empty when it cannot be read.
XString CurrentDirectory() {
  std::vector<char> buffer(256);
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
    buffer.resize(buffer.size() * 2);
  }
  return colang::detail::TextFromUtf8(buffer.data());
}

}  // namespace

bool PathFullGet(const XChar* pszName, XString& strFull) {
  if (pszName == nullptr || pszName[0] == 0) return false;
  XString path(pszName);
  if (!IsSeparator(path[0])) path = CurrentDirectory() + XChar('/') + path;

  // Resolve "." and ".." by name alone, as Windows does: links are not followed.
  std::vector<XStringView> components;
  XStringView rest(path);
  while (!rest.empty()) {
    size_t n = 0;
    while (n < rest.size() && !IsSeparator(rest[n])) ++n;
    XStringView component = rest.substr(0, n);
    rest.remove_prefix(n < rest.size() ? n + 1 : n);
    if (component.empty() || component == XT(".")) continue;
    if (component == XT("..")) {
      if (!components.empty()) components.pop_back();
      continue;
    }
    components.push_back(component);
  }
  XString full;
  for (XStringView component : components) {
    full += XChar('/');
    full.append(component);
  }
  if (full.empty() || IsSeparator(path.back())) full += XChar('/');
  strFull = std::move(full);
  return true;
}

bool FileStatusQuery(const XChar* pszName, XString* pFullPath) {
  if (pszName == nullptr || pszName[0] == 0) return false;
  struct stat st;
  if (stat(Utf8PathFromText(pszName).c_str(), &st) != 0) return false;
  if (pFullPath != nullptr && !PathFullGet(pszName, *pFullPath)) return false;
  return true;
}

XStringView PathSeparatorsNative() { return XT("\\/"); }

XStringView PathListSeparators() { return XT(":;"); }

XString PathLoadedForm(const XString& strName) {
  XString strFull;
  return PathFullGet(strName.c_str(), strFull) ? strFull : strName;
}

}  // namespace colang::platform
