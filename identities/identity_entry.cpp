// Adding and changing an identity by hand, through the input box.
#include "page/quillon_page.h"
#include "platform/text.h"

namespace quillon {

namespace {

std::u16string Prompt(const std::u16string& mode) {
  const std::u16string_view firstLine =
      mode == u"Add" ? u"Add new identity:" : u"Change selected identity:";
  return std::u16string(firstLine) + u"\r\r  Example:\rJohn Smith <john.smith@example.com>";
}

}  // namespace

void QuillonPage::cmdAdd_Click() { AddOrEdit(u"", u"Add"); }

void QuillonPage::cmdChange_Click() {
  const std::int16_t k = c_.List1.ListIndex();
  if (k >= 0 && c_.List1.Selected(k)) AddOrEdit(c_.List1.List(k), u"Change");
}

void QuillonPage::AddOrEdit(const std::u16string& def, const std::u16string& mode) {
  std::int16_t r = -1;
  std::optional<std::u16string> t = def;
  const std::u16string prompt = Prompt(mode);
  do {
    // The box opens with its text selected; the arrow key leaves the caret at the end.
    user_.SendKeys(u"{Right}");
    t = user_.InputBox(prompt, kAppTitle, t.value_or(u""));
    r = ValidateInput(t);
  } while (r < 0);

  if (r >= 1 && t) {
    const std::u16string entry = text::TrimSpaces(*t);
    if (!entry.empty() && !IsInList1(entry)) {
      if (mode != u"Add") {
        const std::int16_t k = c_.List1.ListIndex();
        if (k >= 0) {
          c_.List1.SetList(k, entry);
          MarkDirty();
        }
      } else {
        AppendIdentity(entry);
      }
      ListHScroll1();
    }
  }
  ResetButtons();
}

bool QuillonPage::IsInList1(std::u16string_view entry) const {
  bool present = false;
  const std::int16_t count = c_.List1.ListCount();
  for (std::int16_t i = 0; i < count; ++i) {
    if (text::EqualsIdentityIgnoringCase(c_.List1.List(i), entry)) present = true;
  }
  return present;
}

void QuillonPage::AppendIdentity(const std::u16string& entry) {
  c_.List1.AddItem(entry);
  c_.List2.AddItem(u"");
  c_.List3.AddItem(u"");
  MarkDirty();
}

}  // namespace quillon
