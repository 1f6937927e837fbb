// Records of all 75 indicator methods: ids, names, placement, range, levels and value lines.
#include "api/indicator_builders.hpp"
#include "api/indicator_catalog.hpp"
#include "studies/study.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace qc;
using api::ArgValue;

namespace {

ArgValue W(std::uint64_t v) { return v; }
ArgValue R(double v) { return v; }
ArgValue T(std::string_view v) { return v; }

// One line per indicator: id|name|placement|range|levels|vectors, numbers in default stream form.
std::string describe(const model::Indicator& ind) {
  std::ostringstream out;
  out << ind.id << '|' << ind.name << '|';
  if (std::holds_alternative<model::placement::Overlay>(ind.placement)) out << "overlay";
  if (const auto* p = std::get_if<model::placement::VolumeBand>(&ind.placement)) out << "volume " << p->ratio;
  if (const auto* p = std::get_if<model::placement::SubPane>(&ind.placement)) out << "pane " << p->ratio;
  out << '|';
  if (std::holds_alternative<model::range::Auto>(ind.range)) out << "auto";
  if (const auto* r = std::get_if<model::range::Fixed>(&ind.range)) out << "fixed " << r->min << ' ' << r->max;
  if (std::holds_alternative<model::range::Symmetric>(ind.range)) out << "symmetric";
  if (std::holds_alternative<model::range::Price>(ind.range)) out << "price";
  out << '|';
  for (std::size_t i = 0; i < ind.levels.size(); ++i) {
    const auto& l = ind.levels[i];
    out << (i ? "; " : "") << l.value << ' ' << l.style << ' ' << l.color << ' ' << l.width;
    if (l.label) out << " '" << *l.label << "'";
  }
  out << '|';
  for (std::size_t i = 0; i < ind.vectors.size(); ++i) {
    const auto& v = ind.vectors[i];
    out << (i ? "; " : "") << v.name << ' ';
    std::visit(
        [&](const auto& s) {
          using S = std::decay_t<decltype(s)>;
          if constexpr (std::is_same_v<S, model::style::Line>) {
            out << (s.dashed ? "dashed " : "line ") << s.color << ' ' << s.width;
          } else if constexpr (std::is_same_v<S, model::style::Histogram>) {
            // The chart's colours as "chart:up", "chart:down", with a faded shade's alpha in hex ("chart:up80").
            const auto shade = [&](model::style::ChartShade c) {
              out << "chart:" << (c.up ? "up" : "down");
              if (c.alpha != 0xff) out << std::hex << int{c.alpha} << std::dec;
            };
            out << "histogram ";
            if (s.takes_chart_colors()) {
              shade(s.up_shade);
              out << ' ';
              shade(s.down_shade);
            } else {
              out << s.up_color << ' ' << s.down_color;
            }
            out << ' ' << s.bar_width_ratio;
            if (s.part == model::style::SlotPart::left_half) out << " left";
            if (s.part == model::style::SlotPart::right_half) out << " right";
          } else if constexpr (std::is_same_v<S, model::style::Cloud>) {
            out << "cloud " << s.upper_color << ' ' << s.lower_color << " on " << s.partner << ' ' << s.width;
          } else if constexpr (std::is_same_v<S, model::style::Dots>) {
            out << "dots " << s.color << ' ' << s.radius << (s.filled ? " filled" : " hollow");
          } else if constexpr (std::is_same_v<S, model::style::Hidden>) {
            out << "hidden";
          } else {
            out << "unexpected style";
          }
        },
        v.style.v);
    if (!v.values.empty()) out << " [" << v.values.size() << " values]";
    if (!v.up_flags.empty()) out << " [" << v.up_flags.size() << " flags]";
  }
  return out.str();
}

model::Indicator declared(std::string_view method, const std::vector<ArgValue>& args) {
  const api::IndicatorSpec* row = api::find_declared_indicator(method);
  if (row == nullptr) throw std::invalid_argument("no declared method " + std::string(method));
  return api::build_indicator(*row, args);
}

struct RecordCase {
  const char* method;
  std::vector<ArgValue> args;
  const char* expected;
};

constexpr const char* kC = "#123456";

const std::vector<RecordCase> kDeclaredCases = {
    // Price overlays.
    {"hma", {W(20), T(kC)}, "hma_20|HMA 20|overlay|price||HMA line #123456 1.5"},
    {"wma", {W(9), T(kC)}, "wma_9|WMA 9|overlay|price||WMA line #123456 1"},
    {"dema", {W(21), T(kC)}, "dema_21|DEMA 21|overlay|price||DEMA line #123456 1"},
    {"tema", {W(7), T(kC)}, "tema_7|TEMA 7|overlay|price||TEMA line #123456 1"},
    {"kama", {W(10), T(kC)}, "kama_10|KAMA 10|overlay|price||KAMA line #123456 1.5"},
    {"trima", {W(9), T(kC)}, "trima_9|TRIMA 9|overlay|price||TRIMA line #123456 1"},
    {"zlema", {W(12), T(kC)}, "zlema_12|ZLEMA 12|overlay|price||ZLEMA line #123456 1"},
    {"mcginley", {W(14), T(kC)}, "mcginley_14|McGinley 14|overlay|price||MD line #123456 1.5"},
    {"linear_regression", {W(50), T(kC)}, "linreg_50|LinReg 50|overlay|price||LinReg line #123456 1.5"},
    {"keltner", {W(20)},
     "keltner_20|Keltner 20|overlay|price||Middle line #FF9800 1; Upper line #FF980080 1; Lower line #FF980080 1"},
    {"atr_bands", {W(14), R(2.0)},
     "atr_bands_14|ATR Bands (14, 2)|overlay|price||Middle line #FF9800 1; Upper line #FF980080 1; "
     "Lower line #FF980080 1"},
    {"bollinger_filled", {W(20)},
     "bb_filled_20|BB 20|overlay|price||Middle line #2196F3 1; Upper cloud #2196F320 #2196F320 on Lower 1; "
     "Lower line #2196F380 1"},
    {"envelopes", {W(20), R(2.5)},
     "env_20|Env (20, 2.5%)|overlay|price||Middle line #2196F3 1; Upper dashed #2196F380 1; "
     "Lower dashed #2196F380 1"},
    {"donchian", {W(20)}, "donchian_20|Donchian 20|overlay|price||Upper line #4CAF50 1; Lower line #F44336 1"},
    {"price_channel", {W(20)}, "pc_20|Price Ch 20|overlay|price||Upper line #26a69a 1; Lower line #ef5350 1"},
    {"supertrend", {W(10), R(3.0)},
     "supertrend_10|Supertrend (10, 3)|overlay|price||Supertrend line #2196F3 2; Direction hidden"},
    {"zigzag", {R(5.0)}, "zigzag|ZigZag 5%|overlay|price||ZigZag line #FF9800 2"},
    {"psar", {}, "psar|Parabolic SAR|overlay|price||SAR dots #FF9800 2 filled"},
    {"vwap", {}, "vwap|VWAP|overlay|price||VWAP line #FF9800 1.5"},
    {"ichimoku", {},
     "ichimoku|Ichimoku|overlay|price||Tenkan line #2196F3 1; Kijun line #ef5350 1; Senkou A line #26a69a80 1; "
     "Senkou B cloud #26a69a20 #ef535020 on Senkou A 1; Chikou line #9C27B080 1"},
    {"pivot_points", {},
     "pp|Pivot Points|overlay|price||PP line #787b86 1; R1 dashed #ef5350 1; R2 dashed #ef5350 1; "
     "R3 dashed #ef5350 1; S1 dashed #26a69a 1; S2 dashed #26a69a 1; S3 dashed #26a69a 1"},
    {"chande_kroll_stop", {},
     "cks|Chande Kroll Stop|overlay|price||Stop Long dashed #26a69a 1; Stop Short dashed #ef5350 1"},

    // Sub-panes with fixed ranges.
    {"adx", {W(0)},
     "adx_0|ADX 0|pane 0.15|fixed 0 100|25 dotted #787b86 1|ADX line #9C27B0 2; +DI line #26a69a 1; "
     "-DI line #ef5350 1"},
    {"aroon", {W(25)},
     "aroon_25|Aroon 25|pane 0.15|fixed 0 100|70 dotted #787b86 1; 30 dotted #787b86 1|Up line #26a69a 1; "
     "Down line #ef5350 1"},
    {"aroon_oscillator", {W(25)},
     "aroon_osc_25|Aroon Osc 25|pane 0.15|fixed -100 100|0 dotted #787b86 1|AO line #2196F3 1"},
    {"balance_of_power", {},
     "bop|Balance of Power|pane 0.15|fixed -1 1|0 dotted #787b86 1|BoP histogram chart:up chart:down 0.8"},
    {"choppiness", {W(14)},
     "chop_14|Choppiness 14|pane 0.15|fixed 0 100|61.8 dashed #ef5350 1 'Choppy'; "
     "38.2 dashed #26a69a 1 'Trending'|CHOP line #2196F3 1"},
    {"cmf", {W(20)}, "cmf_20|CMF 20|pane 0.15|fixed -1 1|0 dotted #787b86 1|CMF line #26a69a 1"},
    {"cmo", {W(14)},
     "cmo_14|CMO 14|pane 0.15|fixed -100 100|50 dashed #ef5350 1; -50 dashed #26a69a 1; 0 dotted #787b86 1|"
     "CMO line #9C27B0 1"},
    {"connors_rsi", {},
     "crsi|Connors RSI|pane 0.15|fixed 0 100|90 dashed #ef5350 1; 10 dashed #26a69a 1; 50 dotted #787b86 1|"
     "CRSI line #9C27B0 1.5"},
    {"mfi", {W(14)},
     "mfi_14|MFI 14|pane 0.15|fixed 0 100|80 dashed #ef5350 1 'Overbought'; 20 dashed #26a69a 1 'Oversold'|"
     "MFI line #9C27B0 1"},
    {"schaff_trend_cycle", {},
     "stc|Schaff Trend Cycle|pane 0.15|fixed 0 100|75 dashed #ef5350 1; 25 dashed #26a69a 1|STC line #9C27B0 1.5"},
    {"stoch_rsi", {W(14)},
     "stoch_rsi_14|Stoch RSI 14|pane 0.15|fixed 0 100|80 dashed #ef5350 1; 20 dashed #26a69a 1|"
     "%K line #2196F3 1; %D line #FF9800 1"},
    {"stochastic", {W(14), W(3)},
     "stoch_14_3|Stoch (14,3)|pane 0.15|fixed 0 100|80 dashed #ef5350 1; 20 dashed #26a69a 1|"
     "%K line #2196F3 1; %D line #FF9800 1"},
    {"tsi", {W(25), W(13)},
     "tsi_25_13|TSI (25,13)|pane 0.15|fixed -100 100|25 dashed #ef5350 1; -25 dashed #26a69a 1; "
     "0 dotted #787b86 1|TSI line #9C27B0 1; Signal line #FF9800 1"},
    {"ultimate_oscillator", {},
     "uo|Ultimate Oscillator|pane 0.15|fixed 0 100|70 dashed #ef5350 1; 30 dashed #26a69a 1; "
     "50 dotted #787b86 1|UO line #2196F3 1"},
    {"williams_r", {W(14)},
     "williams_r_14|Williams %R 14|pane 0.15|fixed -100 0|-20 dashed #ef5350 1; -80 dashed #26a69a 1|"
     "%R line #9C27B0 1"},

    // Sub-panes with symmetric ranges.
    {"accelerator_oscillator", {},
     "ac|Accelerator Oscillator|pane 0.15|symmetric|0 dotted #787b86 1|AC histogram chart:up chart:down 0.8"},
    {"awesome_oscillator", {},
     "ao|Awesome Oscillator|pane 0.15|symmetric|0 dotted #787b86 1|AO histogram chart:up chart:down 0.8"},
    {"cci", {W(20)},
     "cci_20|CCI 20|pane 0.15|symmetric|100 dashed #ef5350 1; -100 dashed #26a69a 1; 0 dotted #787b86 1|"
     "CCI line #2196F3 1"},
    {"chaikin_oscillator", {}, "cho|Chaikin Oscillator|pane 0.15|symmetric|0 dotted #787b86 1|CO line #2196F3 1"},
    {"coppock_curve", {},
     "coppock|Coppock Curve|pane 0.15|symmetric|0 dotted #787b86 1|Coppock line #2196F3 1.5"},
    {"dpo", {W(20)}, "dpo_20|DPO 20|pane 0.15|symmetric|0 dotted #787b86 1|DPO line #2196F3 1"},
    {"elder_ray", {W(13)},
     "elder_ray_13|Elder-Ray 13|pane 0.15|symmetric|0 dotted #787b86 1|Bull histogram chart:up chart:up80 0.8 left; "
     "Bear histogram chart:down80 chart:down 0.8 right"},
    {"eom", {W(14)}, "eom_14|EOM 14|pane 0.15|symmetric|0 dotted #787b86 1|EOM line #4CAF50 1"},
    {"fisher_transform", {W(9)},
     "fisher_9|Fisher 9|pane 0.15|symmetric|0 dotted #787b86 1|Fisher line #E91E63 1; Signal line #9C27B0 1"},
    {"force_index", {W(13)}, "fi_13|Force 13|pane 0.15|symmetric|0 dotted #787b86 1|Force line #E91E63 1"},
    {"kst", {}, "kst|KST|pane 0.15|symmetric|0 dotted #787b86 1|KST line #2196F3 1; Signal line #FF9800 1"},
    {"linear_regression_slope", {W(14)},
     "linreg_slope_14|LinReg Slope 14|pane 0.12|symmetric|0 dotted #787b86 1|Slope line #2196F3 1"},
    {"momentum", {W(10)}, "momentum_10|Momentum 10|pane 0.15|symmetric|0 dotted #787b86 1|Mom line #2196F3 1"},
    {"pgo", {W(14)},
     "pgo_14|PGO 14|pane 0.15|symmetric|3 dashed #ef5350 1; -3 dashed #26a69a 1; 0 dotted #787b86 1|"
     "PGO line #2196F3 1"},
    {"qstick", {W(8)},
     "qstick_8|Qstick 8|pane 0.15|symmetric|0 dotted #787b86 1|Qstick histogram chart:up chart:down 0.8"},
    {"roc", {W(12)}, "roc_12|ROC 12|pane 0.15|symmetric|0 dotted #787b86 1|ROC line #FF9800 1"},
    {"rvi", {W(10)},
     "rvi_10|RVI 10|pane 0.15|symmetric|0 dotted #787b86 1|RVI line #26a69a 1; Signal line #ef5350 1"},
    {"smi_ergodic", {},
     "smi|SMI Ergodic|pane 0.15|symmetric|0 dotted #787b86 1|SMI line #2196F3 1; Signal line #FF9800 1"},
    {"trix", {W(15)},
     "trix_15|TRIX 15|pane 0.15|symmetric|0 dotted #787b86 1|TRIX line #9C27B0 1; Signal line #FF9800 1"},

    // Sub-panes with automatic ranges.
    {"ad_line", {}, "ad|A/D Line|pane 0.12|auto||A/D line #FF9800 1"},
    {"atr", {W(14)}, "atr_14|ATR 14|pane 0.12|auto||ATR line #FF9800 1"},
    {"historical_volatility", {W(20)}, "hv_20|HV 20|pane 0.12|auto||HV line #FF9800 1"},
    {"mass_index", {},
     "mass|Mass Index|pane 0.15|auto|27 dashed #ef5350 1 'Bulge'; 26.5 dotted #787b86 1|Mass line #9C27B0 1"},
    {"nvi", {}, "nvi|NVI|pane 0.12|auto||NVI line #ef5350 1"},
    {"obv", {}, "obv|OBV|pane 0.12|auto||OBV line #2196F3 1"},
    {"pvi", {}, "pvi|PVI|pane 0.12|auto||PVI line #26a69a 1"},
    {"stddev", {W(20)}, "stddev_20|StdDev 20|pane 0.12|auto||StdDev line #9C27B0 1"},
    {"ulcer_index", {W(14)}, "ulcer_14|Ulcer 14|pane 0.12|auto||UI line #ef5350 1"},
    {"vortex", {W(14)},
     "vortex_14|Vortex 14|pane 0.15|auto|1 dotted #787b86 1|VI+ line #26a69a 1; VI- line #ef5350 1"},
    {"vpt", {}, "vpt|VPT|pane 0.12|auto||VPT line #9C27B0 1"},
};

TEST(IndicatorCatalog, EveryDeclaredMethodRecord) {
  for (const RecordCase& c : kDeclaredCases) {
    EXPECT_EQ(describe(declared(c.method, c.args)), c.expected) << c.method;
  }
}

TEST(IndicatorCatalog, TableAndCasesNameTheSameMethods) {
  std::set<std::string_view> rows;
  for (const api::IndicatorSpec& row : api::kDeclaredIndicators) {
    rows.insert(row.method);
    // Checked here, not at compile time: under UBSan a function's address is no constant expression.
    EXPECT_NE(row.compute, nullptr) << row.method;
  }
  std::set<std::string_view> cases;
  for (const RecordCase& c : kDeclaredCases) cases.insert(c.method);
  EXPECT_EQ(rows.size(), 67u);
  EXPECT_EQ(rows, cases);
  // Checked here rather than at compile time: under the sanitizers a function's address is no constant.
  for (const api::IndicatorSpec& row : api::kDeclaredIndicators) EXPECT_NE(row.compute, nullptr) << row.method;
  EXPECT_EQ(api::find_declared_indicator("sma"), nullptr);  // computed methods have bodies of their own
}

// Checked here rather than at compile time: under the sanitizers a function's address is no constant.
TEST(IndicatorCatalog, EveryRowNamesItsStudy) {
  for (const api::IndicatorSpec& row : api::kDeclaredIndicators) EXPECT_NE(row.compute, nullptr) << row.method;
}

TEST(IndicatorCatalog, ComputedMethodRecords) {
  model::BarColumns bars;
  bars.resize(5);
  bars.close() = {1, 2, 3, 4, 5};
  const std::pair<std::optional<model::Indicator>, const char*> cases[] = {
      {api::sma_indicator(bars, 3, kC), "sma_3|SMA 3|overlay|price||SMA line #123456 1 [5 values]"},
      {api::ema_indicator(bars, 3, kC), "ema_3|EMA 3|overlay|price||EMA line #123456 1 [5 values]"},
      {api::rsi_indicator(bars, 14),
       "rsi_14|RSI 14|pane 0.15|fixed 0 100|70 dashed #ef5350 1 'Overbought'; "
       "30 dashed #26a69a 1 'Oversold'; 50 solid #787b8640 0.5|RSI line #9C27B0 1 [5 values]"},
      {api::macd_indicator(bars, 12, 26, 9),
       "macd_12_26|MACD (12,26,9)|pane 0.2|symmetric|0 dotted #787b86 1|MACD line #2196F3 1 [5 values]; "
       "Signal line #FF9800 1 [5 values]; Histogram histogram chart:up chart:down 0.8 [5 values]"},
      {api::macd_default_indicator({}),
       "macd|MACD (12,26,9)|pane 0.2|symmetric|0 dotted #787b86 1|MACD line #2196F3 1; Signal line #FF9800 1; "
       "Histogram histogram chart:up chart:down 0.8"},
      {api::macd_default_indicator(bars),
       "macd|MACD (12,26,9)|pane 0.2|symmetric|0 dotted #787b86 1|MACD line #2196F3 1 [5 values]; "
       "Signal line #FF9800 1 [5 values]; Histogram histogram chart:up chart:down 0.8 [5 values]"},
      {api::bollinger_indicator(bars, 20, 2.5),
       "bb_20|BB 20 (2.5)|overlay|price||Middle line #2196F3 1 [5 values]; Upper line #2196F380 1 [5 values]; "
       "Lower line #2196F380 1 [5 values]"},
      {api::volume_indicator(bars),
       "volume|Volume|volume 0.2|auto||Volume histogram chart:up chart:down 0.8 [5 values] [5 flags]"},
      {api::overlay_indicator("My Line 2", {1.0, 2.0}, kC),
       "custom_my_line_2|My Line 2|overlay|auto||My Line 2 line #123456 1.5 [2 values]"},
  };
  for (const auto& [ind, expected] : cases) {
    ASSERT_TRUE(ind.has_value()) << expected;
    EXPECT_EQ(describe(*ind), expected);
  }
}

// Whole numbers in full in ids and reduced to 32 bits in names; floats in names as shortest fixed text.
TEST(IndicatorCatalog, IdsAndNames) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* method;
    std::vector<ArgValue> args;
    const char* id;
    const char* name;
  };
  const Case cases[] = {
      {"keltner", {W(4294967297)}, "keltner_4294967297", "Keltner 1"},
      {"adx", {W(4294967296)}, "adx_4294967296", "ADX 0"},
      {"hma", {W(0), T("")}, "hma_0", "HMA 0"},
      {"tsi", {W(kMax), W(4294967321)}, "tsi_18446744073709551615_4294967321", "TSI (4294967295,25)"},
      {"stochastic", {W(14), W(3)}, "stoch_14_3", "Stoch (14,3)"},
      {"atr_bands", {W(14), R(2.5)}, "atr_bands_14", "ATR Bands (14, 2.5)"},
      {"atr_bands", {W(kMax), R(0.1 + 0.2)}, "atr_bands_18446744073709551615",
       "ATR Bands (4294967295, 0.30000000000000004)"},
      {"envelopes", {W(20), R(0.1)}, "env_20", "Env (20, 0.1%)"},
      {"envelopes", {W(20), R(-kInf)}, "env_20", "Env (20, -inf%)"},
      {"supertrend", {W(10), R(std::nan(""))}, "supertrend_10", "Supertrend (10, NaN)"},
      {"supertrend", {W(10), R(kInf)}, "supertrend_10", "Supertrend (10, inf)"},
      {"zigzag", {R(5)}, "zigzag", "ZigZag 5%"},
      {"zigzag", {R(1e21)}, "zigzag", "ZigZag 1000000000000000000000%"},
      {"zigzag", {R(1e-7)}, "zigzag", "ZigZag 0.0000001%"},
      {"zigzag", {R(1e23)}, "zigzag", "ZigZag 100000000000000000000000%"},
      {"envelopes", {W(20), R(-3e25)}, "env_20", "Env (20, -30000000000000000000000000%)"},
      {"zigzag", {R(-0.0)}, "zigzag", "ZigZag -0%"},
      // Settings: named only when one differs from its default, all of them then; colours are none.
      {"ichimoku", {W(9), W(26), W(52)}, "ichimoku", "Ichimoku"},
      {"ichimoku", {W(7), W(22), W(44)}, "ichimoku", "Ichimoku (7, 22, 44)"},
      {"ichimoku", {W(9), W(26), W(4294967348)}, "ichimoku", "Ichimoku (9, 26, 52)"},
      {"keltner", {W(20), R(1.5)}, "keltner_20", "Keltner 20 (1.5, 10)"},
      {"psar", {R(0.02), R(0.25)}, "psar", "Parabolic SAR (0.02, 0.25)"},
      {"pivot_points", {T("fibonacci"), T("week")}, "pp", "Pivot Points (fibonacci, week)"},
      {"vwap", {T("auto")}, "vwap", "VWAP"},
      {"supertrend", {W(10), R(3.0), T("#00ff00"), T("")}, "supertrend_10", "Supertrend (10, 3)"},
  };
  for (const Case& c : cases) {
    const model::Indicator ind = declared(c.method, c.args);
    EXPECT_EQ(ind.id, c.id);
    EXPECT_EQ(ind.name, c.name) << c.id;
  }

  model::BarColumns bars;
  bars.resize(2);
  const auto macd = api::macd_indicator(bars, 4294967308, 26, 4294967305);
  ASSERT_TRUE(macd.has_value());
  EXPECT_EQ(macd->id, "macd_4294967308_26");
  EXPECT_EQ(macd->name, "MACD (12,26,9)");
  const auto sma = api::sma_indicator(bars, kMax, "c");
  ASSERT_TRUE(sma.has_value());
  EXPECT_EQ(sma->id, "sma_18446744073709551615");
  EXPECT_EQ(sma->name, "SMA 4294967295");
  EXPECT_EQ(api::bollinger_indicator(bars, 4294967298, -1.5)->name, "BB 2 (-1.5)");
  // The multiplier is named unless it is the usual 2, as the filled bands name theirs.
  const std::pair<double, const char*> bands[] = {
      {2.0, "BB 30"}, {2.5, "BB 30 (2.5)"}, {3.0, "BB 30 (3)"}, {1.999, "BB 30 (1.999)"}, {0.0, "BB 30 (0)"}};
  for (const auto& [multiplier, name] : bands) {
    EXPECT_EQ(api::bollinger_indicator(bars, 30, multiplier)->name, name) << multiplier;
    EXPECT_EQ(declared("bollinger_filled", {W(30), R(multiplier)}).name, name) << multiplier;
  }
}

