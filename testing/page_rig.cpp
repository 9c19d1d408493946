#include "testing/page_rig.h"

#include <algorithm>

#include "platform/ansi.h"
#include "platform/registry_store.h"
#include "profile/account_store.h"
#include "profile/profile_values.h"
#include "profile/registry_access.h"

namespace quillon::testing {
namespace {

void AddTree(const MemoryRegistryStore& store, platform::HKey root, const std::string& rootName,
             RegistryImage& image) {
  store.ForEachKey(root, [&](const std::string& path, const MemoryRegistryStore::Values& values) {
    const std::string name = rootName + "\\" + (path.empty() ? "" : path + "\\");
    // A key's values sort right after it (':' comes before '\\').
    const auto after = std::next(image.emplace(name, StoredValue{}).first);
    for (const auto& [value, stored] : values) image.emplace_hint(after, name + ":" + value, stored);
  });
}

std::string Ansi(std::u16string_view text) { return platform::ToAnsi(text); }

void Append(Bytes& bytes, const Bytes& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }

}  // namespace

RegistryImage TakeImage(const MemoryRegistryStore& store) {
  RegistryImage image;
  AddTree(store, platform::kClassesRoot, "HKCR", image);
  AddTree(store, platform::kCurrentUser, "HKCU", image);
  return image;
}

std::vector<std::string> ChangesOutside(const RegistryImage& before, const RegistryImage& after,
                                        const std::vector<std::string>& allowed) {
  std::vector<std::string> changes;
  const auto note = [&](const std::string& name) {
    const auto below = [&](const std::string& prefix) {
      return RegistryNamesEqual(std::string_view(name).substr(0, prefix.size()), prefix);
    };
    if (std::none_of(allowed.begin(), allowed.end(), below)) changes.push_back(name);
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
  Bytes bytes;
  for (char16_t unit : std::u16string(text) + u'\0') {
    bytes.insert(bytes.end(), {static_cast<std::uint8_t>(unit & 0xFF), static_cast<std::uint8_t>(unit >> 8)});
  }
  return bytes;
}

Bytes Dwords(const std::vector<std::uint32_t>& numbers) {
  Bytes bytes;
  for (std::uint32_t n : numbers) {
    bytes.insert(bytes.end(), {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                               static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)});
  }
  return bytes;
}

Bytes MultiValued(const std::vector<std::u16string>& items, bool eightBit, std::uint32_t firstOffset) {
  Bytes strings;
  Bytes bytes = Dwords({static_cast<std::uint32_t>(items.size())});
  if (firstOffset == 0) firstOffset = static_cast<std::uint32_t>(4 + 4 * items.size());
  for (const auto& item : items) {
    Append(bytes, Dwords({firstOffset + static_cast<std::uint32_t>(strings.size())}));
    const std::string ansi = eightBit ? Ansi(item) + '\0' : std::string();
    Append(strings, eightBit ? Bytes(ansi.begin(), ansi.end()) : StoredUtf16(item));
  }
  bytes.resize(firstOffset, 0);
  Append(bytes, strings);
  return bytes;
}

PageRig::PageRig(std::u16string outlookVersion, std::u16string_view profilesKey)
    : module(faults, diagnostics),
      outlook(std::move(outlookVersion)),
      profilesKey_(profilesKey),
      profilePath_(Ansi(profile::ProfileKeyPath(Location()))),
      accountsPath_(Ansi(profile::AccountsKeyPath(Location()))) {
  outlook.addIn->userName = kUser;
  outlook.addIn->profileName = kProfile;
  outlook.ns->chooser = [this] { return user.PickFolder(); };
  registry.PutValue(platform::kClassesRoot, "CLSID\\" + Ansi(profile::kIdentityAccountClsid), "",
                    platform::kRegSz, {'P', 'O', 'P', '3', '/', 'S', 'M', 'T', 'P', 0});
  SeedNextAccountID(1);
}

void PageRig::Put(const std::string& path, std::string_view name, Bytes bytes,
                  std::uint32_t type) {
  if (mirror_) mirror_(path, name, type, bytes);
  registry.PutValue(platform::kCurrentUser, path, name, type, std::move(bytes));
}

void PageRig::PutText(const std::string& path, std::string_view name, std::u16string_view text) {
  Put(path, name, StoredUtf16(text));
}

void PageRig::SeedIdentity(std::int32_t number, std::u16string_view displayName,
                           std::u16string_view email, std::u16string_view newSignature,
                           std::u16string_view replySignature) {
  SeedIdentityKey(AccountPath(number), displayName, email, newSignature, replySignature);
}

void PageRig::SeedIdentityKey(const std::string& path, std::u16string_view displayName,
                              std::u16string_view email, std::u16string_view newSignature,
                              std::u16string_view replySignature) {
  const std::u16string name(displayName);
  const std::pair<const char*, std::u16string> texts[] = {
      {"Account Name", email.starts_with(u"/") ? u"EX MBX [" + name + u"]"
                                               : u"EX [" + name + u" <" + std::u16string(email) + u">]"},
      {"Display Name", name}, {"Email", std::u16string(email)},
      {"POP3 Server", u"none"}, {"POP3 User", u"none"}, {"SMTP Server", u"none"},
      {"New Signature", std::u16string(newSignature)},
      {"Reply-Forward Signature", std::u16string(replySignature)}};
  for (const auto& [value, text] : texts) {
    if (!text.empty()) PutText(path, value, text);
  }
  const std::string clsid = Ansi(profile::kIdentityAccountClsid);
  Put(path, "clsid", Bytes(clsid.begin(), clsid.end()), platform::kRegSz);
}

void PageRig::SeedExchangeAccount(std::int32_t number, std::u16string_view accountName) {
  PutText(AccountPath(number), "Account Name", accountName);
  PutText(AccountPath(number), "Service Name", u"MSEMS");
}

void PageRig::SeedOrderList(const std::vector<std::uint32_t>& numbers) {
  Put(AccountsPath(), Ansi(profile::kAccountOrderValue), Dwords(numbers));
}

void PageRig::SeedNextAccountID(std::uint32_t number) {
  Put(AccountsPath(), "NextAccountID", Dwords({number}), platform::kRegDword);
}

void PageRig::SeedDirectory(const std::vector<std::u16string>& addresses) {
  Put(Ansi(profile::DirectorySectionKeyPath(Location())), "101f6637", MultiValued(addresses));
}

void PageRig::SeedProfileValue(std::string_view name, const Bytes& bytes) {
  Put(ProfilePath(), name, bytes);
}

QuillonPage& PageRig::OpenPage() {
  page_.reset();
  controls_ = std::make_unique<FakePageControls>();
  page_ = std::make_unique<QuillonPage>(
      PageEnvironment{controls_->Controls(), user, outlook.container, module, version, signatures});
  page_->UserControl_InitProperties();
  return *page_;
}

void PageRig::ClosePage() {
  page_->UserControl_Terminate();
  page_.reset();
}

void PageRig::DropControls() {
  page_.reset();
  controls_.reset();
}

std::string PageRig::ProfilePrefix() const { return "HKCU\\" + ProfilePath() + "\\"; }

std::string PageRig::AccountPath(std::int32_t number) const {
  return AccountsPath() + "\\" + Ansi(profile::AccountKeyName(number));
}

std::optional<Bytes> PageRig::Value(const std::string& path, std::string_view name) const {
  const auto value = registry.GetValue(platform::kCurrentUser, path, name);
  return value ? std::optional(value->bytes) : std::nullopt;
}

std::optional<Bytes> PageRig::ProfileValue(std::string_view name) const {
  return Value(ProfilePath(), name);
}

std::optional<std::u16string> PageRig::AccountText(std::int32_t number, std::string_view name) const {
  const auto bytes = Value(AccountPath(number), name);
  if (!bytes) return std::nullopt;
  std::u16string text = profile::BytesToText(*bytes);
  if (!text.empty() && text.back() == u'\0') text.pop_back();
  return text;
}

std::vector<std::string> PageRig::AccountKeys() const {
  return registry.SubKeyNames(platform::kCurrentUser, AccountsPath());
}

SweepWorld::SweepWorld(std::u16string outlookVersion, std::u16string_view profilesKey)
    : PageRig(std::move(outlookVersion), profilesKey) {
  projects = outlook.AddFolder(outlook.DefaultFolder(platform::kFolderInbox), u"Projects");
  archive = outlook.AddFolder(outlook.mailboxRoot, u"Archive");
  SeedExchangeAccount(1, u"Microsoft Exchange Server");
  const std::string clsid = Ansi(profile::kIdentityAccountClsid);
  PutText(AccountPath(2), "Account Name", u"Home mail");
  Put(AccountPath(2), "clsid", Bytes(clsid.begin(), clsid.end()), platform::kRegSz);
  PutText(AccountPath(2), "POP3 Server", u"pop.home.example");
  PutText(AccountPath(2), "SMTP Server", u"smtp.home.example");
  SeedIdentity(3, u"Ann Sales", u"sales@corp.example", u"Sales");
  SeedIdentity(4, u"Ann Support", u"support@corp.example");
  SeedNextAccountID(kFirstFreeNumber);
  SeedOrderList({1, 2, 3, 4});
  SeedDirectory({u"SMTP:ann.lee@corp.example", u"smtp:ann@corp.example",
                 u"X400:c=US;a= ;p=Corp;o=Ex;s=Lee;g=Ann;", u"smtp:lee@corp.example"});
  SeedProfileValue("replyaddressformat", StoredUtf16(u"1"));
  SeedProfileValue("monitoredfolders",
                   StoredUtf16(projects->entryId() + u"\t" + archive->entryId() + u"\t"));
  Put(Ansi(profile::AccountsKeyPath(u"Other")), "NextAccountID", Dwords({9}), platform::kRegDword);
}

}  // namespace quillon::testing
