// The control as Outlook sees it: created by ProgID, sited in either order,
// activated in place, asked through PropertyPage by vtable and by DISPID, and
// torn down without leaking the site or the application.
#include <gtest/gtest.h>

#include <string>

#include "scripted_dispatch.h"
#include "test_container.h"
#include "win/control/registration.h"

namespace quillon::win::testing {
namespace {

class ControlHosting : public ::testing::TestWithParam<CreationOrder> {
 protected:
  static void SetUpTestSuite() { ASSERT_HRESULT_SUCCEEDED(RegisterControlLibrary()); }
  OleApartment apartment_;
};

TEST_F(ControlHosting, CreatedByProgIdAnswersEveryHostingInterface) {
  CLSID clsid{};
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(L"Quillon.QuillonPage", &clsid));
  EXPECT_TRUE(IsEqualCLSID(clsid, kClsidQuillonPage));

  ComPtr<IUnknown> control;
  ASSERT_HRESULT_SUCCEEDED(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, control.put_void()));
  const IID interfaces[] = {kIidPropertyPage,         IID_IDispatch,       IID_IOleObject,
                            IID_IOleInPlaceObject,    IID_IOleWindow,      IID_IOleInPlaceActiveObject,
                            IID_IOleControl,          IID_IViewObject,     IID_IViewObject2,
                            IID_IPersistStreamInit,   IID_IPersistPropertyBag, IID_IPersist};
  for (const IID& iid : interfaces) {
    ComPtr<IUnknown> part;
    EXPECT_HRESULT_SUCCEEDED(control->QueryInterface(iid, part.put_void()));
    // Every interface leads back to the same object.
    ComPtr<IUnknown> identity;
    ASSERT_TRUE(part);
    part->QueryInterface(IID_IUnknown, identity.put_void());
    EXPECT_EQ(identity.get(), control.get());
  }
  ComPtr<IUnknown> none;
  EXPECT_EQ(control->QueryInterface(IID_IClassFactory, none.put_void()), E_NOINTERFACE);

  auto object = control.As<IOleObject>(IID_IOleObject);
  DWORD status = 0;
  ASSERT_HRESULT_SUCCEEDED(object->GetMiscStatus(DVASPECT_CONTENT, &status));
  EXPECT_TRUE(status & OLEMISC_SETCLIENTSITEFIRST);
}

TEST_P(ControlHosting, LoadsOnceWhenInitialisedAndSitedInEitherOrder) {
  HostedControl hosted(GetParam());
  ASSERT_HRESULT_SUCCEEDED(hosted.created);
  EXPECT_EQ(hosted.Site().applicationCalls, 1);

  // Siting again, or activating, does not load a second time.
  hosted.Object()->SetClientSite(static_cast<IOleClientSite*>(&hosted.Site()));
  ASSERT_HRESULT_SUCCEEDED(hosted.Activate());
  EXPECT_EQ(hosted.Site().applicationCalls, 1);

  // The load wrote the version label from the library's own version resource.
  EXPECT_NE(FindChildWithText(hosted.PageWindow(), L"Quillon ver. 1.0.0"), nullptr);
  VARIANT_BOOL dirty = VARIANT_TRUE;
  ASSERT_HRESULT_SUCCEEDED(hosted.Page()->get_Dirty(&dirty));
  EXPECT_EQ(dirty, VARIANT_FALSE);
}

TEST_P(ControlHosting, NotLoadedBeforeBothStepsAndApplyThenRefusesToSave) {
  CLSID clsid{};
  ASSERT_HRESULT_SUCCEEDED(CLSIDFromProgID(kProgId, &clsid));
  ComPtr<PropertyPage> page;
  ASSERT_HRESULT_SUCCEEDED(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, kIidPropertyPage, page.put_void()));
  HostWindow host;
  ComPtr<TestSite> site(new TestSite(host.get(), nullptr));
  if (GetParam() == CreationOrder::SiteFirst)
    page.As<IOleObject>(IID_IOleObject)->SetClientSite(site.get());
  else
    page.As<IPersistStreamInit>(IID_IPersistStreamInit)->InitNew();
  EXPECT_EQ(site->applicationCalls, 0);
  // An unloaded page holds no identities; saving it would wipe the profile's.
  EXPECT_EQ(page->Apply(), E_UNEXPECTED);
  page.As<IOleObject>(IID_IOleObject)->SetClientSite(nullptr);
}

