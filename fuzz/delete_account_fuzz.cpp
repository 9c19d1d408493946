// DeleteAccount's walk of an arbitrary account order list (any length, any
// entries, duplicates, the number absent or present many times).
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/ansi.h"
#include "profile/account_store.h"
#include "profile/profile_values.h"
#include "testing/page_rig.h"

namespace {

using namespace quillon;
using Bytes = std::vector<std::uint8_t>;
using Entry = std::array<std::uint8_t, 4>;
constexpr char16_t kProfile[] = u"Main";

// Entries are counted back from the end; a shorter head is not an entry.
std::vector<Entry> Entries(const Bytes& list) {
  std::vector<Entry> entries;
  for (std::size_t i = list.size() % 4; i + 4 <= list.size(); i += 4) {
    entries.push_back({list[i], list[i + 1], list[i + 2], list[i + 3]});
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

Entry LittleEndian(std::uint32_t number) {
  return {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
          static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const auto number = input.ConsumeIntegral<std::uint32_t>();
  const bool listExists = input.ConsumeBool();
  const bool accountExists = input.ConsumeBool();
  const Bytes list = input.ConsumeRemainingBytes<std::uint8_t>();

  testing::MemoryRegistryStore store;
  const std::string accounts = platform::ToAnsi(profile::AccountsKeyPath(kProfile));
  const std::string orderName = platform::ToAnsi(profile::kAccountOrderValue);
  const std::string ownKey = accounts + "\\" + platform::ToAnsi(profile::AccountKeyName(number));
  const std::string otherKey = accounts + "\\" + platform::ToAnsi(profile::AccountKeyName(number + 1));
  store.CreateKeyPath(platform::kCurrentUser, accounts);
  store.PutValue(platform::kCurrentUser, otherKey, "Email", platform::kRegBinary, {'a', 0, 0, 0});
  if (accountExists) {
    store.PutValue(platform::kCurrentUser, ownKey + "\\Sub", "x", platform::kRegDword, {1, 0, 0, 0});
    store.PutValue(platform::kCurrentUser, ownKey, "Email", platform::kRegBinary, {'b', 0, 0, 0});
  }
  if (listExists) store.PutValue(platform::kCurrentUser, accounts, orderName, platform::kRegBinary, list);
  const testing::RegistryImage before = testing::TakeImage(store);

  const bool written = profile::DeleteAccount(store, kProfile, static_cast<std::int32_t>(number));
  FUZZ_CHECK(written);
  FUZZ_CHECK(!store.KeyExists(platform::kCurrentUser, ownKey));
  FUZZ_CHECK(store.OpenHandleCount() == 0);
  // Only the account's own key and the order list may change.
  FUZZ_CHECK(testing::ChangesOutside(before, testing::TakeImage(store),
                                     {"HKCU\\" + ownKey + "\\", "HKCU\\" + accounts + "\\:" + orderName})
                 .empty());

  const auto after = store.GetValue(platform::kCurrentUser, accounts, orderName);
  FUZZ_CHECK(after.has_value() == listExists);
  if (!listExists) return 0;
  const Entry removed = LittleEndian(number);
  std::vector<Entry> expected = Entries(list);
  expected.erase(std::remove(expected.begin(), expected.end(), removed), expected.end());
  const std::size_t removedCount = Entries(list).size() - expected.size();
  FUZZ_CHECK(after->type == platform::kRegBinary);
  FUZZ_CHECK(after->bytes.size() == list.size() - 4 * removedCount);
  // The head that is no entry stays; every other entry stays, in some order.
  FUZZ_CHECK(std::equal(list.begin(), list.begin() + list.size() % 4, after->bytes.begin()));
  FUZZ_CHECK(Entries(after->bytes) == expected);
  if (removedCount == 0) FUZZ_CHECK(after->bytes == list);
  return 0;
}