TEST(IndicatorCatalog, OverlayIdLowerCasesAndJoinsWords) {
  const std::pair<const char*, const char*> cases[] = {
      {"My Line 2", "custom_my_line_2"},
      {"RSI-\u0394", "custom_rsi-\u03b4"},
      {"  A  ", "custom___a__"},
      {"\u039f\u0394\u039f\u03a3 \u03a3\u0391", "custom_\u03bf\u03b4\u03bf\u03c2_\u03c3\u03b1"},
      {"", "custom_"},
  };
  for (const auto& [name, id] : cases) {
    const model::Indicator ind = api::overlay_indicator(name, {}, "c");
    EXPECT_EQ(ind.id, id);
    EXPECT_EQ(ind.name, name);
    EXPECT_EQ(ind.vectors.at(0).name, name);
  }
}

TEST(IndicatorCatalog, ArgumentsMustMatchTheRow) {
  EXPECT_THROW(declared("hma", {}), std::invalid_argument);
  EXPECT_THROW(declared("hma", {T("#fff"), W(20)}), std::invalid_argument);
  EXPECT_THROW(declared("psar", {W(1)}), std::invalid_argument);
  EXPECT_THROW(declared("keltner", {}), std::invalid_argument);
  EXPECT_NO_THROW(declared("psar", {}));
}

}  // namespace

