// The signatures of the selected identity, chosen from the user's catalogue:
// what the two drop-down lists show, what a choice changes, and what Apply
// makes of it.
#include "platform/signature_catalogue.h"
#include "tests/core/page_test_world.h"

namespace quillon::testing {
namespace {

constexpr char16_t kNone[] = u"(none)";

class SignatureChooser : public PageWorld16 {
 protected:
  SignatureChooser() {
    signatures.names = {u" Sales", u"Support (support@x.example)", u"Z\u00FCrich"};
  }
  // "(none)", the catalogue, then whatever else the list shows.
  Texts Offered(const Texts& extra = {}) const {
    Texts items{kNone, u" Sales", u"Support (support@x.example)", u"Z\u00FCrich"};
    items.insert(items.end(), extra.begin(), extra.end());
    return items;
  }
  // The two lists' texts, and whether the user can choose in them.
  Texts Showing() {
    const bool enabled = ui().cboNewSignature.Enabled() && ui().cboReplySignature.Enabled();
    return {ui().cboNewSignature.Text(), ui().cboReplySignature.Text(), enabled ? u"enabled" : u"disabled"};
  }
};

TEST_F(SignatureChooser, ListsFollowTheSelectionAndAChoiceSetsOnlyThatLine) {
  SeedIdentity(1, u"Ann", u"ann@x.example", u"Z\u00FCrich");
  SeedIdentity(2, u"Bob", u"bob@x.example", u"", u"SUPPORT (support@x.example)");
  OpenPage();
  EXPECT_EQ(Showing(), (Texts{u"", u"", u"disabled"}));

  ui().List1.UserClick(1);
  // A stored name is found whatever its case; the list keeps the catalogue's spelling.
  EXPECT_EQ(Showing(), (Texts{kNone, u"Support (support@x.example)", u"enabled"}));
  EXPECT_EQ(ui().cboReplySignature.Items(), Offered());
  ui().List1.UserClick(0);
  EXPECT_EQ(Showing(), (Texts{u"Z\u00FCrich", kNone, u"enabled"}));
  EXPECT_FALSE(page().PropertyPage_Dirty());

  ASSERT_TRUE(ui().cboReplySignature.UserChoose(u" Sales"));
  EXPECT_EQ(ui().List2.Items(), (Texts{u"Z\u00FCrich", u""}));
  EXPECT_EQ(ui().List3.Items(), (Texts{u" Sales", u"SUPPORT (support@x.example)"}));
  EXPECT_TRUE(page().PropertyPage_Dirty());
  ASSERT_TRUE(ui().cboNewSignature.UserChoose(kNone));
  EXPECT_EQ(ui().List2.Items(), (Texts{u"", u""}));
  EXPECT_EQ(outlook.site->statusChanges, 2);

  ui().List1.UserClick(-1);
  EXPECT_EQ(Showing(), (Texts{u"", u"", u"disabled"}));
  EXPECT_FALSE(ui().cboNewSignature.UserChoose(u" Sales"));
}

TEST_F(SignatureChooser, AStoredNameTheCatalogueLacksIsShownAndKeptByteForByte) {
  SeedIdentity(1, u"Ann", u"ann@x.example", u"Retired \u00E9t\u00E9", u"Support");
  SeedIdentity(2, u"Bob", u"bob@x.example");
  SeedNextAccountID(7);
  const auto before = Value(AccountPath(1), "New Signature");
  OpenPage();
  ui().List1.UserClick(0);
  EXPECT_EQ(Showing(), (Texts{u"Retired \u00E9t\u00E9", u"Support", u"enabled"}));
  EXPECT_EQ(ui().cboNewSignature.Items(), Offered({u"Retired \u00E9t\u00E9"}));
  EXPECT_EQ(ui().cboReplySignature.Items(), Offered({u"Support"}));
  ui().List1.UserClick(1);
  EXPECT_EQ(ui().cboNewSignature.Items(), Offered());  // Bob has none: nothing extra
  ui().cboNewSignature.UserChoose(u"Z\u00FCrich");
  ui().List1.UserClick(0);
  EXPECT_EQ(Showing(), (Texts{u"Retired \u00E9t\u00E9", u"Support", u"enabled"}));

  ApplyAnswering(platform::kAnswerNo);
  ASSERT_TRUE(before);
  EXPECT_EQ(Value(AccountPath(7), "New Signature"), before);
  EXPECT_EQ(Value(AccountPath(7), "Reply-Forward Signature"), StoredUtf16(u"Support"));
  EXPECT_EQ(AccountText(8, "New Signature"), u"Z\u00FCrich");
}

TEST_F(SignatureChooser, MovesAndRemovalsKeepEachIdentitysChoiceAndApplyStoresItTrimmed) {
  SeedIdentity(1, u"Ann", u"ann@x.example", u"Support (support@x.example)", u"   ");
  SeedIdentity(2, u"Bob", u"bob@x.example");
  SeedIdentity(3, u"Cid", u"cid@x.example", u"Z\u00FCrich", u"Z\u00FCrich");
  SeedNextAccountID(7);
  OpenPage();
  ui().List1.UserClick(1);
  ui().cboNewSignature.UserChoose(u" Sales");
  ui().cboReplySignature.UserChoose(u"Support (support@x.example)");
  ui().cmdMoveUp.UserClick();  // Bob, Ann, Cid
  EXPECT_EQ(Showing(), (Texts{u" Sales", u"Support (support@x.example)", u"enabled"}));
  ui().List1.UserClick(1);
  // Blanks alone are saved as no signature, so they show as none.
  EXPECT_EQ(Showing(), (Texts{u"Support (support@x.example)", kNone, u"enabled"}));
  ui().cmdMoveDown.UserClick();  // Bob, Cid, Ann
  EXPECT_EQ(Showing(), (Texts{u"Support (support@x.example)", kNone, u"enabled"}));
  ui().List1.UserClick(1);
  ClickAnswering(ui().cmdRemove, platform::kAnswerYes);  // Cid goes; nothing is selected then
  EXPECT_EQ(Showing(), (Texts{u"", u"", u"disabled"}));
  EXPECT_EQ(ui().List2.Items(), (Texts{u" Sales", u"Support (support@x.example)"}));
  EXPECT_EQ(ui().List3.Items(), (Texts{u"Support (support@x.example)", u"   "}));

  ApplyAnswering(platform::kAnswerNo);
  EXPECT_EQ(AccountText(7, "Display Name"), u"Bob");
  EXPECT_EQ(Value(AccountPath(7), "New Signature"), StoredUtf16(u"Sales"));
  EXPECT_EQ(AccountText(7, "Reply-Forward Signature"), u"Support (support@x.example)");
  EXPECT_EQ(AccountText(8, "Display Name"), u"Ann");
  EXPECT_EQ(AccountText(8, "New Signature"), u"Support (support@x.example)");
  EXPECT_EQ(AccountText(8, "Reply-Forward Signature"), std::nullopt);
}

TEST_F(SignatureChooser, AnUnreadableFolderOffersNoneAndIsReportedOnce) {
  signatures.unreadableWith = 3;  // ERROR_PATH_NOT_FOUND
  SeedIdentity(1, u"Ann", u"ann@x.example", u"Support");
  OpenPage();
  EXPECT_EQ(diagnostics.Reports(),
            (std::vector<RecordedFailure>{{u"Load: signatures", u"FindFirstFileExW", u"Signatures", 3}}));
  ui().List1.UserClick(0);
  EXPECT_EQ(ui().cboNewSignature.Items(), (Texts{kNone, u"Support"}));
  EXPECT_EQ(diagnostics.Reports().size(), 1u);
}

TEST(SignatureNamesOf, OneSortedNamePerSignatureWhateverItsFiles) {
  const Texts files{u"zeta.txt",        u"Alpha.htm",        u"alpha.RTF",        u"Alpha.txt",
                    u"\u00C9t\u00E9.htm", u"\u00E9t\u00E9.txt", u"Beta (b@x.example).htm",
                    u"beta.htm",         u"image001.png",     u".htm",            u"notes.html",
                    u"Gamma.rtf.txt",    u"Beta (b@x.example).rtf"};
  EXPECT_EQ(platform::SignatureNamesOf(files),
            (Texts{u"Alpha", u"beta", u"Beta (b@x.example)", u"Gamma.rtf", u"zeta",
                   u"\u00C9t\u00E9"}));
}

}  // namespace
}  // namespace quillon::testing
