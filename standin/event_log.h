// What Outlook would have seen, in order, written to a JSON file as it happens
// (rewritten whole after each event, so a crash loses nothing already seen).
// Events come from the dialog's thread and the debug-output listener's.
#pragma once

#include <mutex>
#include <string>

#include <nlohmann/json.hpp>

namespace quillon::standin {

class EventLog {
 public:
  // An empty path keeps the log in memory only.
  explicit EventLog(std::wstring path);

  // Appends {"event": name, ...details}.
  void Record(const std::string& name, nlohmann::json details = nlohmann::json::object());
  nlohmann::ordered_json Events() const;

 private:
  void Flush() const;

  mutable std::mutex mutex_;
  std::wstring path_;
  nlohmann::ordered_json events_ = nlohmann::ordered_json::array();
};

}  // namespace quillon::standin
