#include "ui/ZoomSteps.h"

#include <algorithm>
#include <iterator>

namespace quillmere {

namespace {

// The steps readers know from their browsers.
constexpr std::uint32_t kSteps[] = {50, 67, 75, 80, 90, 100, 110, 125, 150, 175, 200, 250, 300};

}  // namespace

std::uint32_t UsableZoom(std::uint32_t stored) {
    return stored >= kSmallestZoom && stored <= kLargestZoom ? stored : kNormalZoom;
}

std::uint32_t ZoomStepUp(std::uint32_t current) {
    const auto* next = std::upper_bound(std::begin(kSteps), std::end(kSteps), current);
    return next == std::end(kSteps) ? std::max(current, kLargestZoom) : *next;
}

std::uint32_t ZoomStepDown(std::uint32_t current) {
    const auto* atOrAbove = std::lower_bound(std::begin(kSteps), std::end(kSteps), current);
    return atOrAbove == std::begin(kSteps) ? std::min(current, kSmallestZoom) : *(atOrAbove - 1);
}

}  // namespace quillmere
