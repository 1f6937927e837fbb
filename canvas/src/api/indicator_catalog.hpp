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

// Settings: keyword-only, their defaults those the studies had before they took them. Choices are listed in
// the order of the study's enum.
inline constexpr ArgSpec kCalendarPeriod =
    choice_setting("period", "'auto'", {"auto", "day", "week", "month", "year"},
                   "the calendar period: 'auto' (a day, month or year as the bar spacing suggests), 'day', 'week' "
                   "(ISO, Monday first), 'month' or 'year'");
static_assert(kCalendarPeriod.choices.size() == static_cast<std::size_t>(studies::CalendarPeriod::year) + 1);
inline constexpr ArgSpec kPivotKind = choice_setting(
    "kind", "'floor'", {"floor", "fibonacci", "camarilla", "woodie"},
    "the formula: 'floor', 'fibonacci', 'camarilla' or 'woodie'");
static_assert(kPivotKind.choices.size() == static_cast<std::size_t>(studies::PivotKind::woodie) + 1);

inline constexpr std::string_view kOrange = "#FF9800";
inline constexpr std::string_view kOrangeHalf = "#FF980080";
inline constexpr std::string_view kBlue = "#2196F3";
inline constexpr std::string_view kPurple = "#9C27B0";
inline constexpr std::string_view kTeal = "#26a69a";
inline constexpr std::string_view kRed = "#ef5350";
inline constexpr std::string_view kGrey = "#787b86";
// The chart's up and down colours, whole and at half alpha, for bars that follow the chart's colours.
inline constexpr model::style::ChartShade kChartUp{true, 0xff}, kChartUpFaded{true, 0x80};
inline constexpr model::style::ChartShade kChartDown{false, 0xff}, kChartDownFaded{false, 0x80};

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
    average("hma", "Hull Moving Average", "hma_{period}", "HMA {period}", "HMA", 1.5).computed_by(studies::hma).reaching(studies::hma_reach)
        .defined("WMA(sqrt(`period`)) of 2 x WMA(`period`/2) - WMA(`period`) of the closes, lengths rounded down, as "
                 "TA-Lib HMA."),
    average("wma", "Weighted Moving Average", "wma_{period}", "WMA {period}", "WMA").computed_by(studies::wma).reaching(studies::period_bars)
        .defined("The last `period` closes weighted 1 to `period`, the newest most, as TA-Lib WMA."),
    average("dema", "Double Exponential Moving Average", "dema_{period}", "DEMA {period}", "DEMA")
        .computed_by(studies::dema)
        .defined("2 x EMA(`period`) of the closes - the EMA(`period`) of that EMA, as TA-Lib DEMA."),
    average("tema", "Triple Exponential Moving Average", "tema_{period}", "TEMA {period}", "TEMA")
        .computed_by(studies::tema)
        .defined("3 x E1 - 3 x E2 + E3, E1 the closes' EMA(`period`), E2 its EMA and E3 that one's, as TA-Lib TEMA."),
    average("kama", "Kaufman Adaptive Moving Average", "kama_{period}", "KAMA {period}", "KAMA", 1.5)
        .computed_by(studies::kama)
        .defined("Kaufman's adaptive average of the closes, its speed between 2 and 30 bars set by the efficiency "
                 "ratio over `period` bars, as TA-Lib KAMA."),
    average("trima", "Triangular Moving Average", "trima_{period}", "TRIMA {period}", "TRIMA")
        .computed_by(studies::trima).reaching(studies::period_bars)
        .defined("SMA of the SMA of the closes, the two lengths splitting `period`, as TA-Lib TRIMA."),
    average("zlema", "Zero Lag EMA", "zlema_{period}", "ZLEMA {period}", "ZLEMA").computed_by(studies::zlema)
        .defined("EMA(`period`) of 2 x close - the close (`period` - 1)/2 bars before, as TA-Lib ZLEMA."),
    average("mcginley", "McGinley Dynamic", "mcginley_{period}", "McGinley {period}", "MD", 1.5)
        .computed_by(studies::mcginley)
        .defined("McGinley's dynamic of the closes from SMA(`period`), stepping (close - MD)/(`period` x "
                 "(close/MD)^4) each bar, as talipp McGinleyDynamic."),
    average("linear_regression", "Linear Regression", "linreg_{period}", "LinReg {period}", "LinReg", 1.5)
        .computed_by(studies::linear_regression, 2).reaching(studies::period_bars)
        .defined("The end point of the least-squares line through the last `period` closes, as TA-Lib LINEARREG."),
    overlay("keltner", "Keltner Channel",
            {kPeriod, real_setting("multiplier", "2.0", "distance of the bands from the middle, in ATRs"),
             whole_setting("atr_period", "10", "number of bars of the ATR")},
            "keltner_{period}", "Keltner {period}",
            {line("Middle", kOrange), line("Upper", kOrangeHalf), line("Lower", kOrangeHalf)})
        .computed_by(studies::keltner)
        .defined("EMA(`period`) of the closes with bands `multiplier` x ATR(`atr_period`) above and below, as TA-Lib "
                 "EMA and ATR."),
    overlay("atr_bands", "ATR Bands", {kPeriod, kMultiplier}, "atr_bands_{period}",
            "ATR Bands ({period}, {multiplier})",
            {line("Middle", kOrange), line("Upper", kOrangeHalf), line("Lower", kOrangeHalf)})
        .computed_by(studies::atr_bands)
        .defined("SMA(`period`) of the closes with bands `multiplier` x ATR(`period`) above and below, as TA-Lib SMA "
                 "and ATR."),
    overlay("bollinger_filled", "Bollinger Bands with filled cloud",
            {kPeriod, real_setting("multiplier", "2.0", "distance of the bands from the middle, in standard "
                                                         "deviations")},
            "bb_filled_{period}",
            "BB {period}",
            {line("Middle", kBlue), cloud("Upper", "#2196F320", "#2196F320", "Lower"), line("Lower", "#2196F380")})
        .computed_by(studies::bollinger_filled, 2).reaching(studies::period_bars)
        .defined("SMA(`period`) of the closes with bands `multiplier` population standard deviations above and "
                 "below, the space between them filled, as TA-Lib BBANDS."),
    overlay("envelopes", "Envelopes", {kPeriod, kPercent}, "env_{period}", "Env ({period}, {percent}%)",
            {line("Middle", kBlue), dashed("Upper", "#2196F380"), dashed("Lower", "#2196F380")})
        .computed_by(studies::envelopes).reaching(studies::period_bars)
        .defined("SMA(`period`) of the closes with bands `percent` per cent above and below, as TA-Lib SMA."),
    overlay("donchian", "Donchian Channel", {kPeriod}, "donchian_{period}", "Donchian {period}",
            {line("Upper", "#4CAF50"), line("Lower", "#F44336")}).computed_by(studies::donchian, 2).reaching(studies::period_bars)
        .defined("The highest high and lowest low of the last `period` bars, as TA-Lib DONCHIAN."),
    overlay("price_channel", "Price Channel", {kPeriod}, "pc_{period}", "Price Ch {period}",
            {line("Upper", kTeal), line("Lower", kRed)}).computed_by(studies::price_channel, 2).reaching(studies::period_bars_and_one)
        .defined("The highest high and lowest low of the `period` bars before each bar, as TA-Lib MAX and MIN one "
                 "bar later."),
    overlay("supertrend", "Supertrend",
            {kPeriod, kMultiplier, color_option("up_color", "colour of the up-trend runs; None: the line's"),
             color_option("down_color", "colour of the down-trend runs; None: the line's")},
            "supertrend_{period}", "Supertrend ({period}, {multiplier})",
            {directed_line("Supertrend", kBlue, 2.0, "{up_color}", "{down_color}"), hidden("Direction")})
        .computed_by(studies::supertrend, 2)
        .defined("A stop at HL2 -/+ `multiplier` x ATR(`period`) that trails the price and flips when the close "
                 "crosses it, below the price in up-trends and above it in down-trends, as TA-Lib SUPERTREND."),
    overlay("zigzag", "ZigZag", {kDeviation}, "zigzag", "ZigZag {deviation}%",
            {line_through_gaps("ZigZag", kOrange, 2.0)})
        .computed_by(studies::zigzag)
        .defined("Highs and lows where the price turned by at least `deviation` per cent, joined by straight lines "
                 "(a percent-reversal rule of its own; no library reference)."),
    overlay("psar", "Parabolic SAR",
            {real_setting("step", "0.02", "the acceleration at the start and its increase per new extreme", true,
                          "maximum"),
             real_setting("maximum", "0.2", "the largest acceleration")},
            "psar", "Parabolic SAR", {dots("SAR", kOrange, 2.0)})
        .computed_by(studies::psar)
        .defined("Wilder's parabolic stop and reverse, acceleration `step` at the start and per new extreme up to "
                 "`maximum`, as TA-Lib SAR."),
    overlay("vwap", "VWAP", {kCalendarPeriod}, "vwap", "VWAP", {line("VWAP", kOrange, 1.5)})
        .computed_by(studies::vwap)
        .defined("The volume-weighted mean of the typical price (H + L + C)/3, restarting with each calendar "
                 "`period`, as pandas-ta vwap."),
    overlay("ichimoku", "Ichimoku Cloud",
            {whole_setting("tenkan", "9", "number of bars of the conversion line's range", "kijun"),
             whole_setting("kijun", "26", "number of bars of the base line's range; the spans shift by one less",
                           "senkou"),
             whole_setting("senkou", "52", "number of bars of the second leading span's range")},
            "ichimoku", "Ichimoku",
            {line("Tenkan", kBlue), line("Kijun", kRed), line("Senkou A", "#26a69a80"),
             cloud("Senkou B", "#26a69a20", "#ef535020", "Senkou A"), line("Chikou", "#9C27B080")}).computed_by(studies::ichimoku)
        .defined("Tenkan and Kijun the midpoints of the last `tenkan` and `kijun` bars' ranges, Senkou A their mean "
                 "and Senkou B the `senkou`-bar midpoint both shown `kijun` - 1 bars later, Chikou the close shown "
                 "`kijun` - 1 bars earlier, as pandas-ta ichimoku."),
    overlay("pivot_points", "Pivot Points", {kPivotKind, kCalendarPeriod}, "pp", "Pivot Points",
            {line("PP", kGrey), dashed("R1", kRed), dashed("R2", kRed), dashed("R3", kRed), dashed("S1", kTeal),
             dashed("S2", kTeal), dashed("S3", kTeal)}).computed_by(studies::pivot_points)
        .defined("Pivots of the `kind` formula (floor: PP = (H + L + C)/3 with its R1-R3 and S1-S3) from the "
                 "previous calendar `period`'s high, low and close (the classic formulas)."),
    overlay("chande_kroll_stop", "Chande Kroll Stop", {}, "cks", "Chande Kroll Stop",
            {dashed("Stop Long", kTeal), dashed("Stop Short", kRed)}).computed_by(studies::chande_kroll_stop)
        .defined("Stop Long the highest of the last 9 values of the 10-bar highest high - ATR(10), Stop Short the "
                 "lowest of the last 9 values of the 10-bar lowest low + ATR(10), as pandas-ta cksp with Wilder's "
                 "ATR."),

    // Fixed ranges.
    pane("adx", "Average Directional Index", {kPeriod}, "adx_{period}", "ADX {period}", 0.15, fixed(0, 100),
         {dotted_level(25, kGrey)}, {line("ADX", kPurple, 2.0), line("+DI", kTeal), line("-DI", kRed)})
        .computed_by(studies::adx, 2)
        .defined("Wilder's directional movement over `period` bars: ADX with +DI and -DI, as TA-Lib ADX, PLUS_DI and "
                 "MINUS_DI."),
    pane("aroon", "Aroon", {kPeriod}, "aroon_{period}", "Aroon {period}", 0.15, fixed(0, 100),
         {dotted_level(70, kGrey), dotted_level(30, kGrey)}, {line("Up", kTeal), line("Down", kRed)})
        .computed_by(studies::aroon, 2).reaching(studies::period_bars_and_one)
        .defined("100 x (`period` - bars since the highest high) / `period` as Up and the same of the lowest low as "
                 "Down, over the last `period` + 1 bars, as TA-Lib AROON."),
    pane("aroon_oscillator", "Aroon Oscillator", {kPeriod}, "aroon_osc_{period}", "Aroon Osc {period}", 0.15,
         fixed(-100, 100), {kZero}, {line("AO", kBlue)}).computed_by(studies::aroon_oscillator, 2).reaching(studies::period_bars_and_one)
        .defined("Aroon Up - Aroon Down over `period` bars, as TA-Lib AROONOSC."),
    pane("balance_of_power", "Balance of Power", {}, "bop", "Balance of Power", 0.15, fixed(-1, 1), {kZero},
         {histogram("BoP")}).computed_by(studies::balance_of_power).reaching(studies::one_bar)
        .defined("(close - open) / (high - low) of each bar, as TA-Lib BOP."),
    pane("choppiness", "Choppiness Index", {kPeriod}, "chop_{period}", "Choppiness {period}", 0.15,
         fixed(0, 100), {dashed_level(61.8, kRed, "Choppy"), dashed_level(38.2, kTeal, "Trending")},
         {line("CHOP", kBlue)}).computed_by(studies::choppiness, 2).reaching(studies::period_bars_and_one)
        .defined("100 x log10(sum of true ranges / (highest high - lowest low)) / log10(`period`) over `period` "
                 "bars, as pandas-ta chop."),
    pane("cmf", "Chaikin Money Flow", {kPeriod}, "cmf_{period}", "CMF {period}", 0.15, fixed(-1, 1), {kZero},
         {line("CMF", kTeal)}).computed_by(studies::cmf, 2).reaching(studies::period_bars)
        .defined("The money flow volume of the last `period` bars over their volume, as TA-Lib CMF."),
    pane("cmo", "Chande Momentum Oscillator", {kPeriod}, "cmo_{period}", "CMO {period}", 0.15, fixed(-100, 100),
         {dashed_level(50, kRed), dashed_level(-50, kTeal), kZero}, {line("CMO", kPurple)})
        .computed_by(studies::cmo, 2).reaching(studies::period_bars_and_one)
        .defined("100 x (gains - losses) / (gains + losses) of the last `period` close changes, as TA-Lib CMOU."),
    pane("connors_rsi", "Connors RSI", {}, "crsi", "Connors RSI", 0.15, fixed(0, 100),
         {dashed_level(90, kRed), dashed_level(10, kTeal), dotted_level(50, kGrey)}, {line("CRSI", kPurple, 1.5)})
        .computed_by(studies::connors_rsi)
        .defined("The mean of RSI(3) of the closes, RSI(2) of the up or down streak and the 100-bar percent rank of "
                 "the one-bar return, with TA-Lib RSI."),
    pane("mfi", "Money Flow Index", {kPeriod}, "mfi_{period}", "MFI {period}", 0.15, fixed(0, 100),
         {dashed_level(80, kRed, "Overbought"), dashed_level(20, kTeal, "Oversold")}, {line("MFI", kPurple)})
        .computed_by(studies::mfi, 2).reaching(studies::period_bars_and_one)
        .defined("100 x rising money flow / all money flow of the typical price over `period` bars, as TA-Lib MFI."),
    pane("schaff_trend_cycle", "Schaff Trend Cycle", {}, "stc", "Schaff Trend Cycle", 0.15, fixed(0, 100),
         {dashed_level(75, kRed), dashed_level(25, kTeal)}, {line("STC", kPurple, 1.5)})
        .computed_by(studies::schaff_trend_cycle)
        .defined("A 10-bar stochastic of MACD(23, 50) of the closes, halfway-smoothed, and the same again of that, "
                 "with TA-Lib EMA."),
    pane("stoch_rsi", "Stochastic RSI", {kPeriod}, "stoch_rsi_{period}", "Stoch RSI {period}", 0.15,
         fixed(0, 100), {dashed_level(80, kRed), dashed_level(20, kTeal)}, {line("%K", kBlue), line("%D", kOrange)})
        .computed_by(studies::stoch_rsi, 2)
        .defined("The stochastic of RSI(`period`) over `period` values, %K its 3-value SMA and %D the 3-value SMA of "
                 "%K, as TA-Lib RSI and STOCH."),
    pane("stochastic", "Stochastic Oscillator", {kK, kD}, "stoch_{k}_{d}", "Stoch ({k},{d})", 0.15, fixed(0, 100),
         {dashed_level(80, kRed), dashed_level(20, kTeal)}, {line("%K", kBlue), line("%D", kOrange)})
        .computed_by(studies::stochastic).reaching(studies::stochastic_reach)
        .defined("%K the 3-bar SMA of where the close lies in the `k`-bar high-low range, %D the `d`-bar SMA of %K, "
                 "as TA-Lib STOCH."),
    pane("tsi", "True Strength Index", {kR, kS}, "tsi_{r}_{s}", "TSI ({r},{s})", 0.15, fixed(-100, 100),
         {dashed_level(25, kRed), dashed_level(-25, kTeal), kZero}, {line("TSI", kPurple), line("Signal", kOrange)})
        .computed_by(studies::tsi, 2)
        .defined("100 x the close changes smoothed by EMA(`r`) then EMA(`s`) over their absolute values smoothed "
                 "alike, with an EMA(13) Signal, as TA-Lib TSI and EMA."),
    pane("ultimate_oscillator", "Ultimate Oscillator", {}, "uo", "Ultimate Oscillator", 0.15, fixed(0, 100),
         {dashed_level(70, kRed), dashed_level(30, kTeal), dotted_level(50, kGrey)}, {line("UO", kBlue)})
        .computed_by(studies::ultimate_oscillator).reaching(studies::ultimate_oscillator_reach)
        .defined("Buying pressure over true range on 7, 14 and 28 bars, weighted 4:2:1, as TA-Lib ULTOSC."),
    pane("williams_r", "Williams %R", {kPeriod}, "williams_r_{period}", "Williams %R {period}", 0.15,
         fixed(-100, 0), {dashed_level(-20, kRed), dashed_level(-80, kTeal)}, {line("%R", kPurple)})
        .computed_by(studies::williams_r, 2).reaching(studies::period_bars)
        .defined("-100 x (highest high - close) / (highest high - lowest low) over `period` bars, as TA-Lib WILLR."),

    // Ranges symmetric about zero, each with the zero line last.
    pane("accelerator_oscillator", "Accelerator Oscillator", {}, "ac", "Accelerator Oscillator", 0.15, kSymmetric,
         {kZero}, {histogram("AC")}).computed_by(studies::accelerator_oscillator)
        .reaching(studies::accelerator_oscillator_reach)
        .defined("The awesome oscillator minus its 5-bar SMA, bars coloured by rise and fall, as TA-Lib AC."),
    pane("awesome_oscillator", "Awesome Oscillator", {}, "ao", "Awesome Oscillator", 0.15, kSymmetric, {kZero},
         {histogram("AO")}).computed_by(studies::awesome_oscillator)
        .reaching(studies::awesome_oscillator_reach)
        .defined("SMA(5) - SMA(34) of the bars' midpoints (H + L)/2, bars coloured by rise and fall, as TA-Lib AO."),
    pane("cci", "Commodity Channel Index", {kPeriod}, "cci_{period}", "CCI {period}", 0.15, kSymmetric,
         {dashed_level(100, kRed), dashed_level(-100, kTeal), kZero}, {line("CCI", kBlue)})
        .computed_by(studies::cci, 2).reaching(studies::period_bars)
        .defined("(typical price - its SMA(`period`)) / (0.015 x its mean absolute deviation), as TA-Lib CCI."),
    pane("chaikin_oscillator", "Chaikin Oscillator", {}, "cho", "Chaikin Oscillator", 0.15, kSymmetric, {kZero},
         {line("CO", kBlue)}).computed_by(studies::chaikin_oscillator)
        .defined("The 3-bar minus the 10-bar EMA of the accumulation/distribution line, as TA-Lib ADOSC."),
    pane("coppock_curve", "Coppock Curve", {}, "coppock", "Coppock Curve", 0.15, kSymmetric, {kZero},
         {line("Coppock", kBlue, 1.5)}).computed_by(studies::coppock_curve).reaching(studies::coppock_curve_reach)
        .defined("WMA(10) of ROC(11) + ROC(14) of the closes, as TA-Lib COPPOCK."),
    pane("dpo", "Detrended Price Oscillator", {kPeriod}, "dpo_{period}", "DPO {period}", 0.15, kSymmetric,
         {kZero}, {line("DPO", kBlue)}).computed_by(studies::dpo, 2).reaching(studies::dpo_reach)
        .defined("The close `period`/2 + 1 bars before minus SMA(`period`) of the closes, as TA-Lib DPO."),
    pane("elder_ray", "Elder Ray", {kPeriod}, "elder_ray_{period}", "Elder-Ray {period}", 0.15, kSymmetric,
         {kZero},
         {histogram("Bull", kLeftHalf, kChartUp, kChartUpFaded), histogram("Bear", kRightHalf, kChartDownFaded, kChartDown)})
        .computed_by(studies::elder_ray)
        .defined("High - EMA(`period`) of the closes as Bull, low - that EMA as Bear, as TA-Lib ERI."),
    pane("eom", "Ease of Movement", {kPeriod}, "eom_{period}", "EOM {period}", 0.15, kSymmetric, {kZero},
         {line("EOM", "#4CAF50")}).computed_by(studies::eom, 2).reaching(studies::period_bars_and_one)
        .defined("SMA(`period`) of the midpoint's move times the bar's range, per 100 million of volume, as "
                 "pandas-ta eom."),
    pane("fisher_transform", "Fisher Transform", {kPeriod}, "fisher_{period}", "Fisher {period}", 0.15,
         kSymmetric, {kZero}, {line("Fisher", "#E91E63"), line("Signal", kPurple)})
        .computed_by(studies::fisher_transform)
        .defined("The Fisher transform of where the midpoint lies in its `period`-bar range, its previous value as "
                 "Signal, as pandas-ta fisher."),
    pane("force_index", "Force Index", {kPeriod}, "fi_{period}", "Force {period}", 0.15, kSymmetric, {kZero},
         {line("Force", "#E91E63")}).computed_by(studies::force_index)
        .defined("EMA(`period`) of the close change times the volume, as TA-Lib EFI."),
    pane("kst", "Know Sure Thing", {}, "kst", "KST", 0.15, kSymmetric, {kZero},
         {line("KST", kBlue), line("Signal", kOrange)}).computed_by(studies::kst).reaching(studies::kst_reach)
        .defined("The weighted sum 1:2:3:4 of SMAs of ROC(10), ROC(15), ROC(20) and ROC(30) of the closes, with a "
                 "9-bar SMA Signal, as TA-Lib ROC and SMA."),
    pane("linear_regression_slope", "Linear Regression Slope", {kPeriod}, "linreg_slope_{period}",
         "LinReg Slope {period}", 0.12, kSymmetric, {kZero}, {line("Slope", kBlue)})
        .computed_by(studies::linear_regression_slope, 2).reaching(studies::period_bars)
        .defined("The slope of the least-squares line through the last `period` closes, per bar, as TA-Lib "
                 "LINEARREG_SLOPE."),
    pane("momentum", "Momentum", {kPeriod}, "momentum_{period}", "Momentum {period}", 0.15, kSymmetric, {kZero},
         {line("Mom", kBlue)}).computed_by(studies::momentum).reaching(studies::period_bars_and_one)
        .defined("The close minus the close `period` bars before, as TA-Lib MOM."),
    pane("pgo", "Pretty Good Oscillator", {kPeriod}, "pgo_{period}", "PGO {period}", 0.15, kSymmetric,
         {dashed_level(3, kRed), dashed_level(-3, kTeal), kZero}, {line("PGO", kBlue)}).computed_by(studies::pgo)
        .defined("(close - SMA(`period`)) / EMA(`period`) of the true range, as TA-Lib SMA, EMA and TRANGE."),
    pane("qstick", "QStick", {kPeriod}, "qstick_{period}", "Qstick {period}", 0.15, kSymmetric, {kZero},
         {histogram("Qstick")}).computed_by(studies::qstick).reaching(studies::period_bars)
        .defined("SMA(`period`) of close - open, as TA-Lib QSTICK."),
    pane("roc", "Rate of Change", {kPeriod}, "roc_{period}", "ROC {period}", 0.15, kSymmetric, {kZero},
         {line("ROC", kOrange)}).computed_by(studies::roc).reaching(studies::period_bars_and_one)
        .defined("100 x (close / the close `period` bars before - 1), as TA-Lib ROC."),
    pane("rvi", "Relative Vigor Index", {kPeriod}, "rvi_{period}", "RVI {period}", 0.15, kSymmetric, {kZero},
         {line("RVI", kTeal), line("Signal", kRed)}).computed_by(studies::rvi).reaching(studies::rvi_reach)
        .defined("The `period`-bar sum of smoothed close - open over that of smoothed high - low, with its 4-bar "
                 "smoothing as Signal, as pandas-ta rvgi."),
    pane("smi_ergodic", "SMI Ergodic", {}, "smi", "SMI Ergodic", 0.15, kSymmetric, {kZero},
         {line("SMI", kBlue), line("Signal", kOrange)}).computed_by(studies::smi_ergodic)
        .defined("TSI(20, 5) of the closes on a -1 to 1 scale, with an EMA(5) Signal, as TA-Lib TSI and EMA."),
    pane("trix", "TRIX", {kPeriod}, "trix_{period}", "TRIX {period}", 0.15, kSymmetric, {kZero},
         {line("TRIX", kPurple), line("Signal", kOrange)}).computed_by(studies::trix)
        .defined("100 x the one-bar change of the closes' triple EMA(`period`), with an EMA(9) Signal, as TA-Lib "
                 "TRIX and EMA."),

    // Automatic ranges.
    pane("ad_line", "Accumulation/Distribution Line", {}, "ad", "A/D Line", 0.12, kAuto, {}, {line("A/D", kOrange)})
        .computed_by(studies::ad_line)
        .defined("The running sum of each bar's close location in its range times its volume, as TA-Lib AD."),
    pane("atr", "Average True Range", {kPeriod}, "atr_{period}", "ATR {period}", 0.12, kAuto, {},
         {line("ATR", kOrange)}).computed_by(studies::atr)
        .defined("Wilder's average of the true range over `period` bars, as TA-Lib ATR."),
    pane("historical_volatility", "Historical Volatility", {kPeriod}, "hv_{period}", "HV {period}", 0.12, kAuto,
         {}, {line("HV", kOrange)}).computed_by(studies::historical_volatility, 2).reaching(studies::period_bars_and_one)
        .defined("100 x sqrt(252) x the sample standard deviation of the last `period` log returns, as TA-Lib "
                 "STDDEV."),
    pane("mass_index", "Mass Index", {}, "mass", "Mass Index", 0.15, kAuto,
         {dashed_level(27, kRed, "Bulge"), dotted_level(26.5, kGrey)}, {line("Mass", kPurple)})
        .computed_by(studies::mass_index)
        .defined("The 25-bar sum of EMA(9) of the range over EMA(9) of that EMA, as TA-Lib MASSI."),
    pane("nvi", "Negative Volume Index", {}, "nvi", "NVI", 0.12, kAuto, {}, {line("NVI", kRed)})
        .computed_by(studies::nvi)
        .defined("An index from 1000 that follows the close's change on bars whose volume falls, as TA-Lib NVI."),
    pane("obv", "On Balance Volume", {}, "obv", "OBV", 0.12, kAuto, {}, {line("OBV", kBlue)}).computed_by(studies::obv)
        .defined("The running sum of the volume, added on up closes and taken away on down closes, as TA-Lib OBV."),
    pane("pvi", "Positive Volume Index", {}, "pvi", "PVI", 0.12, kAuto, {}, {line("PVI", kTeal)})
        .computed_by(studies::pvi)
        .defined("An index from 1000 that follows the close's change on bars whose volume rises, as TA-Lib PVI."),
    pane("stddev", "Standard Deviation", {kPeriod}, "stddev_{period}", "StdDev {period}", 0.12, kAuto, {},
         {line("StdDev", kPurple)}).computed_by(studies::stddev, 2).reaching(studies::period_bars)
        .defined("The population standard deviation of the last `period` closes, as TA-Lib STDDEV."),
    pane("ulcer_index", "Ulcer Index", {kPeriod}, "ulcer_{period}", "Ulcer {period}", 0.12, kAuto, {},
         {line("UI", kRed)}).computed_by(studies::ulcer_index).reaching(studies::period_of_periods)
        .defined("The root mean square over `period` bars of the close's per cent drawdown from its `period`-bar "
                 "high, as pandas-ta ui."),
    pane("vortex", "Vortex Indicator", {kPeriod}, "vortex_{period}", "Vortex {period}", 0.15, kAuto,
         {dotted_level(1, kGrey)}, {line("VI+", kTeal), line("VI-", kRed)}).computed_by(studies::vortex).reaching(studies::period_bars_and_one)
        .defined("The `period`-bar sums of |high - previous low| (VI+) and |low - previous high| (VI-) over that of "
                 "the true range, as TA-Lib VORTEX."),
    pane("vpt", "Volume Price Trend", {}, "vpt", "VPT", 0.12, kAuto, {}, {line("VPT", kPurple)})
        .computed_by(studies::vpt)
        .defined("The running sum of the volume times the close's relative change, as TA-Lib PVT."),
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
    average("sma", "Simple Moving Average", "sma_{period}", "SMA {period}", "SMA").computed_by(studies::sma).reaching(studies::period_bars)
        .defined("The mean of the last `period` closes, as TA-Lib SMA.");
