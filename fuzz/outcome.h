// What one input came to, as a line "<input hash> <outcome hash>" appended to
// the file $QUILLON_FUZZ_OUTCOMES names. scripts/test-fuzz.sh runs every
// starting input alone, twice in a row and the corpus in both orders, and
// wants one outcome per input: a target that keeps its world between inputs
// must leave nothing behind that changes what the next one does.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "testing/fake_controls.h"
#include "testing/scripted_user.h"

namespace quillon::fuzz {

class Outcome {
 public:
  // Targets describe their outcome only then: it costs time.
  static bool Recording() {
    static const char* const file = std::getenv("QUILLON_FUZZ_OUTCOMES");
    return file != nullptr;
  }

  Outcome& Add(std::string_view bytes) {
    AddNumber(bytes.size());
    for (const char byte : bytes) Mix(static_cast<std::uint8_t>(byte));
    return *this;
  }
  Outcome& Add(std::u16string_view text) {
    AddNumber(text.size());
    for (const char16_t unit : text) AddNumber(unit);
    return *this;
  }
  Outcome& AddNumber(std::uint64_t number) {
    for (int shift = 0; shift < 64; shift += 8) Mix(static_cast<std::uint8_t>(number >> shift));
    return *this;
  }
  Outcome& Add(const testing::FakeListBox& list) {
    AddNumber(static_cast<std::uint64_t>(list.ListCount()));
    for (std::int16_t i = 0; i < list.ListCount(); ++i) Add(list.List(i));
    return *this;
  }
  Outcome& Add(const testing::ScriptedUser& user) {
    AddNumber(user.Dialogs().size());
    for (const testing::DialogRecord& dialog : user.Dialogs()) Add(dialog.text);
    AddNumber(user.Unexpected().size());
    return *this;
  }

  void Record(const std::uint8_t* data, std::size_t size) const {
    if (!Recording()) return;
    Outcome input;
    input.Add(std::string_view(reinterpret_cast<const char*>(data), size));
    std::FILE* file = std::fopen(std::getenv("QUILLON_FUZZ_OUTCOMES"), "a");
    if (file == nullptr) return;
    std::fprintf(file, "%016llx %016llx\n", static_cast<unsigned long long>(input.hash_),
                 static_cast<unsigned long long>(hash_));
    std::fclose(file);
  }

 private:
  void Mix(std::uint8_t byte) { hash_ = (hash_ ^ byte) * 0x100000001b3ULL; }  // FNV-1a
  std::uint64_t hash_ = 0xcbf29ce484222325ULL;
};

}  // namespace quillon::fuzz
