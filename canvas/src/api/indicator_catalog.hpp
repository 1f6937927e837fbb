// Every indicator method's record as a row of data: the 67 studies computed by the function their row
// names (22 price overlays, 45 sub-pane studies), and the rows of the methods with hand-written bodies.
#pragma once

#include <array>
#include <string_view>

#include "api/indicator_rows.hpp"
#include "studies/study.hpp"

namespace qc::api {
namespace catalog {

using namespace spec;

inline constexpr ArgSpec kDeviation{"deviation", ArgKind::Real};
inline constexpr ArgSpec kPercent{"percent", ArgKind::Real};
inline constexpr ArgSpec kR{"r", ArgKind::Whole};
inline constexpr ArgSpec kS{"s", ArgKind::Whole};
inline constexpr ArgSpec kK{"k", ArgKind::Whole};
inline constexpr ArgSpec kD{"d", ArgKind::Whole};

inline constexpr std::string_view kOrange = "#FF9800";
inline constexpr std::string_view kOrangeHalf = "#FF980080";
inline constexpr std::string_view kBlue = "#2196F3";
inline constexpr std::string_view kPurple = "#9C27B0";
inline constexpr std::string_view kTeal = "#26a69a";
inline constexpr std::string_view kRed = "#ef5350";
inline constexpr std::string_view kGrey = "#787b86";

// A price overlay: drawn over the bars in the price pane's range, without levels.
constexpr IndicatorSpec overlay(std::string_view method, std::string_view doc, ArgList args,
                                std::string_view id, std::string_view name, FixedList<VectorSpec, 7> vectors) {
  return {method, doc, args, id, name, model::placement::Overlay{}, kPrice, {}, vectors};
}

// A study in a pane of its own below the price pane.
constexpr IndicatorSpec pane(std::string_view method, std::string_view doc, ArgList args,
                             std::string_view id, std::string_view name, double ratio, model::RangeMode range,
                             FixedList<LevelSpec, 3> levels, FixedList<VectorSpec, 7> vectors) {
  return {method, doc, args, id, name, sub_pane(ratio), range, levels, vectors};
}

// A moving average over the prices in the caller's colour.
constexpr IndicatorSpec average(std::string_view method, std::string_view doc, std::string_view id,
                                std::string_view name, std::string_view line_name, double width = 1.0) {
  return overlay(method, doc, {kPeriod, kColor}, id, name, {line(line_name, kCallerColor, width)});
}

inline constexpr std::array<IndicatorSpec, 67> kDeclaredIndicators{{
    average("hma", "Hull Moving Average", "hma_{period}", "HMA {period}", "HMA", 1.5).computed_by(studies::hma),
    average("wma", "Weighted Moving Average", "wma_{period}", "WMA {period}", "WMA").computed_by(studies::wma),
    average("dema", "Double Exponential Moving Average", "dema_{period}", "DEMA {period}", "DEMA")
        .computed_by(studies::dema),
    average("tema", "Triple Exponential Moving Average", "tema_{period}", "TEMA {period}", "TEMA")
        .computed_by(studies::tema),
    average("kama", "Kaufman Adaptive Moving Average", "kama_{period}", "KAMA {period}", "KAMA", 1.5)
        .computed_by(studies::kama),
    average("trima", "Triangular Moving Average", "trima_{period}", "TRIMA {period}", "TRIMA")
        .computed_by(studies::trima),
    average("zlema", "Zero Lag EMA", "zlema_{period}", "ZLEMA {period}", "ZLEMA").computed_by(studies::zlema),
    average("mcginley", "McGinley Dynamic", "mcginley_{period}", "McGinley {period}", "MD", 1.5)
        .computed_by(studies::mcginley),
    average("linear_regression", "Linear Regression", "linreg_{period}", "LinReg {period}", "LinReg", 1.5)
        .computed_by(studies::linear_regression, 2),
    overlay("keltner", "Keltner Channel", {kPeriod}, "keltner_{period}", "Keltner {period}",
            {line("Middle", kOrange), line("Upper", kOrangeHalf), line("Lower", kOrangeHalf)})
        .computed_by(studies::keltner),
    overlay("atr_bands", "ATR Bands", {kPeriod, kMultiplier}, "atr_bands_{period}",
            "ATR Bands ({period}, {multiplier})",
            {line("Middle", kOrange), line("Upper", kOrangeHalf), line("Lower", kOrangeHalf)})
        .computed_by(studies::atr_bands),
    overlay("bollinger_filled", "Bollinger Bands with filled cloud", {kPeriod}, "bb_filled_{period}",
            "BB {period}",
            {line("Middle", kBlue), cloud("Upper", "#2196F320", "#2196F320", "Lower"), line("Lower", "#2196F380")})
        .computed_by(studies::bollinger_filled, 2),
    overlay("envelopes", "Envelopes", {kPeriod, kPercent}, "env_{period}", "Env ({period}, {percent}%)",
            {line("Middle", kBlue), dashed("Upper", "#2196F380"), dashed("Lower", "#2196F380")})
        .computed_by(studies::envelopes),
    overlay("donchian", "Donchian Channel", {kPeriod}, "donchian_{period}", "Donchian {period}",
            {line("Upper", "#4CAF50"), line("Lower", "#F44336")}).computed_by(studies::donchian, 2),
    overlay("price_channel", "Price Channel", {kPeriod}, "pc_{period}", "Price Ch {period}",
            {line("Upper", kTeal), line("Lower", kRed)}).computed_by(studies::price_channel, 2),
    overlay("supertrend", "Supertrend", {kPeriod, kMultiplier}, "supertrend_{period}",
            "Supertrend ({period}, {multiplier})", {line("Supertrend", kBlue, 2.0), hidden("Direction")})
        .computed_by(studies::supertrend, 2),
    overlay("zigzag", "ZigZag", {kDeviation}, "zigzag", "ZigZag {deviation}%", {line("ZigZag", kOrange, 2.0)})
        .computed_by(studies::zigzag),
    overlay("psar", "Parabolic SAR", {}, "psar", "Parabolic SAR", {dots("SAR", kOrange, 2.0)})
        .computed_by(studies::psar),
    overlay("vwap", "VWAP", {}, "vwap", "VWAP", {line("VWAP", kOrange, 1.5)}).computed_by(studies::vwap),
    overlay("ichimoku", "Ichimoku Cloud", {}, "ichimoku", "Ichimoku",
            {line("Tenkan", kBlue), line("Kijun", kRed), line("Senkou A", "#26a69a80"),
             cloud("Senkou B", "#26a69a20", "#ef535020", "Senkou A"), line("Chikou", "#9C27B080")}).computed_by(studies::ichimoku),
    overlay("pivot_points", "Pivot Points", {}, "pp", "Pivot Points",
            {line("PP", kGrey), dashed("R1", kRed), dashed("R2", kRed), dashed("R3", kRed), dashed("S1", kTeal),
             dashed("S2", kTeal), dashed("S3", kTeal)}).computed_by(studies::pivot_points),
    overlay("chande_kroll_stop", "Chande Kroll Stop", {}, "cks", "Chande Kroll Stop",
            {dashed("Stop Long", kTeal), dashed("Stop Short", kRed)}).computed_by(studies::chande_kroll_stop),

    // Fixed ranges.
    pane("adx", "Average Directional Index", {kPeriod}, "adx_{period}", "ADX {period}", 0.15, fixed(0, 100),
         {dotted_level(25, kGrey)}, {line("ADX", kPurple, 2.0), line("+DI", kTeal), line("-DI", kRed)})
        .computed_by(studies::adx, 2),
    pane("aroon", "Aroon", {kPeriod}, "aroon_{period}", "Aroon {period}", 0.15, fixed(0, 100),
         {dotted_level(70, kGrey), dotted_level(30, kGrey)}, {line("Up", kTeal), line("Down", kRed)})
        .computed_by(studies::aroon, 2),
    pane("aroon_oscillator", "Aroon Oscillator", {kPeriod}, "aroon_osc_{period}", "Aroon Osc {period}", 0.15,
         fixed(-100, 100), {kZero}, {line("AO", kBlue)}).computed_by(studies::aroon_oscillator, 2),
    pane("balance_of_power", "Balance of Power", {}, "bop", "Balance of Power", 0.15, fixed(-1, 1), {kZero},
         {histogram("BoP")}).computed_by(studies::balance_of_power),
    pane("choppiness", "Choppiness Index", {kPeriod}, "chop_{period}", "Choppiness {period}", 0.15,
         fixed(0, 100), {dashed_level(61.8, kRed, "Choppy"), dashed_level(38.2, kTeal, "Trending")},
         {line("CHOP", kBlue)}).computed_by(studies::choppiness, 2),
    pane("cmf", "Chaikin Money Flow", {kPeriod}, "cmf_{period}", "CMF {period}", 0.15, fixed(-1, 1), {kZero},
         {line("CMF", kTeal)}).computed_by(studies::cmf, 2),
    pane("cmo", "Chande Momentum Oscillator", {kPeriod}, "cmo_{period}", "CMO {period}", 0.15, fixed(-100, 100),
         {dashed_level(50, kRed), dashed_level(-50, kTeal), kZero}, {line("CMO", kPurple)})
        .computed_by(studies::cmo, 2),
    pane("connors_rsi", "Connors RSI", {}, "crsi", "Connors RSI", 0.15, fixed(0, 100),
         {dashed_level(90, kRed), dashed_level(10, kTeal), dotted_level(50, kGrey)}, {line("CRSI", kPurple, 1.5)})
        .computed_by(studies::connors_rsi),
    pane("mfi", "Money Flow Index", {kPeriod}, "mfi_{period}", "MFI {period}", 0.15, fixed(0, 100),
         {dashed_level(80, kRed, "Overbought"), dashed_level(20, kTeal, "Oversold")}, {line("MFI", kPurple)})
        .computed_by(studies::mfi, 2),
    pane("schaff_trend_cycle", "Schaff Trend Cycle", {}, "stc", "Schaff Trend Cycle", 0.15, fixed(0, 100),
         {dashed_level(75, kRed), dashed_level(25, kTeal)}, {line("STC", kPurple, 1.5)})
        .computed_by(studies::schaff_trend_cycle),
    pane("stoch_rsi", "Stochastic RSI", {kPeriod}, "stoch_rsi_{period}", "Stoch RSI {period}", 0.15,
         fixed(0, 100), {dashed_level(80, kRed), dashed_level(20, kTeal)}, {line("%K", kBlue), line("%D", kOrange)})
        .computed_by(studies::stoch_rsi, 2),
    pane("stochastic", "Stochastic Oscillator", {kK, kD}, "stoch_{k}_{d}", "Stoch ({k},{d})", 0.15, fixed(0, 100),
         {dashed_level(80, kRed), dashed_level(20, kTeal)}, {line("%K", kBlue), line("%D", kOrange)})
        .computed_by(studies::stochastic),
    pane("tsi", "True Strength Index", {kR, kS}, "tsi_{r}_{s}", "TSI ({r},{s})", 0.15, fixed(-100, 100),
         {dashed_level(25, kRed), dashed_level(-25, kTeal), kZero}, {line("TSI", kPurple), line("Signal", kOrange)})
        .computed_by(studies::tsi, 2),
    pane("ultimate_oscillator", "Ultimate Oscillator", {}, "uo", "Ultimate Oscillator", 0.15, fixed(0, 100),
         {dashed_level(70, kRed), dashed_level(30, kTeal), dotted_level(50, kGrey)}, {line("UO", kBlue)})
        .computed_by(studies::ultimate_oscillator),
    pane("williams_r", "Williams %R", {kPeriod}, "williams_r_{period}", "Williams %R {period}", 0.15,
         fixed(-100, 0), {dashed_level(-20, kRed), dashed_level(-80, kTeal)}, {line("%R", kPurple)})
        .computed_by(studies::williams_r, 2),

    // Ranges symmetric about zero, each with the zero line last.
    pane("accelerator_oscillator", "Accelerator Oscillator", {}, "ac", "Accelerator Oscillator", 0.15, kSymmetric,
         {kZero}, {histogram("AC")}).computed_by(studies::accelerator_oscillator),
    pane("awesome_oscillator", "Awesome Oscillator", {}, "ao", "Awesome Oscillator", 0.15, kSymmetric, {kZero},
         {histogram("AO")}).computed_by(studies::awesome_oscillator),
    pane("cci", "Commodity Channel Index", {kPeriod}, "cci_{period}", "CCI {period}", 0.15, kSymmetric,
         {dashed_level(100, kRed), dashed_level(-100, kTeal), kZero}, {line("CCI", kBlue)})
        .computed_by(studies::cci, 2),
    pane("chaikin_oscillator", "Chaikin Oscillator", {}, "cho", "Chaikin Oscillator", 0.15, kSymmetric, {kZero},
         {line("CO", kBlue)}).computed_by(studies::chaikin_oscillator),
    pane("coppock_curve", "Coppock Curve", {}, "coppock", "Coppock Curve", 0.15, kSymmetric, {kZero},
         {line("Coppock", kBlue, 1.5)}).computed_by(studies::coppock_curve),
    pane("dpo", "Detrended Price Oscillator", {kPeriod}, "dpo_{period}", "DPO {period}", 0.15, kSymmetric,
         {kZero}, {line("DPO", kBlue)}).computed_by(studies::dpo, 2),
    pane("elder_ray", "Elder Ray", {kPeriod}, "elder_ray_{period}", "Elder-Ray {period}", 0.15, kSymmetric,
         {kZero}, {histogram("Bull", kTeal, "#26a69a80"), histogram("Bear", "#ef535080", kRed)})
        .computed_by(studies::elder_ray),
    pane("eom", "Ease of Movement", {kPeriod}, "eom_{period}", "EOM {period}", 0.15, kSymmetric, {kZero},
         {line("EOM", "#4CAF50")}).computed_by(studies::eom, 2),
    pane("fisher_transform", "Fisher Transform", {kPeriod}, "fisher_{period}", "Fisher {period}", 0.15,
         kSymmetric, {kZero}, {line("Fisher", "#E91E63"), line("Signal", kPurple)})
        .computed_by(studies::fisher_transform),
    pane("force_index", "Force Index", {kPeriod}, "fi_{period}", "Force {period}", 0.15, kSymmetric, {kZero},
         {line("Force", "#E91E63")}).computed_by(studies::force_index),
    pane("kst", "Know Sure Thing", {}, "kst", "KST", 0.15, kSymmetric, {kZero},
         {line("KST", kBlue), line("Signal", kOrange)}).computed_by(studies::kst),
    pane("linear_regression_slope", "Linear Regression Slope", {kPeriod}, "linreg_slope_{period}",
         "LinReg Slope {period}", 0.12, kSymmetric, {kZero}, {line("Slope", kBlue)})
        .computed_by(studies::linear_regression_slope, 2),
    pane("momentum", "Momentum", {kPeriod}, "momentum_{period}", "Momentum {period}", 0.15, kSymmetric, {kZero},
         {line("Mom", kBlue)}).computed_by(studies::momentum),
    pane("pgo", "Pretty Good Oscillator", {kPeriod}, "pgo_{period}", "PGO {period}", 0.15, kSymmetric,
         {dashed_level(3, kRed), dashed_level(-3, kTeal), kZero}, {line("PGO", kBlue)}).computed_by(studies::pgo),
    pane("qstick", "QStick", {kPeriod}, "qstick_{period}", "Qstick {period}", 0.15, kSymmetric, {kZero},
         {histogram("Qstick")}).computed_by(studies::qstick),
    pane("roc", "Rate of Change", {kPeriod}, "roc_{period}", "ROC {period}", 0.15, kSymmetric, {kZero},
         {line("ROC", kOrange)}).computed_by(studies::roc),
    pane("rvi", "Relative Vigor Index", {kPeriod}, "rvi_{period}", "RVI {period}", 0.15, kSymmetric, {kZero},
         {line("RVI", kTeal), line("Signal", kRed)}).computed_by(studies::rvi),
    pane("smi_ergodic", "SMI Ergodic", {}, "smi", "SMI Ergodic", 0.15, kSymmetric, {kZero},
         {line("SMI", kBlue), line("Signal", kOrange)}).computed_by(studies::smi_ergodic),
    pane("trix", "TRIX", {kPeriod}, "trix_{period}", "TRIX {period}", 0.15, kSymmetric, {kZero},
         {line("TRIX", kPurple), line("Signal", kOrange)}).computed_by(studies::trix),

    // Automatic ranges.
    pane("ad_line", "Accumulation/Distribution Line", {}, "ad", "A/D Line", 0.12, kAuto, {}, {line("A/D", kOrange)})
        .computed_by(studies::ad_line),
    pane("atr", "Average True Range", {kPeriod}, "atr_{period}", "ATR {period}", 0.12, kAuto, {},
         {line("ATR", kOrange)}).computed_by(studies::atr),
    pane("historical_volatility", "Historical Volatility", {kPeriod}, "hv_{period}", "HV {period}", 0.12, kAuto,
         {}, {line("HV", kOrange)}).computed_by(studies::historical_volatility, 2),
    pane("mass_index", "Mass Index", {}, "mass", "Mass Index", 0.15, kAuto,
         {dashed_level(27, kRed, "Bulge"), dotted_level(26.5, kGrey)}, {line("Mass", kPurple)})
        .computed_by(studies::mass_index),
    pane("nvi", "Negative Volume Index", {}, "nvi", "NVI", 0.12, kAuto, {}, {line("NVI", kRed)})
        .computed_by(studies::nvi),
    pane("obv", "On Balance Volume", {}, "obv", "OBV", 0.12, kAuto, {}, {line("OBV", kBlue)}).computed_by(studies::obv),
    pane("pvi", "Positive Volume Index", {}, "pvi", "PVI", 0.12, kAuto, {}, {line("PVI", kTeal)})
        .computed_by(studies::pvi),
    pane("stddev", "Standard Deviation", {kPeriod}, "stddev_{period}", "StdDev {period}", 0.12, kAuto, {},
         {line("StdDev", kPurple)}).computed_by(studies::stddev, 2),
    pane("ulcer_index", "Ulcer Index", {kPeriod}, "ulcer_{period}", "Ulcer {period}", 0.12, kAuto, {},
         {line("UI", kRed)}).computed_by(studies::ulcer_index),
    pane("vortex", "Vortex Indicator", {kPeriod}, "vortex_{period}", "Vortex {period}", 0.15, kAuto,
         {dotted_level(1, kGrey)}, {line("VI+", kTeal), line("VI-", kRed)}).computed_by(studies::vortex),
    pane("vpt", "Volume Price Trend", {}, "vpt", "VPT", 0.12, kAuto, {}, {line("VPT", kPurple)})
        .computed_by(studies::vpt),
}};

}  // namespace catalog

// The studies in method-list order: price overlays, then sub-pane studies with fixed,
// symmetric and automatic ranges.
using catalog::kDeclaredIndicators;
inline constexpr std::size_t kDeclaredIndicatorCount = kDeclaredIndicators.size();

// The row of a study, or null when none has that name.
const IndicatorSpec* find_declared_indicator(std::string_view method);

// Rows of the methods with hand-written bodies (indicator_builders.hpp): their guards differ from the
// catalog's, and their studies' values go to the vectors by position.
namespace catalog {

inline constexpr ArgSpec kFast{"fast", ArgKind::Whole};
inline constexpr ArgSpec kSlow{"slow", ArgKind::Whole};
inline constexpr ArgSpec kSignal{"signal", ArgKind::Whole};

inline constexpr IndicatorSpec kSmaRow =
    average("sma", "Simple Moving Average", "sma_{period}", "SMA {period}", "SMA").computed_by(studies::sma);
inline constexpr IndicatorSpec kEmaRow =
    average("ema", "Exponential Moving Average", "ema_{period}", "EMA {period}", "EMA").computed_by(studies::ema);
inline constexpr IndicatorSpec kRsiRow =
    pane("rsi", "Relative Strength Index", {kPeriod}, "rsi_{period}", "RSI {period}", 0.15, fixed(0, 100),
         {solid_level(70, "#ef535060", 0.5, "Overbought"), solid_level(30, "#26a69a60", 0.5, "Oversold"),
          solid_level(50, "#787b8640", 0.5)},
         {line("RSI", kPurple)})
        .computed_by(studies::rsi);
// The id carries the fast and slow periods only.
inline constexpr IndicatorSpec kMacdRow =
    pane("macd", "MACD", {kFast, kSlow, kSignal}, "macd_{fast}_{slow}", "MACD ({fast},{slow},{signal})", 0.2,
         kSymmetric, {kZero}, {line("MACD", kBlue), line("Signal", kOrange), histogram("Histogram")})
        .computed_by(studies::macd);
// MACD (12, 26, 9): the same study on its fixed periods.
inline constexpr IndicatorSpec kMacdDefaultRow =
    pane("macd_default", "MACD with default settings (12, 26, 9)", {}, "macd", "MACD (12,26,9)", 0.2, kSymmetric,
         {kZero}, {line("MACD", kBlue), line("Signal", kOrange), histogram("Histogram")})
        .computed_by(studies::macd);
inline constexpr IndicatorSpec kBollingerRow =
    overlay("bollinger", "Bollinger Bands", {kPeriod, kMultiplier}, "bb_{period}", "BB {period}",
            {line("Middle", kBlue), line("Upper", "#2196F380"), line("Lower", "#2196F380")})
        .computed_by(studies::bollinger);
inline constexpr IndicatorSpec kVolumeRow{
    "volume", "Volume (subpane)", {}, "volume", "Volume", model::placement::VolumeBand{0.2}, kAuto, {},
    {histogram("Volume")}};
// Volume in a pane of its own takes this share of the plot height, and counts up from 0.
inline constexpr double kVolumePaneRatio = 0.15;

}  // namespace catalog
using catalog::kBollingerRow;
using catalog::kEmaRow;
using catalog::kMacdDefaultRow;
using catalog::kMacdRow;
using catalog::kRsiRow;
using catalog::kSmaRow;
using catalog::kVolumePaneRatio;
using catalog::kVolumeRow;

}  // namespace qc::api