namespace {

// Arguments for every parameter of a row: periods of `period` (the row's least if larger), reals of 2, the
// first choice (or `choice` for the first choice argument), a colour, and the settings' defaults.
struct RowArgs {
  std::vector<ArgValue> values;
  studies::StudyArgs study;
};

RowArgs row_args(const api::IndicatorSpec& row, std::uint64_t period, std::size_t choice) {
  RowArgs out;
  bool chose = false;
  for (std::size_t i = 0; i < row.args.size(); ++i) {
    const api::ArgSpec& arg = row.args[i];
    const ArgValue v = arg.keyword_only()            ? api::default_of(arg)
                       : arg.kind == api::ArgKind::Whole ? W(std::max<std::uint64_t>(period, row.min_period))
                       : arg.kind == api::ArgKind::Real  ? R(2.0)
                       : arg.kind == api::ArgKind::Text  ? T(kC)
                                                         : T(arg.choices[0]);
    out.values.push_back(v);
    if (const auto* whole = std::get_if<std::uint64_t>(&v)) out.study.whole[i] = *whole;
    if (const auto* real = std::get_if<double>(&v)) out.study.real[i] = *real;
    if (arg.kind == api::ArgKind::Choice && !arg.keyword_only() && !chose) {
      chose = true;
      out.study.choice[i] = static_cast<std::uint8_t>(choice < arg.choices.size() ? choice : 0);
      out.values.back() = T(arg.choices[out.study.choice[i]]);
    } else if (arg.kind == api::ArgKind::Choice) {
      out.study.choice[i] = static_cast<std::uint8_t>(*api::choice_index(arg, std::get<std::string_view>(v)));
    }
  }
  return out;
}

// Hard ordinary bars: 15-minute bars over several days with a gap, a flat stretch (high = low), zero
// volumes, a bar without a close and a run of missing prices.
model::BarColumns hard_bars(std::size_t n) {
  std::vector<model::Bar> bars(n);
  double price = 50.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double step = std::sin(static_cast<double>(i) * 0.37) * 0.8 + std::cos(static_cast<double>(i) * 0.11);
    const double open = price;
    price = std::max(1.0, price + step);
    const bool flat = i >= 40 && i < 52;
    const double close = flat ? open : price;
    bars[i] = {1'700'000'000 + static_cast<std::int64_t>(i) * 900 + (i >= 200 ? 86'400 * 3 : 0), open,
               flat ? open : std::max(open, close) + 0.5, flat ? open : std::min(open, close) - 0.25, close,
               i % 17 == 0 ? 0.0 : 1000.0 + static_cast<double>(i % 29) * 37.0};
  }
  if (n > 90) bars[90].close = std::numeric_limits<double>::quiet_NaN();
  for (std::size_t i = 150; i < 156 && i < n; ++i) {
    bars[i].open = bars[i].high = bars[i].low = bars[i].close = std::numeric_limits<double>::quiet_NaN();
  }
  return model::BarColumns(bars);
}

