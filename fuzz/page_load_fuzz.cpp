// The page's load from arbitrary account-store contents (accounts under odd
// key names, any kind, any text and signature values, a broken order list,
// folder list and Reply-To format), then an Apply of the unchanged page: at
// once (nothing is dirty, nothing is written) and after MarkDirty (only what a
// save rewrites may change). Every input starts from the same empty profile.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/outcome.h"
#include "fuzz/registry_image.h"
#include "fuzz/reused_world.h"
#include "platform/ansi.h"
#include "platform/text.h"
#include "profile/account_store.h"
#include "profile/profile_values.h"
#include "testing/page_rig.h"

namespace {

using namespace quillon;
using testing::Bytes;
using testing::PageRig;

constexpr const char* kTextValues[] = {"Account Name", "Display Name", "Email", "New Signature",
                                       "Reply-Forward Signature"};

// "none", "NONE", a real server or nothing: what makes a POP3-class account an identity.
void PutServer(PageRig& rig, const std::string& path, const char* name, std::uint8_t choice) {
  static constexpr const char16_t* kServers[] = {u"none", u"NONE", u"mail.example"};
  if (choice % 4 < 3) rig.PutText(path, name, kServers[choice % 4]);
}

void PutAccount(PageRig& rig, FuzzedDataProvider& input) {
  std::string keyName = input.ConsumeBool()
                            ? platform::ToAnsi(profile::AccountKeyName(input.ConsumeIntegral<std::int32_t>()))
                            : input.ConsumeRandomLengthString(10);
  if (keyName.empty() || keyName.find_first_of(std::string_view("\\\0", 2)) != std::string::npos) {
    keyName = "x";
  }
  const std::string path = rig.AccountsPath() + "\\" + keyName;
  const auto kind = input.ConsumeIntegral<std::uint8_t>();
  const std::string clsid = kind % 3 == 0   ? platform::ToAnsi(profile::kIdentityAccountClsid)
                            : kind % 3 == 1 ? "{00000000-0000-0000-0000-000000000000}"
                                            : "";
  if (!clsid.empty()) rig.Put(path, "clsid", Bytes(clsid.begin(), clsid.end()), platform::kRegSz);
  PutServer(rig, path, "POP3 Server", input.ConsumeIntegral<std::uint8_t>());
  PutServer(rig, path, "SMTP Server", input.ConsumeIntegral<std::uint8_t>());
  if (kind & 0x10) rig.PutText(path, "Service Name", kind & 0x20 ? u"msems" : u"Other");
  for (const char* name : kTextValues) {
    if (!input.ConsumeBool()) continue;
    const auto length = input.ConsumeIntegralInRange<std::size_t>(0, 64);
    rig.Put(path, name, input.ConsumeBytes<std::uint8_t>(length),
            input.ConsumeBool() ? platform::kRegBinary : platform::kRegSz);
  }
}

void PutProfileValue(PageRig& rig, FuzzedDataProvider& input, const std::string& path,
                     std::string_view name) {
  if (!input.ConsumeBool()) return;
  const auto length = input.ConsumeIntegralInRange<std::size_t>(0, 48);
  rig.Put(path, name, input.ConsumeBytes<std::uint8_t>(length),
          input.ConsumeBool() ? platform::kRegBinary : platform::kRegDword);
}

std::string AccountPrefix(const PageRig& rig, std::u16string_view id) {
  const auto number = text::ParseHex(id);
  return number ? "HKCU\\" + rig.AccountPath(*number) + "\\" : std::string("HKCU\\?");
}

// What a save of the loaded page may rewrite: the identity accounts it
// deletes (by number), accounts it creates (new keys), the account order and
// next number, the Exchange account's name, the folder list and the format.
std::vector<std::string> SaveMayWrite(const PageRig& rig) {
  const std::string accounts = "HKCU\\" + rig.AccountsPath() + "\\";
  std::vector<std::string> allowed = {
      accounts + ":NextAccountID", accounts + ":" + platform::ToAnsi(profile::kAccountOrderValue),
      rig.ProfilePrefix() + ":monitoredfolders", rig.ProfilePrefix() + ":replyaddressformat"};
  for (const std::u16string& id : rig.module.vAccIDs) allowed.push_back(AccountPrefix(rig, id));
  if (!rig.module.sExchangeID.empty()) {
    allowed.push_back(AccountPrefix(rig, rig.module.sExchangeID) + ":Account Name");
  }
  return allowed;
}

bool NewAccountKey(const fuzz::FlatImage& before, const std::string& accounts,
                   const std::string& change) {
  if (!change.starts_with(accounts)) return false;
  const std::size_t end = change.find('\\', accounts.size());
  return end != std::string::npos && !before.Contains(std::string_view(change).substr(0, end + 1));
}

// What stays from input to input: the world and the images' buffers.
struct Reused {
  fuzz::ReusedWorld<PageRig> world;
  fuzz::FlatImage before, loaded, applied, saved;
};

void RecordOutcome(const std::uint8_t* data, std::size_t size, const Reused& reused,
                   const fuzz::Outcome& atLoad, const PageRig& rig) {
  if (!fuzz::Outcome::Recording()) return;
  fuzz::Outcome outcome = atLoad;
  for (const fuzz::FlatImage* image : {&reused.before, &reused.loaded, &reused.applied, &reused.saved}) {
    outcome.Add(image->Text());
  }
  outcome.Add(rig.user).AddNumber(rig.module.bRestart).AddNumber(rig.module.bReread);
  outcome.AddNumber(rig.outlook.journal.size());
  outcome.Record(data, size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  static Reused reused;
  const auto turn = reused.world.Enter();
  PageRig& rig = turn.world();
  rig.SeedExchangeAccount(input.ConsumeIntegralInRange<std::int32_t>(0, 20), u"Microsoft Exchange Server");
  const int accounts = input.ConsumeIntegralInRange(0, 6);
  for (int i = 0; i < accounts; ++i) PutAccount(rig, input);
  PutProfileValue(rig, input, rig.AccountsPath(), platform::ToAnsi(profile::kAccountOrderValue));
  PutProfileValue(rig, input, rig.AccountsPath(), "NextAccountID");
  PutProfileValue(rig, input, rig.ProfilePath(), "replyaddressformat");
  PutProfileValue(rig, input, rig.ProfilePath(), "monitoredfolders");
  reused.before.Take(rig.registry);

  rig.OpenPage();
  FUZZ_CHECK(rig.registry.OpenHandleCount() == 0);
  FUZZ_CHECK(rig.ui().List2.ListCount() == rig.ui().List1.ListCount());
  FUZZ_CHECK(rig.ui().List3.ListCount() == rig.ui().List1.ListCount());
  FUZZ_CHECK(!rig.page().PropertyPage_Dirty());
  fuzz::Outcome atLoad;
  if (fuzz::Outcome::Recording()) {
    for (const auto* list : {&rig.ui().List1, &rig.ui().List2, &rig.ui().List3, &rig.ui().List4}) {
      atLoad.Add(*list);
    }
  }
  // The load writes at most the folder list, rebuilt from what it read.
  reused.loaded.Take(rig.registry);
  FUZZ_CHECK(ChangesOutside(reused.before, reused.loaded, {rig.ProfilePrefix() + ":monitoredfolders"}).empty());

  rig.page().PropertyPage_Apply();
  FUZZ_CHECK(rig.user.Dialogs().empty());
  reused.applied.Take(rig.registry);
  FUZZ_CHECK(ChangesOutside(reused.loaded, reused.applied, {}).empty());

  rig.page().MarkDirty();
  rig.user.AnswerMessageBox(platform::kAnswerNo);
  rig.page().PropertyPage_Apply();
  FUZZ_CHECK(rig.user.Unexpected().empty());
  FUZZ_CHECK(rig.registry.OpenHandleCount() == 0);
  const std::string accountsPrefix = "HKCU\\" + rig.AccountsPath() + "\\";
  reused.saved.Take(rig.registry);
  for (const std::string& change : ChangesOutside(reused.loaded, reused.saved, SaveMayWrite(rig))) {
    FUZZ_CHECK(NewAccountKey(reused.loaded, accountsPrefix, change));
  }
  rig.ClosePage();
  FUZZ_CHECK(rig.registry.OpenHandleCount() == 0);
  RecordOutcome(data, size, reused, atLoad, rig);
  return 0;
}
