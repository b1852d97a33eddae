#include "black_bird.h"

#include <cstdlib>

#include "application.h"
#include "level.h"
#include "platform.h"

Black_Bird::Black_Bird() : mode(NORMAL), target_y(0), hurt_counted(false), stopped(false)
{
    type = Level::BLACK_BIRD;
    bitmap = Application::BLACK_BIRD_STANDING_BM;
    strength = 2;
    number_of_bump_maps = 1;
    x_direction = -1;
}

int Black_Bird::Get_Points()
{
    return 50;
}

void Black_Bird::Process(Application& application, Level& level)
{
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    timer++;

    if (strength <= 0)
    {
        // Beaten: it drops out of the picture through everything.
        bitmap = Application::BLACK_BIRD_HURT_BM;
        y += Rectangle::CELL_SIZE;
        hurt = false;
    }
    else
    {
        int left, right, top, bottom, top_left, bottom_left, top_right, bottom_right;
        Which_Platforms_Were_Hit(left, right, top, bottom, top_left, bottom_left, top_right, bottom_right,
                                 level, 0, application);
        if (hurt)
        {
            if (y_direction == -1)
                y_direction = 1;
            if (Is_Solid(level, bottom))
                stopped = true;
            bitmap = Application::BLACK_BIRD_HURT_BM;
            Lose_Strength_Once(hurt_counted);
            if (timer == HURT_TICKS)
            {
                // Recovered: it flies up again.
                hurt_counted = false;
                hurt = false;
                stopped = false;
                y_direction = -1;
            }
            if (hurt && !stopped)
                y += Rectangle::CELL_SIZE * y_direction;
        }
        else
        {
            if (mode == SHOUT)
            {
                stopped = true;
                bitmap = Application::BLACK_BIRD_HURT_BM;
                level.signal = Level::SIGNAL_ATTACK_BLUEJAY;
                if (timer % SHOUT_TICKS == 0)
                {
                    x_direction = -x_direction;
                    application.Play_Sound(Application::BIRD_CHIRP_SE);
                }
            }
            else
            {
                bitmap = Application::BLACK_BIRD_STANDING_BM;
            }

            long long right_end = Right_End(application, level);
            int level_top = Level_Top(level);
            if (Is_Solid(level, right) || x == right_end)
                x_direction = -1;
            if (Is_Solid(level, left) || x == 0)
                x_direction = 1;
            if (Is_Solid(level, bottom))
            {
                if (mode == NORMAL)
                    target_y = y - HOP_HEIGHT;
                else if (mode == LEAP)
                    target_y = y - ((std::rand() % 25) * 8 + 16);
                y_direction = -1;
            }
            if (Is_Solid(level, top) || y == target_y || (level.screens_high == 1 && y == 0) || y == level_top)
                y_direction = 1;
            if (Is_Solid(level, top_left))
                x_direction = 1;
            if (Is_Solid(level, top_right))
                x_direction = -1;
            if (mode != SHOUT)
            {
                y += Rectangle::CELL_SIZE * y_direction;
                if (timer % 4 == 0)
                    x += Rectangle::CELL_SIZE * x_direction;
            }
        }
    }

    // A hurt bird blinks.
    if (hurt && (timer & 1))
        return;
    Draw_In_View(application, level, x_direction == -1);
}
