// The fixed colours the chart renderer falls back on when a colour text does not parse.
#pragma once

#include "render/engine/types.hpp"

namespace qc::api::palette {

inline constexpr render::Color kBackground{0x13, 0x17, 0x22, 255};  // #131722
inline constexpr render::Color kGrid{0x1e, 0x22, 0x2d, 255};        // #1e222d
inline constexpr render::Color kSeparator{0x2a, 0x2e, 0x39, 255};   // #2a2e39
inline constexpr render::Color kLevel{0x78, 0x7b, 0x86, 255};       // #787b86
inline constexpr render::Color kUp{0x26, 0xa6, 0x9a, 255};          // #26a69a
inline constexpr render::Color kDown{0xef, 0x53, 0x50, 255};        // #ef5350
inline constexpr render::Color kCustom{0x9c, 0x27, 0xb0, 255};      // #9c27b0

// A fill that tints what lies under it: an opaque colour takes the tint's alpha, a translucent one is the
// caller's choice and kept.
inline constexpr std::uint8_t kTintAlpha = 0x33;
constexpr render::Color tint(render::Color c) {
  if (c.a == 255) c.a = kTintAlpha;
  return c;
}

// The chart's up and down colours as one render reads them: what histograms without colours of their own
// (and their legend values) take.
struct UpDown {
  render::Color up = kUp;
  render::Color down = kDown;
};

}  // namespace qc::api::palette
