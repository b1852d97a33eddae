#ifndef BLUEJAY_MENU_CONTROLS_H
#define BLUEJAY_MENU_CONTROLS_H

class Application;

// What the player asked of a menu in one tick, read from the keyboard, the
// mouse and the first gamepad outside the signal word: each command once
// a press (Up and Down repeat while held), the mouse in canvas pixels.
struct Menu_Input
{
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
    bool choose = false;
    bool back = false;
    bool mouse_moved = false;
    bool clicked = false;
    int mouse_x = 0;
    int mouse_y = 0;
};

// Reads the menu commands tick by tick: arrows, Enter and Esc; the stick or
// pad, the jump button (or Start) to choose and the fly button to back out;
// the mouse. What is held when a menu opens acts only after its release.
class Menu_Controls
{
public:
    // Ticks Up or Down is held before it repeats, and between repeats.
    static constexpr int REPEAT_DELAY = 12;
    static constexpr int REPEAT_TICKS = 4;

    // Everything held now counts as held before: nothing acts until it is
    // let go and pressed again.
    void Reset(const Application& application);
    Menu_Input Read(const Application& application);

private:
    static constexpr int UP = 1, DOWN = 2, LEFT = 4, RIGHT = 8, CHOOSE = 16, BACK = 32;
    int held = 0;
    int held_ticks = 0;
    int mouse_x_before = -1;
    int mouse_y_before = -1;
    int mouse_b_before = 0;
    // The first moves after a menu opens only tell where the mouse is: a
    // pointer that lies over the window, or is put there at once, does not
    // take the highlight off Start; a hand on the mouse moves it tick after
    // tick.
    static constexpr int MOVES_BEFORE_HOVER = 3;
    int moves_seen = 0;

    // The commands held now.
    static int Held_Now(const Application& application);
};

#endif
