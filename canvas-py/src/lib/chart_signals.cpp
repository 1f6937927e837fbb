// Chart methods that mark trade signals: one row per signal type, one body for all.
#include "chart.hpp"

namespace qcpy {
namespace {

using namespace param;
using qc::api::SignalConfig;
using qc::api::SignalType;

// Builds the record before taking the chart, so a conversion failure leaves the chart as it was.
PyObject* add_signal(ChartCall& c) {
  SignalConfig signal;
  signal.signal_type = c.data<SignalType>();
  signal.bar_index = c.args.u64(0);
  signal.price = c.args.f64(1);
  // custom_signal requires its label (text); the other rows take an optional one.
  const Converted& label = c.args.slot(2);
  if (const auto* text = std::get_if<std::string>(&label)) {
    signal.label = *text;
  } else if (const auto* opt = std::get_if<std::optional<std::string>>(&label)) {
    signal.label = *opt;
  }
  with_chart(c, [&](qc::api::Chart&& chart) { return std::move(chart).signal(std::move(signal)); });
  return none();
}

constexpr SignalType kBuy = SignalType::Buy;
constexpr SignalType kSell = SignalType::Sell;
constexpr SignalType kTakeProfit = SignalType::TakeProfit;
constexpr SignalType kStopLoss = SignalType::StopLoss;
constexpr SignalType kEntry = SignalType::Entry;
constexpr SignalType kExit = SignalType::Exit;
constexpr SignalType kCustom = SignalType::Custom;

constexpr Params kOptionalLabel{bar("bar_index"), f64("price"), opt_text("label")};

constexpr ChartRow kRows[] = {
    {"buy_signal", "Buy signal", kOptionalLabel, Borrow::exclusive, add_signal, &kBuy},
    {"sell_signal", "Sell signal", kOptionalLabel, Borrow::exclusive, add_signal, &kSell},
    {"take_profit_signal", "Take profit signal", kOptionalLabel, Borrow::exclusive, add_signal, &kTakeProfit},
    {"stop_loss_signal", "Stop loss signal", kOptionalLabel, Borrow::exclusive, add_signal, &kStopLoss},
    {"entry_signal", "Entry signal", kOptionalLabel, Borrow::exclusive, add_signal, &kEntry},
    {"exit_signal", "Exit signal", kOptionalLabel, Borrow::exclusive, add_signal, &kExit},
    {"custom_signal", "Custom signal", {bar("bar_index"), f64("price"), text("label").means("text beside the marker")}, Borrow::exclusive, add_signal,
     &kCustom},
};

}  // namespace

MethodGroup chart_signal_methods() { return method_defs<kRows>(); }

}  // namespace qcpy
