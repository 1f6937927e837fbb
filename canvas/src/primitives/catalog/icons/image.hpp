// Image: a picture placed in a box around its centre; where no picture can be drawn, a crossed box.
#pragma once

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "primitives/catalog/common/primitive_base.hpp"

namespace qc::primitives::catalog {

class Image final : public PrimitiveBase<Image> {
 public:
  static constexpr BuiltinType kType = BuiltinType::image;
  static constexpr double kDefaultWidth = 1.0;

  double center_bar = 0.0;
  double center_price = 100.0;
  double radius_bars = 5.0;
  double radius_price = 100.0;
  std::string url;

  // Only the centre is an anchor (translate moves it); the radii are sizes.
  static constexpr auto anchor_fields() {
    return std::array{AnchorField<Image>{&Image::center_bar, &Image::center_price}};
  }
  // The second point is the box corner: the centre plus both radii.
  std::vector<Point> points() const override {
    return {{center_bar, center_price}, {center_bar + radius_bars, center_price + radius_price}};
  }
  // The first point moves the centre; a second one sets the radii from its distance to the first, no
  // smaller than half a bar and one price unit.
  void set_points(std::span<const Point> points) override;
  // The factory takes only the centre; the radii keep their defaults.
  void place(std::span<const Point> points) { set_points(points.first(std::min<std::size_t>(points.size(), 1))); }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "center_bar", center_bar);
    json_entry(w, "center_price", center_price);
    json_entry(w, "radius_bars", radius_bars);
    json_entry(w, "radius_price", radius_price);
    json_entry(w, "url", url);
  }
  void render(RenderContext& ctx, bool selected) const override;
};

}  // namespace qc::primitives::catalog
