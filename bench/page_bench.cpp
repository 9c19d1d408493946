// The page against the size of the profile: load plus Apply by the number of
// identity accounts, and the list's scroll extent by the number of lines.
#include <algorithm>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/call_minimum.h"
#include "testing/page_rig.h"

namespace quillon::bench {
namespace {

using testing::SweepWorld;

constexpr std::int32_t kFirstIdentity = 0x100;

std::u16string Decimal(int value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// A profile whose account store holds `count` identities besides its Exchange
// and mail accounts.
void SeedIdentities(SweepWorld& world, int count) {
  std::vector<std::uint32_t> order = {1, 2, 3, 4};
  for (int i = 0; i < count; ++i) {
    const std::int32_t number = kFirstIdentity + i;
    world.SeedIdentity(number, u"Identity " + Decimal(i),
                       u"identity" + Decimal(i) + u"@corp.example", i % 2 ? u"Formal" : u"");
    order.push_back(static_cast<std::uint32_t>(number));
  }
  world.SeedOrderList(order);
  world.SeedNextAccountID(kFirstIdentity + count);
}

void LoadAndApply(SweepWorld& world) {
  world.faults.ClearCalls();  // the store's call log would grow without end
  world.OpenPage();
  world.page().MarkDirty();
  world.user.AnswerMessageBox(platform::kAnswerNo);
  world.page().PropertyPage_Apply();
  world.ClosePage();
}

bool IsAccountValueSet(const testing::FaultInjectingRegistryStore::Call& call, const std::string& store) {
  return call.operation == testing::FaultInjectingRegistryStore::Operation::SetValueEx &&
         call.keyPath.size() > store.size() && call.keyPath.starts_with(store);
}

// Registry calls per identity of one load and one Apply of an unchanged page,
// from the store's call log, next to the fewest the formats allow.
void CountCalls(benchmark::State& state, SweepWorld& world, int identities) {
  world.faults.ClearCalls();
  world.OpenPage();
  const double loadCalls = static_cast<double>(world.faults.Calls().size());
  world.faults.ClearCalls();
  world.page().MarkDirty();
  world.user.AnswerMessageBox(platform::kAnswerNo);
  world.page().PropertyPage_Apply();
  const auto& calls = world.faults.Calls();
  const std::string store = "HKEY_CURRENT_USER\\" + world.AccountsPath() + "\\";
  const auto valueSets = std::count_if(calls.begin(), calls.end(), [&](const auto& call) {
    return IsAccountValueSet(call, store) && !call.keyPath.ends_with(world.AccountPath(1));
  });
  const double applyMinimum = ApplyCallsPerIdentity(identities, static_cast<double>(valueSets));
  state.counters["load_calls/id"] = loadCalls / identities;
  state.counters["load_min/id"] = kLoadCallsPerIdentity;
  state.counters["apply_calls/id"] = static_cast<double>(calls.size()) / identities;
  state.counters["apply_min/id"] = applyMinimum;
  world.ClosePage();
}

void BM_LoadAndApply(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  SweepWorld world;
  SeedIdentities(world, count - 2);  // plus the world's own two identities
  LoadAndApply(world);
  world.OpenPage();
  if (world.ui().List1.ListCount() != count) state.SkipWithError("the load lost identities");
  world.ClosePage();
  CountCalls(state, world, count);
  for (auto _ : state) LoadAndApply(world);
  state.counters["accounts"] = count;
}
BENCHMARK(BM_LoadAndApply)->Arg(10)->Arg(100)->Arg(500)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  SweepWorld world;
  SeedIdentities(world, count - 2);
  for (auto _ : state) {
    world.faults.ClearCalls();
    world.OpenPage();
  }
}
BENCHMARK(BM_Load)->Arg(10)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_ListHScroll1(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  SweepWorld world;
  world.OpenPage();
  for (int i = world.ui().List1.ListCount(); i < lines; ++i) {
    world.ui().List1.AddItem(u"Identity " + Decimal(i) + u" <identity" + Decimal(i) + u"@corp.example>");
  }
  for (auto _ : state) world.page().ListHScroll1();
  benchmark::DoNotOptimize(world.ui().List1.HorizontalExtent());
}
BENCHMARK(BM_ListHScroll1)->Arg(100)->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon::bench
