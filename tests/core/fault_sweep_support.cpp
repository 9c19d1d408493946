#include "tests/core/fault_sweep_support.h"

#include <algorithm>
#include <cctype>

#include "platform/ansi.h"
#include "platform/registry_store.h"
#include "profile/account_store.h"
#include "profile/profile_values.h"
#include "profile/registry_access.h"

namespace quillon::testing {
namespace {

void AddKey(const MemoryRegistryStore& store, platform::HKey root, const std::string& rootName,
            const std::string& path, RegistryImage& image) {
  const std::string name = rootName + "\\" + (path.empty() ? "" : path + "\\");
  image.emplace(name, StoredValue{});
  for (const std::string& value : store.ValueNames(root, path)) {
    if (auto stored = store.GetValue(root, path, value)) image.emplace(name + ":" + value, *stored);
  }
  for (const std::string& sub : store.SubKeyNames(root, path)) {
    AddKey(store, root, rootName, path.empty() ? sub : path + "\\" + sub, image);
  }
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) ==
                  std::toupper(static_cast<unsigned char>(b));
         });
}

bool Allowed(std::string_view name, const std::vector<std::string>& allowed) {
  return std::any_of(allowed.begin(), allowed.end(),
                     [&](const std::string& prefix) { return StartsWithIgnoringCase(name, prefix); });
}

std::string Ansi(std::u16string_view text) { return platform::ToAnsi(text); }

Bytes Dword(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

}  // namespace

Bytes MultiValuedUtf16(const std::vector<std::u16string>& items) {
  Bytes strings;
  Bytes bytes = Dword(static_cast<std::uint32_t>(items.size()));
  const auto header = static_cast<std::uint32_t>(4 + 4 * items.size());
  for (const auto& item : items) {
    const Bytes offset = Dword(header + static_cast<std::uint32_t>(strings.size()));
    bytes.insert(bytes.end(), offset.begin(), offset.end());
    const Bytes encoded = StoredUtf16(item);
    strings.insert(strings.end(), encoded.begin(), encoded.end());
  }
  bytes.insert(bytes.end(), strings.begin(), strings.end());
  return bytes;
}

RegistryImage TakeImage(const MemoryRegistryStore& store) {
  RegistryImage image;
  AddKey(store, platform::kClassesRoot, "HKCR", "", image);
  AddKey(store, platform::kCurrentUser, "HKCU", "", image);
  return image;
}

std::vector<std::string> ChangesOutside(const RegistryImage& before, const RegistryImage& after,
                                        const std::vector<std::string>& allowed) {
  std::vector<std::string> changes;
  const auto note = [&](const std::string& name) {
    if (!Allowed(name, allowed)) changes.push_back(name);
  };
  for (const auto& [name, value] : before) {
    auto found = after.find(name);
    if (found == after.end() || !(found->second == value)) note(name);
  }
  for (const auto& [name, value] : after) {
    if (!before.contains(name)) note(name);
  }
  return changes;
}

Bytes StoredUtf16(std::u16string_view text) {
  return profile::TextToBytes(std::u16string(text) + u'\0');
}

SweepWorld::SweepWorld() {
  outlook.addIn->userName = kUser;
  outlook.addIn->profileName = kProfile;
  outlook.ns->chooser = [this] { return user.PickFolder(); };
  projects = outlook.AddFolder(outlook.DefaultFolder(platform::kFolderInbox), u"Projects");
  archive = outlook.AddFolder(outlook.mailboxRoot, u"Archive");
  SeedProfile();
}

void SweepWorld::SeedAccount(std::int32_t number, std::string_view name, Bytes bytes,
                             std::uint32_t type) {
  registry.PutValue(platform::kCurrentUser, AccountPath(number), name, type, std::move(bytes));
}

