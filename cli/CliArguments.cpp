#include "cli/CliArguments.h"

#include "app/options/SettingsFile.h"

namespace qv {

std::optional<CliArguments> ParseCliArguments(const std::vector<std::string>& args,
                                              std::string& error) {
  CliArguments parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      parsed.inputs.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    // Options that take a value accept "--name VALUE" and "--name=VALUE".
    std::string name = arg;
    std::optional<std::string> value;
    size_t equals = arg.find('=');
    if (arg.rfind("--", 0) == 0 && equals != std::string::npos) {
      name = arg.substr(0, equals);
      value = arg.substr(equals + 1);
    }
    auto takeValue = [&]() -> std::optional<std::string> {
      if (value) {
        return value;
      }
      if (i + 1 < args.size()) {
        return args[++i];
      }
      error = "option " + name + " needs a value";
      return std::nullopt;
    };
    bool takesValue = name == "--settings" || name == "--set" || name == "--owner-password" ||
                      name == "--user-password";
    if (!takesValue && value) {
      error = "option " + name + " takes no value";
      return std::nullopt;
    }
    if (name == "--help" || name == "-h") {
      parsed.help = true;
    } else if (name == "--info") {
      parsed.info = true;
    } else if (name == "--open") {
      parsed.open = true;
    } else if (name == "--verbose") {
      parsed.verbose = true;
    } else if (takesValue) {
      auto text = takeValue();
      if (!text) {
        return std::nullopt;
      }
      if (name == "--settings") {
        parsed.settingsFile = *text;
      } else if (name == "--owner-password") {
        parsed.ownerPassword = *text;
      } else if (name == "--user-password") {
        parsed.userPassword = *text;
      } else {
        size_t split = text->find('=');
        if (split == std::string::npos) {
          error = "--set needs KEY=VALUE, not \"" + *text + "\"";
          return std::nullopt;
        }
        parsed.overrides.emplace_back(text->substr(0, split), text->substr(split + 1));
      }
    } else {
      error = "unknown option " + arg;
      return std::nullopt;
    }
  }
  return parsed;
}

std::string CliHelpText() {
  std::string text =
      "Usage: quorvane-cli [options] PDF-or-folder...\n"
      "       quorvane-cli --info PDF-or-folder...\n"
      "\n"
      "Converts PDF documents into browsable HTML sites. The output of a file goes into a\n"
      "folder beside it named after the file without its extension. Folders are searched\n"
      "recursively for files ending in \".pdf\" (any case).\n"
      "\n"
      "Options:\n"
      "  --settings FILE        read the options from FILE (default: the window's\n"
      "                         Settings.ini); the file is never written\n"
      "  --set KEY=VALUE        override one option by its Settings.ini key, e.g.\n"
      "                         --set \"Frame Structure=1\"; may be repeated\n"
      "  --owner-password PW    owner password for every file\n"
      "  --user-password PW     user password for every file\n"
      "  --open                 open the result when done (a page in the browser, or the\n"
      "                         first output folder when several files were converted)\n"
      "  --verbose              show the PDF engine's messages on standard error\n"
      "  --info                 print the document summary of each file instead of\n"
      "                         converting (size, creation time, PDF version, page size\n"
      "                         at 96 pixels per inch, page count, permissions); with\n"
      "                         --verbose the engine's messages too\n"
      "  -h, --help             show this help\n"
      "\n"
      "Progress captions are shown on standard error when it is a terminal. Every file that\n"
      "is not converted is named on standard error with the reason. Ctrl+C stops after the\n"
      "page being converted.\n"
      "\n"
      "Exit status: 0 every file converted; 1 any file or folder skipped, or the batch\n"
      "stopped or ended at a page-range error; 2 usage error (unknown option, unknown\n"
      "settings key, a value that is not a number, no input, a missing file or folder,\n"
      "a missing --settings file). With --info: 0 every summary printed; 1 any file was\n"
      "not a valid PDF file (damaged, not a PDF, or a wrong password), or a folder held\n"
      "no PDF files; 2 usage error.\n"
      "\n"
      "Settings keys (numbers unless marked as text):\n";
  for (const SettingKey& key : SettingKeys()) {
    text += std::string("  ") + key.key + (key.textField ? " (text)" : "") + "\n";
  }
  return text;
}

}  // namespace qv
