#include "identities/identity_entry_form.h"

#include "platform/text.h"

namespace quillon {

namespace {

// The separator counts only after the first character: a line that starts
// with it has no display name.
bool SplitAt(std::u16string_view line, std::u16string_view separator, std::u16string& name,
             std::u16string& rest) {
  const std::size_t position = text::Position(line, separator);
  if (position <= 1) return false;
  name = text::TrimSpaces(line.substr(0, position));
  rest = text::TrimSpaces(line.substr(position));
  return true;
}

}  // namespace

IdentityFields ParseIdentityEntry(std::u16string_view entry) {
  const std::u16string line = text::TrimSpaces(entry);
  IdentityFields fields;
  std::u16string name;
  std::u16string rest;
  if (SplitAt(line, u" <", name, rest)) {
    fields.form = IdentityFields::Form::Address;
    fields.accountName = u"EX [" + name + u" " + rest + u"]";
    fields.displayName = name;
    fields.address = text::Without(text::Without(rest, u'<'), u'>');
  } else if (SplitAt(line, u" /", name, rest)) {
    fields.form = IdentityFields::Form::Mailbox;
    fields.accountName = u"EX MBX [" + name + u"]";
    fields.displayName = name;
    fields.address = rest;
  } else {
    return fields;
  }
  fields.complete = !fields.displayName.empty() && !fields.address.empty();
  return fields;
}

std::u16string AddressEntry(std::u16string_view displayName, std::u16string_view address) {
  return std::u16string(displayName) + u" <" + std::u16string(address) + u">";
}

}  // namespace quillon
