// What a careless or hostile host can pass at the COM boundary: null
// out-pointers, wrong argument counts and types, unknown DISPIDs and verbs,
// calls out of order, sites that answer nothing. Each row must get a COM
// error or do nothing: no crash, the page keeps working, the sample profile
// keeps its bytes, and the control still goes away on its last Release.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "sample_profile.h"
#include "test_container.h"
#include "win/common/win_handles.h"

namespace quillon::win::testing {
namespace {

// Where a row starts: the control as a host may hold it when it misbehaves.
enum class Start {
  Created,  // made by the class factory only: neither initialised nor sited
  Loaded,   // initialised and sited (the page has loaded the sample profile)
  Active,   // loaded and activated in place in the host window
};

// The control under test, reached through any of its interfaces.
class Subject {
 public:
  explicit Subject(Start start) : outlook_(SampleOutlook()), hosted_(outlook_.get()) {
    if (start == Start::Active) {
      hosted_.Create();
      return;
    }
    CLSID clsid{};
    if (SUCCEEDED(CLSIDFromProgID(kProgId, &clsid)))
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject, bare_.put_void());
    if (start == Start::Loaded && bare_) {
      bare_->SetClientSite(Site());
      As<IPersistStreamInit>(IID_IPersistStreamInit)->InitNew();
    }
  }

  IOleObject* Object() const { return hosted_.control.IsCreated() ? hosted_.control.Object() : bare_.get(); }
  template <class Interface>
  ComPtr<Interface> As(REFIID iid) const {
    return ComPtr<IOleObject>::Share(Object()).As<Interface>(iid);
  }
  ComPtr<PropertyPage> Page() const { return As<PropertyPage>(kIidPropertyPage); }
  HWND Host() const { return hosted_.window.get(); }
  ControlSite* Site() const { return hosted_.site.get(); }
  HRESULT Invoke(DISPID id, WORD flags, std::vector<VARIANT> arguments = {}, VARIANT* result = nullptr) {
    DISPPARAMS params{arguments.data(), nullptr, static_cast<UINT>(arguments.size()), 0};
    return Page()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
  }
  // What the last Release reported (0: the control is gone).
  ULONG Release() {
    if (hosted_.control.IsCreated()) return hosted_.control.Destroy().value_or(0xFFFF);
    if (!bare_) return 0xFFFF;
    bare_->Close(OLECLOSE_NOSAVE);
    bare_->SetClientSite(nullptr);
    return bare_.close();
  }

