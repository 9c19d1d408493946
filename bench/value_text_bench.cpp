// ReadValueText on large values: one text, an 8-bit text and a long SMTP list.
#include <string>

#include <benchmark/benchmark.h>

#include "profile/registry_access.h"
#include "testing/memory_registry_store.h"
#include "testing/page_rig.h"

namespace quillon::bench {
namespace {

constexpr char kKeyPath[] = "Software\\Bench";

void ReadRepeatedly(benchmark::State& state, std::string_view name, testing::Bytes bytes,
                    profile::ValueTextMode mode) {
  testing::MemoryRegistryStore store;
  store.PutValue(platform::kCurrentUser, kKeyPath, name, platform::kRegBinary, bytes);
  const platform::HKey key = profile::OpenKey(store, platform::kCurrentUser, u"Software\\Bench");
  const std::u16string wide(name.begin(), name.end());
  for (auto _ : state) benchmark::DoNotOptimize(profile::ReadValueText(store, key, wide, mode));
  if (store.CloseKey(key) != platform::kErrorSuccess) state.SkipWithError("the key did not close");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_ReadValueTextUtf16(benchmark::State& state) {
  const std::u16string text(static_cast<std::size_t>(state.range(0)) / 2 - 1, u'a');
  ReadRepeatedly(state, "Display Name", testing::StoredUtf16(text), profile::ValueTextMode::kSingleText);
}
BENCHMARK(BM_ReadValueTextUtf16)->Arg(1 << 10)->Arg(1 << 13)->Arg(1 << 15)->Arg(1 << 18);

void BM_ReadValueTextEightBit(benchmark::State& state) {
  testing::Bytes bytes(static_cast<std::size_t>(state.range(0)), 'a');
  bytes.back() = 0;
  ReadRepeatedly(state, "001e3001", bytes, profile::ValueTextMode::kSingleText);
}
BENCHMARK(BM_ReadValueTextEightBit)->Arg(1 << 10)->Arg(1 << 13)->Arg(1 << 15)->Arg(1 << 18);

void BM_ReadValueTextSmtpList(benchmark::State& state) {
  std::vector<std::u16string> items;
  std::size_t size = 4;
  for (int i = 0; size < static_cast<std::size_t>(state.range(0)); ++i) {
    const std::string digits = std::to_string(i);
    items.push_back((i % 3 ? u"smtp:alias" : u"X400:c=US;s=alias") +
                    std::u16string(digits.begin(), digits.end()) + u"@corp.example");
    size += 4 + 2 * (items.back().size() + 1);
  }
  ReadRepeatedly(state, "101f6637", testing::MultiValued(items),
                 profile::ValueTextMode::kSmtpAddresses);
}
BENCHMARK(BM_ReadValueTextSmtpList)->Arg(1 << 10)->Arg(1 << 13)->Arg(1 << 15)->Arg(1 << 18);

}  // namespace
}  // namespace quillon::bench
