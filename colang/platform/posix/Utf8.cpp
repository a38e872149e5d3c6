// File names for the emulation's POSIX calls.
#include "colang/platform/posix/Utf8.h"

#include "colang/detail/TextCodec.h"

namespace colang::platform {

std::string Utf8PathFromText(XStringView text) {
  std::string out = colang::detail::Utf8FromText(text);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

}  // namespace colang::platform
