#include "testing/scripted_user.h"

namespace quillon::testing {

namespace {

const char* KindName(DialogRecord::Kind kind) {
  switch (kind) {
    case DialogRecord::Kind::MessageBox: return "message box";
    case DialogRecord::Kind::InputBox: return "input box";
    case DialogRecord::Kind::FolderChooser: return "folder chooser";
  }
  return "dialog";
}

}  // namespace

std::string Narrow(std::u16string_view text) {
  std::string narrow;
  for (char16_t c : text) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return narrow;
}

void ScriptedUser::AnswerMessageBox(std::int16_t answer) {
  script_.push_back({DialogRecord::Kind::MessageBox, answer, std::nullopt, nullptr});
}

void ScriptedUser::TypeIntoInputBox(std::u16string text) {
  script_.push_back({DialogRecord::Kind::InputBox, 0, std::move(text), nullptr});
}

void ScriptedUser::CancelInputBox() {
  script_.push_back({DialogRecord::Kind::InputBox, 0, std::nullopt, nullptr});
}

void ScriptedUser::ChooseFolder(platform::FolderPtr folder) {
  script_.push_back({DialogRecord::Kind::FolderChooser, 0, std::nullopt, std::move(folder)});
}

// Records the dialog and takes the script's next step for it; `what` names it in a complaint.
std::optional<ScriptedUser::Step> ScriptedUser::Next(DialogRecord dialog, std::u16string_view what) {
  const DialogRecord::Kind kind = dialog.kind;
  dialogs_.push_back(std::move(dialog));
  journal_.push_back(std::string("dialog ") + KindName(kind));
  if (script_.empty() || script_.front().kind != kind) {
    unexpected_.push_back(std::string("unexpected ") + KindName(kind) + ": " + Narrow(what));
    return std::nullopt;
  }
  Step step = std::move(script_.front());
  script_.pop_front();
  return step;
}

std::int16_t ScriptedUser::MsgBox(std::u16string_view text, std::int32_t style,
                                  std::u16string_view title) {
  const auto step = Next({DialogRecord::Kind::MessageBox, std::u16string(text), style, std::u16string(title), u""},
                         text);
  return step ? step->answer : 0;
}

std::optional<std::u16string> ScriptedUser::InputBox(std::u16string_view prompt,
                                                     std::u16string_view title,
                                                     std::u16string_view defaultText) {
  const auto step = Next({DialogRecord::Kind::InputBox, std::u16string(prompt), 0, std::u16string(title),
                          std::u16string(defaultText)},
                         defaultText);
  return step ? step->text : std::nullopt;
}

platform::FolderPtr ScriptedUser::PickFolder() {
  const auto step = Next({DialogRecord::Kind::FolderChooser, u"", 0, u"", u""}, u"");
  return step ? step->folder : nullptr;
}

bool ScriptedUser::SendKeys(std::u16string_view keys) {
  keys_.emplace_back(keys);
  journal_.push_back("keys " + Narrow(keys));
  return true;
}

void ScriptedUser::DoEvents() { journal_.push_back("pump"); }

bool ScriptedUser::OpenWebAddress(std::u16string_view url) {
  webAddresses_.emplace_back(url);
  journal_.push_back("open " + Narrow(url));
  return true;
}

}  // namespace quillon::testing
