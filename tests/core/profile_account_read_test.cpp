// Reading the account store: which accounts are identities, the seven lists,
// the Exchange account.
#include <gtest/gtest.h>

#include "profile/account_store.h"
#include "profile/registry_access.h"
#include "tests/core/profile_test_support.h"

namespace quillon::testing {
namespace {

using namespace platform;
using namespace profile;

class ProfileAccountReading : public ProfileStoreTest {
 protected:
  void SetUp() override {
    ProfileStoreTest::SetUp();
    RegisterIdentityClass();
  }
  void SeedExchange(std::string_view keyName, std::u16string_view serviceName) {
    SeedText(AccountKey(keyName), "Account Name", u"Microsoft Exchange Server");
    SeedText(AccountKey(keyName), "Service Name", serviceName);
  }
  std::vector<std::u16string> Lists() const {
    return {data_.sAccIdentities, data_.sAccIDs,   data_.sAccEmails,
            data_.sAccDisplayNames, data_.sAccNames, data_.sAccNewSignatures,
            data_.sAccReplySignatures};
  }
};

TEST_F(ProfileAccountReading, IdentitiesAreTheServerlessPop3AccountsInKeyNameOrder) {
  SeedIdentity("0000000c", u"c@x.com", u"Cee", u"NONE");
  SeedIdentity("0000000A", u"a@x.com", u"Ay");
  SeedIdentity("0000000b", u"b@x.com", u"Bee", u"None");
  SeedText(AccountKey("0000000b"), "New Signature", u"Formal");
  SeedText(AccountKey("0000000b"), "Reply-Forward Signature", u"Short");
  SeedIdentity("00000001", u"real@x.com", u"Real");
  SeedText(AccountKey("00000001"), "SMTP Server", u"smtp.example.com");
  SeedIdentity("00000002", u"noclass@x.com", u"Unregistered");
  SeedClsid(AccountKey("00000002"), "{00000000-0000-0000-0000-00000000F00D}");
  SeedIdentity("00000003", u"other@x.com", u"Other service");
  SeedText(AccountKey("00000003"), "Service Name", u"CONTAB");

  LoadAccounts(*store_, data_, profile_);
  EXPECT_EQ(data_.sAccIdentities,
            u"0000000A\x01" u"a@x.com\x01" u"Ay\t0000000b\x01" u"b@x.com\x01" u"Bee\t"
            u"0000000c\x01" u"c@x.com\x01" u"Cee");
  EXPECT_EQ(data_.sAccIDs, u"0000000A\t0000000b\t0000000c");
  EXPECT_EQ(data_.sAccEmails, u"a@x.com\tb@x.com\tc@x.com");
  EXPECT_EQ(data_.sAccDisplayNames, u"Ay\tBee\tCee");
  EXPECT_EQ(data_.sAccNames, u"a@x.com\tb@x.com\tc@x.com");
  EXPECT_EQ(data_.sAccNewSignatures, u"\tFormal\t");
  EXPECT_EQ(data_.sAccReplySignatures, u"\tShort\t");
  EXPECT_EQ(data_.sExchangeID, u"");
}

TEST_F(ProfileAccountReading, OneIdentityGivesListsWithoutTabAndEmptySignaturesReadAsNotDefined) {
  SeedIdentity("00000005", u"one@x.com", u"One");
  SeedValue(*store_, kCurrentUser, AccountKey("00000005"), "New Signature", kRegBinary, {});
  LoadAccounts(*store_, data_, profile_);
  EXPECT_EQ(data_.sAccIDs, u"00000005");
  EXPECT_EQ(data_.sAccNewSignatures, kNotDefined);
  EXPECT_EQ(data_.sAccReplySignatures, u"");
  for (const std::u16string& list : Lists()) {
    EXPECT_EQ(list.find(u'\t'), std::u16string::npos) << ToAnsi(list);
  }
}

TEST_F(ProfileAccountReading, TheExchangeAccountIsFoundButNeverListed) {
  SeedExchange(" 00000009 ", u"msems");
  SeedIdentity(" 00000009 ", u"x@x.com", u"Looks like an identity");
  SeedExchange("00000008", u"");  // no service name: an ordinary account
  LoadAccounts(*store_, data_, profile_);
  EXPECT_EQ(data_.sExchangeID, u"00000009");
  EXPECT_EQ(data_.sAccIDs, u"");
}

TEST_F(ProfileAccountReading, EachLoadStartsAfreshSoAProfileWithoutExchangeClearsIt) {
  SeedExchange("00000009", u"MSEMS");
  SeedIdentity("00000010", u"i@x.com", u"I");
  LoadAccounts(*store_, data_, profile_);
  const ProfileData first = data_;
  LoadAccounts(*store_, data_, profile_);
  EXPECT_EQ(data_.sAccIdentities, first.sAccIdentities);
  EXPECT_EQ(data_.sExchangeID, u"00000009");

  // Another profile without an Exchange account must not keep this number,
  // or saving it would rename an account of this profile.
  LoadAccounts(*store_, data_, profile_ + u" other");
  EXPECT_EQ(data_.sExchangeID, u"");
  EXPECT_EQ(data_.sAccIdentities, u"");
  data_.sExchangeID = u"00000009";
  LoadAccounts(*store_, data_, u"");
  EXPECT_EQ(data_.sExchangeID, u"");
}

TEST_F(ProfileAccountReading, ATabInsideAValueKeepsTheSevenListsAligned) {
  SeedIdentity("00000001", u"a@x.com", u"Tab\there");
  SeedText(AccountKey("00000001"), "New Signature", u"Sig\tnature");
  SeedIdentity("00000002", u"b@x.com", u"Bee");
  LoadAccounts(*store_, data_, profile_);
  for (const std::u16string& list : Lists()) {
    EXPECT_EQ(std::count(list.begin(), list.end(), u'\t'), 1) << ToAnsi(list);
  }
  EXPECT_EQ(data_.sAccDisplayNames, u"Tab here\tBee");
  EXPECT_EQ(data_.sAccNewSignatures, u"Sig nature\t");
}

TEST_F(ProfileAccountReading, AProfileWithoutAccountStoreGivesEmptyLists) {
  data_.sAccIDs = u"stale";
  LoadAccounts(*store_, data_, profile_);
  EXPECT_EQ(data_.sAccIDs, u"");
  EXPECT_FALSE(KeyExistsIn(*store_, kCurrentUser, AccountsKey())) << "reading creates nothing";
}

TEST_F(ProfileAccountReading, AnEmptyProfileNameReadsNothing) {
  SKIP_UNLESS_IN_MEMORY();
  data_.sAccIDs = u"stale";
  memory_->ClearCalls();
  LoadAccounts(*store_, data_, u"");
  EXPECT_EQ(data_.sAccIDs, u"");
  EXPECT_TRUE(memory_->Calls().empty());
}

TEST_F(ProfileAccountReading, ReadAccountFillsEveryField) {
  const std::string key = AccountKey("0000002a");
  const struct {
    const char* name;
    std::u16string text;
  } texts[] = {{"Account Name", u"Name"},      {"Display Name", u"Display"},
               {"Email", u"e@x.com"},          {"Organization", u"Org"},
               {"POP3 Server", u"pop"},        {"POP3 User", u"user"},
               {"Reply Email", u"r@x.com"},    {"New Signature", u"New"},
               {"Reply-Forward Signature", u"Reply"}, {"Service Name", u"SVC"},
               {"SMTP Server", u"smtp"}};
  for (const auto& entry : texts) SeedText(key, entry.name, entry.text);
  SeedClsid(key, "{ED475411-B0D6-11D2-8C3B-00104B2A6676}");
  SeedDword(key, "SMTP Use Auth", 1);

  const AccountRecord account = ReadAccount(*store_, FromAnsi(AccountsKey()), u"0000002a");
  const AccountRecord expected{u"Name", u"Display", u"e@x.com", u"New", u"Org", u"pop", u"user",
                               u"r@x.com", u"Reply", u"smtp", 1, u"0000002a",
                               u"{ED475411-B0D6-11D2-8C3B-00104B2A6676}", u"POP3/SMTP Account",
                               u"SVC"};
  EXPECT_EQ(std::tie(account.AccountName, account.DisplayName, account.Email, account.NewSignature,
                     account.Organization, account.POP3Server, account.POP3User,
                     account.ReplyEmail, account.ReplyForwardSignature, account.SMTPServer,
                     account.SMTPUseAuth, account.AccountID, account.Clsid, account.ClassName,
                     account.ServiceName),
            std::tie(expected.AccountName, expected.DisplayName, expected.Email,
                     expected.NewSignature, expected.Organization, expected.POP3Server,
                     expected.POP3User, expected.ReplyEmail, expected.ReplyForwardSignature,
                     expected.SMTPServer, expected.SMTPUseAuth, expected.AccountID, expected.Clsid,
                     expected.ClassName, expected.ServiceName));

  const AccountRecord missing = ReadAccount(*store_, FromAnsi(AccountsKey()), u"0000002b");
  EXPECT_EQ(missing.AccountID, u"");
  EXPECT_EQ(missing.SMTPUseAuth, 0);
  EXPECT_EQ(GetClassDescription(*store_, u"{00000000-0000-0000-0000-00000000F00D}"), u"");
}

}  // namespace
}  // namespace quillon::testing
