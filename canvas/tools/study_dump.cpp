// Prints the values of catalog studies and of the methods with hand-written bodies (sma, ema, rsi, macd,
// macd_default, bollinger) for bars read from a file, so that tests can compare them with other
// implementations at full precision.
//
//   study_dump BARS.csv < requests
//
// BARS.csv: one bar per line, "timestamp,open,high,low,close,volume", no header. Each request line is a
// method name and its arguments ("stochastic 14 3"); the answer is one line per vector, "name<TAB>" and
// the values as %.17g separated by spaces ("nan" where a bar has none; nothing when the study has no
// values), then an empty line. Keyword-only arguments follow the others in row order; those left out take
// their defaults. A study that splits its lines into runs adds a line "(runs)" (or "(levels)"
// when each run draws as one level) with the key of each bar.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "api/indicator_builders.hpp"
#include "api/indicator_catalog.hpp"

namespace {

void print(const qc::model::Indicator& ind) {
  for (const qc::model::IndicatorVector& v : ind.vectors) {
    std::string out = v.name + '\t';
    char buf[32];
    for (std::size_t i = 0; i < v.values.size(); ++i) {
      if (i > 0) out += ' ';
      std::snprintf(buf, sizeof buf, "%.17g", v.values[i]);
      out += buf;
    }
    std::puts(out.c_str());
  }
  if (!ind.runs.empty()) {
    std::string out = ind.runs_are_levels ? "(levels)\t" : "(runs)\t";
    for (std::size_t i = 0; i < ind.runs.size(); ++i) {
      if (i > 0) out += ' ';
      out += std::to_string(ind.runs[i]);
    }
    std::puts(out.c_str());
  }
}

qc::model::BarColumns read_bars(const char* path) {
  std::ifstream in(path);
  qc::model::BarColumns bars;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    qc::model::Bar b;
    std::istringstream fields(line);
    std::string f;
    std::getline(fields, f, ',');
    b.timestamp = std::stoll(f);
    double* slots[] = {&b.open, &b.high, &b.low, &b.close, &b.volume};
    for (double* slot : slots) {
      std::getline(fields, f, ',');
      *slot = std::strtod(f.c_str(), nullptr);  // reads "nan" and "inf" too
    }
    bars.push_back(b);
  }
  return bars;
}

// The methods with hand-written bodies, through their builders so that their guards hold too; nothing
// for another name.
std::optional<qc::model::Indicator> hand_written(const std::string& method, std::istream& words,
                                                 qc::model::BarsView bars, bool& known) {
  known = true;
  std::uint64_t a = 0, b = 0, c = 0;
  if (method == "sma" && words >> a) return qc::api::sma_indicator(bars, a, "#000000");
  if (method == "ema" && words >> a) return qc::api::ema_indicator(bars, a, "#000000");
  if (method == "rsi" && words >> a) return qc::api::rsi_indicator(bars, a);
  double m = 0.0;
  if (method == "bollinger" && words >> a >> m) return qc::api::bollinger_indicator(bars, a, m);
  if (method == "macd" && words >> a >> b >> c) return qc::api::macd_indicator(bars, a, b, c);
  if (method == "macd_default") return qc::api::macd_default_indicator(bars);
  known = false;
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: study_dump BARS.csv < requests\n", stderr);
    return 2;
  }
  const qc::model::BarColumns bars = read_bars(argv[1]);
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream words(line);
    std::string method;
    if (!(words >> method)) continue;
    const qc::api::IndicatorSpec* row = qc::api::find_declared_indicator(method);
    bool known = false;
    std::optional<qc::model::Indicator> built;
    if (row == nullptr) built = hand_written(method, words, bars, known);
    if (row == nullptr && !known) {
      std::fprintf(stderr, "unknown study: %s\n", method.c_str());
      return 1;
    }
    // A guard that adds nothing: no vectors.
    if (row == nullptr) {
      if (built) print(*built);
      std::puts("");
      continue;
    }
    std::vector<qc::api::ArgValue> args;
    std::string texts[qc::api::kMaxArgs];  // a colour argument may be left out: it does not change the values
    for (std::size_t i = 0; i < row->args.size(); ++i) {
      std::string word;
      words >> word;
      if (word.empty() && row->args[i].keyword_only()) break;  // the rest at their defaults
      switch (row->args[i].kind) {
        case qc::api::ArgKind::Whole: args.emplace_back(static_cast<std::uint64_t>(std::stoull(word))); break;
        case qc::api::ArgKind::Real: args.emplace_back(std::strtod(word.c_str(), nullptr)); break;
        case qc::api::ArgKind::Text:
        case qc::api::ArgKind::Choice:
          texts[i] = word.empty() ? "#000000" : word;
          args.emplace_back(std::string_view(texts[i]));
          break;
      }
    }
    print(qc::api::computed_indicator(*row, args, bars, qc::coords::kUtc));
    std::puts("");
  }
  return 0;
}
