#ifndef BLUEJAY_SCREEN_AREA_H
#define BLUEJAY_SCREEN_AREA_H

// Where the 256 x 224 canvas lands on the screen, in screen pixels: its
// top-left corner and its size. A full screen shows it in one of three
// shapes: stretched over the whole screen, kept at its own 8 : 7 shape with
// black bars, or at the largest whole-number scale that fits, centred.
class Screen_Area
{
public:
    static constexpr int STRETCH = 0;
    static constexpr int ASPECT = 1;
    static constexpr int INTEGER = 2;

    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    // The area of the canvas on a screen of the given size in a shape.
    static Screen_Area For_Screen(int screen_width, int screen_height, int shape);

    // Room kept on the desktop for the window's frame and the desktop's
    // panels.
    static constexpr int WINDOW_FRAME_ROOM = 48;
    // The largest scale from low to high whose window fits on a desktop of
    // the given size (low when none does).
    static int Largest_Window_Scale(int desktop_width, int desktop_height, int low, int high);

    // The canvas pixel under a screen pixel; false when the screen pixel is
    // on a bar outside the canvas (the canvas pixel is then the nearest).
    bool Canvas_Point(int screen_x, int screen_y, int& canvas_x, int& canvas_y) const;
};

#endif
