// Custom event: a free-form event marker with one of twelve marker styles, some carrying their own data.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/events/markers.hpp"

namespace qc::primitives::catalog {

// The marker styles, in variant order; each names itself in JSON as "type" and writes its data after it.
namespace custom_marker {
struct Circle {
  static constexpr std::string_view kName = "circle";
  bool filled = true;
};
struct Square {
  static constexpr std::string_view kName = "square";
  bool filled = true;
};
struct Diamond {
  static constexpr std::string_view kName = "diamond";
  bool filled = true;
};
struct Triangle {
  static constexpr std::string_view kName = "triangle";
  bool up = true;
  bool filled = true;
};
struct Star {
  static constexpr std::string_view kName = "star";
  std::uint8_t points = 5;
};
struct Cross {
  static constexpr std::string_view kName = "cross";
};
struct Plus {
  static constexpr std::string_view kName = "plus";
};
struct Arrow {
  static constexpr std::string_view kName = "arrow";
  bool up = true;
};
struct Icon {
  static constexpr std::string_view kName = "icon";
  std::string icon;
};
struct Label {
  static constexpr std::string_view kName = "label";
  std::string text;
  bool background = true;
};
struct Badge {
  static constexpr std::string_view kName = "badge";
  std::string text;
};
// The path data is kept and written; the marker is a stroked circle whatever it says.
struct Path {
  static constexpr std::string_view kName = "path";
  std::string path_data;
};
}  // namespace custom_marker

using CustomEventStyle =
    std::variant<custom_marker::Circle, custom_marker::Square, custom_marker::Diamond, custom_marker::Triangle,
                 custom_marker::Star, custom_marker::Cross, custom_marker::Plus, custom_marker::Arrow,
                 custom_marker::Icon, custom_marker::Label, custom_marker::Badge, custom_marker::Path>;

namespace custom_marker {
// {"type":name, then the style's data fields in declaration order}; beside the styles, where lookup from
// the variant finds it.
void write_json(JsonWriter& w, const CustomEventStyle& style);
}  // namespace custom_marker

class CustomEvent final : public PrimitiveBase<CustomEvent> {
 public:
  static constexpr BuiltinType kType = BuiltinType::custom_event;
  static constexpr double kDefaultWidth = 2.0;
  static constexpr std::string_view kInstanceName = "custom";

  double bar = 0.0;
  double price = 0.0;
  std::string event_type = "custom";  // not drawn
  CustomEventStyle style = custom_marker::Circle{};
  double size = 16.0;  // the marker spans size pixels
  std::string metadata;  // not drawn
  std::string source;    // not drawn
  std::uint8_t priority = 5;  // not drawn

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<CustomEvent>{&CustomEvent::bar, &CustomEvent::price}};
  }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price", price);
    json_entry(w, "event_type", event_type);
    json_entry(w, "style", style);
    json_entry(w, "size", size);
    json_entry(w, "metadata", metadata);
    json_entry(w, "source", source);
    json_entry(w, "priority", priority);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
