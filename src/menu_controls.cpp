#include "menu_controls.h"

#include <allegro.h>

#include "application.h"

int Menu_Controls::Held_Now(const Application& application)
{
    if (keyboard_driver != nullptr && keyboard_needs_poll())
        poll_keyboard();
    int now = 0;
    now |= key[KEY_UP] ? UP : 0;
    now |= key[KEY_DOWN] ? DOWN : 0;
    now |= key[KEY_LEFT] ? LEFT : 0;
    now |= key[KEY_RIGHT] ? RIGHT : 0;
    now |= (key[KEY_ENTER] || key[KEY_ENTER_PAD]) ? CHOOSE : 0;
    now |= key[KEY_ESC] ? BACK : 0;
    if (num_joysticks > 0)
    {
        if (joystick_driver != nullptr)
            poll_joystick();
        const JOYSTICK_INFO& pad = joy[0];
        for (int s = 0; s < pad.num_sticks && s < MAX_JOYSTICK_STICKS; s++)
        {
            const JOYSTICK_STICK_INFO& stick = pad.stick[s];
            if (stick.num_axis >= 1)
                now |= (stick.axis[0].d1 ? LEFT : 0) | (stick.axis[0].d2 ? RIGHT : 0);
            if (stick.num_axis >= 2)
                now |= (stick.axis[1].d1 ? UP : 0) | (stick.axis[1].d2 ? DOWN : 0);
        }
        // The jump and Start buttons choose, the fly button backs out.
        const int choosing[] = {application.gamepad_buttons[0], application.gamepad_buttons[2]};
        for (int button : choosing)
            if (button >= 0 && button < pad.num_buttons && button < MAX_JOYSTICK_BUTTONS && pad.button[button].b)
                now |= CHOOSE;
        int fly = application.gamepad_buttons[1];
        if (fly >= 0 && fly < pad.num_buttons && fly < MAX_JOYSTICK_BUTTONS && pad.button[fly].b)
            now |= BACK;
    }
    return now;
}

void Menu_Controls::Reset(const Application& application)
{
    held = Held_Now(application);
    held_ticks = 0;
    mouse_x_before = mouse_x;
    mouse_y_before = mouse_y;
    mouse_b_before = mouse_b;
    moves_seen = 0;
}

Menu_Input Menu_Controls::Read(const Application& application)
{
    int now = Held_Now(application);
    int pressed = now & ~held;
    // Up and Down repeat while held alone.
    if ((now & (UP | DOWN)) && (now & (UP | DOWN)) == (held & (UP | DOWN)))
    {
        held_ticks++;
        if (held_ticks >= REPEAT_DELAY && (held_ticks - REPEAT_DELAY) % REPEAT_TICKS == 0)
            pressed |= now & (UP | DOWN);
    }
    else
        held_ticks = 0;
    held = now;

    Menu_Input input;
    input.up = (pressed & UP) != 0;
    input.down = (pressed & DOWN) != 0;
    input.left = (pressed & LEFT) != 0;
    input.right = (pressed & RIGHT) != 0;
    input.choose = (pressed & CHOOSE) != 0;
    input.back = (pressed & BACK) != 0;

    if (mouse_driver != nullptr && mouse_needs_poll())
        poll_mouse();
    int x = mouse_x, y = mouse_y, buttons = mouse_b;
    input.mouse_moved = x != mouse_x_before || y != mouse_y_before;
    if (input.mouse_moved && moves_seen < MOVES_BEFORE_HOVER)
    {
        moves_seen++;
        input.mouse_moved = false;
    }
    input.clicked = (buttons & 1) && !(mouse_b_before & 1);
    mouse_x_before = x;
    mouse_y_before = y;
    mouse_b_before = buttons;
    // The mouse on the screen, taken to the canvas (without a screen it is
    // in canvas pixels already); a click on a bar beside it does nothing.
    Screen_Area area = application.Canvas_Area();
    if (area.width > 0 && area.height > 0 && !area.Canvas_Point(x, y, x, y))
        input.clicked = input.mouse_moved = false;
    input.mouse_x = x;
    input.mouse_y = y;
    return input;
}
