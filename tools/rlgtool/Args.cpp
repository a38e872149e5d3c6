// Command-line argument splitting.
#include "Args.h"

#include <cctype>

namespace rlgtool {

XArgs::XArgs(const std::vector<std::string>& vecArgs, const std::set<std::string>& setFlags,
             const std::set<std::string>& setValued) {
  bool bOptionsEnded = false;
  for (size_t i = 0; i < vecArgs.size(); ++i) {
    const std::string& arg = vecArgs[i];
    if (bOptionsEnded || arg.size() < 2 || arg[0] != '-') {
      m_vecOperands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      bOptionsEnded = true;
      continue;
    }
    std::string strName = arg, strValue;
    size_t nEq = arg.find('=');
    bool bInlineValue = arg.compare(0, 2, "--") == 0 && nEq != std::string::npos;
    if (bInlineValue) {
      strName = arg.substr(0, nEq);
      strValue = arg.substr(nEq + 1);
    }
    if (setFlags.count(strName) != 0 && !bInlineValue) {
      m_vecOptions.emplace_back(strName, "");
    } else if (setValued.count(strName) != 0) {
      if (!bInlineValue) {
        if (i + 1 >= vecArgs.size()) {
          m_strError = "option " + strName + " needs a value";
          return;
        }
        strValue = vecArgs[++i];
      }
      m_vecOptions.emplace_back(strName, strValue);
    } else {
      m_strError =
          setFlags.count(strName) != 0 ? "option " + strName + " takes no value" : "unknown option \"" + arg + "\"";
      return;
    }
  }
}

bool XArgs::Has(const std::string& strName) const {
  for (const auto& option : m_vecOptions)
    if (option.first == strName) return true;
  return false;
}

std::string XArgs::Value(const std::string& strName, const std::string& strDefault) const {
  std::string strValue = strDefault;
  for (const auto& option : m_vecOptions)
    if (option.first == strName) strValue = option.second;
  return strValue;
}

std::vector<std::string> XArgs::Values(const std::string& strName) const {
  std::vector<std::string> vecValues;
  for (const auto& option : m_vecOptions)
    if (option.first == strName) vecValues.push_back(option.second);
  return vecValues;
}

bool LangIDParse(const std::string& strText, int& nLangID) {
  size_t i = strText.size() > 2 && strText[0] == '0' && (strText[1] == 'x' || strText[1] == 'X') ? 2 : 0;
  if (i == strText.size() || strText.size() - i > 8) return false;
  unsigned long nValue = 0;
  for (; i < strText.size(); ++i) {
    if (!std::isxdigit(static_cast<unsigned char>(strText[i]))) return false;
    nValue = nValue * 16 + static_cast<unsigned long>(std::isdigit(static_cast<unsigned char>(strText[i]))
                                                          ? strText[i] - '0'
                                                          : (strText[i] | 0x20) - 'a' + 10);
  }
  if (nValue == 0 || nValue > 0x7fffffffUL) return false;
  nLangID = static_cast<int>(nValue);
  return true;
}

}  // namespace rlgtool
