// Reading the account store: which accounts are identities, the seven lists,
// the Exchange account.
#include <tuple>

#include <gtest/gtest.h>

#include "profile/account_store.h"
#include "profile/registry_access.h"
#include "tests/core/profile_test_support.h"

namespace quillon::testing {
namespace {

using namespace platform;
using namespace profile;

using ProfileAccountReading = ProfileStoreTest;

TEST_F(ProfileAccountReading, IdentitiesAreTheServerlessPop3AccountsInKeyNameOrder) {
  SeedIdentity("0000000c", u"c@x.com", u"Cee", u"NONE");
  SeedIdentity("0000000A", u"a@x.com", u"Ay");
  // A TAB inside a value must not shift the other accounts' items.
  SeedIdentity("0000000b", u"b@x.com", u"B\tee", u"None");
  SeedText(AccountKey("0000000b"), "New Signature", u"For\tmal");
  SeedText(AccountKey("0000000b"), "Reply-Forward Signature", u"Short");
  SeedIdentity("00000001", u"real@x.com", u"Real");
  SeedText(AccountKey("00000001"), "SMTP Server", u"smtp.example.com");
  SeedIdentity("00000002", u"noclass@x.com", u"Unregistered");
  PutValue(AccountKey("00000002"), "clsid", AsBytes("{00000000-0000-0000-0000-00000000F00D}"), kRegSz);
  SeedIdentity("00000003", u"other@x.com", u"Other service");
  SeedText(AccountKey("00000003"), "Service Name", u"CONTAB");

  LoadAccounts(*store_, data_, profile_);
  EXPECT_EQ(data_.sAccIdentities,
            u"0000000A\x01" u"a@x.com\x01" u"Ay\t0000000b\x01" u"b@x.com\x01" u"B ee\t"
            u"0000000c\x01" u"c@x.com\x01" u"Cee");
  EXPECT_EQ(data_.sAccIDs, u"0000000A\t0000000b\t0000000c");
  EXPECT_EQ(data_.sAccEmails, u"a@x.com\tb@x.com\tc@x.com");
  EXPECT_EQ(data_.sAccDisplayNames, u"Ay\tB ee\tCee");
  EXPECT_EQ(data_.sAccNames, u"a@x.com\tb@x.com\tc@x.com");
  EXPECT_EQ(data_.sAccNewSignatures, u"\tFor mal\t");
  EXPECT_EQ(data_.sAccReplySignatures, u"\tShort\t");
  EXPECT_EQ(data_.sExchangeID, u"");
}

TEST_F(ProfileAccountReading, TheExchangeAccountIsFoundButNeverListedAndEachLoadStartsAfresh) {
  SeedText(AccountKey(" 00000009 "), "Service Name", u"msems");
  SeedIdentity(" 00000009 ", u"x@x.com", u"Looks like an identity");
  SeedText(AccountKey("00000008"), "Account Name", u"Microsoft Exchange Server");
  SeedText(AccountKey("00000008"), "Service Name", u"");  // no service name: an ordinary account
  SeedIdentity("00000010", u"i@x.com", u"I");
  PutValue(AccountKey("00000010"), "New Signature", {});
  LoadAccounts(*store_, data_, profile_);
  const ProfileData first = data_;
  LoadAccounts(*store_, data_, profile_);
  EXPECT_EQ(data_.sAccIdentities, first.sAccIdentities);
  EXPECT_EQ(data_.sExchangeID, u"00000009");
  EXPECT_EQ(data_.sAccIDs, u"00000010");
  EXPECT_EQ(data_.sAccNewSignatures, kNotDefined);
  EXPECT_EQ(data_.sAccReplySignatures, u"");
  for (const std::u16string& list : {data_.sAccIdentities, data_.sAccIDs, data_.sAccEmails, data_.sAccDisplayNames,
                                     data_.sAccNames, data_.sAccNewSignatures, data_.sAccReplySignatures}) {
    EXPECT_EQ(list.find(u'\t'), std::u16string::npos) << ToAnsi(list);
  }

  // Another profile without an Exchange account must not keep this number,
  // or saving it would rename an account of this profile.
  const std::u16string other = profile_ + u" other";
  LoadAccounts(*store_, data_, other);
  EXPECT_EQ(data_.sExchangeID, u"");
  EXPECT_EQ(data_.sAccIdentities, u"");
  EXPECT_EQ(data_.sAccIDs, u"");
  EXPECT_FALSE(KeyExistsIn(*store_, kCurrentUser, ToAnsi(ProfileKeyPath(other))))
      << "reading creates nothing";
}

TEST_F(ProfileAccountReading, ReadAccountFillsEveryField) {
  const std::string key = AccountKey("0000002a");
  // Each text value's name, its text, and the field that gets it.
  const std::tuple<const char*, std::u16string, std::u16string AccountRecord::*> texts[] = {
      {"Account Name", u"Name", &AccountRecord::AccountName},
      {"Display Name", u"Display", &AccountRecord::DisplayName},
      {"Email", u"e@x.com", &AccountRecord::Email},
      {"Organization", u"Org", &AccountRecord::Organization},
      {"POP3 Server", u"pop", &AccountRecord::POP3Server},
      {"POP3 User", u"user", &AccountRecord::POP3User},
      {"Reply Email", u"r@x.com", &AccountRecord::ReplyEmail},
      {"New Signature", u"New", &AccountRecord::NewSignature},
      {"Reply-Forward Signature", u"Reply", &AccountRecord::ReplyForwardSignature},
      {"Service Name", u"SVC", &AccountRecord::ServiceName},
      {"SMTP Server", u"smtp", &AccountRecord::SMTPServer}};
  for (const auto& [name, text, field] : texts) SeedText(key, name, text);
  PutValue(key, "clsid", AsBytes(kIdentityClsid), kRegSz);
  PutValue(key, "SMTP Use Auth", Dwords({1}), kRegDword);

  const AccountRecord account = ReadAccount(*store_, FromAnsi(AccountsKey()), u"0000002a");
  for (const auto& [name, text, field] : texts) EXPECT_EQ(account.*field, text) << name;
  EXPECT_EQ(account.SMTPUseAuth, 1);
  EXPECT_EQ(account.AccountID, u"0000002a");
  EXPECT_EQ(account.Clsid, FromAnsi(kIdentityClsid));
  EXPECT_EQ(account.ClassName, u"POP3/SMTP Account");

  const AccountRecord missing = ReadAccount(*store_, FromAnsi(AccountsKey()), u"0000002b");
  EXPECT_EQ(missing.AccountID, u"");
  EXPECT_EQ(missing.SMTPUseAuth, 0);
  EXPECT_EQ(GetClassDescription(*store_, u"{00000000-0000-0000-0000-00000000F00D}"), u"");
}

}  // namespace
}  // namespace quillon::testing
