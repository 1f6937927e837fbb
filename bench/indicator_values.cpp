// Times each computed indicator over one million bars: median of several runs, in milliseconds.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "api/indicator_builders.hpp"

using namespace qc;

namespace {

double median_ms(const std::function<std::size_t()>& run, int repeats = 7) {
  std::vector<double> times;
  std::size_t sink = 0;
  for (int i = 0; i < repeats; ++i) {
    const auto start = std::chrono::steady_clock::now();
    sink += run();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  if (sink == 0) std::puts("(no values)");
  return times[times.size() / 2];
}

std::size_t values_of(const std::optional<model::Indicator>& ind) {
  return ind ? ind->vectors.at(0).values.size() : 0;
}

}  // namespace

int main() {
  constexpr std::size_t kBars = 1'000'000;
  std::mt19937_64 rng(1);
  std::normal_distribution<double> step(0.0, 1.0);
  std::vector<model::Bar> bars(kBars);
  double price = 1000;
  for (std::size_t i = 0; i < kBars; ++i) {
    auto& b = bars[i];
    b.timestamp = static_cast<std::int64_t>(i) * 60;
    b.open = price;
    price += step(rng);
    b.close = price;
    b.high = std::max(b.open, b.close) + 0.5;
    b.low = std::min(b.open, b.close) - 0.5;
    b.volume = 1000 + 100 * step(rng);
  }
  std::vector<double> supplied(kBars, 1.0);

  std::printf("%zu bars, median of 7 runs\n", kBars);
  const struct {
    const char* name;
    std::function<std::size_t()> run;
  } cases[] = {
      {"sma(20)", [&] { return values_of(api::sma_indicator(bars, 20, "#2196F3")); }},
      {"sma(200)", [&] { return values_of(api::sma_indicator(bars, 200, "#2196F3")); }},
      {"ema(20)", [&] { return values_of(api::ema_indicator(bars, 20, "#2196F3")); }},
      {"rsi(14)", [&] { return values_of(api::rsi_indicator(bars, 14)); }},
      {"macd(12,26,9)", [&] { return values_of(api::macd_indicator(bars, 12, 26, 9)); }},
      {"bollinger(20,2)", [&] { return values_of(api::bollinger_indicator(bars, 20, 2.0)); }},
      {"volume()", [&] { return values_of(api::volume_indicator(bars)); }},
      {"overlay(1M values)",
       [&] { return api::overlay_indicator("Line", supplied, "#fff").vectors[0].values.size(); }},
  };
  for (const auto& c : cases) std::printf("%-20s %8.2f ms\n", c.name, median_ms(c.run));
}
