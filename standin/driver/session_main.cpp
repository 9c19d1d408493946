// QuillonSession.exe: a short session with the page, played as a user would,
// for a run without a display: add an identity through the input box, move it
// up, give it a signature (Outlook 12 and later), choose another Reply-To format,
// take a screenshot, OK, and agree to restart.
//
//   QuillonSession.exe OPTIONS_EXE SCENARIO LOG SCREENSHOT_BMP
#include <cstdio>
#include <string>

#include "standin/driver/ui_driver.h"

namespace {

using namespace quillon::standin::driver;

constexpr wchar_t kNewIdentity[] = L"Alex Example alex.example@quillon-sample.com";
// One of the signatures scripts/run puts into the prefix (samples/signatures).
constexpr wchar_t kNewSignature[] = L"Jane Doe (jane.doe@quillon-sample.com)";

void Say(const std::wstring& text) { std::printf("session: %ls\n", text.c_str()); }

int Fail(const std::wstring& why) {
  std::fprintf(stderr, "session: FAILED: %ls\n", why.c_str());
  return 1;
}

void ShowIdentities(const OptionsWindow& options) {
  Say(L"default line: " + options.Text(PageControl::lblDefAddress));
  for (const std::wstring& line : options.Lines(PageControl::List1)) Say(L"  identity: " + line);
}

int AddIdentity(OptionsWindow& options, DWORD processId) {
  options.Click(PageControl::cmdAdd);
  const auto box = WaitForModal(processId);
  if (!box || !box->hasEdit) return Fail(L"the input box did not open");
  Say(L"input box asks: " + box->text);
  if (!Type(*box, kNewIdentity) || !Press(*box, IDOK)) return Fail(L"could not type into the input box");
  options.Settle();
  Say(std::wstring(L"typed \"") + kNewIdentity + L"\" and pressed OK");
  return 0;
}

int MoveLastIdentityUp(OptionsWindow& options) {
  const int last = static_cast<int>(options.Lines(PageControl::List1).size()) - 1;
  if (last < 1) return 0;  // nothing above it
  if (!options.ClickListLine(PageControl::List1, last)) return Fail(L"could not select the new identity");
  options.Click(PageControl::cmdMoveUp);
  Say(L"moved \"" + options.Lines(PageControl::List1)[last - 1] + L"\" up");
  return 0;
}

// The moved identity is still selected; below Outlook 12 there is no signature list.
int ChooseSignature(OptionsWindow& options) {
  if (!options.Visible(PageControl::Frame5)) return 0;
  if (!options.ChooseEntry(PageControl::cboNewSignature, kNewSignature))
    return Fail(std::wstring(L"could not choose the signature ") + kNewSignature);
  Say(std::wstring(L"chose the signature for new messages: ") + kNewSignature);
  return 0;
}

void ChooseAnotherFormat(OptionsWindow& options) {
  const PageControl choice = options.Checked(PageControl::Option1_0) ? PageControl::Option1_2 : PageControl::Option1_0;
  options.Click(choice);
  Say(L"chose the Reply-To format " + options.Text(choice));
}

int ConfirmAndRestart(OptionsWindow& options, DWORD processId) {
  options.ClickButton(IDOK);
  const auto question = WaitForModal(processId);
  if (!question) return Fail(L"no restart question after OK");
  Say(L"question: " + question->text);
  if (!Press(*question, IDYES)) return Fail(L"could not answer Yes");
  Say(L"answered Yes");
  return 0;
}

int RunSession(const std::wstring& optionsExe, const std::wstring& scenario, const std::wstring& log,
               const std::wstring& screenshot) {
  Process standin;
  if (!standin.Start(L"\"" + optionsExe + L"\" --scenario \"" + scenario + L"\" --log \"" + log +
                     L"\" --screenshot \"" + screenshot + L"\""))
    return Fail(L"cannot start " + optionsExe);
  auto options = OptionsWindow::Wait(standin.Id());
  if (!options) return Fail(L"the Options dialog with the page did not appear");
  Say(L"the Options dialog shows the page");
  ShowIdentities(*options);
  if (int failed = AddIdentity(*options, standin.Id())) return failed;
  if (int failed = MoveLastIdentityUp(*options)) return failed;
  if (int failed = ChooseSignature(*options)) return failed;
  ChooseAnotherFormat(*options);
  ShowIdentities(*options);
  Say(options->Screenshot() ? L"screenshot written" : L"screenshot NOT written");
  if (int failed = ConfirmAndRestart(*options, standin.Id())) return failed;
  const auto exitCode = standin.Wait();
  if (!exitCode) return Fail(L"the Options dialog did not close");
  Say(L"the stand-in Outlook ended with exit code " + std::to_wstring(*exitCode));
  return *exitCode == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc != 5) {
    std::fputs("usage: QuillonSession.exe OPTIONS_EXE SCENARIO LOG SCREENSHOT_BMP\n", stderr);
    return 2;
  }
  return RunSession(argv[1], argv[2], argv[3], argv[4]);
}
