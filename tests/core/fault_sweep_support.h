// What the fault sweeps and the fuzz targets share: whole-registry images of
// the in-memory store (what changed, and whether anything changed outside the
// keys an operation may write to), and a page with a realistic profile around it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "page/module_state.h"
#include "page/quillon_page.h"
#include "testing/fake_controls.h"
#include "testing/fake_outlook.h"
#include "testing/memory_registry_store.h"
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
Bytes StoredUtf16(std::u16string_view text);  // UTF-16LE and one NUL unit
// A cached multi-valued UTF-16 list as the profile keeps it: count, offsets, strings.
Bytes MultiValuedUtf16(const std::vector<std::u16string>& items);

// A page on the profile "Main" of a running Outlook 2003 (folder editor shown):
// the Exchange account 1, a POP3 mail account 2, identities 3 and 4 (with
// signature names), NextAccountID 5, the cached directory addresses (one
// primary, two secondary), a Reply-To format and two monitored folders. A
// second profile "Other" sits next to it.
class SweepWorld {
 public:
  static constexpr char16_t kProfile[] = u"Main";
  static constexpr char16_t kUser[] = u"Ann Lee";
  static constexpr std::int32_t kFirstFreeNumber = 5;

  SweepWorld();
  SweepWorld(const SweepWorld&) = delete;
  SweepWorld& operator=(const SweepWorld&) = delete;

  // An identity account as an earlier save left it (signature "" for none).
  void SeedIdentity(std::int32_t number, std::u16string_view displayName,
                    std::u16string_view email, std::u16string_view signature);
  void SeedOrderList(const std::vector<std::uint32_t>& numbers);
  void SeedNextAccountID(std::uint32_t number);

  QuillonPage& OpenPage();  // a fresh page instance on the shared module state, loaded
  void ClosePage();         // Outlook destroys the page
  QuillonPage& page() { return *page_; }
  FakePageControls& ui() { return *controls_; }

  // "HKCU\...\Profiles\Main\": everything the page may write lies below it.
  std::string ProfilePrefix() const;
  std::string AccountsPath() const;  // below HKEY_CURRENT_USER
  std::string AccountPath(std::int32_t number) const;
  std::string ProfilePath() const;
  std::optional<Bytes> Value(const std::string& path, std::string_view name) const;
  std::vector<std::string> AccountKeys() const;

  MemoryRegistryStore registry;
  ModuleState module{registry};
  FakeOutlook outlook;
  ScriptedUser user;
  std::shared_ptr<FakeFolder> projects;  // Inbox\Projects, monitored
  std::shared_ptr<FakeFolder> archive;   // Archive, below the mailbox root, monitored

 private:
  void SeedAccount(std::int32_t number, std::string_view name, Bytes bytes,
                   std::uint32_t type = 3);
  void SeedProfile();

  std::unique_ptr<FakePageControls> controls_;
  std::unique_ptr<QuillonPage> page_;
};

}  // namespace quillon::testing
