// Decimals of caption prices and differences.
#include "primitives/catalog/common/caption_numbers.hpp"

#include <cmath>
#include <iterator>

#include "util/fixed.hpp"
#include "util/safe_math.hpp"

namespace qc::primitives::catalog {
namespace {

int caption_decimals(double level) noexcept {
  if (!(level < 1.0) || level == 0.0 || !std::isfinite(level)) return 2;
  // The lowest level each number of decimals from 4 on still writes with enough digits: 10^(3 - d).
  static constexpr double kLowest[] = {1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7};
  static_assert(4 + std::size(kLowest) - 1 == util::kMaxFixedDecimals);
  int decimals = 4;
  for (const double lowest : kLowest) {
    if (level >= lowest) return decimals;
    ++decimals;
  }
  return util::kMaxFixedDecimals;
}

}  // namespace

int price_decimals(double price) noexcept { return caption_decimals(std::fabs(price)); }

int change_decimals(double price1, double price2) noexcept {
  return caption_decimals(util::nan_max(std::fabs(price1), std::fabs(price2)));
}

void append_caption_price(std::string& out, double price) { util::append_fixed(out, price, price_decimals(price)); }

}  // namespace qc::primitives::catalog
