// PropertyPage_Apply with one arbitrary List1 line (and arbitrary signature
// names) through the page's doubles, on a profile that already holds an
// identity, an Exchange account and a mail account of another kind.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "identities/identity_entry_form.h"
#include "page/quillon_page.h"
#include "platform/ansi.h"
#include "profile/account_store.h"
#include "profile/profile_text.h"
#include "profile/profile_values.h"
#include "profile/registry_access.h"
#include "testing/fake_controls.h"
#include "testing/fake_outlook.h"
#include "testing/scripted_user.h"
#include "tests/core/fault_sweep_support.h"

namespace {

using namespace quillon;
using Bytes = std::vector<std::uint8_t>;
constexpr char16_t kProfile[] = u"Main";
constexpr std::int32_t kOldIdentity = 3;
constexpr std::int32_t kNext = 9;

std::string Ansi(std::u16string_view text) { return platform::ToAnsi(text); }
Bytes Stored(std::u16string_view text) { return profile::TextToBytes(std::u16string(text) + u'\0'); }

struct World {
  testing::MemoryRegistryStore registry;
  ModuleState module{registry};
  testing::FakeOutlook outlook;
  testing::ScriptedUser user;
  std::string accounts = Ansi(profile::AccountsKeyPath(kProfile));

  World() {
    outlook.addIn->userName = u"Ann";
    outlook.addIn->profileName = kProfile;
    const std::string clsid = Ansi(profile::kIdentityAccountClsid);
    registry.PutValue(platform::kClassesRoot, "CLSID\\" + clsid, "", platform::kRegSz,
                      {'P', 'O', 'P', '3', 0});
    Account(kOldIdentity, "Account Name", Stored(u"EX [Old <old@example.com>]"));
    Account(kOldIdentity, "clsid", Bytes(clsid.begin(), clsid.end()), platform::kRegSz);
    Account(kOldIdentity, "Display Name", Stored(u"Old"));
    Account(kOldIdentity, "Email", Stored(u"old@example.com"));
    for (const char* server : {"POP3 Server", "POP3 User", "SMTP Server"}) {
      Account(kOldIdentity, server, Stored(u"none"));
    }
    Account(1, "Account Name", Stored(u"Exchange"));
    Account(1, "Service Name", Stored(u"MSEMS"));
    Account(2, "Account Name", Stored(u"Home mail"));
    Account(2, "POP3 Server", Stored(u"pop.example.com"));
    registry.PutValue(platform::kCurrentUser, accounts, "NextAccountID", platform::kRegDword,
                      {kNext, 0, 0, 0});
    registry.PutValue(platform::kCurrentUser, accounts, Ansi(profile::kAccountOrderValue),
                      platform::kRegBinary, {1, 0, 0, 0, 2, 0, 0, 0, kOldIdentity, 0, 0, 0});
  }
  void Account(std::int32_t number, std::string_view name, Bytes bytes,
               std::uint32_t type = platform::kRegBinary) {
    registry.PutValue(platform::kCurrentUser, AccountPath(number), name, type, std::move(bytes));
  }
  std::string AccountPath(std::int32_t number) const {
    return accounts + "\\" + Ansi(profile::AccountKeyName(number));
  }
  std::optional<Bytes> Value(const std::string& path, std::string_view name) const {
    const auto value = registry.GetValue(platform::kCurrentUser, path, name);
    return value ? std::optional(value->bytes) : std::nullopt;
  }
};

struct OpenPage {
  testing::FakePageControls ui;
  QuillonPage page;
  explicit OpenPage(World& world)
      : page(PageEnvironment{ui.Controls(), world.user, world.outlook.container, world.module, {}}) {
    page.UserControl_InitProperties();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::u16string newSignature = fuzz::ConsumeUtf16(input, input.ConsumeIntegral<std::uint8_t>() % 16);
  const std::u16string replySignature = fuzz::ConsumeUtf16(input, input.ConsumeIntegral<std::uint8_t>() % 16);
  const std::u16string line = fuzz::ConsumeUtf16(input, 2048);

  World world;
  const testing::RegistryImage before = testing::TakeImage(world.registry);
  {
    OpenPage open(world);
    open.ui.List1.Clear();
    open.ui.List2.Clear();
    open.ui.List3.Clear();
    open.ui.List1.AddItem(line);
    open.ui.List2.AddItem(newSignature);
    open.ui.List3.AddItem(replySignature);
    open.page.MarkDirty();
    world.user.AnswerMessageBox(platform::kAnswerNo);
    open.page.PropertyPage_Apply();
    open.page.UserControl_Terminate();
  }
  FUZZ_CHECK(world.user.Unexpected().empty());
  FUZZ_CHECK(world.registry.OpenHandleCount() == 0);
  const std::string profileKey = "HKCU\\" + Ansi(profile::ProfileKeyPath(kProfile)) + "\\";
  const testing::RegistryImage after = testing::TakeImage(world.registry);
  FUZZ_CHECK(testing::ChangesOutside(before, after, {profileKey}).empty());
  // Accounts of other kinds keep every value; the Exchange account only its name changes.
  FUZZ_CHECK(world.Value(world.AccountPath(2), "POP3 Server") == Stored(u"pop.example.com"));
  FUZZ_CHECK(world.Value(world.AccountPath(2), "Account Name") == Stored(u"Home mail"));
  FUZZ_CHECK(world.Value(world.AccountPath(1), "Service Name") == Stored(u"MSEMS"));
  FUZZ_CHECK(!world.registry.KeyExists(platform::kCurrentUser, world.AccountPath(kOldIdentity)));

  const IdentityFields fields = ParseIdentityEntry(line);
  const bool created = world.registry.KeyExists(platform::kCurrentUser, world.AccountPath(kNext));
  FUZZ_CHECK(created == fields.complete);
  const auto order = world.Value(world.accounts, Ansi(profile::kAccountOrderValue));
  FUZZ_CHECK(order == (created ? Bytes{1, 0, 0, 0, 2, 0, 0, 0, kNext, 0, 0, 0}
                               : Bytes{1, 0, 0, 0, 2, 0, 0, 0}));
  if (!created) return 0;
  FUZZ_CHECK(world.Value(world.AccountPath(kNext), "Email") == Stored(fields.address));
  FUZZ_CHECK(world.Value(world.AccountPath(kNext), "Display Name") == Stored(fields.displayName));
  FUZZ_CHECK(world.Value(world.accounts, "NextAccountID") == (Bytes{kNext + 1, 0, 0, 0}));

  // A saved identity that holds no TAB or NUL (the load's list separators)
  // comes back as the same display name and address (the load trims the
  // address; only a hand-made line can put blanks inside its brackets).
  if (line.find_first_of(std::u16string_view(u"\t\0", 2)) != std::u16string::npos) return 0;
  OpenPage reopened(world);
  FUZZ_CHECK(reopened.ui.List1.ListCount() <= 1);
  if (reopened.ui.List1.ListCount() == 1) {
    const IdentityFields loaded = ParseIdentityEntry(reopened.ui.List1.List(0));
    FUZZ_CHECK(loaded.displayName == fields.displayName);
    FUZZ_CHECK(loaded.address == profile::TrimSpaces(fields.address));
  }
  reopened.page.UserControl_Terminate();
  return 0;
}
