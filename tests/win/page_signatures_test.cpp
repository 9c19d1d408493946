// The signatures frame on Win32: where it sits at 96 and 144 DPI, the names
// assistive technology reads for the page's lists, and the catalogue read from
// the signature files of the (Wine) user's profile folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "platform/diagnostics.h"
#include "testing/recording_diagnostics.h"
#include "win/common/com_support.h"
#include "win/control/win32_signature_catalogue.h"
#include "designed_places.h"
#include "signature_files.h"
#include "win_test_support.h"

namespace quillon::win::testing {
namespace {

using enum ControlId;
using Texts = std::vector<std::u16string>;

class SignaturesFrame : public PageWindowFixture, public ::testing::TestWithParam<UINT> {
 protected:
  RECT Place(ControlId id) const { return PlaceInPage(page_->Control(id), page_->Handle()); }
};

TEST_P(SignaturesFrame, FillsTheFoldersPlaceClearOfTheBottomLineAndTabsAfterTheIdentities) {
  ASSERT_TRUE(page_);
  page_->LayoutForDpi(GetParam());
  ShowWindow(page_->Handle(), SW_SHOWNA);
  EXPECT_FALSE(IsWindowVisible(page_->Control(cboNewSignature)));  // shown by the load, from Outlook 12 on
  page_->SetVisible(Frame2, false);
  page_->SetVisible(List4, false);
  page_->SetVisible(Frame5, true);
  for (ControlId inside : {lblNewSignature, cboNewSignature, lblReplySignature, cboReplySignature}) {
    const RECT place = Place(inside);
    const RECT frame = Place(Frame5);
    EXPECT_TRUE(IsWindowVisible(page_->Control(inside)));
    EXPECT_TRUE(place.left > frame.left && place.right < frame.right && place.top > frame.top &&
                place.bottom < frame.bottom);
  }
  EXPECT_EQ(WindowText(page_->Control(Frame5)), L"Signatures of the selected identity");
  EXPECT_EQ(Place(Frame5).top, Place(Frame2).top);
  EXPECT_GE(Place(Frame5).top, Place(Frame4).bottom);
  EXPECT_LE(Place(Frame5).bottom, Place(Label4_0).top);
  // Two rows, each a label and its list, the lists one above the other.
  EXPECT_LE(Place(cboNewSignature).bottom, Place(cboReplySignature).top);
  for (auto [label, list] : {std::pair{lblNewSignature, cboNewSignature}, {lblReplySignature, cboReplySignature}}) {
    EXPECT_LE(Place(label).right, Place(list).left);
    // Windows' default proxies name a list by the static just before it.
    EXPECT_EQ(GetWindow(page_->Control(list), GW_HWNDPREV), page_->Control(label));
    const LONG labelMiddle = (Place(label).top + Place(label).bottom) / 2;
    EXPECT_TRUE(labelMiddle > Place(list).top && labelMiddle < Place(list).bottom);  // one row
    EXPECT_EQ(GetWindowLongPtrW(page_->Control(list), GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    // The closed list has room for a line of the page's font.
    TEXTMETRICW metrics{};
    const UniqueClientDc dc = GetClientDc(page_->Control(list));
    const UniqueSelection font = SelectInto(dc.get(), page_->PageFont());
    GetTextMetricsW(dc.get(), &metrics);
    EXPECT_GE(Place(list).bottom - Place(list).top, metrics.tmHeight);
  }

  // With an identity chosen the lists follow List1 in the tab order, before the Reply-To options.
  EnableWindow(page_->Control(cboNewSignature), TRUE);
  EnableWindow(page_->Control(cboReplySignature), TRUE);
  HWND afterList1 = GetNextDlgTabItem(page_->Handle(), page_->Control(List1), FALSE);
  EXPECT_EQ(afterList1, page_->Control(cboNewSignature));
  HWND next = GetNextDlgTabItem(page_->Handle(), afterList1, FALSE);
  EXPECT_EQ(next, page_->Control(cboReplySignature));
  const HWND option = GetNextDlgTabItem(page_->Handle(), next, FALSE);
  EXPECT_TRUE(option == page_->Control(Option1_0) || option == page_->Control(Option1_2));
}

INSTANTIATE_TEST_SUITE_P(Dpi, SignaturesFrame, ::testing::Values(96u, 144u));

class AccessibleNames : public PageWindowFixture, public ::testing::Test {
  OleApartment apartment_;
};

// AccessibleObjectFromWindow is what a screen reader calls; it asks the window first.
TEST_F(AccessibleNames, ListsAreNamedByTheirFrameOrLabelAndTheRestIsTheStandardObjects) {
  ASSERT_TRUE(page_);
  const std::pair<ControlId, const wchar_t*> cases[] = {
      {List1, L"Identities"},
      {List4, L"Handle ingoing messages delivered to the following folders:"},
      {cboNewSignature, L"New messages"},
      {cboReplySignature, L"Replies/forwards"},
  };
  SendMessageW(page_->Control(cboNewSignature), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Sales"));
  SendMessageW(page_->Control(cboNewSignature), CB_SETCURSEL, 0, 0);
  for (const auto& [control, name] : cases) {
    SCOPED_TRACE(DesignOf(control).name);
    HWND window = page_->Control(control);
    ComPtr<IAccessible> named;
    ASSERT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                         named.put_void()),
              S_OK);
    VARIANT self{};
    V_VT(&self) = VT_I4;
    V_I4(&self) = CHILDID_SELF;
    UniqueBstr text;
    ASSERT_EQ(named->get_accName(self, text.put()), S_OK);
    EXPECT_EQ(FromBstr(text.get()), std::u16string(name, name + wcslen(name)));

    ComPtr<IAccessible> standard;
    ASSERT_EQ(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), standard.put_void()), S_OK);
    UniqueVariant role, standardRole;
    EXPECT_EQ(named->get_accRole(self, role.addressof()), standard->get_accRole(self, standardRole.addressof()));
    EXPECT_EQ(V_VT(role.addressof()), V_VT(standardRole.addressof()));
    EXPECT_EQ(V_I4(role.addressof()), V_I4(standardRole.addressof()));
    HWND located = nullptr;
    EXPECT_EQ(WindowFromAccessibleObject(named.get(), &located), S_OK);
    EXPECT_EQ(located, window);
  }
}

// The relocation value of Outlook 16, removed again afterwards.
class RelocatedTo {
 public:
  explicit RelocatedTo(const std::wstring& folder) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Signatures", REG_SZ, folder.c_str(),
                    static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  }
  ~RelocatedTo() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"Signatures"); }

 private:
  static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Office\\16.0\\Common\\General";
};

