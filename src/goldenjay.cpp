#include "goldenjay.h"

#include "application.h"
#include "level.h"

Goldenjay::Goldenjay() : mode(IDLE), hurt_counted(false)
{
    type = Level::GOLDENJAY;
    bitmap = Application::GOLDENJAY_PERCHED_BM;
    strength = 6;
    number_of_bump_maps = 1;
}

int Goldenjay::Get_Points()
{
    return 200;
}

void Goldenjay::Process(Application& application, Level& level)
{
    int bush_x = start_x - BUSH_OFFSET_X;
    int bush_y = start_y - BUSH_OFFSET_Y;

    if (Is_On_Screen(level.scroll_x, level.scroll_y, application))
    {
        timer++;
        if (strength <= 0)
        {
            y += Rectangle::CELL_SIZE;
            bitmap = Application::GOLDENJAY_MOUTH_OPEN_BM;
            hurt = false;
        }
        else if (hurt)
        {
            // It tumbles down until the hurt period ends.
            bitmap = Application::GOLDENJAY_MOUTH_OPEN_BM;
            y += Rectangle::CELL_SIZE;
            if (Lose_Strength_Once(hurt_counted))
                mode = ATTACKING;
            if (timer > HURT_TICKS)
            {
                hurt = false;
                hurt_counted = false;
            }
        }
        else
        {
            if (mode == IDLE)
            {
                bitmap = Application::GOLDENJAY_PERCHED_BM;
                int centre_x = 0, centre_y = 0;
                if (level.Hero_Centre(application, centre_x, centre_y) && centre_x - WAKE_DISTANCE < x &&
                    x < centre_x + WAKE_DISTANCE)
                    mode = ATTACKING;
            }
            if (mode == ATTACKING)
            {
                bitmap = Application::GOLDENJAY_WINGS_IN_BM + (timer & 1);
                y_direction = -1;
                if (timer % ZIGZAG_TICKS == 0)
                    x_direction = -x_direction;
                if (timer % 2 == 0)
                {
                    x += Rectangle::CELL_SIZE * x_direction;
                    y += Rectangle::CELL_SIZE * y_direction;
                }
            }
        }
        // A hurt goldenjay shows on odd ticks only.
        if (!hurt || (timer & 1))
        {
            if (x_direction == 1)
                application.Draw_Sprite(bitmap, x - level.scroll_x, y - level.scroll_y);
            else
                application.Draw_Sprite_H_Flip(bitmap, x - level.scroll_x, y - level.scroll_y);
        }
    }
    // Its bush stays, in view or not, and covers the perched bird.
    application.Draw_Sprite(Application::FAKE_BUSH_BM, bush_x - level.scroll_x, bush_y - level.scroll_y);
}
