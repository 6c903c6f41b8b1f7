#pragma once

// Applies the lines of a configuration file to a CPDFConfig: splits each line into tokens
// (a token opened by a double or single quote runs to the same quote, without escapes),
// checks each command's tokens and reports malformed lines, which change nothing. Borrows
// the configuration for the duration of the read.

#include <string>
#include <string_view>
#include <vector>

namespace qv {

class CPDFConfig;

class CPDFConfigParser {
 public:
  CPDFConfigParser(CPDFConfig& config, std::string fileName)
      : config_(config), fileName_(std::move(fileName)) {}

  void parseLine(std::string_view line, int lineNumber);

  static std::vector<std::string> tokenize(std::string_view line);

 private:
  void bad(const char* command, int lineNumber) const;
  void badNamed(const std::string& command, int lineNumber) const;
  bool setYesNo(const std::vector<std::string>& tokens, bool& flag, int lineNumber) const;
  bool setControl(const std::vector<std::string>& tokens, int lineNumber) const;

  CPDFConfig& config_;
  std::string fileName_;
};

}  // namespace qv
