// What the end-to-end tests share: the sample profile imported into the (Wine)
// registry, a scenario derived from the sample one, the stand-in run as a separate
// process, and readers for registry bytes and the stand-in's log.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "standin/driver/ui_driver.h"
#include "standin/standin_protocol.h"

namespace quillon::e2e {

using Bytes = std::vector<std::uint8_t>;

inline constexpr wchar_t kProfileKey[] =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles\\Quillon Sample";
inline constexpr wchar_t kAccountsKey[] =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles\\Quillon Sample"
    L"\\9375CFF0413111d3B88A00104B2A6676";
inline constexpr wchar_t kOrderList[] = L"{ED475418-B0D6-11D2-8C3B-00104B2A6676}";

// A Linux path as Wine's Z: drive shows it.
std::wstring WindowsPath(const std::string& unixPath);

// Runs a program to its end; its exit code, or none when it could not start or did not end.
std::optional<unsigned long> RunToEnd(const std::wstring& commandLine);

// UTF-16LE code units of `text` and a NUL unit: how the profile store keeps texts.
Bytes StoredText(const std::u16string& text);
Bytes LittleEndianList(std::initializer_list<std::uint32_t> numbers);

struct Value {
  unsigned long type = 0;
  Bytes bytes;
};
// A value below HKEY_CURRENT_USER read with the ANSI call the page uses; none when missing.
std::optional<Value> ReadValue(const std::wstring& key, const char* name);
std::optional<std::uint32_t> ReadDword(const std::wstring& key, const char* name);
bool KeyExists(const std::wstring& key);
std::vector<std::wstring> SubKeys(const std::wstring& key);
// Every value of a key, by name, for comparing a key before and after.
std::vector<std::pair<std::string, Value>> AllValues(const std::wstring& key);
std::wstring AccountKey(const wchar_t* accountName);  // "0000000b" -> its key path
bool WriteBinary(const std::wstring& key, const char* name, const Bytes& bytes);

using Lines = std::vector<std::wstring>;
inline std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

// The next dialog of the page shows `text` and is answered with `button` (gtest assertions).
void Answer(DWORD processId, const std::wstring& text, int button);

// One run of the stand-in Outlook on the sample profile.
class StandinSession {
 public:
  // Deletes the sample profile and imports samples/quillon-sample.reg afresh; the
  // scenario is the sample's with `changes` merged over it.
  // `beforeStart` runs after the import, before the stand-in starts.
  explicit StandinSession(const nlohmann::json& changes, const std::wstring& extraArguments = L"",
                          const std::function<void()>& beforeStart = nullptr);
  ~StandinSession();

  bool Started() const { return started_; }
  DWORD ProcessId() const { return process_.Id(); }
  standin::driver::Process& Process() { return process_; }
  // Waits for the end of the stand-in; its exit code, or none when it is still running.
  std::optional<DWORD> WaitForEnd() { return process_.Wait(); }
  // The stand-in's log: the "events" array.
  nlohmann::json Events() const;
  // The events with this name.
  std::vector<nlohmann::json> EventsNamed(const std::string& name) const;
  // Names of the events of interest in order, with their inspector where they have one: "Save 2".
  std::vector<std::string> OutlookSaw() const;

 private:
  std::wstring scenarioPath_, logPath_;
  standin::driver::Process process_;
  bool started_ = false;
};

}  // namespace quillon::e2e
