// The stand-in Outlook's object model and scenario file, called by name as the
// page calls them: the answers Outlook would give, failures as failures, and
// what gets logged. No window is involved.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "standin/outlook_model.h"

namespace quillon::standin {
namespace {

constexpr char kScenario[] = R"({
  "outlook": {"version": "11.0.8169.0", "uiLanguage": 3082},
  "addIn": {"sUN": "Jane", "sPN": "P", "sharedMailboxes": ["A /o=a", "B /o=b"]},
  "stores": [
    {"name": "Mailbox", "default": true, "storeId": "S1", "rootEntryId": "R1",
     "folders": [{"name": "Inbox", "defaultFolder": 6, "entryId": "E6",
                  "folders": [{"name": "Sub", "entryId": "ES"}]}]},
    {"name": "Archive", "storeId": "S2", "folders": [{"name": "Old"}, {"name": "Older"}]}],
  "inspectors": [{"subject": "one"}, {"subject": "two"}],
  "folderChooser": ["Mailbox\\Inbox\\Sub", null]
})";

// One late-bound call by name; the result, or the failing HRESULT.
struct Call {
  HRESULT hr = E_FAIL;
  std::shared_ptr<Variant> result = std::make_shared<Variant>();
  IDispatch* Object() const { return result->Ref().vt == VT_DISPATCH ? result->Ref().pdispVal : nullptr; }
  std::wstring Text() const {
    std::wstring text;
    ArgumentAsText(&result->Ref(), text);
    return text;
  }
  long Number() const {
    long number = -12345;
    ArgumentAsLong(&result->Ref(), number);
    return number;
  }
};

Call Invoke(IDispatch* object, const wchar_t* name, WORD flags, std::vector<VARIANT> args = {}) {
  Call call;
  if (!object) return call;
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  call.hr = object->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
  if (FAILED(call.hr)) return call;
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), flags == DISPATCH_PROPERTYPUT ? &put : nullptr,
                    static_cast<UINT>(reversed.size()), flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
  call.hr = object->Invoke(id, IID_NULL, 0, flags, &params, call.result->Get(), nullptr, nullptr);
  for (VARIANT& arg : args) VariantClear(&arg);
  return call;
}
Call Get(IDispatch* object, const wchar_t* name, std::vector<VARIANT> args = {}) {
  return Invoke(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, std::move(args));
}

VARIANT Long(long value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}
VARIANT Text(const wchar_t* value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(value);
  return v;
}

class StandinModel : public ::testing::Test {
 protected:
  EventLog log_{L""};
  std::shared_ptr<World> world_ = std::make_shared<World>(ParseScenario(kScenario), log_);
  ComPtr<IDispatch> app_ = MakeApplication(world_);
  Call ns_ = Get(app_.Get(), L"GetNamespace", {Text(L"MAPI")});
};

TEST_F(StandinModel, AnswersByNameAsOutlookDoes) {
  EXPECT_EQ(Get(app_.Get(), L"version").Text(), L"11.0.8169.0");  // names ignore case
  Call language = Get(Get(app_.Get(), L"LanguageSettings").Object(), L"LanguageID", {Long(2)});
  EXPECT_EQ(language.Number(), 3082);
  EXPECT_EQ(Get(app_.Get(), L"GetNamespace", {Text(L"XML")}).hr, E_INVALIDARG);
  EXPECT_EQ(Get(app_.Get(), L"NoSuchMember").hr, DISP_E_UNKNOWNNAME);
  // Every route to the Application gives the one object.
  EXPECT_EQ(Get(ns_.Object(), L"Application").Object(), app_.Get());

  // The add-in through COMAddIns, by ProgID (also passed by reference) and by number.
  Call addIns = Get(app_.Get(), L"COMAddIns");
  VARIANT inner = Text(L"quillon.connect");
  VARIANT byRef;
  VariantInit(&byRef);
  byRef.vt = VT_BYREF | VT_VARIANT;
  byRef.pvarVal = &inner;
  Call addIn = Get(addIns.Object(), L"Item", {byRef});
  VariantClear(&inner);
  Call object = Get(addIn.Object(), L"Object");
  EXPECT_EQ(Get(object.Object(), L"sSMBXs").Text(), std::wstring(L"A /o=a\x01" L"B /o=b"));
  EXPECT_EQ(Get(addIns.Object(), L"Item", {Long(1)}).hr, S_OK);
  EXPECT_EQ(Get(addIns.Object(), L"Item", {Text(L"Other.Connect")}).hr, DISP_E_BADINDEX);
  VARIANT two;
  VariantInit(&two);
  two.vt = VT_I2;
  two.iVal = 2;
  EXPECT_EQ(Invoke(object.Object(), L"IsRestart", DISPATCH_PROPERTYPUT, {two}).hr, S_OK);
  EXPECT_EQ(Get(object.Object(), L"IsRestart").Number(), 2);
  ASSERT_FALSE(log_.Events().empty());
  EXPECT_EQ(log_.Events().back()["event"], "IsRestart");
  EXPECT_EQ(log_.Events().back()["argument"], "Integer 2");
}

