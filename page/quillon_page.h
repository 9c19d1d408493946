// The page control: Outlook's PropertyPage plus the handlers of its controls,
// which it routes to the identities and folders editors.
//
// Host calls and control events come in on one thread, one at a time. Every
// handler ignores failures of the calls it makes (each step decides what a
// failure means) and never throws.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "folders/folders_editor.h"
#include "identities/identities_editor.h"
#include "identities/signature_chooser.h"
#include "page/page_controls.h"
#include "platform/list_group.h"
#include "platform/outlook.h"
#include "platform/registry_store.h"
#include "platform/signature_catalogue.h"
#include "platform/user_services.h"
#include "profile/module_state.h"

namespace quillon::profile {
class AccountStoreWriter;
}

namespace quillon {

using platform::kAppTitle;
inline constexpr std::u16string_view kMakerWebAddress = u"https://www.quillon.example/";
// How a report names the add-in object's lookup.
inline constexpr std::u16string_view kAddInObjectCall = u"COMAddIns.Item(Quillon.Connect).Object";

struct LibraryVersion {
  std::int32_t Major = 0;
  std::int32_t Minor = 0;
  std::int32_t Revision = 0;
};

// What a page instance is built from; everything it refers to outlives the page.
struct PageEnvironment {
  PageControls controls;
  platform::UserServices& user;
  platform::PageContainer& container;
  ModuleState& module;
  LibraryVersion version;
  platform::SignatureCatalogue& signatures = platform::NoSignatures();
};

class QuillonPage {
 public:
  // Wires every control's click handler to the page's handlers.
  explicit QuillonPage(PageEnvironment environment);
  QuillonPage(const QuillonPage&) = delete;
  QuillonPage& operator=(const QuillonPage&) = delete;

  // Host contract.
  void UserControl_InitProperties();
  void PropertyPage_Apply();
  bool PropertyPage_Dirty() const { return bDirty; }
  void PropertyPage_GetPageInfo(std::u16string& HelpFile, std::int32_t& HelpContext) const;
  std::u16string Caption() const { return u"Outlook Property Page"; }
  void UserControl_Terminate();

  void MarkDirty();
  void Label1_Click();

  // Identity entry.
  void cmdAdd_Click();
  void cmdChange_Click();
  void AddOrEdit(const std::u16string& def, const std::u16string& mode);
  // 1 valid (s rewritten to its normal form), 0 cancelled (s is nullopt), -1 invalid.
  std::int16_t ValidateInput(std::optional<std::u16string>& s);
  bool ValidateSMTPEmail(std::u16string& sEmail);  // trims sEmail in place
  bool ValidateDN(const std::u16string& sDN);

  // Identity list.
  void List1_Click();
  void cmdRemove_Click();
  void cmdRemoveAll_Click();
  void cmdMoveUp_Click();
  void cmdMoveDown_Click();

  // Button states, scroll extents, Reply-To format.
  void ResetButtons();
  void ListHScroll1();
  void ListHScroll4();
  void Option1_Click(std::int16_t Index);

  // Populate and re-read.
  void cmdPopulate_Click();
  void cmdSharedMailboxes_Click();
  void cmdRefresh_Click();

  // Signatures of the selected identity.
  void cboNewSignature_Click();
  void cboReplySignature_Click();

  // Monitored folders.
  void cmdAddFolder_Click();
  void cmdDeleteFolder_Click();
  void cmdDeleteAllFolders_Click();
  void List4_Click();
  bool IsProperFolder(platform::OutlookFolder& oFld1);

 private:
  void WireClickHandlers();

  // Steps of the load.
  void ReadHostValues();
  void ChooseProfileLocation();
  void ShowFolderEditor();
  void ReadUserInterfaceLanguage();
  void FindDefaultMailbox();
  void LoadIdentities();
  void SelectReplyFormat();
  void LoadFolders();

  // Steps of Apply.
  void DeleteIdentityAccounts(profile::AccountStoreWriter& writer);
  int CreateIdentityAccounts(profile::AccountStoreWriter& writer);  // returns the number of address entries
  void SaveFoldersAndFormat();
  void NameExchangeAccount(int smtpCount);
  void OfferRestart();

  PageControls c_;
  platform::UserServices& user_;
  platform::PageContainer& container_;
  ModuleState& m_;
  LibraryVersion version_;
  IdentitiesEditor identities_;
  FoldersEditor folders_;
  SignatureChooser signatures_;

  bool bDirty = false;
  bool bLoading = false;
  std::shared_ptr<platform::HostSite> oSite;
};

// True for the twenty Spanish user-interface language identifiers.
bool IsSpanishLanguage(const std::int32_t& languageId);

}  // namespace quillon
