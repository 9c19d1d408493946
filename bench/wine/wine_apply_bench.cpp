// Apply of 100 identities on the real registry, timed next to `regedit /S`
// importing the very keys and values that Apply wrote. Prints both and the
// ratio. Works on a profile of its own, which it removes at the end.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "page/quillon_page.h"
#include "platform/ansi.h"
#include "profile/account_store.h"
#include "profile/profile_values.h"
#include "profile/registry_access.h"
#include "testing/fake_controls.h"
#include "testing/fake_outlook.h"
#include "testing/scripted_user.h"
#include "bench/wine/timed_process.h"
#include "win/registry/win32_registry_store.h"

namespace {

using namespace quillon;
using Clock = std::chrono::steady_clock;

constexpr char16_t kProfile[] = u"Quillon Benchmark";
constexpr int kIdentities = 100;
constexpr int kRounds = 7;
// Every value an identity account can hold, and the account store's own two.
constexpr const char* kAccountValues[] = {
    "Account Name", "clsid", "Display Name", "Email", "POP3 Remember Passwd", "POP3 Server",
    "POP3 User", "SMTP Server", "Is Account Disabled", "New Signature", "Reply-Forward Signature"};

std::string Ansi(std::u16string_view text) { return platform::ToAnsi(text); }

void RemoveProfile(platform::RegistryStore& store) {
  profile::DeleteKeyTree(store, platform::kCurrentUser, profile::ProfileKeyPath(kProfile));
}

// The profile as Outlook leaves it: an Exchange account and the class that
// marks identity accounts.
void SeedProfile(platform::RegistryStore& store) {
  const std::u16string accounts = profile::AccountsKeyPath(kProfile);
  const profile::RegOutcome written[] = {
      profile::CreateKeyAndSetValue(store, platform::kClassesRoot,
                                    u"CLSID\\" + std::u16string(profile::kIdentityAccountClsid), u"",
                                    std::u16string(u"POP3/SMTP"), platform::kRegSz),
      profile::WriteBinaryValue(store, accounts + u"\\00000001", u"Service Name",
                                profile::TextToBytes(std::u16string(u"MSEMS") + u'\0')),
      profile::WriteDwordValue(store, accounts, u"NextAccountID", 2),
      profile::WriteBinaryValue(store, accounts, profile::kAccountOrderValue,
                                std::vector<std::uint8_t>{1, 0, 0, 0})};
  for (const profile::RegOutcome& outcome : written) {
    if (!outcome) throw std::runtime_error("the profile could not be seeded: " + Ansi(outcome.call()));
  }
}

double Milliseconds(Clock::duration elapsed) {
  return std::chrono::duration<double, std::milli>(elapsed).count();
}

double TimedApply(win::Win32RegistryStore& store) {
  ModuleState module(store);
  testing::FakeOutlook outlook(u"16.0.0.5000");
  outlook.addIn->userName = u"Ann Lee";
  outlook.addIn->profileName = kProfile;
  testing::ScriptedUser user;
  testing::FakePageControls ui;
  QuillonPage page(PageEnvironment{ui.Controls(), user, outlook.container, module, {}});
  page.UserControl_InitProperties();
  for (int i = 0; i < kIdentities; ++i) {
    const std::string n = std::to_string(i);
    ui.List1.AddItem(u"Identity " + std::u16string(n.begin(), n.end()) + u" <identity" +
                     std::u16string(n.begin(), n.end()) + u"@corp.example>");
    ui.List2.AddItem(i % 2 ? u"Formal" : u"");
    ui.List3.AddItem(u"");
  }
  page.MarkDirty();
  user.AnswerMessageBox(platform::kAnswerNo);
  const auto start = Clock::now();
  page.PropertyPage_Apply();
  return Milliseconds(Clock::now() - start);
}

void AppendValue(std::string& reg, const std::string& name,
                 std::uint32_t type, const std::vector<std::uint8_t>& bytes) {
  char head[16];
  std::snprintf(head, sizeof head, "=hex(%x):", static_cast<unsigned>(type));
  reg += "\"" + name + "\"" + head;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, i ? ",%02x" : "%02x", bytes[i]);
    reg += hex;
  }
  reg += "\r\n";
}

