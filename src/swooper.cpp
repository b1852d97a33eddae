#include "swooper.h"

#include "application.h"
#include "bluejay.h"
#include "level.h"

Swooper::Swooper()
{
    type = Level::SWOOPER;
    bitmap = Application::SWOOPER_WINGS_IN_BM;
    strength = 1;
    number_of_bump_maps = 1;
    x_direction = -1;
}

int Swooper::Get_Points()
{
    return 100;
}

void Swooper::Process(Application& application, Level& level)
{
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    timer++;
    if (strength <= 0)
    {
        bitmap = Application::SWOOPER_WINGS_IN_BM;
        y += Rectangle::CELL_SIZE;
    }
    else if (hurt)
    {
        strength--;
        bitmap = Application::SWOOPER_WINGS_IN_BM;
    }
    else
    {
        Bluejay* hero = level.Hero();
        if (hero != nullptr)
        {
            int centre_y = hero->y + application.Bitmap_Height(hero->bitmap) / 2;
            // It aims only while the two birds fly at each other.
            if (x_direction == 1 && hero->x_direction == -1 && hero->x - AIM_DISTANCE <= x && x <= hero->x)
            {
                if (y + 8 < centre_y)
                    y += Rectangle::CELL_SIZE;
                if (y + 8 > centre_y)
                    y -= Rectangle::CELL_SIZE;
            }
            else if (x_direction == -1 && hero->x_direction == 1 && hero->x <= x && x <= hero->x + AIM_DISTANCE)
            {
                if (y < centre_y)
                    y += Rectangle::CELL_SIZE;
                if (y > centre_y)
                    y -= Rectangle::CELL_SIZE;
            }
        }
        if (timer % CHIRP_TICKS == 0)
            application.Play_Sound(Application::BIRD_CHIRP_SE);
        x += Rectangle::CELL_SIZE * x_direction;
        bitmap = Application::SWOOPER_WINGS_IN_BM + (timer & 1);
    }
    Draw_In_View(application, level, x_direction != 1);
}
