#ifndef BLUEJAY_CANVAS_STRETCH_H
#define BLUEJAY_CANVAS_STRETCH_H

#include <vector>

#include <allegro.h>

// Shows a picture stretched over an area of a bitmap (the screen), pixel for
// pixel without filtering, as the library's stretch_blit does, at a fraction
// of its cost on a large screen: the column each screen pixel takes is worked
// out once for a size, each picture row is stretched across once, and the
// screen rows below it that show the same picture row get a copy of it. Where
// it cannot work so (a colour depth other than 32 bits, an area that leaves
// the bitmap, a bitmap not laid out in lines) it leaves the work to
// stretch_blit.
class Canvas_Stretch
{
public:
    // The whole of source over width x height pixels of target from (x, y).
    void Show(BITMAP* source, BITMAP* target, int x, int y, int width, int height);

private:
    // The source column of every column of the area, for the sizes below.
    std::vector<int> columns;
    int source_width = 0;
};

#endif
