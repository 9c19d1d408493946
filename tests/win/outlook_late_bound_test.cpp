// Outlook and the add-in reached by name: the members, argument types and
// call kinds the page's requests turn into, and every failure as a value.
#include <gtest/gtest.h>
#include <windows.h>

#include "scripted_dispatch.h"
#include "win/control/outlook_late_bound.h"

namespace quillon::win::testing {
namespace {

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
  addIn.AnswerText(L"sPN", L"Outlook");
  addIn.AnswerNumber(L"sSMBXs", 7);  // converted to text, as a late-bound read is
  addIn.AnswerOk(L"IsRestart");
  {
    auto app = Wrap(application);
    auto object = app->AddInObject(u"Quillon.Connect");
    ASSERT_TRUE(object && *object);
    EXPECT_EQ((*object)->sUN(), u"Ann Example");
    EXPECT_EQ((*object)->sPN(), u"Outlook");
    EXPECT_EQ((*object)->sSMBXs(), u"7");
    EXPECT_TRUE((*object)->SetIsRestart(2));
  }
  ASSERT_EQ(addIns.Calls().size(), 1u);
  const RecordedCall& item = addIns.Calls()[0];
  EXPECT_EQ(item.kind & DISPATCH_METHOD, DISPATCH_METHOD);
  ASSERT_EQ(item.arguments.size(), 1u);
  EXPECT_EQ(V_VT(&item.arguments[0]), VT_BSTR);
  EXPECT_STREQ(V_BSTR(&item.arguments[0]), L"Quillon.Connect");

