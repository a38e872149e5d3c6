// Writes the resource script of the benchmark's program: menus, dialogs and
// string tables in English and German, with some 5 MB of resources each.
#include <cstdio>
#include <string>

#include "BigProgram.h"

namespace {

using namespace extract_bench;

// A text of some 15 to 45 characters, different for each number.
std::string Text(const char* pszLang, unsigned n) {
  static const char* const kWords[] = {"Open",   "file",   "&Save", "window", "print",  "Options", "view", "Tools",
                                       "format", "insert", "Help",  "table",  "search", "next",    "page", "close"};
  std::string strText = pszLang;
  for (unsigned k = n * 2654435761u, i = 0; i < 2 + n % 6; ++i, k = k * 1103515245u + 12345u)
    strText += std::string(" ") + kWords[(k >> 16) % 16];
  return strText + " " + std::to_string(n);
}

void Language(std::FILE* pFile, const char* pszStatement, const char* pszLang) {
  std::fprintf(pFile, "%s\n", pszStatement);
  unsigned n = 0;
  for (int m = 1; m <= kMenus; ++m) {
    std::fprintf(pFile, "%d MENU\nBEGIN\n  POPUP \"%s\"\n  BEGIN\n", m, Text(pszLang, ++n).c_str());
    for (int i = 0; i < kItems; ++i)
      std::fprintf(pFile, "    MENUITEM \"%s\\tCtrl+%c\", %d\n", Text(pszLang, ++n).c_str(), 'A' + i % 26, 1000 + i);
    std::fprintf(pFile, "  END\nEND\n");
  }
  for (int d = 1; d <= kDialogs; ++d) {
    std::fprintf(pFile, "%d DIALOGEX 0, 0, 300, 200\nCAPTION \"%s\"\nBEGIN\n", d, Text(pszLang, ++n).c_str());
    for (int c = 0; c < kControls; ++c)
      std::fprintf(pFile, "  %s \"%s\", %d, 5, %d, 200, 10\n", c % 3 == 0 ? "LTEXT" : "PUSHBUTTON",
                   Text(pszLang, ++n).c_str(), c % 4 == 0 ? -1 : 2000 + c, 5 + 10 * c);
    std::fprintf(pFile, "END\n");
  }
  std::fprintf(pFile, "STRINGTABLE\nBEGIN\n");
  for (int s = 1; s <= kStrings; ++s) std::fprintf(pFile, "  %d \"%s\"\n", s, Text(pszLang, ++n).c_str());
  std::fprintf(pFile, "END\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::FILE* pFile = std::fopen(argv[1], "w");
  if (pFile == nullptr) return 1;
  Language(pFile, "LANGUAGE 9, 1", "English");
  Language(pFile, "LANGUAGE 7, 1", "Deutsch");
  return std::fclose(pFile) == 0 ? 0 : 1;
}
