#ifndef BLUEJAY_EDITOR_MOUSE_H
#define BLUEJAY_EDITOR_MOUSE_H

class Application;
class Level;
struct Map_Record;

// The editor's mouse. The library's mouse callback latches every press and
// release of the three buttons as it happens, so a touchpad tap (down and
// up at the same instant) or a click shorter than a tick still counts when
// the next tick looks. Once a tick the gestures are played out on the level:
// a click on an empty cell places the chosen type, a click on a picture picks
// that object (the next one beneath on a repeated click) and a drag moves it,
// a drag over empty cells paints, the right button deletes, the middle
// button (or Alt with the left) takes a type into the palette, and Shift
// with a drag selects a rectangle.
class Editor_Mouse
{
public:
    static constexpr int LEFT = 0;
    static constexpr int RIGHT = 1;
    static constexpr int MIDDLE = 2;
    static constexpr int BUTTONS = 3;

    // No gesture, or the one the left button began.
    static constexpr int NO_GESTURE = 0;
    static constexpr int MOVING = 1;
    static constexpr int PAINTING = 2;
    static constexpr int SELECTING = 3;

    // Puts the latch in as the library's mouse callback, or takes it out.
    static void Install();
    static void Remove();
    // The library's mouse callback: counts presses and releases.
    static void Latch(int flags);

    // What the library's mouse did since the last look: where it is (screen
    // pixels, or canvas pixels without a screen), the wheel's turn, and for
    // each button whether it is held and whether it went down or up.
    void Read();
    int x = 0;
    int y = 0;
    int wheel = 0;
    bool moved = false;
    bool held[BUTTONS] = {};
    bool pressed[BUTTONS] = {};
    bool released[BUTTONS] = {};

    // One tick of the mouse in the editor.
    void Run(Application& editor);

    // A gesture is under way: the edits it makes wait to become one undo
    // step until the button comes up.
    bool Busy() const { return gesture != NO_GESTURE; }
    int Gesture() const { return gesture; }

    // Forgets the gesture under way (a level or mode switch).
    void Cancel() { gesture = NO_GESTURE; }

    // The topmost record of a list whose picture covers a level pixel,
    // starting below the record `below` (the count to start at the top);
    // -1 when none does.
    // A level coordinate rounded down to its 16-pixel cell (toward minus
    // infinity, so the rows above the lowest screen round the same way).
    static long long Cell_Floor(long long value);
    static int Record_At(const Application& editor, const Level& level, bool characters, long long level_x,
                         long long level_y, int below);

private:
    bool ready = false;
    int z_before = 0;
    int gesture = NO_GESTURE;
    // Where the gesture began, in level pixels snapped to cells, and the
    // record being moved with the place it started from.
    long long start_x = 0;
    long long start_y = 0;
    int moving = -1;
    int moving_from_x = 0;
    int moving_from_y = 0;
    // The last cell painted, and the last cell clicked with what it picked,
    // for the next one beneath on a repeated click.
    long long painted_x = 0;
    long long painted_y = 0;
    long long clicked_x = -1;
    long long clicked_y = -1;
    int picked = -1;

    void Left_Press(Application& editor, long long level_x, long long level_y, long long cell_x, long long cell_y);
    void Left_Drag(Application& editor, long long cell_x, long long cell_y);
    void Left_Release(Application& editor, long long cell_x, long long cell_y);
    // Places the chosen type at a cell; false (with a notice) when full.
    static bool Place(Application& editor, long long cell_x, long long cell_y);
};

#endif
