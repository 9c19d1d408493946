// Normalising and checking a typed identity.
#include "page/quillon_page.h"
#include "platform/text.h"

namespace quillon {

std::int16_t QuillonPage::ValidateInput(std::optional<std::u16string>& s) {
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

bool QuillonPage::ValidateSMTPEmail(std::u16string& sEmail) {
  sEmail = text::TrimSpaces(sEmail);
  const std::size_t length = sEmail.size();
  const std::size_t at = text::Position(sEmail, u"@");
  const std::size_t dot = text::Position(sEmail, u".");
  return length > 4 && at > 1 && at < length && dot > 1 && dot < length;
}

bool QuillonPage::ValidateDN(const std::u16string& sDN) {
  return sDN.find_first_of(u"/\\@<>") == std::u16string::npos;
}

}  // namespace quillon
