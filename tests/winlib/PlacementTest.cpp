// Where a dialog that did not place itself goes, as plain arithmetic: natively and under Wine.
#include "winlib/Placement.h"

#include <gtest/gtest.h>

namespace {

constexpr PixelRect kWorkArea{0, 0, 1024, 738};  // a 1024 x 768 screen with a task bar

TEST(PlacementTest, CentresOverTheReference)
{
    const PixelPoint onScreen = CentredPosition(400, 236, kWorkArea, kWorkArea);
    EXPECT_EQ(onScreen.x, 312);
    EXPECT_EQ(onScreen.y, 251);
    const PixelPoint overOwner = CentredPosition(100, 50, PixelRect{200, 100, 600, 336}, kWorkArea);
    EXPECT_EQ(overOwner.x, 350);
    EXPECT_EQ(overOwner.y, 193);
}

TEST(PlacementTest, StaysInsideTheWorkAreaNearItsEdges)
{
    // An owner in the bottom-right corner: the box is pushed back inside.
    const PixelPoint bottomRight = CentredPosition(420, 120, PixelRect{900, 700, 1100, 800}, kWorkArea);
    EXPECT_EQ(bottomRight.x, 1024 - 420);
    EXPECT_EQ(bottomRight.y, 738 - 120);
    // An owner partly off the top-left of the screen.
    const PixelPoint topLeft = CentredPosition(420, 120, PixelRect{-300, -200, 100, 36}, kWorkArea);
    EXPECT_EQ(topLeft.x, 0);
    EXPECT_EQ(topLeft.y, 0);
    // A work area that does not start at 0, 0 (a second monitor on the left).
    const PixelPoint secondMonitor =
        CentredPosition(200, 100, PixelRect{-1280, 0, 0, 1024}, PixelRect{-1280, 0, 0, 1024});
    EXPECT_EQ(secondMonitor.x, -740);
    EXPECT_EQ(secondMonitor.y, 462);
}

TEST(PlacementTest, AWindowLargerThanTheWorkAreaKeepsItsTopLeftVisible)
{
    const PixelPoint at = CentredPosition(1200, 900, kWorkArea, kWorkArea);
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
}

}  // namespace