inline constexpr IndicatorSpec kEmaRow =
    average("ema", "Exponential Moving Average", "ema_{period}", "EMA {period}", "EMA").computed_by(studies::ema)
        .defined("The closes' exponential average with weight 2/(`period` + 1), seeded with the mean of the first "
                 "`period` closes, as TA-Lib EMA.");
inline constexpr IndicatorSpec kRsiRow =
    pane("rsi", "Relative Strength Index", {kPeriod}, "rsi_{period}", "RSI {period}", 0.15, fixed(0, 100),
         {dashed_level(70, "#ef5350", "Overbought"), dashed_level(30, "#26a69a", "Oversold"),
          solid_level(50, "#787b8640", 0.5)},
         {line("RSI", kPurple)})
        .computed_by(studies::rsi)
        .defined("Wilder's RSI over `period` closes, as TA-Lib RSI.");
// The id carries the fast and slow periods only.
inline constexpr IndicatorSpec kMacdRow =
    pane("macd", "MACD", {kFast, kSlow, kSignal}, "macd_{fast}_{slow}", "MACD ({fast},{slow},{signal})", 0.2,
         kSymmetric, {kZero}, {line("MACD", kBlue), line("Signal", kOrange), histogram("Histogram")})
        .computed_by(studies::macd)
        .defined("EMA(`fast`) - EMA(`slow`) of the closes, its EMA(`signal`) as Signal and their difference as "
                 "Histogram, as TA-Lib MACD.");
