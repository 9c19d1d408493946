// What the end-to-end tests share: the sample profile imported into the (Wine)
// registry, a scenario derived from the sample one, the stand-in run as a separate
// process, and readers for registry bytes and the stand-in's log.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "standin/driver/ui_driver.h"
#include "standin/standin_protocol.h"
#include "tests/core/profile_test_support.h"
#include "tests/win/sample_profile.h"

namespace quillon::e2e {

using quillon::testing::Bytes;
using quillon::testing::Dwords;
using quillon::testing::StoredUtf16;
using quillon::testing::StoredValue;
using win::testing::RegistryImage;  // for "nothing was written"
using Lines = std::vector<std::wstring>;
using Names = std::vector<std::string>;

inline const std::string kProfileKey = win::testing::kSampleProfileKey;
inline const std::string kAccountsKey = kProfileKey + "\\9375CFF0413111d3B88A00104B2A6676";

inline std::string AccountKey(const char* accountName) { return kAccountsKey + "\\" + accountName; }
inline StoredValue Dword(std::uint32_t number) { return {platform::kRegDword, Dwords({number})}; }
// What the page asks before it removes a line of a list.
inline constexpr wchar_t kDeleteQuestion[] = L"Are you sure you want to delete the selected item from the list?";
// What the page asks after a save that needs Outlook restarted.
inline constexpr wchar_t kRestartQuestion[] =
    L"Outlook wiil be restarted to finish the configuration.\rRestart it now?";

// Values below HKEY_CURRENT_USER through the registry store the page itself uses; a
// missing value reads as type 0 without bytes, so that a check fails rather than crashes.
StoredValue ReadValue(const std::string& key, const char* name);
Names SubKeys(const std::string& key);
void WriteValue(const std::string& key, const char* name, const StoredValue& value);
void RemoveKey(const std::string& key);

// The next dialog of the page shows `text` and is answered with `button`.
::testing::AssertionResult AnswerDialog(DWORD processId, const std::wstring& text, int button);

// One run of the stand-in Outlook on the sample profile.
class StandinSession {
 public:
  // Deletes the sample profile and imports samples/quillon-sample.reg afresh; the
  // scenario is the sample's with `changes` merged over it.
  // `beforeStart` runs after the import, before the stand-in starts.
  explicit StandinSession(const nlohmann::json& changes, const std::wstring& extraArguments = L"",
                          const std::function<void()>& beforeStart = nullptr);
  ~StandinSession();

  // The Options dialog once the stand-in shows it; none if the stand-in did not start.
  std::optional<standin::driver::OptionsWindow> Options() const {
    return started_ ? standin::driver::OptionsWindow::Wait(process_.Id()) : std::nullopt;
  }
  DWORD ProcessId() const { return process_.Id(); }
  // Waits for the end of the stand-in; its exit code, or none when it is still running.
  std::optional<DWORD> WaitForEnd() { return process_.Wait(); }
  // The stand-in's log events with this name.
  std::vector<nlohmann::json> EventsNamed(const std::string& name) const;
  // Names of the events of interest in order, with their inspector where they have one: "Save 2".
  Names OutlookSaw() const;

 private:
  nlohmann::json Events() const;

  std::wstring scenarioPath_, logPath_;
  standin::driver::Process process_;
  bool started_ = false;
};

}  // namespace quillon::e2e