TEST_F(StandinModel, FoldersWalkUpToTheNamespaceAndUnknownOnesFail) {
  Call inbox = Get(ns_.Object(), L"GetDefaultFolder", {Long(6)});
  EXPECT_EQ(Get(inbox.Object(), L"StoreID").Text(), L"S1");
  Call root = Get(inbox.Object(), L"Parent");
  EXPECT_EQ(Get(root.Object(), L"EntryID").Text(), L"R1");
  EXPECT_EQ(Get(Get(root.Object(), L"Parent").Object(), L"Class").Number(), 1);  // the namespace
  EXPECT_EQ(Get(Get(ns_.Object(), L"GetFolderFromID", {Text(L"es")}).Object(), L"Name").Text(), L"Sub");

  struct Failing {
    const wchar_t* member;
    VARIANT argument;
  };
  for (Failing failing : {Failing{L"GetDefaultFolder", Long(19)}, Failing{L"GetFolderFromID", Text(L"nope")},
                          Failing{L"GetFolderFromID", Text(L"")}}) {
    SCOPED_TRACE(failing.member);
    Call call = Get(ns_.Object(), failing.member, {failing.argument});
    EXPECT_TRUE(FAILED(call.hr));
    EXPECT_EQ(call.Object(), nullptr);
  }
  EXPECT_EQ(Get(ns_.Object(), L"GetFolderFromID").hr, DISP_E_PARAMNOTOPTIONAL);
}

TEST_F(StandinModel, FolderChooserGivesTheScriptedAnswersThenCancels) {
  EXPECT_EQ(Get(Get(ns_.Object(), L"PickFolder").Object(), L"Name").Text(), L"Sub");
  for (int i = 0; i < 2; ++i) {  // the scripted cancel, then no UI to ask: none
    Call none = Get(ns_.Object(), L"PickFolder");
    EXPECT_EQ(none.hr, S_OK);
    EXPECT_EQ(none.result->Ref().vt, VT_DISPATCH);
    EXPECT_EQ(none.Object(), nullptr);
  }
}

TEST_F(StandinModel, ClosedItemWindowsLeaveTheInspectors) {
  Call inspectors = Get(app_.Get(), L"Inspectors");
  EXPECT_EQ(Get(inspectors.Object(), L"Count").Number(), 2);
  for (long bad : {0L, 3L}) EXPECT_EQ(Get(inspectors.Object(), L"Item", {Long(bad)}).hr, DISP_E_BADINDEX);
  Call second = Get(inspectors.Object(), L"Item", {Long(2)});
  EXPECT_EQ(Get(Get(second.Object(), L"CurrentItem").Object(), L"Save").hr, S_OK);
  VARIANT yes;
  VariantInit(&yes);
  yes.vt = VT_BOOL;
  yes.boolVal = VARIANT_TRUE;
  EXPECT_EQ(Get(second.Object(), L"Close", {yes}).hr, S_OK);
  EXPECT_EQ(Get(inspectors.Object(), L"Count").Number(), 1);
  EXPECT_EQ(Get(Get(inspectors.Object(), L"Item", {Long(1)}).Object(), L"Caption").Text(), L"one");
  EXPECT_EQ(log_.Events().back()["saveMode"], -1);
}

TEST(StandinScenario, ABadScenarioIsRefusedWithAnError) {
  for (const char* text : {"", "{", "[]", R"({"stores": 5})", R"({"stores": [{"folders": [7]}]})",
                           R"({"addIn": {"sUN": 3}})", R"({"folderChooser": [1]})"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(ParseScenario(text), std::exception);
  }
}

TEST(StandinScenario, FoldersWithoutEntryIdsGetDistinctOnes) {
  const Scenario scenario = ParseScenario(kScenario);
  const auto& archive = scenario.stores[1].root;
  EXPECT_FALSE(archive.entryId.empty());
  EXPECT_NE(archive.folders[0].entryId, archive.folders[1].entryId);
  EXPECT_NE(scenario.stores[1].storeId, scenario.stores[0].storeId);
  EXPECT_FALSE(ParseScenario("{}").addInLoaded);  // no add-in section: not loaded
}

}  // namespace
}  // namespace quillon::standin