 private:
  ComPtr<IDispatch> outlook_;
  HostedPage hosted_;
  ComPtr<IOleObject> bare_;
};

// Arguments that own nothing, so that no VariantClear is owed.
VARIANT Long(long number) {
  VARIANT v{};
  V_VT(&v) = VT_I4;
  V_I4(&v) = number;
  return v;
}

VARIANT NullObject() {
  VARIANT v{};  // VT_EMPTY, all zero
  V_VT(&v) = VT_DISPATCH;
  return v;
}

// A result the contract leaves open: any failure will do (a code no call returns).
constexpr HRESULT kAnyFailure = static_cast<HRESULT>(0xAFFFFFFFL);

bool Matches(HRESULT actual, HRESULT expected) {
  return expected == kAnyFailure ? FAILED(actual) : actual == expected;
}

// A family of calls in one row: each must give its result; then the row gives S_OK.
struct Outcome {
  const char* call;
  HRESULT actual, expected;
};
HRESULT All(std::initializer_list<Outcome> outcomes) {
  HRESULT verdict = S_OK;
  for (const Outcome& outcome : outcomes) {
    if (Matches(outcome.actual, outcome.expected)) continue;
    ADD_FAILURE() << outcome.call << " gave 0x" << std::hex << outcome.actual;
    verdict = E_FAIL;
  }
  return verdict;
}

struct Row {
  const char* name;
  Start start;
  std::function<HRESULT(Subject&)> call;  // the last call's result
  HRESULT expected;
};

// clang-format off
const std::vector<Row> kRows = {
  // ---- null out-pointers
  {"QueryInterfaceIntoNull", Start::Loaded, [](Subject& s) { return s.Object()->QueryInterface(IID_IOleObject, nullptr); }, E_POINTER},
  {"QueryInterfaceUnknownIid", Start::Loaded, [](Subject& s) {
     void* none = &s;
     const HRESULT hr = s.Object()->QueryInterface(IID_IClassFactory, &none);
     EXPECT_EQ(none, nullptr);
     return hr; }, E_NOINTERFACE},
  {"GetDirtyIntoNull", Start::Loaded, [](Subject& s) { return s.Page()->get_Dirty(nullptr); }, E_POINTER},
  {"GetTypeInfoCountIntoNull", Start::Loaded, [](Subject& s) { return s.Page()->GetTypeInfoCount(nullptr); }, E_POINTER},
  {"GetTypeInfoIntoNull", Start::Loaded, [](Subject& s) { return s.Page()->GetTypeInfo(0, 0, nullptr); }, kAnyFailure},
  {"GetClientSiteIntoNull", Start::Loaded, [](Subject& s) { return s.Object()->GetClientSite(nullptr); }, E_POINTER},
  {"GetWindowIntoNull", Start::Active, [](Subject& s) { return s.As<IOleWindow>(IID_IOleWindow)->GetWindow(nullptr); }, E_POINTER},
  {"GetWindowBeforeTheLoad", Start::Created, [](Subject& s) {
     HWND window = reinterpret_cast<HWND>(1);
     const HRESULT hr = s.As<IOleWindow>(IID_IOleWindow)->GetWindow(&window);
     EXPECT_EQ(window, nullptr);
     return hr; }, kAnyFailure},
  {"GetExtentIntoNull", Start::Loaded, [](Subject& s) { return s.Object()->GetExtent(DVASPECT_CONTENT, nullptr); }, E_POINTER},
  {"SetExtentFromNull", Start::Loaded, [](Subject& s) { return s.Object()->SetExtent(DVASPECT_CONTENT, nullptr); }, E_POINTER},
  {"GetMiscStatusIntoNull", Start::Loaded, [](Subject& s) { return s.Object()->GetMiscStatus(DVASPECT_CONTENT, nullptr); }, E_POINTER},
  {"GetUserClassIdIntoNull", Start::Loaded, [](Subject& s) { return s.Object()->GetUserClassID(nullptr); }, E_POINTER},
  {"GetUserTypeIntoNull", Start::Loaded, [](Subject& s) { return s.Object()->GetUserType(USERCLASSTYPE_FULL, nullptr); }, OLE_S_USEREG},
  {"GetMonikerIntoNull", Start::Loaded, [](Subject& s) { return s.Object()->GetMoniker(0, OLEWHICHMK_OBJFULL, nullptr); }, kAnyFailure},
  {"EnumVerbsIntoNull", Start::Loaded, [](Subject& s) { return s.Object()->EnumVerbs(nullptr); }, E_POINTER},
  {"EnumAdviseIntoNull", Start::Loaded, [](Subject& s) { return s.Object()->EnumAdvise(nullptr); }, E_POINTER},
  {"AdviseNullSinkIntoNull", Start::Loaded, [](Subject& s) { return s.Object()->Advise(nullptr, nullptr); }, E_POINTER},
  {"AdviseNullSink", Start::Loaded, [](Subject& s) {
     DWORD connection = 7;
     const HRESULT hr = s.Object()->Advise(nullptr, &connection);
     EXPECT_EQ(connection, 0u);
     return hr; }, kAnyFailure},
  {"UnadviseUnknownConnection", Start::Loaded, [](Subject& s) { return s.Object()->Unadvise(12345); }, OLE_E_NOCONNECTION},
  {"GetClassIdIntoNull", Start::Loaded, [](Subject& s) { return s.As<IPersistStreamInit>(IID_IPersistStreamInit)->GetClassID(nullptr); }, E_POINTER},
  {"GetSizeMaxIntoNull", Start::Loaded, [](Subject& s) { return s.As<IPersistStreamInit>(IID_IPersistStreamInit)->GetSizeMax(nullptr); }, E_POINTER},
  {"GetControlInfoIntoNull", Start::Loaded, [](Subject& s) { return s.As<IOleControl>(IID_IOleControl)->GetControlInfo(nullptr); }, E_POINTER},
  {"OnMnemonicWithNull", Start::Active, [](Subject& s) { return s.As<IOleControl>(IID_IOleControl)->OnMnemonic(nullptr); }, S_OK},
  {"GetAdviseIntoNulls", Start::Loaded, [](Subject& s) { return s.As<IViewObject2>(IID_IViewObject2)->GetAdvise(nullptr, nullptr, nullptr); }, S_OK},
  {"GetColorSetIntoNull", Start::Loaded, [](Subject& s) { return s.As<IViewObject2>(IID_IViewObject2)->GetColorSet(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, nullptr); }, S_FALSE},
  {"ViewGetExtentIntoNull", Start::Loaded, [](Subject& s) { return s.As<IViewObject2>(IID_IViewObject2)->GetExtent(DVASPECT_CONTENT, -1, nullptr, nullptr); }, E_POINTER},
  {"DrawIntoNullDc", Start::Active, [](Subject& s) {
     RECTL bounds{0, 0, 100, 100};
     return s.As<IViewObject2>(IID_IViewObject2)->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, nullptr, &bounds, nullptr, nullptr, 0); }, kAnyFailure},
  {"DrawWithoutBounds", Start::Active, [](Subject& s) {
     const UniqueClientDc dc = GetClientDc(s.Host());
     return s.As<IViewObject2>(IID_IViewObject2)->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc.get(), nullptr, nullptr, nullptr, 0); }, kAnyFailure},
  {"SetObjectRectsFromNull", Start::Active, [](Subject& s) { return s.As<IOleInPlaceObject>(IID_IOleInPlaceObject)->SetObjectRects(nullptr, nullptr); }, E_POINTER},
  {"TranslateAcceleratorWithNull", Start::Active, [](Subject& s) { return s.As<IOleInPlaceActiveObject>(IID_IOleInPlaceActiveObject)->TranslateAccelerator(nullptr); }, S_FALSE},
  // ---- PropertyPage::GetPageInfo
  {"GetPageInfoWithNullsAndAHostsValues", Start::Loaded, [](Subject& s) {
     long context = 9;
     UniqueBstr file(SysAllocString(L"outlook.chm"));
     const HRESULT hr = All({{"both null", s.Page()->GetPageInfo(nullptr, nullptr), S_OK},
                             {"null help file", s.Page()->GetPageInfo(nullptr, &context), S_OK},
                             {"null context", s.Page()->GetPageInfo(file.addressof(), nullptr), S_OK},
                             {"both the host's", s.Page()->GetPageInfo(file.addressof(), &context), S_OK}});
     EXPECT_EQ(context, 9);  // the page has no help: both stay as the host passed them
     EXPECT_STREQ(file.get(), L"outlook.chm");
     return hr; }, S_OK},
  {"GetPageInfoBeforeTheLoad", Start::Created, [](Subject& s) { return s.Page()->GetPageInfo(nullptr, nullptr); }, S_OK},
  // ---- IDispatch
  {"InvokeUnknownMembersAndWrongArgumentShapes", Start::Loaded, [](Subject& s) {
     UniqueVariant result;
     return All({
         {"unknown DISPID", s.Invoke(0x7777, DISPATCH_METHOD | DISPATCH_PROPERTYGET), DISP_E_MEMBERNOTFOUND},
         {"DISPID_UNKNOWN", s.Invoke(DISPID_UNKNOWN, DISPATCH_METHOD), DISP_E_MEMBERNOTFOUND},
         {"no flags", s.Invoke(kDispidApply, 0), DISP_E_MEMBERNOTFOUND},
         {"for an interface", s.Page()->Invoke(kDispidApply, IID_IDispatch, 0, DISPATCH_METHOD, nullptr, nullptr,
                                               nullptr, nullptr), DISP_E_UNKNOWNINTERFACE},
         {"null params", s.Page()->Invoke(kDispidGetPageInfo, IID_NULL, 0, DISPATCH_METHOD, nullptr, nullptr,
                                          nullptr, nullptr), S_OK},
         {"GetPageInfo with three", s.Invoke(kDispidGetPageInfo, DISPATCH_METHOD, {Long(1), Long(2), Long(3)}),
          DISP_E_BADPARAMCOUNT},
         {"GetPageInfo with wrong types", s.Invoke(kDispidGetPageInfo, DISPATCH_METHOD, {NullObject(), Long(5)}), S_OK},
         {"Apply with one", s.Invoke(kDispidApply, DISPATCH_METHOD, {Long(1)}), DISP_E_BADPARAMCOUNT},
         {"Dirty with one", s.Invoke(kDispidDirty, DISPATCH_PROPERTYGET, {Long(1)}, result.put()), DISP_E_BADPARAMCOUNT},
         {"Caption with one", s.Invoke(kDispidPageCaption, DISPATCH_PROPERTYGET, {NullObject()}, result.put()),
          DISP_E_BADPARAMCOUNT},
         {"put Caption", s.Invoke(kDispidPageCaption, DISPATCH_PROPERTYPUT, {Long(1)}), DISP_E_MEMBERNOTFOUND},
         {"Dirty into no result", s.Invoke(kDispidDirty, DISPATCH_PROPERTYGET), S_OK}}); }, S_OK},
  {"GetIdsOfNamesWithBadShapes", Start::Loaded, [](Subject& s) {
     LPOLESTR names[] = {const_cast<LPOLESTR>(L"Apply"), const_cast<LPOLESTR>(L"Now")};
     LPOLESTR none = nullptr;
     DISPID ids[2] = {};
     const HRESULT hr = All({
         {"null names", s.Page()->GetIDsOfNames(IID_NULL, nullptr, 1, 0, ids), kAnyFailure},
         {"into null", s.Page()->GetIDsOfNames(IID_NULL, names, 1, 0, nullptr), kAnyFailure},
         {"no names", s.Page()->GetIDsOfNames(IID_NULL, names, 0, 0, ids), kAnyFailure},
         {"named arguments", s.Page()->GetIDsOfNames(IID_NULL, names, 2, 0, ids), DISP_E_UNKNOWNNAME},
         {"null name", s.Page()->GetIDsOfNames(IID_NULL, &none, 1, 0, ids), DISP_E_UNKNOWNNAME}});
     EXPECT_EQ(ids[0], DISPID_UNKNOWN);
     return hr; }, S_OK},
  // ---- the site
  {"SetClientSiteToAnotherSite", Start::Active, [](Subject& s) {
     TestSiteOwner owner(s.Host(), nullptr);
     ComPtr<ControlSite> other(new ControlSite(owner));
     const HRESULT hr = s.Object()->SetClientSite(other.get());
     EXPECT_EQ(owner.applicationCalls, 0);
     s.Object()->SetClientSite(s.Site());
     return hr; }, S_OK},
  {"SetClientSiteThatAnswersNothing", Start::Created, [](Subject& s) {
     TestSiteOwner owner(s.Host(), nullptr);
     ComPtr<ControlSite> mute(new MuteSite(owner));
     s.As<IPersistStreamInit>(IID_IPersistStreamInit)->InitNew();
     EXPECT_HRESULT_SUCCEEDED(s.Object()->SetClientSite(mute.get()));
     EXPECT_TRUE(FAILED(s.Object()->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, mute.get(), 0, s.Host(), nullptr)));
     // Loaded without Outlook: no profile, so Apply has nothing to save.
     return s.Page()->Apply(); }, S_OK},
  {"SetClientSiteNullBeforeAnySite", Start::Created, [](Subject& s) { return s.Object()->SetClientSite(nullptr); }, S_OK},
  // ---- Apply out of order
  {"ApplyTwiceInARow", Start::Active, [](Subject& s) {
     EXPECT_HRESULT_SUCCEEDED(s.Page()->Apply());
     return s.Page()->Apply(); }, S_OK},
  {"InitNewTwice", Start::Loaded, [](Subject& s) { return s.As<IPersistStreamInit>(IID_IPersistStreamInit)->InitNew(); }, CO_E_ALREADYINITIALIZED},
  {"LoadFromNullStream", Start::Loaded, [](Subject& s) { return s.As<IPersistStreamInit>(IID_IPersistStreamInit)->Load(nullptr); }, CO_E_ALREADYINITIALIZED},
  // ---- DoVerb
  {"DoVerbOddVerbs", Start::Loaded, [](Subject& s) {
     IOleObject* o = s.Object();
     return All({{"unknown positive", o->DoVerb(42, nullptr, nullptr, 0, nullptr, nullptr), OLEOBJ_S_INVALIDVERB},
                 {"unknown negative", o->DoVerb(-42, nullptr, nullptr, 0, nullptr, nullptr), kAnyFailure},
                 {"open", o->DoVerb(OLEIVERB_OPEN, nullptr, nullptr, 0, nullptr, nullptr), kAnyFailure},
                 {"hide before activation", o->DoVerb(OLEIVERB_HIDE, nullptr, nullptr, 0, nullptr, nullptr), S_OK},
                 {"null parent and rectangle",
                  o->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, nullptr, 0, nullptr, nullptr), S_OK}}); }, S_OK},
  {"DoVerbShowBeforeAnySite", Start::Created, [](Subject& s) { return s.Object()->DoVerb(OLEIVERB_SHOW, nullptr, nullptr, 0, s.Host(), nullptr); }, kAnyFailure},
  // ---- teardown out of order
  {"CloseBeforeAnySite", Start::Created, [](Subject& s) { return s.Object()->Close(OLECLOSE_SAVEIFDIRTY); }, S_OK},
  {"DeactivateTwice", Start::Active, [](Subject& s) {
     auto inPlace = s.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
     EXPECT_HRESULT_SUCCEEDED(inPlace->InPlaceDeactivate());
     EXPECT_HRESULT_SUCCEEDED(inPlace->UIDeactivate());
     return inPlace->InPlaceDeactivate(); }, S_OK},
};
// clang-format on

