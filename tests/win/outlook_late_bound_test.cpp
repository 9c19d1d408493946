// Outlook and the add-in reached by name: the members, argument types and call
// kinds the page's requests turn into, and every failure as a value. The stand-in
// Outlook answers the rest of the object model in the end-to-end tests.
#include <gtest/gtest.h>
#include <windows.h>

#include "scripted_dispatch.h"
#include "win/control/outlook_late_bound.h"

namespace quillon::win::testing {
namespace {

using Kind = platform::FolderParent::Kind;
constexpr IID kIidMapiFolder = {0x00063006, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

std::shared_ptr<platform::OutlookApplication> Wrap(ScriptedDispatch& application) {
  return MakeLateBoundApplication(ComPtr<IDispatch>::Share(&application));
}

TEST(OutlookLateBound, AddInIsFoundByProgIdAndReadAndWrittenByName) {
  ScriptedDispatch application, addIns, addInEntry, addIn;
  application.AnswerObject(L"COMAddIns", &addIns);
  addIns.AnswerObject(L"Item", &addInEntry);
  addInEntry.AnswerObject(L"Object", &addIn);
  addIn.AnswerText(L"sUN", L"Ann Example");
  addIn.AnswerNumber(L"sSMBXs", 7);  // converted to text, as a late-bound read is
  addIn.AnswerResult(L"IsRestart", S_OK);
  {
    auto object = Wrap(application)->AddInObject(u"Quillon.Connect");
    ASSERT_TRUE(object && *object);
    EXPECT_EQ((*object)->sUN(), u"Ann Example");
    EXPECT_EQ((*object)->sSMBXs(), u"7");
    EXPECT_TRUE((*object)->SetIsRestart(2));
  }
  ASSERT_EQ(addIns.Calls().size(), 1u);
  const RecordedCall& item = addIns.Calls()[0];
  EXPECT_EQ(item.kind & DISPATCH_METHOD, DISPATCH_METHOD);
  ASSERT_EQ(item.arguments.size(), 1u);
  EXPECT_EQ(V_VT(&item.arguments[0].get()), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&item.arguments[0].get()), L"Quillon.Connect");

  const RecordedCall& restart = addIn.Calls().back();
  EXPECT_EQ(restart.name, L"IsRestart");
  EXPECT_EQ(restart.kind, DISPATCH_PROPERTYPUT);
  EXPECT_TRUE(restart.namedPut);
  ASSERT_EQ(restart.arguments.size(), 1u);
  EXPECT_EQ(V_VT(&restart.arguments[0].get()), VT_I2);  // a 16-bit integer
  EXPECT_EQ(V_I2(&restart.arguments[0].get()), 2);
  // Every object handed out was released again.
  for (const ScriptedDispatch* object : {&addIns, &addInEntry, &addIn}) EXPECT_EQ(object->References(), 1u);
}

TEST(OutlookLateBound, MissingMembersAndNothingAreFailuresNotCrashes) {
  ScriptedDispatch application, addIns, addInEntry, ns;
  auto app = Wrap(application);
  EXPECT_FALSE(app->AddInObject(u"Quillon.Connect"));  // no COMAddIns at all
  EXPECT_FALSE(app->Version());
  EXPECT_FALSE(app->LanguageID(2));
  EXPECT_FALSE(app->GetNamespace(u"MAPI"));
  EXPECT_FALSE(app->InspectorCount());
  EXPECT_FALSE(app->SaveInspectorItem(1));
  EXPECT_FALSE(app->CloseInspector(1, true));
  EXPECT_FALSE(app->Quit());
  // A failure carries the HRESULT that the page's reports give.
  EXPECT_EQ(app->Version().Code(), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(app->Quit().Code(), DISP_E_UNKNOWNNAME);

  application.AnswerObject(L"COMAddIns", &addIns);
  addIns.AnswerResult(L"Item", E_INVALIDARG);  // not registered
  EXPECT_FALSE(app->AddInObject(u"Quillon.Connect"));
  EXPECT_EQ(app->AddInObject(u"Quillon.Connect").Code(), E_INVALIDARG);
  addIns.AnswerObject(L"Item", &addInEntry);
  addInEntry.AnswerObject(L"Object", nullptr);  // loaded, but exposes nothing
  auto none = app->AddInObject(u"Quillon.Connect");
  ASSERT_TRUE(none);
  EXPECT_EQ(*none, nullptr);

  application.AnswerObject(L"GetNamespace", &ns);
  ns.AnswerObject(L"PickFolder", nullptr);  // the user cancelled the chooser
  auto picked = (*app->GetNamespace(u"MAPI"))->PickFolder();
  ASSERT_TRUE(picked);
  EXPECT_EQ(*picked, nullptr);
}

TEST(OutlookLateBound, FolderParentIsAFolderOnlyWhenItSaysSo) {
  ScriptedDispatch inbox, root, store, classFolder, plainObject;
  root.AddInterface(kIidMapiFolder);  // Outlook's folders answer for MAPIFolder
  root.AnswerText(L"EntryID", L"00ROOT");
  root.AnswerText(L"StoreID", L"00STORE");
  root.AnswerObject(L"Parent", &store);  // a root's parent is the namespace: not a folder
  classFolder.AnswerNumber(L"Class", 2);  // a folder known only by its Class
  plainObject.AnswerNumber(L"Class", 1);
  auto inboxFolder = MakeLateBoundFolder(ComPtr<IDispatch>::Share(&inbox));

  inbox.AnswerObject(L"Parent", &root);
  auto parent = inboxFolder->Parent();
  ASSERT_TRUE(parent);
  ASSERT_EQ(parent->kind, Kind::Folder);
  EXPECT_EQ(parent->folder->EntryID(), u"00ROOT");
  EXPECT_EQ(parent->folder->StoreID(), u"00STORE");
  EXPECT_EQ(parent->folder->Parent()->kind, Kind::NotAFolder);

  for (const auto& [object, kind] : {std::pair{&classFolder, Kind::Folder}, {&plainObject, Kind::NotAFolder},
                                     {static_cast<ScriptedDispatch*>(nullptr), Kind::None}}) {
    inbox.AnswerObject(L"Parent", object);
    EXPECT_EQ(inboxFolder->Parent()->kind, kind);
  }
  inbox.AnswerResult(L"Parent", E_FAIL);
  EXPECT_FALSE(inboxFolder->Parent());
  EXPECT_EQ(inboxFolder->Parent().Code(), E_FAIL);
  EXPECT_FALSE(inboxFolder->Name());  // no such member
}

}  // namespace
}  // namespace quillon::win::testing
