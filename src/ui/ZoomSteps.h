#pragma once

#include <cstdint>

namespace quillmere {

inline constexpr std::uint32_t kNormalZoom = 100;
inline constexpr std::uint32_t kSmallestZoom = 50;
inline constexpr std::uint32_t kLargestZoom = 300;

// The zoom a stored percentage stands for: itself from kSmallestZoom to kLargestZoom, otherwise
// kNormalZoom.
std::uint32_t UsableZoom(std::uint32_t stored);

// The next step up or down from `current`, which need not be a step itself; at either end the
// zoom stays where it is.
std::uint32_t ZoomStepUp(std::uint32_t current);
std::uint32_t ZoomStepDown(std::uint32_t current);

}  // namespace quillmere