bool same_value(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

}  // namespace

// Lines are sized for a study without being written first: every study writes each bar of each of its lines,
// NaN where it has no value, whatever the storage held before. Each study runs once on lines holding a
// poison value and once as a method runs it; the two agree and no poison is left.
TEST(IndicatorCatalog, EveryStudyWritesEveryBarOfItsLines) {
  constexpr double kPoison = -7.25e300;
  std::vector<const api::IndicatorSpec*> rows = {&api::kSmaRow, &api::kEmaRow, &api::kRsiRow, &api::kMacdRow,
                                                 &api::kBollingerRow};
  for (const api::IndicatorSpec& row : api::kDeclaredIndicators) rows.push_back(&row);
  const model::BarColumns sets[] = {hard_bars(400), hard_bars(7)};
  for (const model::BarColumns& bars : sets) {
    for (const api::IndicatorSpec* row : rows) {
      std::size_t choices = 1;
      for (const api::ArgSpec& arg : row->args) {
        if (arg.kind == api::ArgKind::Choice && !arg.keyword_only()) choices = std::max(choices, arg.choices.size());
      }
      for (std::size_t run = 0; run < 3 * choices; ++run) {
        const std::uint64_t period = std::max<std::uint64_t>(std::array{2, 5, 30}[run % 3], row->min_period);
        const std::size_t choice = run / 3;
        if (period > bars.size()) continue;
        const RowArgs args = row_args(*row, period, choice);
        const std::string what = std::string(row->method) + " period " + std::to_string(period) + " choice " +
                                 std::to_string(choice) + " on " + std::to_string(bars.size()) + " bars";
        model::Indicator made = api::build_indicator(*row, args.values);
        const bool ran = api::run_study(*row, args.study, bars.view(), made);
        model::Indicator poisoned = api::build_indicator(*row, args.values);
        for (model::IndicatorVector& v : poisoned.vectors) v.values.assign(bars.size(), kPoison);
        studies::StudyOutput out(poisoned);
        ASSERT_EQ(row->compute(studies::Columns{bars.view(), &coords::kUtc}, args.study, out), ran) << what;
        if (!ran) continue;
        ASSERT_EQ(made.vectors.size(), poisoned.vectors.size()) << what;
        for (std::size_t k = 0; k < made.vectors.size(); ++k) {
          const auto& a = made.vectors[k].values;
          const auto& b = poisoned.vectors[k].values;
          ASSERT_EQ(a.size(), bars.size()) << what;
          std::size_t differ = 0, first = 0;
          for (std::size_t t = 0; t < a.size(); ++t) {
            if (b[t] == kPoison || a[t] == kPoison || !same_value(a[t], b[t])) first = differ++ == 0 ? t : first;
          }
          EXPECT_EQ(differ, 0u) << what << ", line " << made.vectors[k].name << ": first at bar " << first;
        }
      }
    }
  }
}
