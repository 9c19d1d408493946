// Reading the account store: which accounts are identities, which one is the
// profile's Exchange account.
#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "platform/ansi.h"
#include "profile/account_store.h"
#include "platform/text.h"
#include "profile/profile_values.h"
#include "profile/registry_access.h"
#include "profile/scoped_key.h"

namespace quillon::profile {
namespace {

// A registry key name has at most 255 characters, two bytes each at most in a
// double-byte code page.
constexpr std::uint32_t kLongestAnsiKeyName = 510;

// The account key at `index` of the store key at `storePath`; nothing when
// the enumeration fails (reported) or has ended early.
std::optional<std::u16string> EnumAccountKeyName(platform::RegistryStore& store, HKey key,
                                                 std::u16string_view storePath,
                                                 std::uint32_t index, std::uint32_t longest) {
  platform::RegResult result = platform::kErrorSuccess;
  for (std::uint32_t capacity : {longest + 1, kLongestAnsiKeyName + 1}) {
    std::vector<char> buffer(capacity, '\0');
    std::uint32_t length = capacity;
    result = store.EnumKeyEx(key, index, buffer.data(), &length);
    // A name longer than the key info said is enumerated again into a buffer
    // that holds any name, never taken from a buffer the call did not fill.
    if (result == platform::kErrorMoreData) continue;
    if (result != platform::kErrorSuccess) break;
    return TrimAtNull(platform::FromAnsi(std::string_view(buffer.data(), buffer.size())));
  }
  // Keys deleted since the count was taken end the enumeration early: no failure.
  if (result != platform::kErrorNoMoreItems) RegOutcome::Of(result, u"EnumKeyEx", storePath).Ignore();
  return std::nullopt;
}

// An identity is an account of the POP3 class without servers.
bool HasIdentityClass(const AccountRecord& account) {
  return text::ContainsAsciiIgnoringCase(account.ClassName, u"POP3");
}
bool IsNoServer(std::u16string_view server) { return text::EqualsAsciiIgnoringCase(server, u"none"); }

// The class descriptions of one load: every identity account names the same
// clsid, looked up once. Only descriptions found are kept, so a lookup that
// failed is tried again for the next account rather than losing them all.
class ClassDescriptions {
 public:
  explicit ClassDescriptions(platform::RegistryStore& store) : store_(store) {}
  std::u16string Of(const std::u16string& clsid) {
    if (const auto found = found_.find(clsid); found != found_.end()) return found->second;
    std::u16string description = GetClassDescription(store_, clsid);
    if (!description.empty()) found_.emplace(clsid, description);
    return description;
  }

