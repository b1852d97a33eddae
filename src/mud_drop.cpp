#include "mud_drop.h"

#include "application.h"
#include "level.h"

Mud_Drop::Mud_Drop() : top_y(Application::CANVAS_HEIGHT)
{
    type = Level::MUD_DROP;
    bitmap = Application::MUD_DROP_BM;
    strength = 1;
    number_of_bump_maps = 1;
    y_direction = -1;
}

void Mud_Drop::Process(Application& application, Level& level)
{
    // The top of the leap is known once the level has placed the drop.
    if (top_y == Application::CANVAS_HEIGHT)
        top_y = start_y - MAX_JUMP_HEIGHT;
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    timer++;
    if (hurt)
        strength--;
    if (strength > 0)
    {
        if (y == top_y)
            y_direction = 1;
        if (y == start_y)
            y_direction = -1;
        if (timer % WOBBLE_TICKS == 0)
            x_direction = -x_direction;
        x += Rectangle::CELL_SIZE * x_direction;
        y += Rectangle::CELL_SIZE * y_direction;
    }
    else
    {
        y += Rectangle::CELL_SIZE;
    }
    application.Draw_Sprite(bitmap, x - level.scroll_x, y - level.scroll_y);
}
