// Times the value function of every catalog study on one set of bars: median of several runs after a
// warm-up, in milliseconds, one machine-readable line per study (bench/indicator_values.py reads them).
//
//   bench_indicator_values [BARS.csv] [--repeats N]
//
// BARS.csv: "timestamp,open,high,low,close,volume" lines; without it, 100,000 bars of a random walk.
// The bars become columns once, outside the timing; each run refills the vectors with NaN, also outside.
// Periods are 14, 20 for bands, channels and cci; the other parameters are the usual ones. Output:
//   # bars <n> repeats <r>
//   study<TAB>method<TAB>arguments<TAB>ms<TAB>bars with a value in the first vector ("none": no values)
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "api/indicator_catalog.hpp"
#include "studies/columns.hpp"
#include "studies/window.hpp"

using namespace qc;

namespace {

std::vector<model::Bar> random_walk(std::size_t n) {
  std::mt19937_64 rng(1);
  std::normal_distribution<double> step(0.0, 0.01);
  std::uniform_real_distribution<double> wick(0.0, 0.01), volume(1e5, 1e6);
  std::vector<model::Bar> bars(n);
  double price = 100.0;
  for (std::size_t i = 0; i < n; ++i) {
    model::Bar& b = bars[i];
    b.timestamp = 1'600'000'000 + static_cast<std::int64_t>(i) * 60;
    b.open = price;
    price *= std::exp(step(rng));
    b.close = price;
    b.high = std::max(b.open, b.close) * (1.0 + wick(rng));
    b.low = std::min(b.open, b.close) * (1.0 - wick(rng));
    b.volume = std::round(volume(rng));
  }
  return bars;
}

std::vector<model::Bar> read_bars(const char* path) {
  std::ifstream in(path);
  std::vector<model::Bar> bars;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    model::Bar b;
    char* end = nullptr;
    b.timestamp = std::strtoll(line.c_str(), &end, 10);
    for (double* slot : {&b.open, &b.high, &b.low, &b.close, &b.volume}) *slot = std::strtod(end + 1, &end);
    bars.push_back(b);
  }
  return bars;
}

// The bench's arguments of a study, by parameter position.
studies::StudyArgs bench_args(const api::IndicatorSpec& row) {
  static constexpr std::array<std::string_view, 7> kTwenty = {
      "bollinger_filled", "keltner", "atr_bands", "envelopes", "donchian", "price_channel", "cci"};
  const bool twenty = std::find(kTwenty.begin(), kTwenty.end(), row.method) != kTwenty.end();
  studies::StudyArgs args;
  args.whole = {twenty ? 20u : 14u, 0};
  if (row.method == "stochastic") args.whole = {14, 3};
  if (row.method == "tsi") args.whole = {25, 13};
  if (row.method == "atr_bands") args.real[1] = 2.0;
  if (row.method == "envelopes") args.real[1] = 2.5;
  if (row.method == "supertrend") args.real[1] = 3.0;
  if (row.method == "zigzag") args.real[0] = 5.0;
  // Settings keep their defaults, as a call that gives none.
  for (std::size_t i = 0; i < row.args.size(); ++i) {
    const api::ArgSpec& arg = row.args[i];
    if (!arg.setting()) continue;
    const api::ArgValue value = api::default_of(arg);
    if (const auto* whole = std::get_if<std::uint64_t>(&value)) args.whole[i] = *whole;
    if (const auto* real = std::get_if<double>(&value)) args.real[i] = *real;
    if (arg.kind == api::ArgKind::Choice) {
      args.choice[i] = static_cast<std::uint8_t>(api::choice_index(arg, std::get<std::string_view>(value)).value_or(0));
    }
  }
  return args;
}

// The arguments as a call would write them, the colour of a moving average left out; reals with one
// decimal, so that they read back as reals.
std::string args_text(const api::IndicatorSpec& row, const studies::StudyArgs& args) {
  std::string out;
  char buf[32];
  for (std::size_t i = 0; i < row.args.size(); ++i) {
    if (row.args[i].kind == api::ArgKind::Text || row.args[i].keyword_only()) continue;
    if (row.args[i].kind == api::ArgKind::Whole) {
      std::snprintf(buf, sizeof buf, "%llu", static_cast<unsigned long long>(args.whole[i]));
    } else {
      std::snprintf(buf, sizeof buf, "%.1f", args.real[i]);
    }
    if (!out.empty()) out += ' ';
    out += buf;
  }
  return out;
}

// The arguments as the indicator's record takes them (a colour where the method asks for one).
std::vector<api::ArgValue> record_args(const api::IndicatorSpec& row, const studies::StudyArgs& args) {
  std::vector<api::ArgValue> out;
  for (std::size_t i = 0; i < row.args.size(); ++i) {
    switch (row.args[i].kind) {
      case api::ArgKind::Whole: out.emplace_back(args.whole[i]); break;
      case api::ArgKind::Real: out.emplace_back(args.real[i]); break;
      case api::ArgKind::Text: out.emplace_back(std::string_view("#2196F3")); break;
      case api::ArgKind::Choice: out.emplace_back(row.args[i].choices[args.choice[i]]); break;
    }
  }
  return out;
}

double median(std::vector<double> xs) {
  std::sort(xs.begin(), xs.end());
  return xs[xs.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = nullptr;
  int repeats = 7;
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--repeats" && i + 1 < argc) {
      repeats = std::max(1, std::atoi(argv[++i]));
    } else {
      path = argv[i];
    }
  }
  const std::vector<model::Bar> bars = path != nullptr ? read_bars(path) : random_walk(100'000);
  const model::BarColumns store(bars);
  const studies::Columns columns{store.view()};
  std::printf("# bars %zu repeats %d\n", bars.size(), repeats);

  for (const api::IndicatorSpec& row : api::kDeclaredIndicators) {
    const studies::StudyArgs args = bench_args(row);
    model::Indicator ind = api::build_indicator(row, record_args(row, args));
    bool valued = true;
    const auto run = [&] {
      for (model::IndicatorVector& v : ind.vectors) v.values.assign(bars.size(), studies::kNaN);
      studies::StudyOutput out(ind);
      const auto start = std::chrono::steady_clock::now();
      valued = row.compute(columns, args, out);
      return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    };
    run();  // warm-up
    std::vector<double> times;
    for (int r = 0; r < repeats; ++r) times.push_back(run());
    const auto& first = ind.vectors.at(0).values;
    const auto count = std::count_if(first.begin(), first.end(), [](double x) { return std::isfinite(x); });
    std::string shown = valued && count > 0 ? std::to_string(count) : "none";
    std::printf("study\t%.*s\t%s\t%.4f\t%s\n", static_cast<int>(row.method.size()), row.method.data(),
                args_text(row, args).c_str(), median(times), shown.c_str());
  }
}
