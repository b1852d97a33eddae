#ifndef BLUEJAY_RECTANGLE_H
#define BLUEJAY_RECTANGLE_H

// An axis-aligned box in cells (4 x 4 pixel squares), all four bounds
// inclusive. Everything in the game moves one cell at a time, so two shapes
// come to rest side by side; the touching tests ask whether the other box
// lies in the row or column right next to this one, never whether the boxes
// overlap.
class Rectangle
{
public:
    // The side of a cell in pixels: the grid that shapes are measured in and
    // that everything moves along, one cell per step.
    static constexpr int CELL_SIZE = 4;

    int left;
    int top;
    int right;
    int bottom;

    bool Is_Touching_Bottom(const Rectangle& other) const;
    bool Is_Touching_Top(const Rectangle& other) const;
    bool Is_Touching_Left(const Rectangle& other) const;
    bool Is_Touching_Right(const Rectangle& other) const;
    bool Is_Touching_Top_Left_Corner(const Rectangle& other) const;
    bool Is_Touching_Bottom_Left_Corner(const Rectangle& other) const;
    bool Is_Touching_Top_Right_Corner(const Rectangle& other) const;
    bool Is_Touching_Bottom_Right_Corner(const Rectangle& other) const;
    // True when one of this box's corners lies in other. One-sided: a box
    // that wholly contains other is not inside it.
    bool Is_Inside(const Rectangle& other) const;
    bool Is_Point_Inside(int x, int y) const;

private:
    bool Columns_Meet(const Rectangle& other) const;
    bool Rows_Meet(const Rectangle& other) const;
};

#endif
