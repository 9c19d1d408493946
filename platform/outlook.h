// Outlook's object model and the sibling add-in, as far as the page uses them.
//
// Failures come back as values: a call that fails returns nullopt (CallResult)
// or false (CallStatus), with the HRESULT when the layer below knows it, and an
// object that is "none" is a null shared_ptr inside a successful result.
// Releasing an object is dropping its pointer. Nothing throws across these
// interfaces; each step of the page decides what a failure means, and reports
// the failures it goes on without (NoteFailure).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/diagnostics.h"

namespace quillon::platform {

// nullopt = the call failed; Code() is then its HRESULT, or 0 when not known.
template <class T>
class CallResult : public std::optional<T> {
 public:
  using std::optional<T>::optional;
  CallResult(std::optional<T> value) : std::optional<T>(std::move(value)) {}
  static CallResult Failed(std::int32_t hresult) {
    CallResult result;
    result.code_ = hresult;
    return result;
  }
  std::int32_t Code() const { return code_; }

 private:
  std::int32_t code_ = 0;
};

// Whether a call without a result succeeded; Code() as for CallResult.
class CallStatus {
 public:
  CallStatus(bool succeeded) : succeeded_(succeeded) {}
  static CallStatus Failed(std::int32_t hresult) {
    CallStatus status(false);
    status.code_ = hresult;
    return status;
  }
  operator bool() const { return succeeded_; }
  std::int32_t Code() const { return code_; }

 private:
  bool succeeded_;
  std::int32_t code_ = 0;
};

// Reports a failed call as one the current step goes on without, and passes
// the result on unchanged.
template <class Result>
Result NoteFailure(Result result, std::u16string_view call, std::u16string_view subject = u"") {
  if (!result) {
    ReportIgnored(call, subject, result.Code(), result.Code() ? CodeKind::kHResult : CodeKind::kUnknown);
  }
  return result;
}

class OutlookFolder;

// What MAPIFolder.Parent gives: a folder, some other object (a store's root
// folder has the namespace as parent), or none.
struct FolderParent {
  enum class Kind { None, Folder, NotAFolder };
  Kind kind = Kind::None;
  std::shared_ptr<OutlookFolder> folder;  // set only for Kind::Folder
};

class OutlookFolder {
 public:
  virtual ~OutlookFolder() = default;
  virtual CallResult<FolderParent> Parent() = 0;
  virtual CallResult<std::u16string> EntryID() = 0;
  virtual CallResult<std::u16string> StoreID() = 0;
  virtual CallResult<std::u16string> Name() = 0;
};

using FolderPtr = std::shared_ptr<OutlookFolder>;

// OlDefaultFolders numbers the page asks for.
inline constexpr std::int32_t kFolderDeletedItems = 3;
inline constexpr std::int32_t kFolderOutbox = 4;
inline constexpr std::int32_t kFolderSentMail = 5;
inline constexpr std::int32_t kFolderInbox = 6;
inline constexpr std::int32_t kFolderCalendar = 9;
inline constexpr std::int32_t kFolderContacts = 10;
inline constexpr std::int32_t kFolderJournal = 11;
inline constexpr std::int32_t kFolderNotes = 12;
inline constexpr std::int32_t kFolderTasks = 13;
inline constexpr std::int32_t kFolderDrafts = 16;
inline constexpr std::int32_t kFolderAllPublicFolders = 18;
inline constexpr std::int32_t kFolderConflicts = 19;
inline constexpr std::int32_t kFolderSyncIssues = 20;
inline constexpr std::int32_t kFolderLocalFailures = 21;
inline constexpr std::int32_t kFolderServerFailures = 22;

class OutlookNamespace {
 public:
  virtual ~OutlookNamespace() = default;
  // The default folder of that type in the default store; nullptr when it has none.
  virtual CallResult<FolderPtr> GetDefaultFolder(std::int32_t folderType) = 0;
  // The folder with that EntryID (no store identifier given); nullptr or a
  // failure when it cannot be opened.
  virtual CallResult<FolderPtr> GetFolderFromID(std::u16string_view entryId) = 0;
  // Outlook's modal folder chooser; nullptr when the user cancels.
  virtual CallResult<FolderPtr> PickFolder() = 0;
};

// The automation object of the add-in Quillon.Connect, members called by name.
class AddIn {
 public:
  virtual ~AddIn() = default;
  virtual CallResult<std::u16string> sUN() = 0;
  virtual CallResult<std::u16string> sPN() = 0;
  virtual CallResult<std::u16string> sSMBXs() = 0;
  virtual CallStatus SetIsRestart(std::int16_t value) = 0;
};

inline constexpr std::u16string_view kAddInProgId = u"Quillon.Connect";
inline constexpr std::int32_t kLanguageIdUI = 2;  // msoLanguageIDUI

class OutlookApplication {
 public:
  virtual ~OutlookApplication() = default;
  // COMAddIns.Item(progId).Object; nullptr when the add-in exposes no object.
  virtual CallResult<std::shared_ptr<AddIn>> AddInObject(std::u16string_view progId) = 0;
  virtual CallResult<std::u16string> Version() = 0;
  // LanguageSettings.LanguageID(languageIdType).
  virtual CallResult<std::int32_t> LanguageID(std::int32_t languageIdType) = 0;
  virtual CallResult<std::shared_ptr<OutlookNamespace>> GetNamespace(std::u16string_view type) = 0;
  // Inspectors.Count; inspectors are numbered from 1.
  virtual CallResult<std::int32_t> InspectorCount() = 0;
  // Inspectors.Item(index).CurrentItem.Save().
  virtual CallStatus SaveInspectorItem(std::int32_t index) = 0;
  // Inspectors.Item(index).Close(saveMode).
  virtual CallStatus CloseInspector(std::int32_t index, bool saveMode) = 0;
  virtual CallStatus Quit() = 0;
};

// The host's PropertyPageSite.
class HostSite {
 public:
  virtual ~HostSite() = default;
  virtual CallResult<std::shared_ptr<OutlookApplication>> Application() = 0;
  // Tells the host to re-read the page's dirty state.
  virtual CallStatus OnStatusChange() = 0;
};

// The control's container.
class PageContainer {
 public:
  virtual ~PageContainer() = default;
  // The container taken as a PropertyPageSite; nullptr when it is not one.
  virtual CallResult<std::shared_ptr<HostSite>> Parent() = 0;
};

}  // namespace quillon::platform