// MACD (12, 26, 9): the same study on its fixed periods.
inline constexpr IndicatorSpec kMacdDefaultRow =
    pane("macd_default", "MACD with default settings (12, 26, 9)", {}, "macd", "MACD (12,26,9)", 0.2, kSymmetric,
         {kZero}, {line("MACD", kBlue), line("Signal", kOrange), histogram("Histogram")})
        .computed_by(studies::macd)
        .defined("EMA(12) - EMA(26) of the closes, its EMA(9) as Signal and their difference as Histogram, as TA-Lib "
                 "MACD.");
inline constexpr IndicatorSpec kBollingerRow =
    overlay("bollinger", "Bollinger Bands", {kPeriod, kMultiplier}, "bb_{period}", "BB {period}",
            {line("Middle", kBlue), line("Upper", "#2196F380"), line("Lower", "#2196F380")})
        .computed_by(studies::bollinger).reaching(studies::period_bars)
        .defined("SMA(`period`) of the closes with bands `multiplier` population standard deviations above and "
                 "below, as TA-Lib BBANDS.");
inline constexpr IndicatorSpec kVolumeRow =
    IndicatorSpec{"volume",
                  "Volume histogram: a band behind the candles at the bottom of the price pane, or a pane of its "
                  "own with pane=True",
                  {}, "volume", "Volume", model::placement::VolumeBand{0.2}, kAuto, {}, {histogram("Volume")}}
        .defined("Each bar's volume, in the up colour where the close is at or above the open.");
// Volume in a pane of its own takes this share of the plot height, and counts up from 0.
inline constexpr double kVolumePaneRatio = 0.15;

// The caller's values as one line in the caller's colour. overlay_indicator builds the record itself (its id
// is the name in lower case), so the row gives only the line's look and the method's docstring.
inline constexpr ArgSpec kName{"name", ArgKind::Text};
inline constexpr IndicatorSpec kOverlayRow =
    overlay("overlay", "Custom overlay with pre-calculated values", {kName, kColor}, "custom", "{name}",
            {line("{name}", kCallerColor, 1.5)})
        .defined("The caller's `values`, one per bar, drawn as given (NaN: no point).");

}  // namespace catalog
using catalog::kBollingerRow;
using catalog::kEmaRow;
using catalog::kMacdDefaultRow;
using catalog::kMacdRow;
using catalog::kOverlayRow;
using catalog::kRsiRow;
using catalog::kSmaRow;
using catalog::kVolumePaneRatio;
using catalog::kVolumeRow;

// The row of a study method, a hand-written one's included (not overlay's, whose values are the caller's);
// null when none has that name.
const IndicatorSpec* find_study_row(std::string_view method);

}  // namespace qc::api
