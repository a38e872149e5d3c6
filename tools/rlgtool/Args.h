// Command-line arguments of one subcommand: options (with or without a
// value, "--name=value" or "--name value"), "--" to end them, and operands.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace rlgtool {

// Exit statuses: fine, problems found, usage or input/output error.
enum XExit { eExitOk = 0, eExitProblems = 1, eExitUsage = 2 };

class XArgs {
 public:
  // Splits vecArgs: names in setFlags take no value, names in setValued take
  // one; anything else starting with "-" (but "-" alone) is an error.
  XArgs(const std::vector<std::string>& vecArgs, const std::set<std::string>& setFlags,
        const std::set<std::string>& setValued);

  // Empty when the arguments were well-formed, else what was wrong.
  const std::string& Error() const { return m_strError; }
  bool Has(const std::string& strName) const;
  // The value of the last occurrence of a valued option, or strDefault.
  std::string Value(const std::string& strName, const std::string& strDefault = "") const;
  // The values of every occurrence of a valued option, in order.
  std::vector<std::string> Values(const std::string& strName) const;
  const std::vector<std::string>& Operands() const { return m_vecOperands; }

 private:
  std::vector<std::pair<std::string, std::string>> m_vecOptions;
  std::vector<std::string> m_vecOperands;
  std::string m_strError;
};

// A language identifier written in hexadecimal ("0407", "0x0407", "407");
// false for anything else or a value outside 1 to 0x7fffffff.
bool LangIDParse(const std::string& strText, int& nLangID);

}  // namespace rlgtool