// The control registered (it is created by ProgID) and the sample profile fresh.
class BadInputAtTheBoundary : public ::testing::TestWithParam<Row> {
 protected:
  static void SetUpTestSuite() {
    ASSERT_HRESULT_SUCCEEDED(LibraryEntry<HRESULT(STDAPICALLTYPE*)()>("DllRegisterServer")());
    ASSERT_TRUE(ImportSampleProfile());
  }

  OleApartment apartment_;
};

TEST_P(BadInputAtTheBoundary, GetsAComErrorOrDoesNothing) {
  const Row& row = GetParam();
  const std::string before = RegistryImage();
  ASSERT_NE(before, "missing\n");
  Subject subject(row.start);
  ASSERT_TRUE(subject.Object());
  const HRESULT result = row.call(subject);
  EXPECT_TRUE(Matches(result, row.expected)) << row.name << " gave 0x" << std::hex << result;
  // Still a working page, which wrote nothing and goes away when released.
  VARIANT_BOOL dirty = VARIANT_TRUE;
  EXPECT_HRESULT_SUCCEEDED(subject.Page()->get_Dirty(&dirty));
  EXPECT_EQ(dirty, VARIANT_FALSE);
  EXPECT_EQ(subject.Release(), 0u);
  EXPECT_EQ(RegistryImage(), before) << "the profile changed";
}

