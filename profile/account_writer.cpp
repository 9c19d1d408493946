// Writing the account store: identity accounts, "NextAccountID", the account
// order list and the Exchange account's name.
#include <algorithm>

#include "profile/account_store.h"
#include "platform/ansi.h"
#include "platform/text.h"
#include "profile/profile_values.h"
#include "profile/registry_access.h"
#include "profile/scoped_key.h"

namespace quillon::profile {
namespace {

constexpr std::u16string_view kNextAccountIdValue = u"NextAccountID";
constexpr std::u16string_view kNoServer = u"none";
constexpr std::size_t kOrderEntrySize = 4;

std::u16string AccountKeyPath(const ProfileLocation& profile, std::int32_t accountNumber) {
  return AccountsKeyPath(profile) + u'\\' + AccountKeyName(accountNumber);
}

// Stored texts: UTF-16LE code units and one NUL unit.
Bytes StoredText(std::u16string_view text) {
  std::u16string stored(text);
  stored.push_back(u'\0');
  return TextToBytes(stored);
}

void SetSignatureName(platform::RegistryStore& store, HKey accountKey,
                      std::u16string_view valueName, std::u16string_view signatureName) {
  const std::u16string trimmed = text::TrimSpaces(signatureName);
  if (!trimmed.empty()) SetBinaryValue(store, accountKey, valueName, StoredText(trimmed)).Ignore();
}

// Removes every entry equal to `number`, moving the last entry into the freed
// place. Entries are counted back from the end, as they are appended; bytes
// before the first complete entry of an odd-length list are never touched.
bool RemoveFromOrderList(Bytes& list, std::int32_t accountNumber) {
  Bytes number;
  text::AppendLittleEndian32(number, accountNumber);
  bool changed = false;
  for (std::size_t end = list.size(); end >= kOrderEntrySize; end -= kOrderEntrySize) {
    const auto entry = list.begin() + (end - kOrderEntrySize);
    if (!std::equal(number.begin(), number.end(), entry)) continue;
    if (end != list.size()) std::copy(list.end() - kOrderEntrySize, list.end(), entry);
    list.resize(list.size() - kOrderEntrySize);
    changed = true;
  }
  return changed;
}

}  // namespace

std::u16string AccountKeyName(std::int32_t accountNumber) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  const auto bits = static_cast<std::uint32_t>(accountNumber);
  std::u16string name(8, u'0');
  for (int i = 0; i < 8; ++i) name[7 - i] = kDigits[(bits >> (4 * i)) & 0xF];
  return name;
}

std::int32_t GetNextAccountID(platform::RegistryStore& store, const ProfileLocation& profile) {
  if (profile.name.empty()) return 0;  // no profile: no account may be created
  ScopedKey key(store, OpenKey(store, platform::kCurrentUser, AccountsKeyPath(profile)));
  if (!key) return 0;
  return ReadDwordValue(store, key.get(), kNextAccountIdValue);
}

void CreateIdentityAccount(platform::RegistryStore& store, const ProfileLocation& profile,
                           std::int32_t accountNumber, std::u16string_view accountName,
                           std::u16string_view displayName, std::u16string_view address,
                           std::u16string_view newSignature, std::u16string_view replySignature) {
  AccountStoreWriter(store, profile)
      .CreateIdentityAccount(accountNumber,
                             {accountName, displayName, address, newSignature, replySignature});
}

// A value that cannot be set is skipped; the account keeps the others.
void WriteIdentityAccountValues(platform::RegistryStore& store, HKey accountKey,
                                const IdentityAccountTexts& texts) {
  const Bytes none = StoredText(kNoServer);
  SetBinaryValue(store, accountKey, u"Account Name", StoredText(texts.accountName)).Ignore();
  // The one ANSI REG_SZ: its 38 characters, no terminator.
  RegOutcome::Of(SetTypedValue(store, accountKey, u"clsid", platform::kRegSz,
                               std::u16string(kIdentityAccountClsid)),
                 u"SetValueEx", u"clsid")
      .Ignore();
  SetBinaryValue(store, accountKey, u"Display Name", StoredText(texts.displayName)).Ignore();
  SetBinaryValue(store, accountKey, u"Email", StoredText(texts.address)).Ignore();
  SetDwordValue(store, accountKey, u"POP3 Remember Passwd", 0).Ignore();
  SetBinaryValue(store, accountKey, u"POP3 Server", none).Ignore();
  SetBinaryValue(store, accountKey, u"POP3 User", none).Ignore();
  SetBinaryValue(store, accountKey, u"SMTP Server", none).Ignore();
  SetDwordValue(store, accountKey, u"Is Account Disabled", 1).Ignore();
  SetSignatureName(store, accountKey, u"New Signature", texts.newSignature);
  SetSignatureName(store, accountKey, u"Reply-Forward Signature", texts.replySignature);
}