// One key's listed values in .reg syntax, the exact type and bytes kept.
void AppendKey(std::string& reg, platform::RegistryStore& store, const std::string& path,
               const std::vector<std::string>& names) {
  reg += "\r\n[HKEY_CURRENT_USER\\" + path + "]\r\n";
  platform::HKey key = platform::kNoKey;
  if (store.OpenKeyEx(platform::kCurrentUser, path, platform::kKeyRead, key) != 0) return;
  for (const std::string& name : names) {
    std::uint32_t type = 0, size = 0;
    if (store.QueryValueEx(key, name, &type, nullptr, &size) != 0) continue;
    std::vector<std::uint8_t> bytes(size);
    if (size && store.QueryValueEx(key, name, &type, bytes.data(), &size) != 0) continue;
    AppendValue(reg, name, type, bytes);
  }
  if (store.CloseKey(key) != 0) reg += "; the key did not close\r\n";
}

// What Apply wrote: the identity accounts, "NextAccountID" and the order list.
std::string ExportApplied(platform::RegistryStore& store) {
  const std::string accounts = Ansi(profile::AccountsKeyPath(kProfile));
  std::string reg = "Windows Registry Editor Version 5.00\r\n";
  AppendKey(reg, store, accounts, {"NextAccountID", Ansi(profile::kAccountOrderValue)});
  const std::vector<std::string> names(std::begin(kAccountValues), std::end(kAccountValues));
  for (int i = 0; i < kIdentities; ++i) {
    AppendKey(reg, store, accounts + "\\" + Ansi(profile::AccountKeyName(2 + i)), names);
  }
  return reg;
}

double TimedRegeditImport(const std::string& file) {
  std::wstring wide(file.size(), L'\0');  // an ANSI path: at most one unit per byte
  wide.resize(MultiByteToWideChar(CP_ACP, 0, file.data(), static_cast<int>(file.size()), wide.data(),
                                  static_cast<int>(wide.size())));
  return bench::TimedProcess(L"regedit.exe /S \"" + wide + L"\"");
}

// Wine's regedit stores a REG_SZ given as hex(1) with a NUL added; Apply's
// "clsid" has none. Dropping one final NUL byte of each REG_SZ line compares
// the rest exactly.
std::string WithoutStringTerminators(std::string reg) {
  std::size_t line = 0;
  while ((line = reg.find("=hex(1):", line)) != std::string::npos) {
    const std::size_t end = reg.find("\r\n", line);
    if (end >= 3 && reg.compare(end - 3, 3, ",00") == 0) reg.erase(end - 3, 3);
    line = end;
  }
  return reg;
}

// The first line where the two exports differ, for the report.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  const std::size_t start = expected.rfind('\n', at) == std::string::npos ? 0 : expected.rfind('\n', at) + 1;
  return "Apply wrote: " + expected.substr(start, 120) + "\n    imported:    " + actual.substr(start, 120);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  win::Win32RegistryStore store;
  std::vector<double> applies, imports;
  std::string exported;
  for (int round = 0; round < kRounds; ++round) {
    RemoveProfile(store);
    SeedProfile(store);
    applies.push_back(TimedApply(store));
    exported = ExportApplied(store);
  }
  char directory[MAX_PATH];
  GetTempPathA(sizeof directory, directory);
  const std::string file = std::string(directory) + "quillon-bench-apply.reg";
  std::ofstream(file, std::ios::binary) << exported;
  for (int round = 0; round < kRounds; ++round) {
    RemoveProfile(store);
    SeedProfile(store);
    const double elapsed = TimedRegeditImport(file);
    if (elapsed < 0) {
      std::printf("regedit could not be started\n");
      return 1;
    }
    imports.push_back(elapsed);
  }
  // The import must have produced what Apply wrote, or the comparison is void.
  const std::string imported = ExportApplied(store);
  const bool same = WithoutStringTerminators(imported) == WithoutStringTerminators(exported);
  RemoveProfile(store);
  DeleteFileA(file.c_str());

  const double apply = Median(applies), import = Median(imports);
  std::printf("Apply of %d identities (median of %d): %.1f ms\n", kIdentities, kRounds, apply);
  std::printf("regedit /S of the same keys (median of %d): %.1f ms (%zu bytes of .reg)\n", kRounds,
              import, exported.size());
  std::printf("ratio Apply / regedit: %.2f\n", apply / import);
  std::printf("imported keys equal Apply's: %s%s\n", same ? "yes" : "NO",
              same && imported != exported ? " (but for the NUL regedit adds to REG_SZ)" : "");
  if (!same) std::printf("  %s\n", FirstDifference(exported, imported).c_str());
  return same ? 0 : 1;
}
