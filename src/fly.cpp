#include "fly.h"

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "platform.h"

Fly::Fly() : hunting(false), mode(ATTACKING), target_y(0)
{
    type = Level::FLY;
    bitmap = Application::FLY_WINGS_IN_BM;
    strength = 1;
    number_of_bump_maps = 1;
    x_direction = -1;
}

void Fly::Process(Application& application, Level& level)
{
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    timer++;
    if (strength <= 0)
        y += Rectangle::CELL_SIZE; // beaten: it falls out of the picture
    else if (hurt)
        strength--;
    else
    {
        bitmap = Application::FLY_WINGS_IN_BM + (timer & 1);
        if (hunting)
            Hunt(application, level);
        else
            x += Rectangle::CELL_SIZE * x_direction; // straight through everything
    }
    Draw_In_View(application, level, x_direction == -1);
}

void Fly::Hunt(Application& application, Level& level)
{
    int left, right, top, bottom, top_left, bottom_left, top_right, bottom_right;
    Which_Platforms_Were_Hit(left, right, top, bottom, top_left, bottom_left, top_right, bottom_right, level, 0,
                             application);
    bool landed = false;
    Bluejay* hero = level.Hero();

    if (Is_Solid(level, bottom))
    {
        target_y = (hero != nullptr ? hero->y : y) - CLIMB_ABOVE_HERO;
        mode = RISING;
        y_direction = -1;
        landed = true;
    }
    if (bottom != NO_PLATFORM_HIT && level.platforms[bottom]->type == Level::CHERRY)
        level.platforms[bottom]->taken = true; // the fly eats it

    int level_top = Level_Top(level);
    if (Is_Solid(level, top) || (level.screens_high == 1 && y == 0) || y == level_top || y == target_y)
    {
        y_direction = 1;
        mode = ATTACKING;
    }
    long long right_end = Right_End(application, level);
    if (Is_Solid(level, left) || x == 0)
        x_direction = 1;
    if (Is_Solid(level, right) || x == right_end)
        x_direction = -1;
    if (y_direction == -1)
    {
        if (Is_Solid(level, top_left) && x_direction == -1)
            x_direction = 1;
        if (Is_Solid(level, top_right) && x_direction == 1)
            x_direction = -1;
    }
    if (y_direction == 1 && !landed)
    {
        if (Is_Solid(level, bottom_left) && x_direction == -1)
            x_direction = 1;
        if (Is_Solid(level, bottom_right) && x_direction == 1)
            x_direction = -1;
    }
    int centre_x = 0, centre_y = 0;
    if (mode == ATTACKING && level.Hero_Centre(application, centre_x, centre_y))
    {
        if (x < centre_x)
            x_direction = 1;
        else if (x > centre_x)
            x_direction = -1;
    }
    if (mode != RISING)
        x += Rectangle::CELL_SIZE * x_direction;
    y += Rectangle::CELL_SIZE * y_direction;
}
