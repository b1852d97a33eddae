#include <gtest/gtest.h>

#include "rectangle.h"
#include "test_support.h"

TEST(Rectangle, SidesTouchOnlyWhenTheNextRowOrColumnIsShared)
{
    Rectangle self = Box(0, 0, 3, 3);
    EXPECT_TRUE(self.Is_Touching_Bottom(Box(2, 4, 5, 6)));
    EXPECT_TRUE(self.Is_Touching_Top(Box(3, -3, 8, -1)));
    EXPECT_TRUE(self.Is_Touching_Right(Box(4, 3, 4, 9)));
    EXPECT_TRUE(self.Is_Touching_Left(Box(-2, -5, -1, 0)));
    EXPECT_TRUE(Box(0, 0, 1, 1).Is_Touching_Right(Box(2, 0, 5, 0)));

    // One cell further away is not touching.
    EXPECT_FALSE(self.Is_Touching_Bottom(Box(0, 5, 3, 6)));
    EXPECT_FALSE(self.Is_Touching_Right(Box(5, 0, 6, 3)));
}

TEST(Rectangle, SharingARowIsOverlapNotTouching)
{
    Rectangle self = Box(0, 0, 3, 3);
    Rectangle overlapping = Box(0, 3, 3, 6);
    EXPECT_FALSE(self.Is_Touching_Bottom(overlapping));
    EXPECT_FALSE(self.Is_Touching_Top(overlapping));
    EXPECT_TRUE(self.Is_Inside(overlapping));
}

TEST(Rectangle, ACopyOfItselfTouchesNothingButIsInside)
{
    Rectangle self = Box(2, 2, 5, 7);
    Rectangle copy = self;
    EXPECT_FALSE(self.Is_Touching_Bottom(copy));
    EXPECT_FALSE(self.Is_Touching_Top(copy));
    EXPECT_FALSE(self.Is_Touching_Left(copy));
    EXPECT_FALSE(self.Is_Touching_Right(copy));
    EXPECT_FALSE(self.Is_Touching_Top_Left_Corner(copy));
    EXPECT_FALSE(self.Is_Touching_Bottom_Left_Corner(copy));
    EXPECT_FALSE(self.Is_Touching_Top_Right_Corner(copy));
    EXPECT_FALSE(self.Is_Touching_Bottom_Right_Corner(copy));
    EXPECT_TRUE(self.Is_Inside(copy));
}

TEST(Rectangle, DiagonalNeighboursAreReportedByTheirCornerAlone)
{
    Rectangle self = Box(0, 0, 3, 3);
    Rectangle below_right = Box(4, 4, 7, 7);
    EXPECT_TRUE(self.Is_Touching_Bottom_Right_Corner(below_right));
    EXPECT_FALSE(self.Is_Touching_Right(below_right));
    EXPECT_FALSE(self.Is_Touching_Bottom(below_right));

    EXPECT_TRUE(self.Is_Touching_Top_Left_Corner(Box(-3, -3, -1, -1)));
    EXPECT_TRUE(self.Is_Touching_Bottom_Left_Corner(Box(-2, 4, -1, 9)));
    EXPECT_TRUE(self.Is_Touching_Top_Right_Corner(Box(4, -6, 8, -1)));
    EXPECT_FALSE(self.Is_Touching_Top_Right_Corner(below_right));
    EXPECT_FALSE(self.Is_Touching_Top_Left_Corner(below_right));
    EXPECT_FALSE(self.Is_Touching_Bottom_Left_Corner(below_right));
}

TEST(Rectangle, InsideIsOneSided)
{
    Rectangle small = Box(2, 2, 3, 3);
    Rectangle large = Box(0, 0, 9, 9);
    EXPECT_TRUE(small.Is_Inside(large));
    EXPECT_FALSE(large.Is_Inside(small));

    // A plus-shaped crossing has no corner inside the other box.
    Rectangle flat = Box(0, 4, 9, 5);
    Rectangle tall = Box(4, 0, 5, 9);
    EXPECT_FALSE(flat.Is_Inside(tall));
    EXPECT_FALSE(tall.Is_Inside(flat));

    // A box poking one corner in.
    EXPECT_TRUE(Box(8, 8, 12, 12).Is_Inside(large));
}

TEST(Rectangle, PointsOnEdgesAndCornersAreInside)
{
    Rectangle box = Box(1, 2, 4, 6);
    EXPECT_TRUE(box.Is_Point_Inside(1, 2));
    EXPECT_TRUE(box.Is_Point_Inside(4, 6));
    EXPECT_TRUE(box.Is_Point_Inside(1, 6));
    EXPECT_TRUE(box.Is_Point_Inside(3, 2));
    EXPECT_FALSE(box.Is_Point_Inside(0, 2));
    EXPECT_FALSE(box.Is_Point_Inside(4, 7));
}

TEST(Rectangle, InvertedBoxesNeverTouchAcrossTheirEmptyAxis)
{
    Rectangle inverted = Box(5, 0, 2, 3); // left > right: no column at all
    EXPECT_FALSE(inverted.Is_Touching_Bottom(Box(0, 4, 9, 5)));
    EXPECT_FALSE(inverted.Is_Touching_Top(Box(0, -2, 9, -1)));
    EXPECT_FALSE(Box(0, 4, 9, 5).Is_Touching_Top(inverted));
    // Its rows still exist, so a side test can be true.
    EXPECT_TRUE(inverted.Is_Touching_Right(Box(3, 0, 4, 0)));
}

TEST(Rectangle, ExtremeNumbersDoNotOverflow)
{
    Rectangle edge = Box(2147483647, 2147483647, 2147483647, 2147483647);
    Rectangle other = Box(-2147483647 - 1, -2147483647 - 1, 0, 0);
    EXPECT_FALSE(edge.Is_Touching_Bottom(other));
    EXPECT_FALSE(edge.Is_Touching_Right(other));
    EXPECT_FALSE(other.Is_Touching_Left(edge));
    EXPECT_FALSE(edge.Is_Touching_Bottom_Right_Corner(other));
}
