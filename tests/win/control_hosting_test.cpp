// The control as Outlook sees it: created by ProgID, sited in either order,
// activated in place, asked through PropertyPage by vtable and by DISPID, and
// torn down without leaking the site or the application.
#include <gtest/gtest.h>

#include "scripted_dispatch.h"
#include "test_container.h"

namespace quillon::win::testing {
namespace {

class ControlHosting : public ::testing::TestWithParam<CreationOrder> {
 protected:
  static void SetUpTestSuite() {
    ASSERT_HRESULT_SUCCEEDED(LibraryEntry<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer")());
  }
  void SetUp() override { ASSERT_HRESULT_SUCCEEDED(hosted_.Create(GetParam())); }

  OleApartment apartment_;
  HostedPage hosted_{nullptr};
};

TEST_P(ControlHosting, CreatedByProgIdAnswersEveryInterfaceAndLoadsOnce) {
  CLSID clsid{};
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Quillon.QuillonPage", &clsid));
  EXPECT_TRUE(IsEqualCLSID(clsid, kClsidQuillonPage));
  const auto control = hosted_.As<IUnknown>(IID_IUnknown);
  for (const IID& iid : {kIidPropertyPage, IID_IDispatch, IID_IOleObject, IID_IOleInPlaceObject, IID_IOleWindow,
                         IID_IOleInPlaceActiveObject, IID_IOleControl, IID_IViewObject, IID_IViewObject2,
                         IID_IPersistStreamInit, IID_IPersistPropertyBag, IID_IPersist}) {
    ComPtr<IUnknown> part, identity;
    ASSERT_HRESULT_SUCCEEDED(control->QueryInterface(iid, part.put_void()));
    part->QueryInterface(IID_IUnknown, identity.put_void());
    EXPECT_EQ(identity.get(), control.get()) << "every interface leads back to the same object";
  }
  EXPECT_TRUE(hosted_.control.MiscStatus() & OLEMISC_SETCLIENTSITEFIRST);

  // Loaded once; siting again, or activating again, does not load again.
  EXPECT_EQ(hosted_.owner.applicationCalls, 1);
  hosted_.control.Object()->SetClientSite(hosted_.site.get());
  RECT place = kPagePlace;
  ASSERT_HRESULT_SUCCEEDED(hosted_.control.Object()->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, hosted_.site.get(), 0,
                                                            hosted_.window.get(), &place));
  EXPECT_EQ(hosted_.owner.applicationCalls, 1);
  // The load wrote the version label from the library's own version resource.
  EXPECT_EQ(WindowText(FindPageControl(hosted_.control.Window(), ControlId::Label4_0)), L"Quillon ver. 1.0.0");
}

TEST_P(ControlHosting, LoadedOnlyOnceBothStepsAreDoneAndUnloadedRefusesToSave) {
  hosted_.control.Destroy();  // this page alone
  CLSID clsid{};
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(kProgId, &clsid));
  ComPtr<IOleObject> object;
  ASSERT_HRESULT_SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, object.put_void()));
  // Outlook sizes the page by its extent: the form's 6120 x 5625 twips in HIMETRIC.
  SIZEL extent{};
  ASSERT_HRESULT_SUCCEEDED(object->GetExtent(DVASPECT_CONTENT, &extent));
  EXPECT_EQ(extent.cx, 10795);
  EXPECT_EQ(extent.cy, 9921);
  const bool siteFirst = GetParam() == CreationOrder::kSetClientSiteFirst;
  const auto persist = object.As<IPersistStreamInit>(IID_IPersistStreamInit);
  siteFirst ? object->SetClientSite(hosted_.site.get()) : persist->InitNew();
  EXPECT_EQ(hosted_.owner.applicationCalls, 1);  // the hosted page's only
  // An unloaded page holds no identities; saving it would wipe the profile's.
  EXPECT_EQ(object.As<PropertyPage>(kIidPropertyPage)->Apply(), E_UNEXPECTED);
  siteFirst ? persist->InitNew() : object->SetClientSite(hosted_.site.get());
  EXPECT_EQ(hosted_.owner.applicationCalls, 2);  // loaded before any activation
  // Some hosts set the rectangles before the window exists.
  RECT early{5, 6, 405, 386};
  EXPECT_HRESULT_SUCCEEDED(object.As<IOleInPlaceObject>(IID_IOleInPlaceObject)->SetObjectRects(&early, &early));
  object->SetClientSite(nullptr);
}

