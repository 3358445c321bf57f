#include <gtest/gtest.h>

#include <cstdint>

#include "ui/ZoomSteps.h"

namespace quillmere {
namespace {

TEST(ZoomSteps, StepUpAndDownFromAnyZoom) {
    const struct {
        std::uint32_t from;
        std::uint32_t up;
        std::uint32_t down;
    } cases[] = {
        {100, 110, 90},  {50, 67, 50},    {300, 300, 250},
        {125, 150, 110}, {133, 150, 125},  // between steps: the nearest step on each side
        {51, 67, 50},    {299, 300, 250},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        EXPECT_EQ(ZoomStepUp(c.from), c.up);
        EXPECT_EQ(ZoomStepDown(c.from), c.down);
    }
}

}  // namespace
}  // namespace quillmere
