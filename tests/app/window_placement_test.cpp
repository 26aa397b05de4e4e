// Where the main window comes back: the stored placement, on the screen.
#include "app/window_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPlacementTest, KeepsWhatFitsAndBringsTheRestOntoTheScreen)
{
    const QRect screen(0, 0, 1280, 1000);
    const struct
    {
        QRect stored;
        QRect placed;
    } cases[] = {
        {{10, 20, 800, 600}, {10, 20, 800, 600}},      // fits: unchanged
        {{-99999, 20, 800, 600}, {0, 20, 800, 600}},   // far left
        {{1200, 900, 800, 600}, {480, 400, 800, 600}}, // hanging off the bottom right
        {{10, 20, 5000, 4000}, {0, 0, 1280, 1000}},    // larger than the screen
        {{10, 20, 0, -5}, {10, 20, 800, 600}},         // no size: the default
    };
    for (const auto& c : cases)
        EXPECT_EQ(WindowPlacement::fitOnScreen(c.stored, screen), c.placed) << c.stored.x();
    EXPECT_EQ(WindowPlacement::fitOnScreen({-50, -50, 800, 600}, QRect(1280, 0, 1024, 768)),
              QRect(1280, 0, 800, 600)); // a second screen to the right
}

} // namespace
