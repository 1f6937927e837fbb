// Names and dash patterns of the primitive codes.
#include "primitives/core/types.hpp"

namespace qc::primitives {

std::string_view json_name(LineStyle style) noexcept {
  switch (style) {
    case LineStyle::Solid: return "solid";
    case LineStyle::Dotted: return "dotted";
    case LineStyle::Dashed: return "dashed";
    case LineStyle::LargeDashed: return "largedashed";
    case LineStyle::SparseDotted: return "sparsedotted";
  }
  return "solid";
}

std::string_view json_name(PrimitiveTextAlign align) noexcept {
  switch (align) {
    case PrimitiveTextAlign::Start: return "Start";
    case PrimitiveTextAlign::Center: return "Center";
    case PrimitiveTextAlign::End: return "End";
  }
  return "Start";
}

std::string_view json_name(SyncMode mode) noexcept {
  switch (mode) {
    case SyncMode::None: return "None";
    case SyncMode::SameSymbol: return "SameSymbol";
    case SyncMode::Everywhere: return "Everywhere";
  }
  return "None";
}

std::span<const double> line_style_dash(LineStyle style) noexcept {
  static constexpr double kDotted[] = {2.0, 2.0};
  static constexpr double kDashed[] = {8.0, 4.0};
  static constexpr double kLargeDashed[] = {12.0, 6.0};
  static constexpr double kSparseDotted[] = {2.0, 8.0};
  switch (style) {
    case LineStyle::Solid: return {};
    case LineStyle::Dotted: return kDotted;
    case LineStyle::Dashed: return kDashed;
    case LineStyle::LargeDashed: return kLargeDashed;
    case LineStyle::SparseDotted: return kSparseDotted;
  }
  return {};
}

}  // namespace qc::primitives
