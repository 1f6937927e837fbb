// Volume event: a volume spike, climax, dry-up, accumulation ... marked by a small glyph of its group.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "primitives/catalog/common/primitive_base.hpp"
#include "primitives/catalog/events/markers.hpp"

namespace qc::primitives::catalog {

enum class VolumeEventType : std::uint8_t {
  Spike, Climax, DryUp, Breakout, Divergence, Accumulation, Distribution, Confirmation, Churning, NoDemand,
  NoSupply, Stopping, Custom,
};

constexpr std::string_view json_name(VolumeEventType v) noexcept {
  return variant_name(v, std::array<std::string_view, 13>{"spike", "climax", "dry_up", "breakout", "divergence",
                                                          "accumulation", "distribution", "confirmation",
                                                          "churning", "no_demand", "no_supply", "stopping",
                                                          "custom"});
}

class VolumeEvent final : public PrimitiveBase<VolumeEvent> {
 public:
  static constexpr BuiltinType kType = BuiltinType::volume_event;
  static constexpr double kDefaultWidth = 2.0;
  static constexpr std::string_view kInstanceName = "Volume Spike";

  double bar = 0.0;
  double price = 0.0;
  double volume = 1000.0;   // not drawn
  double avg_volume = 0.0;  // not drawn
  VolumeEventType event_type = VolumeEventType::Spike;
  double size = 14.0;  // glyph size in pixels

  static constexpr auto anchor_fields() {
    return std::array{AnchorField<VolumeEvent>{&VolumeEvent::bar, &VolumeEvent::price}};
  }

  void write_fields(JsonWriter& w) const {
    json_entry(w, "bar", bar);
    json_entry(w, "price", price);
    json_entry(w, "volume", volume);
    json_entry(w, "avg_volume", avg_volume);
    json_entry(w, "event_type", event_type);
    json_entry(w, "size", size);
  }
  void render(RenderContext& ctx, bool selected) const override;
  std::optional<TextAnchor> text_anchor(const RenderContext& ctx) const override;
};

}  // namespace qc::primitives::catalog
