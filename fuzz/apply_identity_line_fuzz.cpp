// PropertyPage_Apply with one arbitrary List1 line (and arbitrary signature
// names) through the page's doubles, on a profile that already holds two
// identities, an Exchange account and a mail account of another kind.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/outcome.h"
#include "fuzz/registry_image.h"
#include "fuzz/reused_world.h"
#include "identities/identity_entry_form.h"
#include "page/quillon_page.h"
#include "platform/ansi.h"
#include "profile/account_store.h"
#include "platform/text.h"
#include "profile/profile_values.h"
#include "profile/registry_access.h"
#include "testing/fake_controls.h"
#include "testing/fake_outlook.h"
#include "testing/scripted_user.h"
#include "testing/page_rig.h"

namespace {

using namespace quillon;
using testing::Bytes;
using testing::StoredUtf16;
using testing::SweepWorld;
constexpr std::int32_t kNext = SweepWorld::kFirstFreeNumber;

// What stays from input to input: the world, the image it starts from and
// the buffers of the image each input ends with.
struct Reused {
  fuzz::ReusedWorld<SweepWorld> world;
  fuzz::FlatImage before, after;

  Reused() { before.Take(world.Enter().world().registry); }
};

// A saved identity that holds no TAB or NUL (the load's list separators)
// comes back as the same display name and address (the load trims the
// address; only a hand-made line can put blanks inside its brackets).
void CheckReload(SweepWorld& world, const std::u16string& line, const IdentityFields& fields,
                 fuzz::Outcome& outcome) {
  if (line.find_first_of(std::u16string_view(u"\t\0", 2)) != std::u16string::npos) return;
  world.OpenPage();
  FUZZ_CHECK(world.ui().List1.ListCount() <= 1);
  if (world.ui().List1.ListCount() == 1) {
    const IdentityFields loaded = ParseIdentityEntry(world.ui().List1.List(0));
    FUZZ_CHECK(loaded.displayName == fields.displayName);
    FUZZ_CHECK(loaded.address == text::TrimSpaces(fields.address));
  }
  if (fuzz::Outcome::Recording()) outcome.Add(world.ui().List1).Add(world.ui().List2).Add(world.ui().List3);
  world.ClosePage();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::u16string newSignature = fuzz::ConsumeUtf16(input, input.ConsumeIntegral<std::uint8_t>() % 16);
  const std::u16string replySignature = fuzz::ConsumeUtf16(input, input.ConsumeIntegral<std::uint8_t>() % 16);
  const std::u16string line = fuzz::ConsumeUtf16(input, 2048);

  static Reused reused;
  const auto turn = reused.world.Enter();
  SweepWorld& world = turn.world();
  world.OpenPage();
  world.ui().List1.Clear();
  world.ui().List2.Clear();
  world.ui().List3.Clear();
  world.ui().List1.AddItem(line);
  world.ui().List2.AddItem(newSignature);
  world.ui().List3.AddItem(replySignature);
  world.page().MarkDirty();
  world.user.AnswerMessageBox(platform::kAnswerNo);
  world.page().PropertyPage_Apply();
  world.ClosePage();
  FUZZ_CHECK(world.user.Unexpected().empty());
  FUZZ_CHECK(world.registry.OpenHandleCount() == 0);
  reused.after.Take(world.registry);
  FUZZ_CHECK(ChangesOutside(reused.before, reused.after, {world.ProfilePrefix()}).empty());
  // Accounts of other kinds keep every value; the Exchange account only its name changes.
  FUZZ_CHECK(world.Value(world.AccountPath(2), "POP3 Server") == StoredUtf16(u"pop.home.example"));
  FUZZ_CHECK(world.Value(world.AccountPath(2), "Account Name") == StoredUtf16(u"Home mail"));
  FUZZ_CHECK(world.Value(world.AccountPath(1), "Service Name") == StoredUtf16(u"MSEMS"));
  FUZZ_CHECK(!world.registry.KeyExists(platform::kCurrentUser, world.AccountPath(3)));
  FUZZ_CHECK(!world.registry.KeyExists(platform::kCurrentUser, world.AccountPath(4)));

  const IdentityFields fields = ParseIdentityEntry(line);
  const bool created = world.registry.KeyExists(platform::kCurrentUser, world.AccountPath(kNext));
  FUZZ_CHECK(created == fields.complete);
  const auto order = world.Value(world.AccountsPath(), platform::ToAnsi(profile::kAccountOrderValue));
  FUZZ_CHECK(order == (created ? Bytes{1, 0, 0, 0, 2, 0, 0, 0, kNext, 0, 0, 0}
                               : Bytes{1, 0, 0, 0, 2, 0, 0, 0}));
  fuzz::Outcome outcome;
  if (fuzz::Outcome::Recording()) outcome.Add(reused.after.Text()).Add(world.user);
  if (created) {
    FUZZ_CHECK(world.Value(world.AccountPath(kNext), "Email") == StoredUtf16(fields.address));
    FUZZ_CHECK(world.Value(world.AccountPath(kNext), "Display Name") == StoredUtf16(fields.displayName));
    FUZZ_CHECK(world.Value(world.AccountsPath(), "NextAccountID") == (Bytes{kNext + 1, 0, 0, 0}));
    CheckReload(world, line, fields, outcome);
  }
  outcome.Record(data, size);
  return 0;
}
