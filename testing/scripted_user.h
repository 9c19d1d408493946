// A user who answers the page's dialogs from a script, and records every
// dialog, keystroke and message pump the page asked for.
//
// A dialog the script did not expect (or expected as another kind) is
// answered like a dismissal (message box 0, input box Cancel, chooser
// Cancel) and reported by Unexpected(), so that loops end and the test fails.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/outlook.h"
#include "platform/user_services.h"

namespace quillon::testing {

struct DialogRecord {
  enum class Kind { MessageBox, InputBox, FolderChooser };
  Kind kind = Kind::MessageBox;
  std::u16string text;  // message or prompt
  std::int32_t style = 0;
  std::u16string title;
  std::u16string defaultText;
};

class ScriptedUser : public platform::UserServices {
 public:
  // Script steps, consumed in order.
  void AnswerMessageBox(std::int16_t answer);
  void TypeIntoInputBox(std::u16string text);  // then presses OK
  void CancelInputBox();
  void ChooseFolder(platform::FolderPtr folder);  // nullptr: Cancel

  std::int16_t MsgBox(std::u16string_view text, std::int32_t style,
                      std::u16string_view title) override;
  std::optional<std::u16string> InputBox(std::u16string_view prompt, std::u16string_view title,
                                         std::u16string_view defaultText) override;
  bool SendKeys(std::u16string_view keys) override;
  void DoEvents() override;
  bool OpenWebAddress(std::u16string_view url) override;
  // Outlook's folder chooser, as the fake namespace shows it.
  platform::FolderPtr PickFolder();

  const std::vector<DialogRecord>& Dialogs() const { return dialogs_; }
  const std::vector<std::u16string>& Keys() const { return keys_; }
  const std::vector<std::u16string>& WebAddresses() const { return webAddresses_; }
  // Keys, pumps and dialogs in the order they happened ("keys {Esc}", "pump", "dialog").
  const std::vector<std::string>& Journal() const { return journal_; }
  const std::vector<std::string>& Unexpected() const { return unexpected_; }
  std::size_t PendingSteps() const { return script_.size(); }

 private:
  struct Step {
    DialogRecord::Kind kind;
    std::int16_t answer = 0;
    std::optional<std::u16string> text;
    platform::FolderPtr folder;
  };
  std::optional<Step> Next(DialogRecord dialog, std::u16string_view what);

  std::deque<Step> script_;
  std::vector<DialogRecord> dialogs_;
  std::vector<std::u16string> keys_;
  std::vector<std::u16string> webAddresses_;
  std::vector<std::string> journal_;
  std::vector<std::string> unexpected_;
};

// Narrow text for journals and failure messages (non-ASCII becomes '?').
std::string Narrow(std::u16string_view text);

}  // namespace quillon::testing
