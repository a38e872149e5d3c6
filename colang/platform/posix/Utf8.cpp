// UTF-8 <-> UTF-16 for the emulation's POSIX calls.
#include "colang/platform/posix/Utf8.h"

#include <climits>

#include "colang/platform/Win32.h"

namespace colang::platform {

std::string Utf8FromText(XStringView text) {
  std::string out;
  if (text.empty() || text.size() > INT_MAX / 3) return out;
  int cch = static_cast<int>(text.size());
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), cch, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return out;
  out.resize(static_cast<size_t>(n));
  WideCharToMultiByte(CP_UTF8, 0, text.data(), cch, out.data(), n, nullptr, nullptr);
  return out;
}

XString TextFromUtf8(std::string_view text) {
  XString out;
  if (text.empty() || text.size() > INT_MAX) return out;
  int cb = static_cast<int>(text.size());
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), cb, nullptr, 0);
  if (n <= 0) return out;
  out.resize(static_cast<size_t>(n));
  MultiByteToWideChar(CP_UTF8, 0, text.data(), cb, out.data(), n);
  return out;
}

std::string Utf8PathFromText(XStringView text) {
  std::string out = Utf8FromText(text);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

}  // namespace colang::platform
