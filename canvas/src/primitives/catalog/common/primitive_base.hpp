// PrimitiveBase: supplies the 14 Primitive operations of a built-in type from a few hooks of the type.
//
// A type `T final : PrimitiveBase<T>` declares:
//   static constexpr BuiltinType kType;          its row in the built-in catalogue (ids, kind)
//   static constexpr double kDefaultWidth;       data.width set by the factory
//   static constexpr std::string_view kInstanceName;   optional: data.display_name when not the catalogue's
//   its anchors, in one of three forms:
//     static constexpr auto anchor_fields();     named fields: std::array of AnchorField (bar and/or price)
//     static constexpr SetRule kSetRule;          for named fields: AllOrNothing or AsManyAsGiven (default)
//     std::array<Point, N> anchors;              a fixed array: set_points replaces as many as given
//     std::vector<Point> anchors;                a free list: set_points replaces the whole list
//   optionally levels: std::vector<FibLevelConfig> levels, or std::vector<double> levels (bare ratios)
//   static constexpr auto kWords = &T::field;    optional: the std::string field that keeps the caller's words
//   void place(std::span<const Point> points);   optional: how the factory derives its anchors from the
//                                                given points; by default they fill the anchors in order
//                                                and missing ones keep their member defaults
//   void write_fields(JsonWriter& w) const;      its JSON entries after "data"
//   void render(RenderContext& ctx, bool selected) const override;
//   and, when it has a label, text_anchor.
#pragma once

#include <algorithm>
#include <concepts>
#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "primitives/core/json.hpp"
#include "primitives/core/traits.hpp"
#include "primitives/registry/catalogue.hpp"

namespace qc::primitives::catalog {

// How set_points treats a list of points for anchors held in named fields.
enum class SetRule : unsigned char {
  AllOrNothing,   // fewer points than anchors change nothing
  AsManyAsGiven,  // the first n anchors take the first n points; the rest stay
};

// One anchor held in named fields; a null member means the anchor has no such coordinate (it reads as 0).
template <class T>
struct AnchorField {
  double T::*bar = nullptr;
  double T::*price = nullptr;
};

// Moves a coordinate by d; a zero move keeps the value bit for bit (-0.0 + 0.0 would give +0.0).
constexpr void shift(double& v, double d) noexcept {
  if (d != 0.0) v += d;
}

// The point at index i, or fallback when fewer points were given.
constexpr Point point_or(std::span<const Point> points, std::size_t i, Point fallback) noexcept {
  return i < points.size() ? points[i] : fallback;
}

namespace detail {
// Checked only inside member function bodies, where the derived type is complete.
template <class T>
concept NamedAnchors = requires { T::anchor_fields(); };
template <class T>
concept AnchorList = std::same_as<decltype(T::anchors), std::vector<Point>>;
template <class T>
concept LevelConfigs = std::same_as<decltype(T::levels), std::vector<FibLevelConfig>>;
template <class T>
concept LevelRatios = std::same_as<decltype(T::levels), std::vector<double>>;
}  // namespace detail

template <class Derived>
class PrimitiveBase : public Primitive {
 public:
  std::string_view type_id() const final { return metadata().type_id; }
  std::string_view display_name() const final { return data_.display_name; }
  PrimitiveKind kind() const final { return metadata().kind; }
  const PrimitiveData& data() const final { return data_; }
  PrimitiveData& data_mut() final { return data_; }

  std::vector<Point> points() const override {
    const Derived& d = self();
    if constexpr (detail::NamedAnchors<Derived>) {
      constexpr auto fields = Derived::anchor_fields();
      std::vector<Point> out;
      out.reserve(fields.size());
      for (const auto& f : fields) out.push_back({f.bar ? d.*f.bar : 0.0, f.price ? d.*f.price : 0.0});
      return out;
    } else {
      return std::vector<Point>(d.anchors.begin(), d.anchors.end());
    }
  }

  void set_points(std::span<const Point> points) override {
    if constexpr (detail::NamedAnchors<Derived>) {
      if (set_rule() == SetRule::AllOrNothing && points.size() < Derived::anchor_fields().size()) return;
    }
    assign_anchors(points);
  }

