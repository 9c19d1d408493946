// The control as Outlook sees it: created by ProgID, sited in either order,
// activated in place, asked through PropertyPage by vtable and by DISPID, and
// torn down without leaking the site or the application.
#include <gtest/gtest.h>

#include <string>

#include "scripted_dispatch.h"
#include "test_container.h"

namespace quillon::win::testing {
namespace {

class ControlHosting : public ::testing::TestWithParam<CreationOrder> {
 protected:
  static void SetUpTestSuite() {
    ASSERT_HRESULT_SUCCEEDED(LibraryEntry<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer")());
  }
  void SetUp() override { ASSERT_HRESULT_SUCCEEDED(hosted_.created); }

  OleApartment apartment_;
  HostedControl hosted_{GetParam()};
};

TEST_P(ControlHosting, CreatedByProgIdAnswersEveryInterfaceAndLoadsOnce) {
  CLSID clsid{};
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Quillon.QuillonPage", &clsid));
  EXPECT_TRUE(IsEqualCLSID(clsid, kClsidQuillonPage));
  const auto control = ComPtr<IOleObject>::Share(hosted_.Object()).As<IUnknown>(IID_IUnknown);
  for (const IID& iid : {kIidPropertyPage, IID_IDispatch, IID_IOleObject, IID_IOleInPlaceObject, IID_IOleWindow,
                         IID_IOleInPlaceActiveObject, IID_IOleControl, IID_IViewObject, IID_IViewObject2,
                         IID_IPersistStreamInit, IID_IPersistPropertyBag, IID_IPersist}) {
    ComPtr<IUnknown> part, identity;
    ASSERT_HRESULT_SUCCEEDED(control->QueryInterface(iid, part.put_void()));
    part->QueryInterface(IID_IUnknown, identity.put_void());
    EXPECT_EQ(identity.get(), control.get()) << "every interface leads back to the same object";
  }
  DWORD status = 0;
  ASSERT_HRESULT_SUCCEEDED(hosted_.Object()->GetMiscStatus(DVASPECT_CONTENT, &status));
  EXPECT_TRUE(status & OLEMISC_SETCLIENTSITEFIRST);
  // Outlook sizes the page by its extent: the form's 6120 x 5625 twips in HIMETRIC.
  SIZEL extent{};
  ASSERT_HRESULT_SUCCEEDED(hosted_.Object()->GetExtent(DVASPECT_CONTENT, &extent));
  EXPECT_EQ(extent.cx, 10795);
  EXPECT_EQ(extent.cy, 9921);

  // Loaded once initialised and sited; siting again, or activating, does not load again.
  EXPECT_EQ(hosted_.Site().applicationCalls, 1);
  hosted_.Object()->SetClientSite(&hosted_.Site());
  ASSERT_HRESULT_SUCCEEDED(hosted_.Activate());
  EXPECT_EQ(hosted_.Site().applicationCalls, 1);
  // The load wrote the version label from the library's own version resource.
  EXPECT_NE(FindChildWithText(hosted_.PageWindow(), L"Quillon ver. 1.0.0"), nullptr);
}

TEST_P(ControlHosting, NotLoadedBeforeBothStepsAndApplyThenRefusesToSave) {
  hosted_.Teardown();  // this page alone
  CLSID clsid{};
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(kProgId, &clsid));
  ComPtr<IOleObject> object;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object.put_void()));
  ComPtr<TestSite> site(new TestSite(hosted_.Host(), nullptr));
  if (GetParam() == CreationOrder::SiteFirst)
    object->SetClientSite(site.get());
  else
    object.As<IPersistStreamInit>(IID_IPersistStreamInit)->InitNew();
  EXPECT_EQ(site->applicationCalls, 0);
  // An unloaded page holds no identities; saving it would wipe the profile's.
  EXPECT_EQ(object.As<PropertyPage>(kIidPropertyPage)->Apply(), E_UNEXPECTED);
  object->SetClientSite(nullptr);
}

TEST_P(ControlHosting, PageWhoseWindowWentDownWithTheHostRefusesToSave) {
  ASSERT_HRESULT_SUCCEEDED(hosted_.Activate());
  HWND page = hosted_.PageWindow();
  SendMessageW(FindChildWithText(page, L"<a@x.com>"), BM_CLICK, 0, 0);  // dirty
  // A host that destroys its window without deactivating the control first.
  DestroyWindow(hosted_.Host());
  EXPECT_FALSE(IsWindow(page));
  EXPECT_EQ(hosted_.Page()->Apply(), E_UNEXPECTED);
  hosted_.Teardown();
  EXPECT_EQ(hosted_.finalReferences, 0u);
}

