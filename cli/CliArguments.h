#pragma once

// The command line of quorvane-cli, parsed without side effects: options, overrides and the
// files and folders named. Parsing never exits; errors come back as text for the caller.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qv {

struct CliArguments {
  bool help = false;
  bool info = false;
  bool open = false;
  bool verbose = false;
  std::optional<std::string> settingsFile;
  std::vector<std::pair<std::string, std::string>> overrides;  // --set KEY=VALUE, in order
  std::optional<std::string> ownerPassword;
  std::optional<std::string> userPassword;
  std::vector<std::string> inputs;
};

// Parses argv[1..]; on a usage error returns none and sets error.
std::optional<CliArguments> ParseCliArguments(const std::vector<std::string>& args,
                                              std::string& error);

// The text --help prints.
std::string CliHelpText();

}  // namespace qv
