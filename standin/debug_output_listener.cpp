#include "standin/debug_output_listener.h"

#include <cstring>
#include <string>

#include "standin/com_support.h"

namespace quillon::standin {
namespace {

constexpr DWORD kBufferSize = 4096;
constexpr char kReportPrefix[] = "Quillon: ";

// The section's layout, as every writer fills it.
struct DbwinBuffer {
  DWORD processId;
  char text[kBufferSize - sizeof(DWORD)];
};

std::wstring FromAnsiCodePage(const char* text, std::size_t length) {
  const int units = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide.data(), units);
  return wide;
}

}  // namespace

DebugOutputListener::DebugOutputListener(EventLog& log) : log_(log) {
  bufferReady_ = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
  // Two monitors on one section would each take the other's lines.
  if (!bufferReady_ || GetLastError() == ERROR_ALREADY_EXISTS) return;
  dataReady_ = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
  mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBufferSize,
                                L"DBWIN_BUFFER");
  if (!dataReady_ || !mapping_) return;
  view_ = MapViewOfFile(mapping_, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kBufferSize);
  if (!view_) return;
  static_cast<DbwinBuffer*>(view_)->processId = 0;
  thread_ = CreateThread(nullptr, 0, &DebugOutputListener::Run, this, 0, nullptr);
}

DebugOutputListener::~DebugOutputListener() {
  if (thread_) {
    // Every writer of this process has returned by now (they run on this
    // thread); a line it left is taken before the wake-up below is seen.
    stopping_ = true;
    SetEvent(dataReady_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  if (view_) UnmapViewOfFile(view_);
  for (HANDLE handle : {mapping_, dataReady_, bufferReady_}) {
    if (handle) CloseHandle(handle);
  }
}

DWORD WINAPI DebugOutputListener::Run(void* self) {
  static_cast<DebugOutputListener*>(self)->Listen();
  return 0;
}

void DebugOutputListener::Listen() {
  while (!stopping_) {
    SetEvent(bufferReady_);
    if (WaitForSingleObject(dataReady_, INFINITE) != WAIT_OBJECT_0) return;
    TakeBuffer();
  }
}

void DebugOutputListener::TakeBuffer() {
  auto* buffer = static_cast<DbwinBuffer*>(view_);
  const DWORD writer = buffer->processId;
  buffer->processId = 0;  // a wake-up without a writer leaves it so
  if (writer != GetCurrentProcessId()) return;
  std::size_t length = strnlen(buffer->text, sizeof buffer->text);
  if (std::strncmp(buffer->text, kReportPrefix, sizeof kReportPrefix - 1) != 0) return;
  const char* text = buffer->text + sizeof kReportPrefix - 1;
  length -= sizeof kReportPrefix - 1;
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) --length;
  try {
    log_.Record("Diagnostic", {{"text", Narrow(FromAnsiCodePage(text, length))}});
  } catch (...) {
    // A line that cannot be logged is lost; the listener goes on.
  }
}

}  // namespace quillon::standin