  void translate(double d_bar, double d_price) override {
    Derived& d = mut_self();
    if constexpr (detail::NamedAnchors<Derived>) {
      for (const auto& f : Derived::anchor_fields()) {
        if (f.bar) shift(d.*f.bar, d_bar);
        if (f.price) shift(d.*f.price, d_price);
      }
    } else {
      for (Point& p : d.anchors) {
        shift(p.bar, d_bar);
        shift(p.price, d_price);
      }
    }
  }

  std::optional<TextAnchor> text_anchor(const RenderContext&) const override { return std::nullopt; }

  std::optional<std::vector<FibLevelConfig>> level_configs() const override {
    if constexpr (detail::LevelConfigs<Derived>) {
      return self().levels;
    } else if constexpr (detail::LevelRatios<Derived>) {
      std::vector<FibLevelConfig> out;
      out.reserve(self().levels.size());
      for (double ratio : self().levels) out.push_back(FibLevelConfig::make(ratio));
      return out;
    } else {
      return std::nullopt;
    }
  }

  bool set_level_configs(std::vector<FibLevelConfig> levels) override {
    if constexpr (detail::LevelConfigs<Derived>) {
      mut_self().levels = std::move(levels);
      return true;
    } else if constexpr (detail::LevelRatios<Derived>) {
      auto& ratios = mut_self().levels;
      ratios.clear();
      for (const FibLevelConfig& level : levels) ratios.push_back(level.level);
      return true;
    } else {
      return false;
    }
  }

  std::string to_json() const final {
    return primitive_json(data_, [this](JsonWriter& w) { self().write_fields(w); });
  }

  std::unique_ptr<Primitive> clone_box() const final { return std::make_unique<Derived>(self()); }

  void set_text(std::string_view words) final {
    data_.text = PrimitiveText::make(words);
    if constexpr (requires { Derived::kWords; }) mut_self().*Derived::kWords = std::string(words);
  }

  // The factory: the common record (type ids, colour, default width), then the type's own anchors.
  static std::unique_ptr<Derived> create(std::span<const Point> points, std::string_view color) {
    auto p = std::make_unique<Derived>();
    PrimitiveData& data = p->data_;
    data.type_id = metadata().type_id;
    if constexpr (requires { Derived::kInstanceName; }) {
      data.display_name = Derived::kInstanceName;
    } else {
      data.display_name = metadata().display_name;
    }
    data.color = PrimitiveColor::make(color);
    data.width = Derived::kDefaultWidth;
    if constexpr (requires { p->place(points); }) {
      p->place(points);
    } else {
      p->assign_anchors(points);
    }
    return p;
  }

 protected:
  PrimitiveBase() = default;

  PrimitiveData data_;

 private:
  static constexpr const PrimitiveMetadata& metadata() noexcept { return builtin_metadata(Derived::kType); }
  static constexpr SetRule set_rule() noexcept {
    if constexpr (requires { Derived::kSetRule; }) {
      return Derived::kSetRule;
    } else {
      return SetRule::AsManyAsGiven;
    }
  }
  // The first anchors take the given points in order (a list takes exactly the given points); the others
  // keep their values.
  void assign_anchors(std::span<const Point> points) {
    Derived& d = mut_self();
    if constexpr (detail::NamedAnchors<Derived>) {
      constexpr auto fields = Derived::anchor_fields();
      const std::size_t n = std::min(points.size(), fields.size());
      for (std::size_t i = 0; i < n; ++i) {
        if (fields[i].bar) d.*fields[i].bar = points[i].bar;
        if (fields[i].price) d.*fields[i].price = points[i].price;
      }
    } else if constexpr (detail::AnchorList<Derived>) {
      d.anchors.assign(points.begin(), points.end());
    } else {
      std::copy_n(points.begin(), std::min(points.size(), d.anchors.size()), d.anchors.begin());
    }
  }

  const Derived& self() const noexcept { return static_cast<const Derived&>(*this); }
  Derived& mut_self() noexcept { return static_cast<Derived&>(*this); }

};

}  // namespace qc::primitives::catalog
