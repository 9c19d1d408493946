// What Outlook would have seen, in order, written to a JSON file as it happens
// (rewritten whole after each event, so a crash loses nothing already seen).
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace quillon::standin {

class EventLog {
 public:
  // An empty path keeps the log in memory only.
  explicit EventLog(std::wstring path);

  // Appends {"event": name, ...details}.
  void Record(const std::string& name, nlohmann::json details = nlohmann::json::object());
  const nlohmann::ordered_json& Events() const { return events_; }

 private:
  void Flush() const;

  std::wstring path_;
  nlohmann::ordered_json events_ = nlohmann::ordered_json::array();
};

}  // namespace quillon::standin
