// QuillonOptions.exe: the stand-in Outlook. Opens the Options dialog with the
// page of ProgID Quillon.QuillonPage on a scenario's Outlook, and logs what
// Outlook would see.
//
//   QuillonOptions.exe --scenario FILE [--log FILE] [--screenshot FILE.bmp]
//                      [--site-first | --init-new-first] [--progid PROGID]
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "standin/debug_output_listener.h"
#include "standin/folder_chooser.h"
#include "standin/options_dialog.h"
#include "standin/scenario.h"

#include <commctrl.h>  // after windows.h
#include <shellapi.h>

namespace {

using namespace quillon::standin;

struct CommandLine {
  std::wstring scenarioPath, logPath;
  DialogOptions dialog;
};

constexpr char kUsage[] =
    "usage: QuillonOptions.exe --scenario FILE [--log FILE] [--screenshot FILE.bmp]\n"
    "                          [--site-first | --init-new-first] [--progid PROGID]\n";

std::optional<CommandLine> ParseCommandLine() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args) return std::nullopt;
  CommandLine parsed;
  bool ok = true;
  for (int i = 1; i < count && ok; ++i) {
    const std::wstring arg = args[i];
    const bool hasValue = i + 1 < count;
    if (arg == L"--scenario" && hasValue) parsed.scenarioPath = args[++i];
    else if (arg == L"--log" && hasValue) parsed.logPath = args[++i];
    else if (arg == L"--screenshot" && hasValue) parsed.dialog.screenshotPath = args[++i];
    else if (arg == L"--progid" && hasValue) parsed.dialog.progId = args[++i];
    else if (arg == L"--site-first") parsed.dialog.order = CreationOrder::kSetClientSiteFirst;
    else if (arg == L"--init-new-first") parsed.dialog.order = CreationOrder::kInitNewFirst;
    else ok = false;
  }
  LocalFree(args);
  if (!ok || parsed.scenarioPath.empty()) return std::nullopt;
  return parsed;
}

int RunOptions(const CommandLine& commandLine) {
  Scenario scenario;
  try {
    scenario = LoadScenarioFile(commandLine.scenarioPath);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "QuillonOptions: the scenario is not valid: %s\n", error.what());
    return 2;
  }
  EventLog log(commandLine.logPath);
  auto world = std::make_shared<World>(std::move(scenario), log);
  int result = 0;
  {
    // Before the page's library is loaded and after it has ended, so that none
    // of its reports is missed and all come before "End".
    const DebugOutputListener debugOutput(log);
    if (!debugOutput.Listening()) log.Record("DiagnosticsNotListened");
    OptionsDialog dialog(world, commandLine.dialog);
    world->SetFolderChooserUi([&dialog](const std::vector<std::wstring>& paths) {
      HWND owner = GetActiveWindow();
      return ChooseFolder(owner ? owner : dialog.DialogWindow(), paths);
    });
    result = dialog.Run();
    world->SetFolderChooserUi(nullptr);
  }
  log.Record("End", {{"outlookQuit", world->quitCalled}});
  std::printf("QuillonOptions: dialog closed; Outlook %s\n", world->quitCalled ? "quit (restart)" : "keeps running");
  return result;
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const auto commandLine = ParseCommandLine();
  if (!commandLine) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  if (FAILED(OleInitialize(nullptr))) {
    std::fputs("QuillonOptions: OleInitialize failed\n", stderr);
    return 4;
  }
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  int result = 4;
  try {
    result = RunOptions(*commandLine);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "QuillonOptions: %s\n", error.what());
  }
  OleUninitialize();
  return result;
}
