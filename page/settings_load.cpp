// The load: fills the page from the add-in, Outlook and the profile.
#include <string>

#include "folders/folder_path.h"
#include "page/quillon_page.h"
#include "platform/text.h"
#include "profile/account_store.h"
#include "profile/directory_addresses.h"
#include "profile/profile_location.h"
#include "profile/profile_values.h"

namespace quillon {

namespace {

using platform::NoteFailure;

std::u16string VersionLabel(const LibraryVersion& version) {
  return u"Quillon ver. " + text::Decimal(version.Major) + u"." + text::Decimal(version.Minor) +
         u"." + text::Decimal(version.Revision);
}

// The major version from the first two characters of a version text with
// its dots removed ("11.0.0.8" -> 11, "9.0" -> 9); nullopt when unreadable.
std::optional<std::int16_t> MajorVersion(std::u16string_view version) {
  const auto number = text::ParseWholeNumber(text::Without(version.substr(0, 2), u'.'));
  if (!number) return std::nullopt;
  return static_cast<std::int16_t>(*number);
}

const std::u16string& At(const std::vector<std::u16string>& items, std::size_t index) {
  static const std::u16string empty;
  return index < items.size() ? items[index] : empty;
}

}  // namespace

bool IsSpanishLanguage(const std::int32_t& languageId) {
  const std::int32_t subLanguage = (languageId >> 10) & 0x3F;
  return (languageId & ~0xFFFF) == 0 && (languageId & 0x3FF) == 0x0A && subLanguage >= 1 &&
         subLanguage <= 20;
}

void QuillonPage::ReadHostValues() {
  platform::DiagnosticStep step(m_.diagnostics, u"Load: host values");
  m_.sPN.clear();
  m_.sUN.clear();
  m_.sSMBXs.clear();
  if (const auto site = NoteFailure(container_.Parent(), u"Container.Parent"); site && *site) {
    oSite = *site;
  }
  if (!oSite) return;
  if (const auto app = NoteFailure(oSite->Application(), u"PropertyPageSite.Application"); app && *app) {
    m_.oApp = *app;
  }
  if (!m_.oApp) return;

  if (const auto addIn = NoteFailure(m_.oApp->AddInObject(platform::kAddInProgId), kAddInObjectCall);
      addIn && *addIn) {
    if (auto value = NoteFailure((*addIn)->sUN(), u"AddIn.sUN")) m_.sUN = std::move(*value);
    if (auto value = NoteFailure((*addIn)->sPN(), u"AddIn.sPN")) m_.sPN = std::move(*value);
    if (auto value = NoteFailure((*addIn)->sSMBXs(), u"AddIn.sSMBXs")) m_.sSMBXs = std::move(*value);
  }

  if (const auto version = NoteFailure(m_.oApp->Version(), u"Application.Version")) {
    if (const auto major = MajorVersion(*version)) m_.iOutlookVersion = *major;
  }
}

void QuillonPage::ChooseProfileLocation() {
  platform::DiagnosticStep step(m_.diagnostics, u"Load: profile location");
  m_.profilesKey = profile::ChooseProfilesKey(m_.registry, m_.iOutlookVersion, m_.sPN);
}

void QuillonPage::ShowFolderEditor() {
  const bool shown = m_.iOutlookVersion < 12;
  c_.Frame2.SetVisible(shown);
  c_.List4.SetVisible(shown);
  c_.cmdAddFolder.SetVisible(shown);
  c_.cmdDeleteFolder.SetVisible(shown);
}

void QuillonPage::ReadUserInterfaceLanguage() {
  platform::DiagnosticStep step(m_.diagnostics, u"Load: language");
  if (m_.oApp) {
    if (const auto language =
            NoteFailure(m_.oApp->LanguageID(platform::kLanguageIdUI), u"LanguageSettings.LanguageID")) {
      m_.lUILanguage = *language;
    }
  }
  m_.bSpanishUI = false;
  m_.bSpanishUI = IsSpanishLanguage(m_.lUILanguage);
}

void QuillonPage::FindDefaultMailbox() {
  platform::DiagnosticStep step(m_.diagnostics, u"Load: default mailbox");
  if (const auto ns = NoteFailure(m_.oApp->GetNamespace(u"MAPI"), u"Application.GetNamespace", u"MAPI");
      ns && *ns) {
    m_.oNS = *ns;
  }
  if (!m_.oNS) return;
  const auto inbox = NoteFailure(m_.oNS->GetDefaultFolder(platform::kFolderInbox),
                                 u"NameSpace.GetDefaultFolder", text::Decimal(platform::kFolderInbox));
  if (!inbox || !*inbox) return;
  const auto parent = NoteFailure((*inbox)->Parent(), u"MAPIFolder.Parent");
  if (!parent || parent->kind != platform::FolderParent::Kind::Folder || !parent->folder) return;
  if (auto id = NoteFailure(parent->folder->EntryID(), u"MAPIFolder.EntryID")) m_.sDefRootID = std::move(*id);
  if (auto id = NoteFailure(parent->folder->StoreID(), u"MAPIFolder.StoreID")) m_.sDefStoreID = std::move(*id);
}

void QuillonPage::LoadIdentities() {
  platform::DiagnosticStep step(m_.diagnostics, u"Load: identities");
  profile::LoadAccounts(m_.registry, m_, m_.Profile());
  m_.vAccIdentities = text::SplitAt(m_.sAccIdentities, text::kTab);
  m_.vAccIDs = text::SplitAt(m_.sAccIDs, text::kTab);
  m_.vAccEmails = text::SplitAt(m_.sAccEmails, text::kTab);
  m_.vAccDisplayNames = text::SplitAt(m_.sAccDisplayNames, text::kTab);
  m_.vAccNames = text::SplitAt(m_.sAccNames, text::kTab);
  m_.vAccNewSignatures = text::SplitAt(m_.sAccNewSignatures, text::kTab);
  m_.vAccReplySignatures = text::SplitAt(m_.sAccReplySignatures, text::kTab);
  m_.SetBoundsOf(m_.vAccIdentities);

  // A lone account with empty signature names splits to no element; a missing
  // element reads as "" below, which keeps the three lists parallel.
  for (std::size_t i = 0; i < m_.vAccIdentities.size(); ++i) {
    const std::u16string& displayName = At(m_.vAccDisplayNames, i);
    const std::u16string email = text::TrimSpaces(At(m_.vAccEmails, i));
    const std::u16string id = text::TrimSpaces(At(m_.vAccIDs, i));
    if (text::TrimSpaces(displayName).empty() || email.empty() || id.empty()) continue;

    const bool mailbox = text::StartsWithIdentityIgnoringCase(At(m_.vAccNames, i), u"EX MBX");
    c_.List1.AddItem(mailbox ? displayName + u" " + email : displayName + u" <" + email + u">");
    c_.List1.SetItemData(c_.List1.ListCount() - 1, text::ParseHex(id).value_or(0));
    c_.List2.AddItem(At(m_.vAccNewSignatures, i));
    c_.List3.AddItem(At(m_.vAccReplySignatures, i));
  }
}

void QuillonPage::SelectReplyFormat() {
  platform::DiagnosticStep step(m_.diagnostics, u"Load: reply format");
  profile::LoadReplyAddressFormat(m_.registry, m_, m_.Profile());
  const auto format = text::ParseWholeNumber(m_.sReplyAddressFormat);
  for (std::size_t k = 0; k < c_.Option1.size(); ++k) {
    // Without a stored number each button is selected in turn: the last one stays.
    c_.Option1[k].get().SetValue(!format || *format == static_cast<std::int32_t>(k));
  }
}

void QuillonPage::LoadFolders() {
  platform::DiagnosticStep step(m_.diagnostics, u"Load: folders");
  profile::LoadMonitoredFolders(m_.registry, m_, m_.Profile());
  m_.vMonitoredFolders = text::SplitAt(m_.sMonitoredFolders, text::kTab);
  m_.SetBoundsOf(m_.vMonitoredFolders);
  std::u16string rebuilt;
  c_.List5.Clear();
  c_.List4.Clear();
  for (const std::u16string& entryId : m_.vMonitoredFolders) {
    if (entryId.empty() || !m_.oNS) continue;
    const auto folder = NoteFailure(m_.oNS->GetFolderFromID(entryId), u"NameSpace.GetFolderFromID", entryId);
    if (!folder || !*folder) continue;  // a folder that no longer opens is dropped
    const std::u16string path = GetFolderPath(**folder, m_.sDefStoreID, m_.sDefRootID);
    if (path.empty()) continue;
    c_.List5.AddItem(entryId);
    c_.List4.AddItem(path);
    rebuilt += entryId + text::kTab;
  }
  // Only folders that were tried and did not open are dropped from the value;
  // without a namespace none could be tried.
  if (m_.oNS) profile::SaveMonitoredFolders(m_.registry, m_.Profile(), rebuilt);
}

void QuillonPage::UserControl_InitProperties() {
  platform::DiagnosticStep step(m_.diagnostics, u"Load");
  c_.UserControl.SetMousePointer(platform::PageSurface::kHourglassPointer);
  bLoading = true;
  c_.Label4_0.SetCaption(VersionLabel(version_));
  ReadHostValues();
  ChooseProfileLocation();
  ShowFolderEditor();
  {
    platform::DiagnosticStep step(m_.diagnostics, u"Load: signatures");
    signatures_.Load(m_.iOutlookVersion);
  }
  ReadUserInterfaceLanguage();

  if (!m_.sPN.empty()) {
    FindDefaultMailbox();
    {
      platform::DiagnosticStep step(m_.diagnostics, u"Load: directory addresses");
      profile::LoadDirectoryAddresses(m_.registry, m_, m_.Profile());
    }
    c_.lblDefAddress.SetCaption(m_.sUN + u" <" + m_.sPrimarySMTP + u">  (Default)");
    c_.lblDefAddress.SetToolTip(c_.lblDefAddress.Caption());
    LoadIdentities();
    SelectReplyFormat();
    if (m_.iOutlookVersion < 12) LoadFolders();
  }

  ResetButtons();
  ListHScroll1();
  ListHScroll4();
  bLoading = false;
  bDirty = false;
  c_.UserControl.SetMousePointer(platform::PageSurface::kDefaultPointer);
}

}  // namespace quillon
