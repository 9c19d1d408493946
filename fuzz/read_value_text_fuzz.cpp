// ReadValueText in both modes over an arbitrary value name and arbitrary bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/ansi.h"
#include "platform/text.h"
#include "profile/registry_access.h"
#include "testing/memory_registry_store.h"

namespace {

using namespace quillon;
constexpr char kKeyPath[] = "Software\\Fuzz";

void CheckSmtpList(const std::u16string& text) {
  if (text == profile::kNotDefined) return;
  for (const std::u16string& item : text::SplitAt(text, u'\t')) {
    FUZZ_CHECK(text::StartsWithAsciiIgnoringCase(item, u"SMTP:"));
    FUZZ_CHECK(item == text::TrimSpaces(item));
    FUZZ_CHECK(item.find(u'\0') == std::u16string::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const bool smtpMode = input.ConsumeBool();
  const bool large = input.ConsumeBool();  // repeat the bytes past the 16-bit counters
  const auto type = input.ConsumeIntegral<std::uint32_t>();
  // Names cross the store in the ANSI code page, so build them there.
  const std::u16string name = platform::FromAnsi(input.ConsumeRandomLengthString(12));
  std::vector<std::uint8_t> bytes = input.ConsumeRemainingBytes<std::uint8_t>();
  if (large && !bytes.empty()) {
    while (bytes.size() <= 40000) bytes.insert(bytes.end(), bytes.begin(), bytes.end());
  }

  testing::MemoryRegistryStore store;
  store.PutValue(platform::kCurrentUser, kKeyPath, platform::ToAnsi(name), type, bytes);
  const auto before = store.GetValue(platform::kCurrentUser, kKeyPath, platform::ToAnsi(name));

  const platform::HKey key = profile::OpenKey(store, platform::kCurrentUser, u"Software\\Fuzz");
  FUZZ_CHECK(key != platform::kNoKey);
  const profile::ValueTextMode mode =
      smtpMode ? profile::ValueTextMode::kSmtpAddresses : profile::ValueTextMode::kSingleText;
  const std::u16string text = profile::ReadValueText(store, key, name, mode);
  // Both stores refuse a value name that holds a NUL: the value is missing.
  const bool nameUsable = name.find(u'\0') == std::u16string::npos;
  if (!nameUsable) {
    FUZZ_CHECK(text.empty());
  } else if (bytes.empty()) {
    FUZZ_CHECK(text == profile::kNotDefined);
  } else if (smtpMode) {
    CheckSmtpList(text);
  } else {
    FUZZ_CHECK(text.find(u'\0') == std::u16string::npos);
    FUZZ_CHECK(text.size() <= bytes.size() + 1 || text == profile::kNotDefined);
  }
  // A value of another name is missing: "" in every mode.
  FUZZ_CHECK(profile::ReadValueText(store, key, name + u"~", mode).empty());
  FUZZ_CHECK(store.CloseKey(key) == platform::kErrorSuccess);
  // A closed or absent handle reads nothing.
  FUZZ_CHECK(profile::ReadValueText(store, key, name, mode).empty());
  FUZZ_CHECK(profile::ReadValueText(store, platform::kNoKey, name, mode).empty());

  FUZZ_CHECK(store.OpenHandleCount() == 0);
  FUZZ_CHECK(store.GetValue(platform::kCurrentUser, kKeyPath, platform::ToAnsi(name)) == before);
  return 0;
}
