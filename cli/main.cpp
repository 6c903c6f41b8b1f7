// quorvane-cli: the conversion job without a window, for scripts and batches.

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <system_error>
#include <thread>

#include "app/BridgeDocumentSource.h"
#include "app/ConversionJob.h"
#include "app/DocumentSummary.h"
#include "app/EngineMessages.h"
#include "app/HtmlSiteOutput.h"
#include "app/InputFileList.h"
#include "app/options/SettingsFile.h"
#include "cli/CliArguments.h"
#include "cli/CliObserver.h"
#include "pdf/core/Memory.h"

namespace {

namespace fs = std::filesystem;

constexpr int kExitConverted = 0;
constexpr int kExitSkipped = 1;
constexpr int kExitUsage = 2;

int usageError(const std::string& text) {
  std::fprintf(stderr, "quorvane-cli: %s\nTry 'quorvane-cli --help' for more information.\n",
               text.c_str());
  return kExitUsage;
}

// Turns a stop request from the terminal (Ctrl+C, SIGTERM) into a stop of the job, so the
// page being written always completes. A second request ends the process at once. The
// signals are blocked in every thread and taken by sigwait here, so no handler runs.
class StopOnSignal {
 public:
  explicit StopOnSignal(qv::ConversionJob& job, qv::CliObserver& observer) {
    sigemptyset(&set_);
    sigaddset(&set_, SIGINT);
    sigaddset(&set_, SIGTERM);
    sigaddset(&set_, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &set_, nullptr);
    watcher_ = std::thread([this, &job, &observer] {
      bool stopping = false;
      for (;;) {
        int signal = 0;
        if (sigwait(&set_, &signal) != 0 || signal == SIGUSR1) {
          return;
        }
        if (stopping) {
          _exit(130);
        }
        stopping = true;
        job.requestStop();
        observer.printLine("quorvane-cli: stopping after the current page");
      }
    });
  }
  ~StopOnSignal() {
    pthread_kill(watcher_.native_handle(), SIGUSR1);
    watcher_.join();
    pthread_sigmask(SIG_UNBLOCK, &set_, nullptr);
  }

 private:
  sigset_t set_;
  std::thread watcher_;
};

}  // namespace

int main(int argc, char** argv) {
  qv::installOutOfMemoryHandler();
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::string error;
  std::optional<qv::CliArguments> parsed = qv::ParseCliArguments(args, error);
  if (!parsed) {
    return usageError(error);
  }
  if (parsed->help) {
    std::fputs(qv::CliHelpText().c_str(), stdout);
    return kExitConverted;
  }
  if (parsed->inputs.empty()) {
    return usageError("no PDF file or folder given");
  }

  // Options: the settings file, then the overrides in the order given.
  const fs::path appDirectory = qv::ExecutableDirectory();
  qv::ConvertOptions options;
  fs::path settingsFile;
  std::error_code ec;
  if (parsed->settingsFile) {
    settingsFile = *parsed->settingsFile;
    if (!fs::is_regular_file(settingsFile, ec)) {
      return usageError("settings file not found: " + settingsFile.string());
    }
  } else {
    settingsFile =
        qv::SettingsFilePath(appDirectory, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
  }
  qv::LoadSettings(options, settingsFile);
  for (const auto& [key, value] : parsed->overrides) {
    if (auto problem = qv::SetOptionFromText(options, key, value)) {
      return usageError(*problem);
    }
  }

  // Inputs: every named file and folder must exist; folders are searched for PDF files.
  bool missing = false;
  for (const std::string& input : parsed->inputs) {
    if (!fs::exists(input, ec)) {
      std::fprintf(stderr, "quorvane-cli: %s: no such file or folder\n", input.c_str());
      missing = true;
    }
  }
  if (missing) {
    return kExitUsage;
  }
  qv::CliObserver observer(isatty(STDERR_FILENO) == 1, parsed->open);
  int status = kExitConverted;
  qv::InputFileList list;
  for (const std::string& input : parsed->inputs) {
    fs::path path = fs::absolute(input, ec).lexically_normal();
    if (fs::is_directory(path, ec)) {
      if (list.importFolder(path) == 0) {
        observer.printLine("quorvane-cli: skipped " + input + ": no PDF files in this folder");
        status = kExitSkipped;
      }
    } else {
      list.addFile(path);
    }
  }

  if (parsed->info) {
    // The summaries open their documents on this thread.
    std::optional<qv::ScopedErrorSink> engineMessages;
    if (parsed->verbose) {
      engineMessages.emplace(qv::StandardErrorSink());
    }
    for (const fs::path& file : list.files()) {
      auto summary = qv::DocumentSummaryText(file, parsed->ownerPassword, parsed->userPassword);
      if (summary) {
        std::fputs(summary->c_str(), stdout);
        std::fputs("\n", stdout);
        std::fflush(stdout);
      } else {
        std::fprintf(stderr, "%s: Not a valid pdf file!\n", file.c_str());
        status = kExitSkipped;
      }
    }
    return status;
  }

  std::vector<qv::JobFile> files;
  for (const fs::path& file : list.files()) {
    files.push_back({file, parsed->ownerPassword, parsed->userPassword});
  }
  qv::BridgeDocumentSource source(parsed->verbose);
  qv::HtmlSiteOutput site([&observer](const std::string& text) { observer.message(text); });
  qv::JobSettings settings;
  settings.appDirectory = appDirectory;
  qv::ConversionJob job(options, std::move(files), settings, source, site, observer);
  qv::JobResult result;
  {
    StopOnSignal stopOnSignal(job, observer);
    job.start();
    result = job.wait();
  }
  observer.finishCaptions();
  if (result.outcome == qv::JobOutcome::Stopped) {
    observer.printLine("quorvane-cli: Convert stopped.");
  }
  if (result.outcome != qv::JobOutcome::Finished || result.skipped > 0) {
    status = kExitSkipped;
  }
  return status;
}
