#include "standin/event_log.h"

#include <cstdio>

#include "standin/com_support.h"

namespace quillon::standin {

EventLog::EventLog(std::wstring path) : path_(std::move(path)) { Flush(); }

void EventLog::Record(const std::string& name, nlohmann::json details) {
  nlohmann::ordered_json entry{{"event", name}};
  if (details.is_object())
    for (auto& [key, value] : details.items()) entry[key] = value;
  const std::lock_guard<std::mutex> lock(mutex_);
  events_.push_back(std::move(entry));
  Flush();
}

nlohmann::ordered_json EventLog::Events() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return events_;
}

void EventLog::Flush() const {
  if (path_.empty()) return;
  const std::string text = nlohmann::ordered_json{{"events", events_}}.dump(2) + "\n";
  // Written to a side file and renamed, so a reader never sees half a log.
  const std::wstring temp = path_ + L".part";
  FILE* file = _wfopen(temp.c_str(), L"wb");
  if (!file) return;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  if (written && closed) MoveFileExW(temp.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace quillon::standin