TEST_P(ControlHosting, PageWhoseWindowWentDownWithTheHostRefusesToSave) {
  HostedControl hosted(GetParam());
  ASSERT_HRESULT_SUCCEEDED(hosted.created);
  ASSERT_HRESULT_SUCCEEDED(hosted.Activate());
  HWND page = hosted.PageWindow();
  SendMessageW(FindChildWithText(page, L"<a@x.com>"), BM_CLICK, 0, 0);  // dirty
  // A host that destroys its window without deactivating the control first.
  DestroyWindow(hosted.Host());
  EXPECT_FALSE(IsWindow(page));
  EXPECT_EQ(hosted.Page()->Apply(), E_UNEXPECTED);
  hosted.Teardown();
  EXPECT_EQ(hosted.finalReferences, 0u);
}

TEST_P(ControlHosting, ActivatesInPlaceInsideTheHostWindow) {
  HostedControl hosted(GetParam());
  ASSERT_HRESULT_SUCCEEDED(hosted.created);
  auto inPlace = ComPtr<IOleObject>::Share(hosted.Object()).As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  // Some hosts set the rectangles before the window exists.
  RECT early{5, 6, 405, 386};
  EXPECT_HRESULT_SUCCEEDED(inPlace->SetObjectRects(&early, &early));

  ASSERT_HRESULT_SUCCEEDED(hosted.Activate());
  HWND page = hosted.PageWindow();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(GetParent(page), hosted.Host());
  EXPECT_TRUE(IsWindowVisible(page));
  RECT bounds{};
  GetWindowRect(page, &bounds);
  MapWindowPoints(nullptr, hosted.Host(), reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_EQ(bounds.right - bounds.left, hosted.Site().position.right - hosted.Site().position.left);

  RECT moved{10, 20, 310, 220};
  ASSERT_HRESULT_SUCCEEDED(inPlace->SetObjectRects(&moved, &moved));
  GetWindowRect(page, &bounds);
  MapWindowPoints(nullptr, hosted.Host(), reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_EQ(bounds.left, 10);
  EXPECT_EQ(bounds.top, 20);
  EXPECT_EQ(bounds.right, 310);

  // Deactivated, the page leaves the host's window but keeps its controls.
  ASSERT_HRESULT_SUCCEEDED(inPlace->InPlaceDeactivate());
  EXPECT_FALSE(IsWindowVisible(page));
  EXPECT_NE(GetParent(page), hosted.Host());
  EXPECT_TRUE(IsWindow(page));
}

TEST_P(ControlHosting, PropertyPageAnswersThroughVtableAndDispatch) {
  HostedControl hosted(GetParam());
  ASSERT_HRESULT_SUCCEEDED(hosted.created);
  ASSERT_HRESULT_SUCCEEDED(hosted.Activate());
  PropertyPage* page = hosted.Page();

  // GetPageInfo leaves what the host passed.
  BSTR helpFile = SysAllocString(L"outlook.chm");
  long helpContext = 42;
  EXPECT_HRESULT_SUCCEEDED(page->GetPageInfo(&helpFile, &helpContext));
  EXPECT_STREQ(helpFile, L"outlook.chm");
  EXPECT_EQ(helpContext, 42);
  SysFreeString(helpFile);

  struct Member {
    const wchar_t* name;
    DISPID id;
    WORD kind;
  };
  for (const Member& member : {Member{L"Caption", -518, DISPATCH_PROPERTYGET},
                               Member{L"GetPageInfo", 0x2100, DISPATCH_METHOD},
                               Member{L"Dirty", 0x2101, DISPATCH_PROPERTYGET},
                               Member{L"Apply", 0x2102, DISPATCH_METHOD}}) {
    DISPID id = 0;
    auto* name = const_cast<LPOLESTR>(member.name);
    ASSERT_HRESULT_SUCCEEDED(page->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id)) << member.name;
    EXPECT_EQ(id, member.id) << member.name;
  }
  DISPID unknown = 0;
  auto* bogus = const_cast<LPOLESTR>(L"Bogus");
  EXPECT_EQ(page->GetIDsOfNames(IID_NULL, &bogus, 1, LOCALE_USER_DEFAULT, &unknown), DISP_E_UNKNOWNNAME);

  DISPPARAMS none{};
  UniqueVariant caption;
  ASSERT_HRESULT_SUCCEEDED(
      page->Invoke(-518, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, caption.get(), nullptr, nullptr));
  ASSERT_EQ(V_VT(caption.get()), VT_BSTR);
  EXPECT_STREQ(V_BSTR(caption.get()), L"Outlook Property Page");

  UniqueVariant dirty;
  ASSERT_HRESULT_SUCCEEDED(
      page->Invoke(0x2101, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, dirty.get(), nullptr, nullptr));
  EXPECT_EQ(V_VT(dirty.get()), VT_BOOL);
  EXPECT_EQ(V_BOOL(dirty.get()), VARIANT_FALSE);

  EXPECT_HRESULT_SUCCEEDED(page->Invoke(0x2102, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
  EXPECT_HRESULT_SUCCEEDED(page->Apply());
  EXPECT_EQ(page->Invoke(0x2102, IID_NULL, 0, DISPATCH_PROPERTYPUT, &none, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(page->Invoke(0x7777, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
}

TEST_P(ControlHosting, UserEditMarksDirtyAndTellsTheSite) {
  HostedControl hosted(GetParam());
  ASSERT_HRESULT_SUCCEEDED(hosted.created);
  ASSERT_HRESULT_SUCCEEDED(hosted.Activate());
  HWND option = FindChildWithText(hosted.PageWindow(), L"<a@x.com>");
  ASSERT_NE(option, nullptr);

  SendMessageW(option, BM_CLICK, 0, 0);
  EXPECT_EQ(hosted.Site().statusChanges, 1);
  VARIANT_BOOL dirty = VARIANT_FALSE;
  hosted.Page()->get_Dirty(&dirty);
  EXPECT_EQ(dirty, VARIANT_TRUE);

  // Apply without a profile saves nothing but leaves the page clean.
  EXPECT_HRESULT_SUCCEEDED(hosted.Page()->Apply());
  hosted.Page()->get_Dirty(&dirty);
  EXPECT_EQ(dirty, VARIANT_FALSE);
}

TEST_P(ControlHosting, TeardownReleasesSiteApplicationAndWindow) {
  ScriptedDispatch application;  // knows no member: every Outlook call on it fails
  HWND page = nullptr;
  ULONG siteReferences = 0;
  {
    HostedControl hosted(GetParam(), &application);
    ASSERT_HRESULT_SUCCEEDED(hosted.created);
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
  HostedControl hosted(GetParam());
  ASSERT_HRESULT_SUCCEEDED(hosted.created);
  ASSERT_HRESULT_SUCCEEDED(hosted.Activate());
  auto active = ComPtr<IOleObject>::Share(hosted.Object())
                    .As<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject);
  ASSERT_TRUE(active);
  HWND add = FindChildWithText(hosted.PageWindow(), L"Add");
  ASSERT_NE(add, nullptr);
  SetFocus(add);

  MSG escape{add, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&escape), S_FALSE);
  MSG tab{add, WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&tab), S_OK);
  HWND focus = GetFocus();
  EXPECT_NE(focus, add);
  EXPECT_TRUE(IsChild(hosted.PageWindow(), focus));
  // A key meant for another window is not the page's business.
  MSG elsewhere{hosted.Host(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
  EXPECT_EQ(active->TranslateAccelerator(&elsewhere), S_FALSE);
}

INSTANTIATE_TEST_SUITE_P(BothOrders, ControlHosting,
                         ::testing::Values(CreationOrder::SiteFirst, CreationOrder::InitNewFirst),
                         [](const auto& info) {
                           return info.param == CreationOrder::SiteFirst ? std::string("SiteFirst")
                                                                         : std::string("InitNewFirst");
                         });

}  // namespace
}  // namespace quillon::win::testing
