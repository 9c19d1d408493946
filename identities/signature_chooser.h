// The signatures of the selected identity: two drop-down lists that show and
// set its lines of List2 (new messages) and List3 (replies and forwards).
// Outlook 12 and later only, where the folder editor leaves room for them;
// below that the chooser stays hidden and touches nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/controls.h"
#include "platform/signature_catalogue.h"

namespace quillon {

struct SignatureControls {
  platform::ListBox& List1;
  platform::ListBox& List2;
  platform::ListBox& List3;
  platform::Frame& Frame5;
  platform::ComboBox& cboNewSignature;
  platform::ComboBox& cboReplySignature;
};

// The entry that stands for no signature (stored as "").
inline constexpr std::u16string_view kNoSignature = u"(none)";

class SignatureChooser {
 public:
  SignatureChooser(SignatureControls controls, platform::SignatureCatalogue& catalogue,
                   std::function<void()> markDirty);

  // Part of the load: shows the chooser from Outlook 12 on and reads the catalogue then.
  void Load(std::int16_t outlookVersion);
  // Shows the selected identity's signatures, or disables both lists without one.
  void ShowSelected();
  // The user chose an entry: it becomes the selected identity's line.
  void NewSignatureChosen();
  void ReplySignatureChosen();

 private:
  void Show(platform::ComboBox& combo, const std::u16string* stored);
  void Choose(platform::ComboBox& combo, platform::ListBox& names);

  SignatureControls c_;
  platform::SignatureCatalogue& catalogue_;
  std::function<void()> markDirty_;
  bool shown_ = false;
  std::vector<std::u16string> names_;
};

}  // namespace quillon
