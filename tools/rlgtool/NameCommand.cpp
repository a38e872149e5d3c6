// rlgtool name: the file name under which the library looks for a catalog.
#include "Commands.h"
#include "colang/LMTranslDict.h"

namespace rlgtool {

int NameCommand(const std::vector<std::string>& vecArgs, const XGlobal& global) {
  XArgs args(vecArgs, {}, {});
  if (!args.Error().empty()) return UsageError("name", args.Error(), global);
  if (args.Operands().size() != 3) return UsageError("name", "expected DIR PREFIX LANGID", global);
  const std::string& strLang = args.Operands()[2];
  int nLangID = 0;
  if (!LangIDArgument("name", strLang, nLangID, global)) return eExitUsage;
  XString strName = XLMTranslDict::RLGFilenameGen(XFromNative(args.Operands()[0]).c_str(),
                                                  XFromNative(args.Operands()[1]).c_str(), nLangID);
  std::printf("%s\n", Utf8FromText(strName).c_str());
  return eExitOk;
}

}  // namespace rlgtool
