// Adding and changing an identity by hand, through the input box.
#include "identities/identities_editor.h"
#include "platform/list_group.h"
#include "platform/text.h"

namespace quillon {

namespace {

std::u16string Prompt(const std::u16string& mode) {
  const std::u16string_view firstLine =
      mode == u"Add" ? u"Add new identity:" : u"Change selected identity:";
  return std::u16string(firstLine) + u"\r\r  Example:\rJohn Smith <john.smith@example.com>";
}

}  // namespace

void IdentitiesEditor::Add() { AddOrEdit(u"", u"Add"); }

void IdentitiesEditor::ChangeSelected() {
  const std::int16_t k = c_.List1.ListIndex();
  if (k >= 0 && c_.List1.Selected(k)) AddOrEdit(c_.List1.List(k), u"Change");
}

void IdentitiesEditor::AddOrEdit(const std::u16string& def, const std::u16string& mode) {
  std::int16_t r = -1;
  std::optional<std::u16string> t = def;
  const std::u16string prompt = Prompt(mode);
  do {
    // The box opens with its text selected; the arrow key leaves the caret at the end.
    user_.SendKeys(u"{Right}");
    t = user_.InputBox(prompt, platform::kAppTitle, t.value_or(u""));
    r = ValidateInput(t);
  } while (r < 0);

  if (r >= 1 && t) {
    const std::u16string entry = text::TrimSpaces(*t);
    if (!entry.empty() && !IsInList1(entry)) {
      if (mode != u"Add") {
        const std::int16_t k = c_.List1.ListIndex();
        if (k >= 0) {
          c_.List1.SetList(k, entry);
          hooks_.markDirty();
        }
      } else {
        AppendIdentity(entry);
      }
      ListHScroll1();
    }
  }
  hooks_.resetButtons();
}

std::int16_t ValidateInput(std::optional<std::u16string>& s) {
  if (!s) return 0;
  if (s->empty()) return -1;
  const std::u16string u = text::TrimSpaces(*s);
  // The address is whatever follows the last blank; the name may hold blanks.
  const std::size_t lastBlank = u.rfind(u' ');
  if (lastBlank == std::u16string::npos) return -1;
  const std::u16string name = text::TrimSpaces(std::u16string_view(u).substr(0, lastBlank + 1));
  std::u16string address = text::Without(text::Without(u.substr(lastBlank + 1), u'<'), u'>');
  if (!ValidateSMTPEmail(address)) return -1;
  if (!ValidateDN(name)) return -1;
  s = name + u" <" + address + u">";
  return 1;
}

bool ValidateSMTPEmail(std::u16string& sEmail) {
  sEmail = text::TrimSpaces(sEmail);
  const std::size_t length = sEmail.size();
  const std::size_t at = text::Position(sEmail, u"@");
  const std::size_t dot = text::Position(sEmail, u".");
  return length > 4 && at > 1 && at < length && dot > 1 && dot < length;
}

bool ValidateDN(const std::u16string& sDN) {
  return sDN.find_first_of(u"/\\@<>") == std::u16string::npos;
}

}  // namespace quillon
