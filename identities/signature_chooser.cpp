#include "identities/signature_chooser.h"

#include <utility>

#include "platform/text.h"

namespace quillon {

SignatureChooser::SignatureChooser(SignatureControls controls, platform::SignatureCatalogue& catalogue,
                                   std::function<void()> markDirty)
    : c_(controls), catalogue_(catalogue), markDirty_(std::move(markDirty)) {}

void SignatureChooser::Load(std::int16_t outlookVersion) {
  // Below 12 the folder editor holds the lower part of the page.
  shown_ = outlookVersion >= 12;
  c_.Frame5.SetVisible(shown_);
  if (shown_) names_ = catalogue_.SignatureNames(outlookVersion);
}

void SignatureChooser::ShowSelected() {
  if (!shown_) return;
  const std::int16_t k = c_.List1.ListIndex();
  const bool selected = c_.List1.SelCount() > 0 && k >= 0;
  const std::u16string newName = selected ? c_.List2.List(k) : u"";
  const std::u16string replyName = selected ? c_.List3.List(k) : u"";
  Show(c_.cboNewSignature, selected ? &newName : nullptr);
  Show(c_.cboReplySignature, selected ? &replyName : nullptr);
  c_.cboNewSignature.SetEnabled(selected);
  c_.cboReplySignature.SetEnabled(selected);
}

// `stored` null: no identity, nothing selected. A stored name the catalogue
// lacks (deleted, renamed, not synced yet) is offered as it is, so that the
// list shows the truth and choosing it again keeps it.
void SignatureChooser::Show(platform::ComboBox& combo, const std::u16string* stored) {
  combo.Clear();
  combo.AddItem(kNoSignature);
  std::int16_t chosen = stored ? 0 : platform::kNoListIndex;
  // Apply saves the trimmed name and nothing for blanks alone, so those are "(none)".
  const bool named = stored && !text::TrimSpaces(*stored).empty();
  for (const std::u16string& name : names_) {
    combo.AddItem(name);
    // The files of a signature are found whatever the case of its stored name.
    if (named && chosen == 0 && text::EqualsIdentityIgnoringCase(name, *stored)) {
      chosen = static_cast<std::int16_t>(combo.ListCount() - 1);
    }
  }
  if (named && chosen == 0 && combo.AddItem(*stored)) {
    chosen = static_cast<std::int16_t>(combo.ListCount() - 1);
  }
  combo.SetListIndex(chosen);
}

void SignatureChooser::NewSignatureChosen() { Choose(c_.cboNewSignature, c_.List2); }
void SignatureChooser::ReplySignatureChosen() { Choose(c_.cboReplySignature, c_.List3); }

void SignatureChooser::Choose(platform::ComboBox& combo, platform::ListBox& names) {
  const std::int16_t k = c_.List1.ListIndex();
  const std::int16_t chosen = combo.ListIndex();
  if (!shown_ || c_.List1.SelCount() <= 0 || k < 0 || chosen < 0) return;
  // By position: a signature that is itself called "(none)" stays a name.
  if (!names.SetList(k, chosen == 0 ? std::u16string() : combo.List(chosen))) return;
  markDirty_();
}

}  // namespace quillon