INSTANTIATE_TEST_SUITE_P(Rows, BadInputAtTheBoundary, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// Outside the control: the library's entry points and its class factory.
TEST(BadInputAtTheFactory, RefusesNullsAggregationAndUnknownClasses) {
  OleApartment apartment;
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  const auto getClassObject = LibraryEntry<GetClassObject>("DllGetClassObject");
  EXPECT_EQ(getClassObject(kClsidQuillonPage, IID_IClassFactory, nullptr), E_POINTER);
  void* none = &apartment;
  EXPECT_EQ(getClassObject(IID_IUnknown, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(none, nullptr);
  ComPtr<IClassFactory> factory;
  ASSERT_HRESULT_SUCCEEDED(getClassObject(kClsidQuillonPage, IID_IClassFactory, factory.put_void()));
  const auto canUnload = LibraryEntry<HRESULT(STDAPICALLTYPE*)()>("DllCanUnloadNow");
  EXPECT_EQ(canUnload(), S_FALSE);  // a live factory keeps the library loaded
  EXPECT_EQ(factory->QueryInterface(IID_IClassFactory, nullptr), E_POINTER);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IOleObject, nullptr), E_POINTER);
  TestSiteOwner owner(nullptr, nullptr);
  ComPtr<IUnknown> outer(static_cast<IOleClientSite*>(new ControlSite(owner))), made;
  EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IUnknown, made.put_void()), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, made.put_void()), E_NOINTERFACE);
  EXPECT_FALSE(made);
  // Unbalanced unlocks are the host's fault; the library must still unload when nothing is alive.
  factory->LockServer(TRUE);
  factory->LockServer(FALSE);
  factory.reset();
  EXPECT_EQ(canUnload(), S_OK);
}

}  // namespace
}  // namespace quillon::win::testing