TEST_P(ControlHosting, ActivatesInPlaceInsideTheHostWindow) {
  auto inPlace = hosted_.InPlace();
  // Some hosts set the rectangles before the window exists.
  RECT early{5, 6, 405, 386};
  EXPECT_HRESULT_SUCCEEDED(inPlace->SetObjectRects(&early, &early));
  ASSERT_HRESULT_SUCCEEDED(hosted_.Activate());
  HWND page = hosted_.PageWindow();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(GetParent(page), hosted_.Host());
  EXPECT_TRUE(IsWindowVisible(page));

  RECT moved{10, 20, 310, 220}, bounds{};
  ASSERT_HRESULT_SUCCEEDED(inPlace->SetObjectRects(&moved, &moved));
  GetWindowRect(page, &bounds);
  MapWindowPoints(nullptr, hosted_.Host(), reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_TRUE(EqualRect(&bounds, &moved));

  // Deactivated, the page leaves the host's window but keeps its controls.
  ASSERT_HRESULT_SUCCEEDED(inPlace->InPlaceDeactivate());
  EXPECT_FALSE(IsWindowVisible(page));
  EXPECT_NE(GetParent(page), hosted_.Host());
  EXPECT_TRUE(IsWindow(page));
}

TEST_P(ControlHosting, PropertyPageAnswersThroughVtableAndDispatch) {
  ASSERT_HRESULT_SUCCEEDED(hosted_.Activate());
  PropertyPage* page = hosted_.Page();
  // Unknown names, members and call kinds are the hostile-host table's.
  for (const auto& [name, dispid] : {std::pair{L"Caption", -518}, {L"GetPageInfo", 0x2100}, {L"Dirty", 0x2101},
                                     {L"Apply", 0x2102}}) {
    DISPID id = 0;
    auto* text = const_cast<LPOLESTR>(name);
    EXPECT_EQ(page->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, dispid) << name;
  }
  const auto invoke = [page](DISPID id, WORD kind, VARIANT* result) {
    DISPPARAMS none{};
    return page->Invoke(id, IID_NULL, 0, kind, &none, result, nullptr, nullptr);
  };
  UniqueVariant caption, dirty;
  ASSERT_HRESULT_SUCCEEDED(invoke(-518, DISPATCH_PROPERTYGET, caption.put()));
  ASSERT_EQ(V_VT(&caption.get()), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&caption.get()), L"Outlook Property Page");
  ASSERT_HRESULT_SUCCEEDED(invoke(0x2101, DISPATCH_PROPERTYGET, dirty.put()));
  EXPECT_EQ(V_VT(&dirty.get()), VT_BOOL);
  EXPECT_EQ(V_BOOL(&dirty.get()), VARIANT_FALSE);
  EXPECT_HRESULT_SUCCEEDED(invoke(0x2102, DISPATCH_METHOD, nullptr));
  EXPECT_HRESULT_SUCCEEDED(page->Apply());
}

TEST_P(ControlHosting, TeardownReleasesSiteApplicationAndWindow) {
  hosted_.Teardown();  // this page alone
  ScriptedDispatch application;  // knows no member: every Outlook call on it fails
  HWND page = nullptr;
  ULONG siteReferences = 0;
  {
    HostedControl hosted(GetParam(), &application);
    ASSERT_HRESULT_SUCCEEDED(hosted.Activate());
    page = hosted.PageWindow();
    EXPECT_GT(application.References(), 1u);  // held as the module's Outlook
    ComPtr<TestSite> site = ComPtr<TestSite>::Share(&hosted.Site());
    hosted.Teardown();
    EXPECT_EQ(hosted.finalReferences, 0u);
    siteReferences = site->references();
  }
  EXPECT_EQ(siteReferences, 2u);  // the host's and the local copy: nothing kept by the page
  EXPECT_FALSE(IsWindow(page));
  // Terminate released the application: only its own reference is left.
  EXPECT_EQ(application.References(), 1u);
}

TEST_P(ControlHosting, KeyboardStaysInsideThePageButEscapeGoesToTheHost) {
  ASSERT_HRESULT_SUCCEEDED(hosted_.Activate());
  auto active = ComPtr<IOleObject>::Share(hosted_.Object()).As<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
  HWND add = FindChildWithText(hosted_.PageWindow(), L"Add");
  ASSERT_NE(add, nullptr);
  SetFocus(add);

  MSG escape{add, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&escape), S_FALSE);
  MSG tab{add, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&tab), S_OK);
  EXPECT_NE(GetFocus(), add);
  EXPECT_TRUE(IsChild(hosted_.PageWindow(), GetFocus()));
  // A key meant for another window is not the page's business.
  MSG elsewhere{hosted_.Host(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&elsewhere), S_FALSE);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, ControlHosting,
                         ::testing::Values(CreationOrder::SiteFirst, CreationOrder::InitNewFirst),
                         [](const auto& info) {
                           return std::string(info.param == CreationOrder::SiteFirst ? "SiteFirst" : "InitNewFirst");
                         });

}  // namespace
}  // namespace quillon::win::testing
