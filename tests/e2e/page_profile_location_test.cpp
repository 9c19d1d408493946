// Outlook 2016 with its own copy of the profile under Office\16.0, a stale copy in
// the old place and a same-named one under Office\14.0: the page shows and saves
// the Office\16.0 copy; the other two stay byte for byte as they were.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace quillon::e2e {
namespace {

using standin::driver::PageControl;

const std::string kOffice16Profile = "Software\\Microsoft\\Office\\16.0\\Outlook\\Profiles\\Quillon Sample";
const std::string kOffice14Profile = "Software\\Microsoft\\Office\\14.0\\Outlook\\Profiles\\Quillon Sample";
const std::string kOffice16Accounts = kOffice16Profile + "\\9375CFF0413111d3B88A00104B2A6676";

// Later tests expect the profile only in the old place.
struct OtherCopiesRemoved {
  ~OtherCopiesRemoved() {
    RemoveKey(kOffice16Profile);
    RemoveKey(kOffice14Profile);
  }
};

TEST(PageProfileLocation, Outlook16UsesItsOwnCopyAndLeavesTheOthersAlone) {
  const OtherCopiesRemoved cleanup;
  std::string fixedBefore, office14Before;
  StandinSession session({{"outlook", {{"version", "16.0.0.5000"}}}}, L"", [&] {
    ASSERT_TRUE(
        win::testing::ImportSampleProfile(win::testing::SamplePath(L"quillon-sample-16.reg"), kOffice16Profile));
    // Tell the copies apart: the stale one has lost an identity since the upgrade.
    RemoveKey(kAccountsKey + "\\0000000c");
    WriteValue(kOffice14Profile, "replyaddressformat", {platform::kRegBinary, StoredUtf16(u"2")});
    fixedBefore = RegistryImage(kProfileKey);
    office14Before = RegistryImage(kOffice14Profile);
    ASSERT_NE(office14Before, "missing\n");
  });
  auto options = session.Options();
  ASSERT_TRUE(options);
  EXPECT_EQ(options->Lines(PageControl::List1).size(), 2u);  // both identities of Office\16.0

  options->Click(PageControl::Option1_0);
  options->ClickButton(IDOK);
  ASSERT_TRUE(AnswerDialog(session.ProcessId(), kRestartQuestion, IDYES));
  ASSERT_EQ(session.WaitForEnd(), 0u);

  EXPECT_EQ(ReadValue(kOffice16Profile, "replyaddressformat").bytes, StoredUtf16(u"0"));
  EXPECT_EQ(SubKeys(kOffice16Accounts), (Names{"00000002", "00000003", "0000000d", "0000000e"}));
  EXPECT_EQ(RegistryImage(kProfileKey), fixedBefore);
  EXPECT_EQ(RegistryImage(kOffice14Profile), office14Before);
}

}  // namespace
}  // namespace quillon::e2e
