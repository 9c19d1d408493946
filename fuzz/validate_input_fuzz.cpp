// ValidateInput over arbitrary typed text: an accepted entry is in its normal
// form, stays accepted unchanged, and saves as the name and address it shows.
#include <cstdint>
#include <optional>
#include <string>

#include "fuzz/fuzz_check.h"
#include "identities/identity_entry_form.h"
#include "page/quillon_page.h"
#include "testing/fake_controls.h"
#include "testing/fake_outlook.h"
#include "testing/memory_registry_store.h"
#include "testing/scripted_user.h"

namespace {

using namespace quillon;

struct Harness {
  testing::MemoryRegistryStore registry;
  ModuleState module{registry};
  testing::FakeOutlook outlook;
  testing::ScriptedUser user;
  testing::FakePageControls ui;
  QuillonPage page{PageEnvironment{ui.Controls(), user, outlook.container, module, {}}};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Harness harness;  // ValidateInput reads no page state
  FuzzedDataProvider input(data, size);
  const std::u16string typed = fuzz::ConsumeUtf16(input, 4096);

  std::optional<std::u16string> s = typed;
  const std::int16_t result = harness.page.ValidateInput(s);
  FUZZ_CHECK(result == 1 || result == -1);
  FUZZ_CHECK(s.has_value());
  if (result == -1) return 0;

  const IdentityFields fields = ParseIdentityEntry(*s);
  FUZZ_CHECK(fields.form == IdentityFields::Form::Address);
  FUZZ_CHECK(fields.complete);
  FUZZ_CHECK(*s == AddressEntry(fields.displayName, fields.address));

  std::optional<std::u16string> again = *s;
  FUZZ_CHECK(harness.page.ValidateInput(again) == 1);
  FUZZ_CHECK(again == s);

  std::optional<std::u16string> cancelled;
  FUZZ_CHECK(harness.page.ValidateInput(cancelled) == 0);
  return 0;
}