TEST_P(ControlHosting, PageWhoseWindowWentDownWithTheHostRefusesToSave) {
  HWND page = hosted_.control.Window();
  SendMessageW(FindPageControl(page, ControlId::Option1_0), BM_CLICK, 0, 0);  // dirty
  // A host that destroys its window without deactivating the control first.
  DestroyWindow(hosted_.window.get());
  EXPECT_FALSE(IsWindow(page));
  EXPECT_EQ(hosted_.control.Apply(), E_UNEXPECTED);
  EXPECT_EQ(hosted_.control.Destroy(), 0u);
}

TEST_P(ControlHosting, ActivatesInPlaceInsideTheHostWindow) {
  const auto inPlace = hosted_.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  HWND page = hosted_.control.Window();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(GetParent(page), hosted_.window.get());
  EXPECT_TRUE(IsWindowVisible(page));

  RECT moved{10, 20, 310, 220}, bounds{};
  ASSERT_HRESULT_SUCCEEDED(inPlace->SetObjectRects(&moved, &moved));
  GetWindowRect(page, &bounds);
  MapWindowPoints(nullptr, hosted_.window.get(), reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_TRUE(EqualRect(&bounds, &moved));

  // Deactivated, the page leaves the host's window but keeps its controls.
  ASSERT_HRESULT_SUCCEEDED(inPlace->InPlaceDeactivate());
  EXPECT_FALSE(IsWindowVisible(page));
  EXPECT_NE(GetParent(page), hosted_.window.get());
  EXPECT_TRUE(IsWindow(page));
}

TEST_P(ControlHosting, PropertyPageAnswersThroughVtableAndDispatch) {
  const ComPtr<PropertyPage> page = hosted_.Page();
  // Unknown names, members and call kinds are the hostile-host table's.
  for (const auto& [name, dispid] : {std::pair{L"Caption", -518}, {L"GetPageInfo", 0x2100}, {L"Dirty", 0x2101},
                                     {L"Apply", 0x2102}}) {
    DISPID id = 0;
    auto* text = const_cast<LPOLESTR>(name);
    EXPECT_EQ(page->GetIDsOfNames(IID_NULL, &text, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, dispid) << name;
  }
  const auto invoke = [&page](DISPID id, WORD kind, VARIANT* result) {
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
  hosted_.control.Destroy();  // this page alone
  ScriptedDispatch application;  // knows no member: every Outlook call on it fails
  HostedPage hosted(&application);
  ASSERT_HRESULT_SUCCEEDED(hosted.Create(GetParam()));
  HWND page = hosted.control.Window();
  EXPECT_GT(application.References(), 1u);  // held as the module's Outlook
  EXPECT_EQ(hosted.control.Destroy(), 0u);
  hosted.site->AddRef();
  EXPECT_EQ(hosted.site->Release(), 1u);  // the host's own: nothing kept by the page
  EXPECT_FALSE(IsWindow(page));
  // Terminate released the application: only its own reference is left.
  EXPECT_EQ(application.References(), 1u);
}

TEST_P(ControlHosting, KeyboardStaysInsideThePageButEscapeGoesToTheHost) {
  auto active = hosted_.As<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
  HWND add = FindPageControl(hosted_.control.Window(), ControlId::cmdAdd);
  ASSERT_NE(add, nullptr);
  SetFocus(add);

  MSG escape{add, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&escape), S_FALSE);
  MSG tab{add, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&tab), S_OK);
  EXPECT_NE(GetFocus(), add);
  EXPECT_TRUE(IsChild(hosted_.control.Window(), GetFocus()));
  // A key meant for another window is not the page's business.
  MSG elsewhere{hosted_.window.get(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&elsewhere), S_FALSE);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, ControlHosting,
                         ::testing::Values(CreationOrder::kSetClientSiteFirst, CreationOrder::kInitNewFirst),
                         [](const auto& info) {
                           return info.param == CreationOrder::kInitNewFirst ? "InitNewFirst" : "SiteFirst";
                         });

}  // namespace
}  // namespace quillon::win::testing
