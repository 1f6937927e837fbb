// The Primitive interface every drawing tool implements, and PrimitiveData, the record every tool carries.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "primitives/core/config.hpp"
#include "primitives/core/types.hpp"

namespace qc::primitives {

class RenderContext;

struct PrimitiveData {
  std::uint64_t id = 0;
  std::string type_id;
  std::string display_name;
  PrimitiveColor color = PrimitiveColor::make("#2196F3");
  double width = 2.0;
  LineStyle style = LineStyle::Solid;
  std::optional<PrimitiveText> text;
  bool locked = false;
  bool visible = true;
  std::int32_t z_order = 0;
  std::optional<TimeframeVisibility> timeframe_visibility;
  SyncMode sync_mode = SyncMode::None;
  std::optional<std::uint64_t> pane_id;
  std::optional<std::uint64_t> window_id;
};

// A live drawing tool. Created by the registry from a type id, points and a colour, drawn once through a
// RenderContext, then dropped. Points are (bar, price) pairs; pixels never stand in a primitive.
class Primitive {
 public:
  virtual ~Primitive() = default;

  virtual std::string_view type_id() const = 0;
  virtual std::string_view display_name() const = 0;
  virtual PrimitiveKind kind() const = 0;
  virtual const PrimitiveData& data() const = 0;
  virtual PrimitiveData& data_mut() = 0;
  virtual std::vector<Point> points() const = 0;
  virtual void set_points(std::span<const Point> points) = 0;
  virtual void translate(double d_bar, double d_price) = 0;
  virtual void render(RenderContext& ctx, bool selected) const = 0;
  // None unless the type has a label and data().text holds non-empty content.
  virtual std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const = 0;
  virtual std::optional<std::vector<FibLevelConfig>> level_configs() const = 0;
  // Level-based types take the list and return true; the others drop it and return false.
  virtual bool set_level_configs(std::vector<FibLevelConfig> levels) = 0;
  // The compact JSON record, "data" first; the empty text if writing fails.
  virtual std::string to_json() const = 0;
  virtual std::unique_ptr<Primitive> clone_box() const = 0;
  // The caller's words: data.text becomes a fresh text of them (replacing the factory's), and a type that
  // keeps its words in a field of its own takes them there too.
  virtual void set_text(std::string_view words) = 0;

 protected:
  Primitive() = default;
  Primitive(const Primitive&) = default;
  Primitive& operator=(const Primitive&) = default;
};

}  // namespace qc::primitives