 private:
  platform::RegistryStore& store_;
  std::map<std::u16string, std::u16string> found_;  // by the exact clsid text looked up
};

// A TAB inside a value would split its item in two and shift every later item
// of that list against the other six lists, so it becomes a blank.
std::u16string ListItem(std::u16string text) {
  std::replace(text.begin(), text.end(), u'\t', u' ');
  return text;
}

void AppendItem(std::u16string& list, bool first, const std::u16string& item) {
  if (!first) list += u'\t';
  list += ListItem(item);
}

void AppendIdentity(ProfileData& data, const AccountRecord& account) {
  const bool first = data.sAccIdentities.empty();
  AppendItem(data.sAccIdentities, first,
             account.AccountID + u'\x01' + account.Email + u'\x01' + account.DisplayName);
  AppendItem(data.sAccIDs, first, account.AccountID);
  AppendItem(data.sAccEmails, first, account.Email);
  AppendItem(data.sAccDisplayNames, first, account.DisplayName);
  AppendItem(data.sAccNames, first, account.AccountName);
  AppendItem(data.sAccNewSignatures, first, account.NewSignature);
  AppendItem(data.sAccReplySignatures, first, account.ReplyForwardSignature);
}

void ClearAccountLists(ProfileData& data) {
  for (std::u16string* list : {&data.sAccIdentities, &data.sAccIDs, &data.sAccEmails,
                               &data.sAccDisplayNames, &data.sAccNames, &data.sAccNewSignatures,
                               &data.sAccReplySignatures}) {
    list->clear();
  }
}

// Reads one account of the store, each value only once it matters, in the
// order that decides: a service account needs its service name, an account of
// another class or with servers no more than the values that rule it out.
// What ends in the lists is what reading the whole account would give.
void ListAccount(platform::RegistryStore& store, HKey storeKey, const std::u16string& name,
                 ClassDescriptions& classes, ProfileData& data) {
  ScopedKey key(store, OpenKey(store, storeKey, name));
  if (!key) return;
  const auto text = [&](std::u16string_view value) {
    return ReadValueText(store, key.get(), value, ValueTextMode::kSingleText);
  };
  AccountRecord account;
  account.AccountID = name;
  account.ServiceName = text(u"Service Name");
  if (!account.ServiceName.empty()) {
    if (text::EqualsAsciiIgnoringCase(account.ServiceName, u"MSEMS")) {
      data.sExchangeID = text::TrimSpaces(account.AccountID);
    }
    return;
  }
  account.Clsid = ReadStringValue(store, key.get(), u"clsid");
  if (!account.Clsid.empty()) account.ClassName = classes.Of(account.Clsid);
  if (!HasIdentityClass(account)) return;
  account.POP3Server = text(u"POP3 Server");
  if (!IsNoServer(account.POP3Server)) return;
  account.SMTPServer = text(u"SMTP Server");
  if (!IsNoServer(account.SMTPServer)) return;
  account.AccountName = text(u"Account Name");
  account.DisplayName = text(u"Display Name");
  account.Email = text(u"Email");
  account.NewSignature = text(u"New Signature");
  account.ReplyForwardSignature = text(u"Reply-Forward Signature");
  AppendIdentity(data, account);
}

}  // namespace

void LoadAccounts(platform::RegistryStore& store, ProfileData& data,
                  const ProfileLocation& profile) {
  ClearAccountLists(data);
  // Cleared too, so that a profile without an Exchange account never leaves
  // the number of another profile's account for Apply to rename.
  data.sExchangeID.clear();
  if (profile.name.empty()) return;
  const std::u16string storePath = AccountsKeyPath(profile);
  ScopedKey key(store, OpenKey(store, platform::kCurrentUser, storePath));
  if (!key) return;
  std::uint32_t count = 0;
  std::uint32_t longest = 0;
  const RegOutcome info =
      RegOutcome::Of(store.QueryInfoKey(key.get(), &count, &longest), u"QueryInfoKey", storePath);
  info.Ignore();  // no account can be listed without the count
  if (!info) return;
  ClassDescriptions classes(store);
  for (std::uint32_t index = 0; index < count; ++index) {
    const std::optional<std::u16string> name = EnumAccountKeyName(store, key.get(), storePath, index, longest);
    if (name) ListAccount(store, key.get(), *name, classes, data);
  }
}

AccountRecord ReadAccount(platform::RegistryStore& store, std::u16string_view storeKeyPath,
                          std::u16string_view accountName) {
  AccountRecord account;
  std::u16string path(storeKeyPath);
  path += u'\\';
  path += accountName;
  ScopedKey key(store, OpenKey(store, platform::kCurrentUser, path));
  if (!key) return account;
  const HKey handle = key.get();
  const auto text = [&](std::u16string_view name) {
    return ReadValueText(store, handle, name, ValueTextMode::kSingleText);
  };
  account.AccountID = std::u16string(accountName);
  account.AccountName = text(u"Account Name");
  account.Clsid = ReadStringValue(store, handle, u"clsid");
  if (!account.Clsid.empty()) account.ClassName = GetClassDescription(store, account.Clsid);
  account.DisplayName = text(u"Display Name");
  account.Email = text(u"Email");
  account.Organization = text(u"Organization");
  account.POP3Server = text(u"POP3 Server");
  account.POP3User = text(u"POP3 User");
  account.ReplyEmail = text(u"Reply Email");
  account.NewSignature = text(u"New Signature");
  account.ReplyForwardSignature = text(u"Reply-Forward Signature");
  account.ServiceName = text(u"Service Name");
  account.SMTPServer = text(u"SMTP Server");
  account.SMTPUseAuth = ReadDwordValue(store, handle, u"SMTP Use Auth");
  return account;
}

std::u16string GetClassDescription(platform::RegistryStore& store, std::u16string_view clsid) {
  ScopedKey key(store, OpenKey(store, platform::kClassesRoot, u"CLSID\\" + std::u16string(clsid)));
  if (!key) return {};
  return ReadStringValue(store, key.get(), u"");
}

}  // namespace quillon::profile
