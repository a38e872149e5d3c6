// Where the emulation stands in for Windows: no resource loader.
#include "ResourceLoader.h"

namespace rlgtool::test {

std::string LoaderMissing() { return "the emulation has no resource loader"; }

XLoadedProgram::XLoadedProgram(const std::string&) {}
XLoadedProgram::~XLoadedProgram() = default;
bool XLoadedProgram::String(unsigned, unsigned, XString&) const { return false; }
HMENU XLoadedProgram::Menu(unsigned, const XResName&) const { return nullptr; }
HWND XLoadedProgram::Dialog(unsigned, const XResName&) const { return nullptr; }

}  // namespace rlgtool::test
