// The one-anchor layout most annotations share: a (bar, price) pair named bar and price.
#pragma once

#include <array>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

template <class T>
constexpr auto bar_price_anchor() {
  return std::array{AnchorField<T>{&T::bar, &T::price}};
}

}  // namespace qc::primitives::catalog