AccountStoreWriter::AccountStoreWriter(platform::RegistryStore& store,
                                       const ProfileLocation& profile)
    : store_(store),
      profile_(profile),
      storePath_(profile.name.empty() ? std::u16string() : AccountsKeyPath(profile)),
      storeKey_(store, platform::kNoKey) {}

HKey AccountStoreWriter::StoreKey(bool createIfMissing) {
  if (!storeKey_ && !storePath_.empty()) {
    if (createIfMissing) {
      storeKey_.reset(CreateWritableKey(store_, storePath_));
    } else {
      *storeKey_.put() =
          TryOpenKey(store_, platform::kCurrentUser, storePath_, platform::kKeyAllSixRights)
              .Or(platform::kNoKey);
    }
  }
  return storeKey_.get();
}

std::int32_t AccountStoreWriter::NextAccountID() {
  if (knownNextAccountID_ != 0) return knownNextAccountID_;
  // Reading never creates the store: without it no account may be created.
  // A 0 (missing or unreadable) is read again next time.
  knownNextAccountID_ = ReadDwordValue(store_, StoreKey(false), kNextAccountIdValue);
  return knownNextAccountID_;
}

std::optional<Bytes> AccountStoreWriter::OrderList(HKey storeKey) {
  if (!knownOrder_) knownOrder_ = QueryBinaryValue(store_, storeKey, kAccountOrderValue);
  return knownOrder_;
}

bool AccountStoreWriter::WriteOrderList(HKey storeKey, const Bytes& order) {
  const RegOutcome written = SetBinaryValue(store_, storeKey, kAccountOrderValue, order);
  written.Ignore();  // the callers learn only that the list was not written
  if (!written) return false;
  knownOrder_ = order;
  return true;
}

// Through the store key in one call when the account has no subkeys (as
// identity accounts are made); else, or when that fails, as DeleteKeyTree.
void AccountStoreWriter::DeleteAccountKey(std::int32_t accountNumber) {
  const HKey storeKey = StoreKey(false);
  if (storeKey != platform::kNoKey) {
    const std::u16string name = AccountKeyName(accountNumber);
    const platform::RegResult code = store_.DeleteKey(storeKey, platform::ToAnsi(name));
    if (code == platform::kErrorSuccess) return;
    // Gone already, or one with subkeys: the walk below settles it.
    if (code != platform::kErrorFileNotFound) RegOutcome::Of(code, u"DeleteKey", name).Ignore();
  }
  DeleteKeyTree(store_, platform::kCurrentUser, AccountKeyPath(profile_, accountNumber));
}

bool AccountStoreWriter::DeleteAccount(std::int32_t accountNumber) {
  if (storePath_.empty()) return true;
  DeleteAccountKey(accountNumber);
  const HKey storeKey = StoreKey(true);
  if (storeKey == platform::kNoKey) return true;  // no list could be read: nothing changed
  std::optional<Bytes> order = OrderList(storeKey);
  if (!order || !RemoveFromOrderList(*order, accountNumber)) return true;
  // Removing the only entry stores an empty list, so the number never stays behind.
  return WriteOrderList(storeKey, *order);
}

bool AccountStoreWriter::CreateIdentityAccount(std::int32_t accountNumber,
                                               const IdentityAccountTexts& texts) {
  if (storePath_.empty()) return true;
  {
    bool created = true;
    ScopedKey account(store_,
                      CreateWritableKey(store_, AccountKeyPath(profile_, accountNumber), &created));
    if (account && !created) return false;
    if (account) WriteIdentityAccountValues(store_, account.get(), texts);
  }
  const HKey storeKey = StoreKey(true);
  if (storeKey == platform::kNoKey) return true;
  const auto next = static_cast<std::int32_t>(static_cast<std::uint32_t>(accountNumber) + 1u);
  const RegOutcome raised = SetDwordValue(store_, storeKey, kNextAccountIdValue, next);
  raised.Ignore();
  if (raised) knownNextAccountID_ = next;

  // A store without an order list gets none; an empty list (left by deleting
  // its only entry) is extended like any other.
  std::optional<Bytes> order = OrderList(storeKey);
  if (!order) return true;
  text::AppendLittleEndian32(*order, accountNumber);
  WriteOrderList(storeKey, *order);
  return true;
}

bool DeleteAccount(platform::RegistryStore& store, const ProfileLocation& profile,
                   std::int32_t accountNumber) {
  return AccountStoreWriter(store, profile).DeleteAccount(accountNumber);
}

void SetExchangeAccountName(platform::RegistryStore& store, const ProfileData& data,
                            const ProfileLocation& profile, std::int32_t accountNumber,
                            std::u16string_view accountName) {
  if (profile.name.empty()) return;
  std::u16string name(accountName);
  if (name.empty()) {
    name = data.bSpanishUI ? u"Servidor de Microsoft Exchange" : u"Microsoft Exchange Server";
  }
  WriteBinaryValue(store, AccountKeyPath(profile, accountNumber), u"Account Name",
                   StoredText(text::TrimSpaces(name)))
      .Ignore();
}

}  // namespace quillon::profile
