// The page rig that the page tests, the fault sweeps, the fuzz targets and the
// benchmarks share: whole-registry images of the in-memory store (what changed,
// and whether anything changed outside the keys an operation may write to), and
// a page with the registry, Outlook, the add-in and a scripted user around it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profile/module_state.h"
#include "page/quillon_page.h"
#include "platform/registry_store.h"
#include "profile/profile_location.h"
#include "testing/fake_controls.h"
#include "testing/fake_outlook.h"
#include "testing/fake_signature_catalogue.h"
#include "testing/fault_injecting_registry_store.h"
#include "testing/memory_registry_store.h"
#include "testing/recording_diagnostics.h"
#include "testing/scripted_user.h"

namespace quillon::testing {

// Every key and value of both roots. A key is the entry "<root>\<path>\";
// a value is "<root>\<path>\:<name>".
using RegistryImage = std::map<std::string, StoredValue>;

RegistryImage TakeImage(const MemoryRegistryStore& store);

// Entries added, removed or changed between the images whose name does not
// start with one of `allowed` (compared without regard to case), e.g.
// "HKCU\Software\...\Profiles\Main\".
std::vector<std::string> ChangesOutside(const RegistryImage& before, const RegistryImage& after,
                                        const std::vector<std::string>& allowed);

using Bytes = std::vector<std::uint8_t>;
// Stored bytes written out here rather than by the product's own converters.
Bytes StoredUtf16(std::u16string_view text);  // UTF-16LE and one NUL unit
Bytes Dwords(const std::vector<std::uint32_t>& numbers);  // little-endian, as order lists
// A cached multi-valued list as the profile keeps it: a count, one offset per
// string, then the strings (UTF-16, or code page when `eightBit`).
// `firstOffset` past the offsets table leaves padding.
Bytes MultiValued(const std::vector<std::u16string>& items, bool eightBit = false,
                  std::uint32_t firstOffset = 0);

// A running Outlook whose add-in names the user and the profile, a registry
// where the identity account class is registered, and the page between them.
// The profile itself starts empty but for NextAccountID 1.
class PageRig {
 public:
  static constexpr char16_t kProfile[] = u"Outlook Main";
  static constexpr char16_t kUser[] = u"Ann Lee";

  // `profilesKey`: where the rig keeps the profile (what it stores and the path helpers).
  explicit PageRig(std::u16string outlookVersion = u"11.0.0.8010",
                   std::u16string_view profilesKey = profile::sProfilesKey);
  PageRig(const PageRig&) = delete;
  PageRig& operator=(const PageRig&) = delete;

  // A value below HKEY_CURRENT_USER; a text is stored as the profile stores texts.
  void Put(const std::string& path, std::string_view name, Bytes bytes,
           std::uint32_t type = platform::kRegBinary);
  void PutText(const std::string& path, std::string_view name, std::u16string_view text);
  // An identity account as an earlier save left it; an empty text is no value.
  void SeedIdentity(std::int32_t number, std::u16string_view displayName,
                    std::u16string_view email, std::u16string_view newSignature = u"",
                    std::u16string_view replySignature = u"");
  void SeedIdentityKey(const std::string& path, std::u16string_view displayName,
                       std::u16string_view email, std::u16string_view newSignature,
                       std::u16string_view replySignature);
  void SeedExchangeAccount(std::int32_t number, std::u16string_view accountName);
  void SeedOrderList(const std::vector<std::uint32_t>& numbers);
  void SeedNextAccountID(std::uint32_t number);
  void SeedDirectory(const std::vector<std::u16string>& addresses);
  void SeedProfileValue(std::string_view name, const Bytes& bytes);

  QuillonPage& OpenPage();  // a fresh page instance on the shared module state, loaded
  void ClosePage();         // Outlook destroys the page
  void DropControls();      // the closed page's controls go too (a fuzz target reuses the rig)
  QuillonPage& page() { return *page_; }
  FakePageControls& ui() { return *controls_; }

  // "HKCU\...\Profiles\<profile>\": everything the page may write lies below it.
  std::string ProfilePrefix() const;
  const std::string& ProfilePath() const { return profilePath_; }  // paths below HKEY_CURRENT_USER
  profile::ProfileLocation Location() const { return {profilesKey_, kProfile}; }
  const std::string& AccountsPath() const { return accountsPath_; }
  std::string AccountPath(std::int32_t number) const;
  std::optional<Bytes> Value(const std::string& path, std::string_view name) const;
  std::optional<Bytes> ProfileValue(std::string_view name) const;
  // A stored text without its NUL, or none when the value is missing.
  std::optional<std::u16string> AccountText(std::int32_t number, std::string_view name) const;
  std::vector<std::string> AccountKeys() const;

  MemoryRegistryStore registry;
  // The store the page runs on: `registry` behind a call log and chosen failures
  // (a sweep may wrap another store instead); the rig seeds and reads `registry`.
  FaultInjectingRegistryStore faults{registry};
  RecordingDiagnostics diagnostics;  // what the page's steps went on without
  ModuleState module;
  FakeOutlook outlook;
  ScriptedUser user;
  FakeSignatureCatalogue signatures;
  LibraryVersion version{2, 4, 17};

 protected:
  // Every later Put is also handed to `mirror`, which writes it where the page reads.
  using WriteMirror = std::function<void(const std::string& path, std::string_view name,
                                     std::uint32_t type, const Bytes& bytes)>;
  void MirrorWritesInto(WriteMirror mirror) { mirror_ = std::move(mirror); }

 private:
  WriteMirror mirror_;
  std::u16string profilesKey_;
  // Made once: the fuzz targets ask for them many times per input.
  std::string profilePath_;
  std::string accountsPath_;
  std::unique_ptr<FakePageControls> controls_;
  std::unique_ptr<QuillonPage> page_;
};

// The profile of a running Outlook 2003 (folder editor shown): the Exchange
// account 1, a POP3 mail account 2, identities 3 and 4 (with signature names),
// NextAccountID 5, the cached directory addresses (one primary, two
// secondary), a Reply-To format and two monitored folders. A second profile
// "Other" sits next to it.
class SweepWorld : public PageRig {
 public:
  static constexpr std::int32_t kFirstFreeNumber = 5;

  explicit SweepWorld(std::u16string outlookVersion = u"11.0.0.8010",
                      std::u16string_view profilesKey = profile::sProfilesKey);

  std::shared_ptr<FakeFolder> projects;  // Inbox\Projects, monitored
  std::shared_ptr<FakeFolder> archive;   // Archive, below the mailbox root, monitored
};

}  // namespace quillon::testing
