// The two text forms of an identity entry, and how a saved entry splits.
//
// Address entry: display name + " <" + SMTP address + ">".
// Mailbox entry: display name + " " + directory name beginning with "/".
#pragma once

#include <string>
#include <string_view>

namespace quillon {

struct IdentityFields {
  enum class Form { Neither, Address, Mailbox };
  Form form = Form::Neither;
  // False when the form was recognised but a name or address is empty.
  bool complete = false;
  std::u16string accountName;
  std::u16string displayName;
  std::u16string address;
};

// Reads one List1 line back into the fields of its identity account.
IdentityFields ParseIdentityEntry(std::u16string_view line);

std::u16string AddressEntry(std::u16string_view displayName, std::u16string_view address);

}  // namespace quillon
