// LoadDirectoryAddresses over arbitrary cached address values (either, both or
// neither of the UTF-16 and 8-bit forms, empty values included).
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/ansi.h"
#include "profile/directory_addresses.h"
#include "platform/text.h"
#include "profile/profile_values.h"
#include "profile/registry_access.h"
#include "testing/page_rig.h"

namespace {

using namespace quillon;
constexpr char16_t kProfile[] = u"Main";

void CheckAddresses(const profile::ProfileData& data) {
  for (const std::u16string& address : data.vDirAddresses) {
    FUZZ_CHECK(!address.empty());
    FUZZ_CHECK(address.find(u'\t') == std::u16string::npos);
    FUZZ_CHECK(address == profile::kNotDefined ||
               text::StartsWithAsciiIgnoringCase(address, u"SMTP:"));
  }
  FUZZ_CHECK(data.sPrimarySMTP == text::TrimSpaces(data.sPrimarySMTP));
  FUZZ_CHECK(data.sPrimarySMTP.find(u'\t') == std::u16string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const bool sectionExists = input.ConsumeBool();
  const bool wideExists = input.ConsumeBool();
  const bool narrowExists = input.ConsumeBool();
  const auto wide = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 2048));
  const auto narrow = input.ConsumeRemainingBytes<std::uint8_t>();

  testing::MemoryRegistryStore store;
  const std::string section = platform::ToAnsi(profile::DirectorySectionKeyPath(kProfile));
  if (sectionExists) {
    store.CreateKeyPath(platform::kCurrentUser, section);
    if (wideExists) store.PutValue(platform::kCurrentUser, section, "101f6637", platform::kRegBinary, wide);
    if (narrowExists) store.PutValue(platform::kCurrentUser, section, "101e6637", platform::kRegBinary, narrow);
  }
  const testing::RegistryImage before = testing::TakeImage(store);

  profile::ProfileData loaded;
  loaded.vDirAddresses = {u"SMTP:earlier@example.com"};
  loaded.sPrimarySMTP = u"earlier@example.com";
  profile::LoadDirectoryAddresses(store, loaded, kProfile);
  if (!sectionExists) {
    // Nothing to read: what an earlier load left stays.
    FUZZ_CHECK(loaded.sPrimarySMTP == u"earlier@example.com");
    FUZZ_CHECK(loaded.vDirAddresses.size() == 1);
  }
  CheckAddresses(loaded);

  // The primary address is found again from the list alone.
  profile::ProfileData again = loaded;
  profile::FindPrimarySMTPAddress(again);
  FUZZ_CHECK(again.sPrimarySMTP == loaded.sPrimarySMTP);

  FUZZ_CHECK(store.OpenHandleCount() == 0);
  FUZZ_CHECK(testing::ChangesOutside(before, testing::TakeImage(store), {}).empty());
  return 0;
}