  const RecordedCall& restart = addIn.Calls().back();
  EXPECT_EQ(restart.name, L"IsRestart");
  EXPECT_EQ(restart.kind, DISPATCH_PROPERTYPUT);
  EXPECT_TRUE(restart.namedPut);
  ASSERT_EQ(restart.arguments.size(), 1u);
  EXPECT_EQ(V_VT(&restart.arguments[0]), VT_I2);  // a 16-bit integer
  EXPECT_EQ(V_I2(&restart.arguments[0]), 2);
  // Every object handed out was released again.
  for (const ScriptedDispatch* object : {&addIns, &addInEntry, &addIn}) EXPECT_EQ(object->References(), 1u);
}

TEST(OutlookLateBound, MissingAddInAndUnknownMembersAreFailuresNotCrashes) {
  ScriptedDispatch application, addIns, addInEntry;
  auto app = Wrap(application);
  EXPECT_FALSE(app->AddInObject(u"Quillon.Connect"));  // no COMAddIns at all
  EXPECT_FALSE(app->Version());
  EXPECT_FALSE(app->LanguageID(2));
  EXPECT_FALSE(app->GetNamespace(u"MAPI"));
  EXPECT_FALSE(app->InspectorCount());
  EXPECT_FALSE(app->SaveInspectorItem(1));
  EXPECT_FALSE(app->CloseInspector(1, true));
  EXPECT_FALSE(app->Quit());

  application.AnswerObject(L"COMAddIns", &addIns);
  addIns.Answer(L"Item", [](const RecordedCall&, VARIANT*) { return E_INVALIDARG; });  // not registered
  EXPECT_FALSE(app->AddInObject(u"Quillon.Connect"));
  addIns.AnswerObject(L"Item", &addInEntry);
  addInEntry.AnswerObject(L"Object", nullptr);  // loaded, but exposes nothing
  auto none = app->AddInObject(u"Quillon.Connect");
  ASSERT_TRUE(none);
  EXPECT_EQ(*none, nullptr);
}

TEST(OutlookLateBound, ApplicationMembersPassTheirArguments) {
  ScriptedDispatch application, settings, inspectors, inspector, item, ns;
  application.AnswerText(L"Version", L"11.0.8169.0");
  application.AnswerObject(L"LanguageSettings", &settings);
  settings.AnswerNumber(L"LanguageID", 3082);
  application.AnswerObject(L"Inspectors", &inspectors);
  inspectors.AnswerNumber(L"Count", 2);
  inspectors.AnswerObject(L"Item", &inspector);
  inspector.AnswerObject(L"CurrentItem", &item);
  item.AnswerOk(L"Save");
  inspector.AnswerOk(L"Close");
  application.AnswerObject(L"GetNamespace", &ns);
  application.AnswerOk(L"Quit");

  auto app = Wrap(application);
  EXPECT_EQ(app->Version(), u"11.0.8169.0");
  EXPECT_EQ(app->LanguageID(2), 3082);
  EXPECT_EQ(app->InspectorCount(), 2);
  EXPECT_TRUE(app->SaveInspectorItem(2));
  EXPECT_TRUE(app->CloseInspector(2, true));
  auto mapi = app->GetNamespace(u"MAPI");
  ASSERT_TRUE(mapi && *mapi);
  EXPECT_TRUE(app->Quit());

  const RecordedCall& language = settings.Calls().at(0);
  EXPECT_EQ(language.kind, DISPATCH_PROPERTYGET);
  EXPECT_EQ(V_I4(&language.arguments.at(0)), 2);
  for (const RecordedCall& call : inspectors.Calls()) {
    if (call.name != L"Item") continue;
    EXPECT_EQ(V_VT(&call.arguments.at(0)), VT_I4);
    EXPECT_EQ(V_I4(&call.arguments.at(0)), 2);
  }
  const RecordedCall& close = inspector.Calls().back();
  EXPECT_EQ(close.name, L"Close");
  EXPECT_EQ(V_VT(&close.arguments.at(0)), VT_BOOL);
  EXPECT_EQ(V_BOOL(&close.arguments.at(0)), VARIANT_TRUE);
  for (const RecordedCall& call : application.Calls()) {
    if (call.name == L"GetNamespace") {
      EXPECT_STREQ(V_BSTR(&call.arguments.at(0)), L"MAPI");
    }
  }
  EXPECT_EQ(item.Calls().at(0).kind, DISPATCH_METHOD);
}

TEST(OutlookLateBound, NamespaceFindsFoldersAndTheChooserMayGiveNone) {
  ScriptedDispatch ns, inbox;
  ns.AnswerObject(L"GetDefaultFolder", &inbox);
  ns.AnswerObject(L"GetFolderFromID", &inbox);
  ns.AnswerObject(L"PickFolder", nullptr);  // the user cancelled
  inbox.AnswerText(L"Name", L"Inbox");
  ScriptedDispatch application;
  application.AnswerObject(L"GetNamespace", &ns);
  auto space = *MakeLateBoundApplication(ComPtr<IDispatch>::Share(&application))->GetNamespace(u"MAPI");
  auto byType = space->GetDefaultFolder(6);
  ASSERT_TRUE(byType && *byType);
  EXPECT_EQ((*byType)->Name(), u"Inbox");
  auto byId = space->GetFolderFromID(u"00ABCDEF");
  ASSERT_TRUE(byId && *byId);
  auto picked = space->PickFolder();
  ASSERT_TRUE(picked);
  EXPECT_EQ(*picked, nullptr);

  EXPECT_EQ(V_VT(&ns.Calls().at(0).arguments.at(0)), VT_I4);
  EXPECT_EQ(V_I4(&ns.Calls().at(0).arguments.at(0)), 6);
  ASSERT_EQ(ns.Calls().at(1).arguments.size(), 1u);  // the EntryID only, no store
  EXPECT_STREQ(V_BSTR(&ns.Calls().at(1).arguments.at(0)), L"00ABCDEF");
  EXPECT_TRUE(ns.Calls().at(2).arguments.empty());
}

TEST(OutlookLateBound, FolderParentIsAFolderOnlyWhenItSaysSo) {
  ScriptedDispatch inbox, root, store, classFolder, plainObject;
  inbox.AnswerObject(L"Parent", &root);
  root.AddInterface(kIidMapiFolder);  // Outlook's folders answer for MAPIFolder
  root.AnswerText(L"EntryID", L"00ROOT");
  root.AnswerText(L"StoreID", L"00STORE");
  root.AnswerObject(L"Parent", &store);  // a root's parent is the namespace: not a folder
  classFolder.AnswerNumber(L"Class", 2);  // a folder known only by its Class
  plainObject.AnswerNumber(L"Class", 1);

  auto inboxFolder = MakeLateBoundFolder(ComPtr<IDispatch>::Share(&inbox));
  auto parent = inboxFolder->Parent();
  ASSERT_TRUE(parent);
  ASSERT_EQ(parent->kind, platform::FolderParent::Kind::Folder);
  EXPECT_EQ(parent->folder->EntryID(), u"00ROOT");
  EXPECT_EQ(parent->folder->StoreID(), u"00STORE");
  EXPECT_EQ(parent->folder->Parent()->kind, platform::FolderParent::Kind::NotAFolder);

  inbox.AnswerObject(L"Parent", &classFolder);
  EXPECT_EQ(inboxFolder->Parent()->kind, platform::FolderParent::Kind::Folder);
  inbox.AnswerObject(L"Parent", &plainObject);
  EXPECT_EQ(inboxFolder->Parent()->kind, platform::FolderParent::Kind::NotAFolder);
  inbox.AnswerObject(L"Parent", nullptr);
  EXPECT_EQ(inboxFolder->Parent()->kind, platform::FolderParent::Kind::None);
  inbox.Answer(L"Parent", [](const RecordedCall&, VARIANT*) { return E_FAIL; });
  EXPECT_FALSE(inboxFolder->Parent());
  EXPECT_FALSE(inboxFolder->Name());  // no such member
}

}  // namespace
}  // namespace quillon::win::testing
