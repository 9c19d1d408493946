// The profile's account store: reading the identity and Exchange accounts, and
// writing identity accounts with "NextAccountID" and the account order list.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry_store.h"
#include "profile/profile_data.h"
#include "profile/profile_location.h"
#include "profile/registry_access.h"
#include "profile/scoped_key.h"

namespace quillon::profile {

// The class given to identity accounts (a POP3 account without servers).
inline constexpr std::u16string_view kIdentityAccountClsid = u"{ED475411-B0D6-11D2-8C3B-00104B2A6676}";
// REG_BINARY list of 4-byte little-endian account numbers.
inline constexpr std::u16string_view kAccountOrderValue = u"{ED475418-B0D6-11D2-8C3B-00104B2A6676}";

// One account of the store as read; string fields are "" when the value is missing.
struct AccountRecord {
  std::u16string AccountName;
  std::u16string DisplayName;
  std::u16string Email;
  std::u16string NewSignature;
  std::u16string Organization;
  std::u16string POP3Server;
  std::u16string POP3User;
  std::u16string ReplyEmail;
  std::u16string ReplyForwardSignature;
  std::u16string SMTPServer;
  std::int32_t SMTPUseAuth = 0;
  std::u16string AccountID;
  std::u16string Clsid;
  std::u16string ClassName;
  std::u16string ServiceName;
};

// Reading.
void LoadAccounts(platform::RegistryStore& store, ProfileData& data, const ProfileLocation& profile);
AccountRecord ReadAccount(platform::RegistryStore& store, std::u16string_view storeKeyPath,
                          std::u16string_view accountName);
std::u16string GetClassDescription(platform::RegistryStore& store, std::u16string_view clsid);

// Writing.
std::u16string AccountKeyName(std::int32_t accountNumber);  // 11 -> "0000000b"
std::int32_t GetNextAccountID(platform::RegistryStore& store, const ProfileLocation& profile);
void CreateIdentityAccount(platform::RegistryStore& store, const ProfileLocation& profile,
                           std::int32_t accountNumber, std::u16string_view accountName,
                           std::u16string_view displayName, std::u16string_view address,
                           std::u16string_view newSignature, std::u16string_view replySignature);
bool DeleteAccount(platform::RegistryStore& store, const ProfileLocation& profile,
                   std::int32_t accountNumber);

// The names and signatures of one identity account to create.
struct IdentityAccountTexts {
  std::u16string_view accountName;
  std::u16string_view displayName;
  std::u16string_view address;
  std::u16string_view newSignature;
  std::u16string_view replySignature;
};

// Writes one Apply's changes to a profile's account store: the old identity
// accounts deleted, then a run of new ones created. The account store key is
// opened once and kept; each account's values go through one handle of its own
// key. "NextAccountID" and the order list are read once and then known: after
// a write that succeeded they are what was written, after one that failed what
// the store still holds, so each step sees what a fresh read would give.
// The values, their order and the meaning of a failed call are those of the
// free functions above: a value that cannot be set is skipped, an account key
// that cannot be created skips that account's values, a store key that cannot
// be opened gives 0 as the next number (tried again on the next call).
class AccountStoreWriter {
 public:
  AccountStoreWriter(platform::RegistryStore& store, const ProfileLocation& profile);

  bool DeleteAccount(std::int32_t accountNumber);  // as the free DeleteAccount
  std::int32_t NextAccountID();  // as GetNextAccountID
  // False, with nothing written, when an account key of that number exists
  // already (a stale "NextAccountID"): that account keeps its values.
  bool CreateIdentityAccount(std::int32_t accountNumber, const IdentityAccountTexts& texts);

 private:
  platform::HKey StoreKey(bool createIfMissing);
  void DeleteAccountKey(std::int32_t accountNumber);
  std::optional<Bytes> OrderList(platform::HKey storeKey);
  bool WriteOrderList(platform::HKey storeKey, const Bytes& order);

  platform::RegistryStore& store_;
  ProfileLocation profile_;
  std::u16string storePath_;
  ScopedKey storeKey_;
  std::int32_t knownNextAccountID_ = 0;  // 0: not known, read it
  std::optional<Bytes> knownOrder_;      // none: not known (or no list), read it
};

// Sets an identity account's values, in their fixed order, in its open key.
void WriteIdentityAccountValues(platform::RegistryStore& store, platform::HKey accountKey,
                                const IdentityAccountTexts& texts);
void SetExchangeAccountName(platform::RegistryStore& store, const ProfileData& data,
                            const ProfileLocation& profile, std::int32_t accountNumber,
                            std::u16string_view accountName);

}  // namespace quillon::profile
