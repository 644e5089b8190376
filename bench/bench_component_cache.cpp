// The cache exports' throughput: the in-memory cache's Get and Set through
// tarn_CacheGet / tarn_CacheSet (small keys), and the Memcached client pool's
// round trips on loopback against memcslap doing the same operations in the
// same run (one connection each, 50-byte keys, 400-byte values, as memcslap
// makes them).
//
//   bench_component_cache [--benchmark_min_time=...]
//
// Starts its own memcached on 127.0.0.1 (Debian's memcached; memcslap from
// libmemcached-tools) and stops it at the end.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "component/cache_exports.h"
#include "component/command_slots.h"
#include "component/module_info.h"
#include "component/server_suite.h"
#include "runtime/rt_heap.h"
#include "runtime/runtime_libraries.h"
#include "support/memcached_server.h"

namespace {

using vlmr::rt::RtType;
using vlmr::rt::RtValue;
namespace component = vlmr::component;

constexpr int kMemcachedOperations = 20000;

// A cache object variable with its cache, made through the create commands.
struct Cache {
  void* object = nullptr;
  RtValue Ref() {
    return RtValue::Make(static_cast<RtType>(component::kCacheObjectTag),
                         reinterpret_cast<uintptr_t>(&object));
  }
};

// Keys and byte-array values prepared once, so the loop measures the calls.
struct Workload {
  std::vector<std::string> keys;
  std::vector<char> value;  // a byte-array block
  Workload(int count, size_t keyLength, size_t valueLength) {
    for (int i = 0; i < count; ++i) {
      std::string key(keyLength, 'k');
      const std::string number = std::to_string(i);
      key.replace(1, number.size(), number);
      keys.push_back(key);
    }
    value.resize(8 + valueLength, 'v');
    const int32_t header[2] = {1, static_cast<int32_t>(valueLength)};
    std::memcpy(value.data(), header, sizeof header);
  }
};

void SetLoop(benchmark::State& state, Cache& cache, const Workload& work) {
  size_t i = 0;
  for (auto _ : state) {
    RtValue args[4] = {cache.Ref(), RtValue::Text(work.keys[i].c_str()),
                       RtValue::Bytes(work.value.data()), RtValue::Int(0)};
    RtValue result{};
    tarn_CacheSet(&result, 4, args);
    if (!result.AsBool()) state.SkipWithError("Set failed");
    if (++i == work.keys.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}

void GetLoop(benchmark::State& state, Cache& cache, const Workload& work) {
  size_t i = 0;
  for (auto _ : state) {
    RtValue args[2] = {cache.Ref(), RtValue::Text(work.keys[i].c_str())};
    RtValue result{};
    tarn_CacheGet(&result, 2, args);
    if (result.AsPointer<void>() == nullptr) state.SkipWithError("Get missed");
    vlmr::rt::rt_free(result.AsPointer<void>());
    if (++i == work.keys.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}

// Keeps each benchmark's operations per second.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  RateReporter() : ConsoleReporter(OO_Tabular) {}  // plain text: the rates are read, not seen
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const auto rate = run.counters.find("items_per_second");
      if (!run.error_occurred && rate != run.counters.end()) {
        rates_[run.benchmark_name()] = rate->second.value;
      }
    }
  }
  double Rate(const std::string& prefix) const {
    for (const auto& [name, rate] : rates_) {
      if (name.rfind(prefix, 0) == 0) return rate;
    }
    return 0;
  }

 private:
  std::map<std::string, double> rates_;
};

// memcslap's operations per second for one test ("get" or "set"), 0 when it
// could not run.
double Memcslap(const std::string& servers, const std::string& test) {
  const std::string command = "memcslap --servers=" + servers + " --test=" + test +
                              " --concurrency=1 --execute-number=" +
                              std::to_string(kMemcachedOperations) + " 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return 0;
  std::string output;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  const std::regex line("Time to " + test + " +[0-9]+ keys by +1 threads: +([0-9.]+) seconds");
  std::smatch match;
  if (!std::regex_search(output, match, line)) return 0;
  const double seconds = std::stod(match[1]);
  return seconds > 0 ? kMemcachedOperations / seconds : 0;
}

void PrintComparison(const char* operation, double ours, double theirs) {
  std::printf("%-4s round trips  ours %9.0f /s   memcslap %9.0f /s", operation, ours, theirs);
  if (ours > 0 && theirs > 0) std::printf("   ours = %.0f%%", 100.0 * ours / theirs);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  component::NotifyServerSuite(vlmr::rt::kNotifyRuntimeCallback,
                               reinterpret_cast<intptr_t>(&vlmr::rt::notify_runtime), 0);
  vlmr::test::MemcachedServer server;
  if (!server.Started()) {
    std::fprintf(stderr, "bench_component_cache: memcached did not start\n");
    return 1;
  }
  Cache local, memcached;
  RtValue localArgs[3] = {local.Ref(), RtValue::Int(100000), RtValue::Int(64 << 20)};
  RtValue memcachedArgs[3] = {memcached.Ref(), RtValue::Text(server.Address().c_str()),
                              RtValue::Int(1)};
  RtValue made{};
  component::CommandEntry(component::kCacheCreateLocal)(&made, 3, localArgs);
  component::CommandEntry(component::kCacheCreateMemcached)(&made, 3, memcachedArgs);

  const Workload small(1000, 16, 16);
  const Workload memcslapLike(kMemcachedOperations, 50, 400);
  // Rates in wall-clock time: a round trip mostly waits for the server.
  benchmark::RegisterBenchmark("LocalSet/16B", [&](auto& s) { SetLoop(s, local, small); })
      ->UseRealTime();
  benchmark::RegisterBenchmark("LocalGet/16B", [&](auto& s) { GetLoop(s, local, small); })
      ->UseRealTime();
  benchmark::RegisterBenchmark("MemcachedSet/400B",
                               [&](auto& s) { SetLoop(s, memcached, memcslapLike); })
      ->Iterations(kMemcachedOperations)
      ->UseRealTime();
  benchmark::RegisterBenchmark("MemcachedGet/400B",
                               [&](auto& s) { GetLoop(s, memcached, memcslapLike); })
      ->Iterations(kMemcachedOperations)
      ->UseRealTime();
  benchmark::Initialize(&argc, argv);
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nLocal cache through the exports: Set %.2f M ops/s, Get %.2f M ops/s (one core)\n",
              reporter.Rate("LocalSet") / 1e6, reporter.Rate("LocalGet") / 1e6);
  PrintComparison("set", reporter.Rate("MemcachedSet"), Memcslap(server.Address(), "set"));
  PrintComparison("get", reporter.Rate("MemcachedGet"), Memcslap(server.Address(), "get"));
  return 0;
}