void SweepWorld::SeedProfile() {
  const std::string clsid = Ansi(profile::kIdentityAccountClsid);
  registry.PutValue(platform::kClassesRoot, "CLSID\\" + clsid, "", platform::kRegSz,
                    {'P', 'O', 'P', '3', '/', 'S', 'M', 'T', 'P', 0});
  SeedAccount(1, "Account Name", StoredUtf16(u"Microsoft Exchange Server"));
  SeedAccount(1, "Service Name", StoredUtf16(u"MSEMS"));
  SeedAccount(2, "Account Name", StoredUtf16(u"Home mail"));
  SeedAccount(2, "clsid", Bytes(clsid.begin(), clsid.end()), platform::kRegSz);
  SeedAccount(2, "POP3 Server", StoredUtf16(u"pop.home.example"));
  SeedAccount(2, "SMTP Server", StoredUtf16(u"smtp.home.example"));
  SeedIdentity(3, u"Ann Sales", u"sales@corp.example", u"Sales");
  SeedIdentity(4, u"Ann Support", u"support@corp.example", u"");
  SeedNextAccountID(kFirstFreeNumber);
  SeedOrderList({1, 2, 3, 4});
  registry.PutValue(platform::kCurrentUser, Ansi(profile::DirectorySectionKeyPath(kProfile)),
                    "101f6637", platform::kRegBinary,
                    MultiValuedUtf16({u"SMTP:ann.lee@corp.example", u"smtp:ann@corp.example",
                                      u"X400:c=US;a= ;p=Corp;o=Ex;s=Lee;g=Ann;",
                                      u"smtp:lee@corp.example"}));
  registry.PutValue(platform::kCurrentUser, ProfilePath(), "replyaddressformat",
                    platform::kRegBinary, StoredUtf16(u"1"));
  registry.PutValue(platform::kCurrentUser, ProfilePath(), "monitoredfolders", platform::kRegBinary,
                    StoredUtf16(projects->entryId() + u"\t" + archive->entryId() + u"\t"));
  registry.PutValue(platform::kCurrentUser, Ansi(profile::AccountsKeyPath(u"Other")),
                    "NextAccountID", platform::kRegDword, Dword(9));
}

void SweepWorld::SeedIdentity(std::int32_t number, std::u16string_view displayName,
                              std::u16string_view email, std::u16string_view signature) {
  const std::string clsid = Ansi(profile::kIdentityAccountClsid);
  SeedAccount(number, "Account Name",
              StoredUtf16(u"EX [" + std::u16string(displayName) + u" <" + std::u16string(email) + u">]"));
  SeedAccount(number, "clsid", Bytes(clsid.begin(), clsid.end()), platform::kRegSz);
  SeedAccount(number, "Display Name", StoredUtf16(displayName));
  SeedAccount(number, "Email", StoredUtf16(email));
  for (const char* server : {"POP3 Server", "POP3 User", "SMTP Server"}) {
    SeedAccount(number, server, StoredUtf16(u"none"));
  }
  if (!signature.empty()) SeedAccount(number, "New Signature", StoredUtf16(signature));
}

void SweepWorld::SeedOrderList(const std::vector<std::uint32_t>& numbers) {
  Bytes order;
  for (std::uint32_t number : numbers) {
    const Bytes four = Dword(number);
    order.insert(order.end(), four.begin(), four.end());
  }
  registry.PutValue(platform::kCurrentUser, AccountsPath(), Ansi(profile::kAccountOrderValue),
                    platform::kRegBinary, order);
}

void SweepWorld::SeedNextAccountID(std::uint32_t number) {
  registry.PutValue(platform::kCurrentUser, AccountsPath(), "NextAccountID", platform::kRegDword,
                    Dword(number));
}

QuillonPage& SweepWorld::OpenPage() {
  page_.reset();
  controls_ = std::make_unique<FakePageControls>();
  page_ = std::make_unique<QuillonPage>(
      PageEnvironment{controls_->Controls(), user, outlook.container, module, {}});
  page_->UserControl_InitProperties();
  return *page_;
}

void SweepWorld::ClosePage() {
  page_->UserControl_Terminate();
  page_.reset();
}

std::string SweepWorld::ProfilePath() const { return Ansi(profile::ProfileKeyPath(kProfile)); }
std::string SweepWorld::ProfilePrefix() const { return "HKCU\\" + ProfilePath() + "\\"; }
std::string SweepWorld::AccountsPath() const { return Ansi(profile::AccountsKeyPath(kProfile)); }

std::string SweepWorld::AccountPath(std::int32_t number) const {
  return AccountsPath() + "\\" + Ansi(profile::AccountKeyName(number));
}

std::optional<Bytes> SweepWorld::Value(const std::string& path, std::string_view name) const {
  const auto value = registry.GetValue(platform::kCurrentUser, path, name);
  return value ? std::optional(value->bytes) : std::nullopt;
}

std::vector<std::string> SweepWorld::AccountKeys() const {
  return registry.SubKeyNames(platform::kCurrentUser, AccountsPath());
}

}  // namespace quillon::testing