Texts NamesRead(quillon::testing::RecordingDiagnostics& sink) {
  platform::DiagnosticStep step(sink, u"Load: signatures");
  Win32SignatureCatalogue catalogue;
  return catalogue.SignatureNames(16);
}

TEST(Win32SignatureCatalogue, ReadsTheUsersFolderOrTheRelocatedOneAndReportsAMissingOne) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Office\\16.0\\Common\\General", L"Signatures");
  quillon::testing::RecordingDiagnostics sink;
  {
    SignatureFolder folder;
    for (const wchar_t* file : {L"Support.htm", L"Support.rtf", L"support.TXT", L"plain.txt",
                                L"\u00C9quipe \u65E5\u672C.htm", L"Sales (sales@quillon-sample.com).htm",
                                L"Sales (sales@quillon-sample.com).txt", L"Support_files", L"readme.md"}) {
      folder.Add(file);
    }
    EXPECT_EQ(NamesRead(sink), (Texts{u"plain", u"Sales (sales@quillon-sample.com)", u"Support",
                                      u"\u00C9quipe \u65E5\u672C"}));

    // Relocated below %APPDATA%\Microsoft (a localised name, say): only that folder counts.
    SignatureFolder relocated(L"Signaturer \u00F8");
    relocated.Add(L"Hilsen.htm");
    const RelocatedTo value(L"Signaturer \u00F8");
    EXPECT_EQ(NamesRead(sink), (Texts{u"Hilsen"}));
  }
  EXPECT_TRUE(sink.Reports().empty());

  const RelocatedTo missing(L"Nowhere");
  EXPECT_EQ(NamesRead(sink), Texts{});
  ASSERT_EQ(sink.Reports().size(), 1u);
  EXPECT_EQ(sink.Reports()[0].step, u"Load: signatures");
  EXPECT_EQ(sink.Reports()[0].call, u"FindFirstFileExW");
  EXPECT_TRUE(sink.Reports()[0].subject.ends_with(u"\\Microsoft\\Nowhere"));
  EXPECT_TRUE(sink.Reports()[0].code == ERROR_PATH_NOT_FOUND || sink.Reports()[0].code == ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace quillon::win::testing
