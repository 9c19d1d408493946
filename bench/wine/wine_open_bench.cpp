// How long the Options dialog makes the user wait for the page: from the page's
// creation (ProgID lookup, CoCreateInstance) through its load of the profile to
// the end of its first paint, in the stand-in's Options dialog, timed next to
// `regedit /E` exporting the same profile key and next to the page's floor (its
// controls opened with nothing loaded). Medians of 7 rounds, after one round
// that loads the DLL.
//
//   quillon_wine_open_bench.exe LABEL SCENARIO.json PROFILE_KEY
#include <windows.h>

#include <commctrl.h>  // after windows.h
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "bench/wine/page_floor.h"
#include "bench/wine/timed_process.h"
#include "standin/options_dialog.h"
#include "standin/scenario.h"

namespace {

using namespace quillon::standin;
using quillon::bench::TimedFloorOpen;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 7;

double Milliseconds(Clock::duration elapsed) { return std::chrono::duration<double, std::milli>(elapsed).count(); }

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Runs what the dialog posted and painted until nothing is left: the page's
// first paint is then over.
void SettleMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

struct OpenResult {
  double milliseconds = -1;
  double untilShown = -1;  // created, loaded and shown, before the first paint
  int listLines = -1;  // the longest list's lines (the identities'), to show the load happened
};

OpenResult TimedOpen(const Scenario& scenario) {
  EventLog log(L"");
  auto world = std::make_shared<World>(scenario, log);
  OptionsDialog dialog(world, DialogOptions{});
  OpenResult result;
  if (!dialog.Open()) return result;
  result.untilShown = Milliseconds(Clock::now() - dialog.CreationStarted());
  RedrawWindow(dialog.DialogWindow(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  SettleMessages();
  result.milliseconds = Milliseconds(Clock::now() - dialog.CreationStarted());
  for (HWND list = nullptr; (list = FindWindowExW(dialog.PageWindow(), list, L"ListBox", nullptr));)
    result.listLines = std::max(result.listLines, static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0)));
  dialog.Close("Cancel");
  SettleMessages();
  return result;
}

double TimedExport(const std::wstring& key, const std::wstring& file) {
  return quillon::bench::TimedProcess(L"regedit.exe /E \"" + file + L"\" \"" + key + L"\"");
}

int Run(const std::wstring& label, const std::wstring& scenarioPath, const std::wstring& key) {
  const Scenario scenario = LoadScenarioFile(scenarioPath);
  const OpenResult cold = TimedOpen(scenario);
  if (cold.milliseconds < 0) {
    std::printf("the page could not be created\n");
    return 1;
  }
  std::vector<double> opens, shown, exports, floors;
  int lines = cold.listLines;
  TimedFloorOpen();  // as the first open, once apart
  // The page and its floor in turns, so that both meet the same load of the machine.
  for (int round = 0; round < kRounds; ++round) {
    const OpenResult open = TimedOpen(scenario);
    opens.push_back(open.milliseconds);
    shown.push_back(open.untilShown);
    lines = open.listLines;
    floors.push_back(TimedFloorOpen());
  }
  wchar_t directory[MAX_PATH];
  GetTempPathW(MAX_PATH, directory);
  const std::wstring file = std::wstring(directory) + L"quillon-bench-export.reg";
  TimedExport(key, file);  // warms regedit's files as the first open warmed the DLL
  for (int round = 0; round < kRounds; ++round) exports.push_back(TimedExport(key, file));
  DeleteFileW(file.c_str());
  if (*std::min_element(exports.begin(), exports.end()) < 0) {
    std::printf("regedit could not be started\n");
    return 1;
  }
  if (*std::min_element(floors.begin(), floors.end()) < 0) {
    std::printf("the floor's windows could not be created\n");
    return 1;
  }
  const double open = Median(opens), exported = Median(exports), floor = Median(floors);
  std::printf("page open, %ls (%d lines in its longest list, median of %d; first open %.1f ms): %.1f ms\n", label.c_str(), lines,
              kRounds, cold.milliseconds, open);
  std::printf("  of which created, loaded and shown: %.1f ms, first paint: %.1f ms\n", Median(shown),
              open - Median(shown));
  std::printf("regedit /E of the profile key, %ls (median of %d): %.1f ms\n", label.c_str(), kRounds, exported);
  std::printf("ratio page open / regedit /E, %ls: %.2f\n", label.c_str(), open / exported);
  std::printf("floor, the same controls with nothing loaded, %ls (median of %d): %.1f ms\n", label.c_str(), kRounds,
              floor);
  std::printf("ratio page open / floor, %ls: %.2f\n", label.c_str(), open / floor);
  return 0;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count != 4) {
    std::fputs("usage: quillon_wine_open_bench.exe LABEL SCENARIO.json PROFILE_KEY\n", stderr);
    return 2;
  }
  if (FAILED(OleInitialize(nullptr))) return 4;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  int result = 4;
  try {
    result = Run(args[1], args[2], args[3]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "quillon_wine_open_bench: %s\n", error.what());
  }
  LocalFree(args);
  OleUninitialize();
  return result;
}
