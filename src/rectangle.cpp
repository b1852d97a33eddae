#include "rectangle.h"

#include <algorithm>

// True when a is the cell right after b. Computed wide, so shapes read from
// files with extreme numbers cannot overflow.
static bool Follows(int a, int b)
{
    return static_cast<long long>(a) == static_cast<long long>(b) + 1;
}

bool Rectangle::Columns_Meet(const Rectangle& other) const
{
    return std::max(left, other.left) <= std::min(right, other.right);
}

bool Rectangle::Rows_Meet(const Rectangle& other) const
{
    return std::max(top, other.top) <= std::min(bottom, other.bottom);
}

bool Rectangle::Is_Touching_Bottom(const Rectangle& other) const
{
    return Follows(other.top, bottom) && Columns_Meet(other);
}

bool Rectangle::Is_Touching_Top(const Rectangle& other) const
{
    return Follows(top, other.bottom) && Columns_Meet(other);
}

bool Rectangle::Is_Touching_Left(const Rectangle& other) const
{
    return Follows(left, other.right) && Rows_Meet(other);
}

bool Rectangle::Is_Touching_Right(const Rectangle& other) const
{
    return Follows(other.left, right) && Rows_Meet(other);
}

bool Rectangle::Is_Touching_Top_Left_Corner(const Rectangle& other) const
{
    return Follows(left, other.right) && Follows(top, other.bottom);
}

bool Rectangle::Is_Touching_Bottom_Left_Corner(const Rectangle& other) const
{
    return Follows(left, other.right) && Follows(other.top, bottom);
}

bool Rectangle::Is_Touching_Top_Right_Corner(const Rectangle& other) const
{
    return Follows(other.left, right) && Follows(top, other.bottom);
}

bool Rectangle::Is_Touching_Bottom_Right_Corner(const Rectangle& other) const
{
    return Follows(other.left, right) && Follows(other.top, bottom);
}

bool Rectangle::Is_Inside(const Rectangle& other) const
{
    return other.Is_Point_Inside(left, top) || other.Is_Point_Inside(right, top) ||
           other.Is_Point_Inside(left, bottom) || other.Is_Point_Inside(right, bottom);
}

bool Rectangle::Is_Point_Inside(int x, int y) const
{
    return left <= x && x <= right && top <= y && y <= bottom;
}
