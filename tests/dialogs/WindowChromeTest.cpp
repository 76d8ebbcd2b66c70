// The window chrome's decisions as plain computation: built and run natively and under Wine.
#include "dialogs/WindowChrome.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowChromeTest, AnyIdInTheAboutEntrysSixteenIsAbout)
{
    EXPECT_FALSE(IsAboutCommand(0x000F));
    EXPECT_TRUE(IsAboutCommand(0x0010));
    EXPECT_TRUE(IsAboutCommand(0x0011));
    EXPECT_TRUE(IsAboutCommand(0x001F));
    EXPECT_FALSE(IsAboutCommand(0x0020));
    // The system's own commands (close, move, ...) are not About.
    EXPECT_FALSE(IsAboutCommand(0xF060));
    EXPECT_FALSE(IsAboutCommand(0xF010));
    // Only the low 16 bits count.
    EXPECT_TRUE(IsAboutCommand(0x00010010));
    EXPECT_FALSE(IsAboutCommand(0x00010020));
}

TEST(WindowChromeTest, IconIsCentredWithOddDifferencesRoundedUp)
{
    EXPECT_EQ(CenteredIconPosition(36, 36, 32, 32).x, 2);
    EXPECT_EQ(CenteredIconPosition(36, 36, 32, 32).y, 2);
    EXPECT_EQ(CenteredIconPosition(37, 37, 32, 32).x, 3);
    EXPECT_EQ(CenteredIconPosition(37, 37, 32, 32).y, 3);
    EXPECT_EQ(CenteredIconPosition(32, 40, 32, 32).x, 0);
    EXPECT_EQ(CenteredIconPosition(32, 40, 32, 32).y, 4);
}

TEST(WindowChromeTest, AreasSmallerThanTheIconTruncateTowardZero)
{
    EXPECT_EQ(CenteredIconPosition(20, 36, 32, 32).x, -5) << "(20 - 32 + 1) / 2 is -5, not -6";
    EXPECT_EQ(CenteredIconPosition(0, 0, 32, 32).y, -15);
    EXPECT_EQ(CenteredIconPosition(31, 31, 32, 32).x, 0);
}

}  // namespace
