// Outlook 2016 with signature files in the user's profile: the user picks both
// signatures of an identity from the page's drop-down lists and presses OK; the
// account Apply writes holds the two names, byte for byte.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"
#include "tests/win/signature_files.h"

namespace quillon::e2e {
namespace {

using standin::driver::PageControl;

constexpr wchar_t kSelectIdentity[] = L"Jane Doe - Sales <sales@quillon-sample.com>";

TEST(PageSignatures, BothChosenSignaturesReachTheIdentitysAccount) {
  win::testing::SignatureFolder signatures;
  for (const wchar_t* file : {L"Sales.htm", L"Sales.txt", L"Sales (reply).htm", L"Support.rtf",
                              L"Kurz & b\u00FCndig.txt"}) {
    signatures.Add(file);
  }
  StandinSession session(nlohmann::json{{"outlook", {{"version", "16.0.0.5000"}}}});
  auto options = session.Options();
  ASSERT_TRUE(options);
  EXPECT_TRUE(options->Visible(PageControl::Frame5));
  EXPECT_FALSE(options->Enabled(PageControl::cboNewSignature));  // no identity selected yet

  ASSERT_EQ(options->Lines(PageControl::List1).at(0), kSelectIdentity);
  ASSERT_TRUE(options->ClickListLine(PageControl::List1, 0));
  EXPECT_EQ(options->Text(PageControl::cboNewSignature), L"Sales");
  EXPECT_EQ(options->Text(PageControl::cboReplySignature), L"Sales (reply)");
  EXPECT_FALSE(options->ApplyEnabled());  // showing is not changing

  ASSERT_TRUE(options->ChooseEntry(PageControl::cboNewSignature, L"Kurz & b\u00FCndig"));
  ASSERT_TRUE(options->ChooseEntry(PageControl::cboReplySignature, L"(none)"));
  ASSERT_TRUE(options->ChooseEntry(PageControl::cboReplySignature, L"Support"));
  EXPECT_EQ(options->Lines(PageControl::List2).at(0), L"Kurz & b\u00FCndig");
  EXPECT_EQ(options->Lines(PageControl::List3).at(0), L"Support");
  EXPECT_TRUE(options->ApplyEnabled());

  options->ClickButton(IDOK);
  ASSERT_TRUE(AnswerDialog(session.ProcessId(), kRestartQuestion, IDYES));
  ASSERT_EQ(session.WaitForEnd(), 0u);

  // The identities are saved anew from NextAccountID 13: the chosen one first.
  EXPECT_EQ(ReadValue(AccountKey("0000000d"), "Display Name").bytes, StoredUtf16(u"Jane Doe - Sales"));
  EXPECT_EQ(ReadValue(AccountKey("0000000d"), "New Signature"),
            (StoredValue{platform::kRegBinary, StoredUtf16(u"Kurz & b\u00FCndig")}));
  EXPECT_EQ(ReadValue(AccountKey("0000000d"), "Reply-Forward Signature"),
            (StoredValue{platform::kRegBinary, StoredUtf16(u"Support")}));
  EXPECT_EQ(ReadValue(AccountKey("0000000e"), "New Signature").bytes, StoredUtf16(u"Support"));
}

}  // namespace
}  // namespace quillon::e2e
