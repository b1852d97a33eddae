#include "master_ecto.h"

#include <cstdlib>

#include "application.h"
#include "bluejay.h"
#include "ghost.h"
#include "level.h"

Master_Ecto::Master_Ecto() : repositioned(false)
{
    type = Level::MASTER_ECTO;
    bitmap = Application::MASTER_ECTO_BM;
    number_of_bump_maps = 1;
    strength = 1;
}

void Master_Ecto::Process(Application& application, Level& level)
{
    if (level.signal == Level::SIGNAL_DESTROY_ECTO)
        return;
    timer++;
    Bluejay* hero = level.Hero();
    if (Is_On_Screen(level.scroll_x, level.scroll_y, application))
        repositioned = false;
    else if (!repositioned && hero != nullptr)
    {
        // Somewhere ahead of the hero, so that it comes in again.
        x = hero->x + Application::CANVAS_WIDTH + Rectangle::CELL_SIZE * (std::rand() % Application::CANVAS_WIDTH);
        repositioned = true;
    }

    int target_x = 0, target_y = 0;
    if (timer % 2 == 0 && level.Hero_Centre(application, target_x, target_y))
    {
        int centre_x = x + application.Bitmap_Width(bitmap) / 2;
        int centre_y = y + application.Bitmap_Height(bitmap) / 2;
        if (centre_x < target_x)
            x += Rectangle::CELL_SIZE;
        else if (centre_x > target_x)
            x -= Rectangle::CELL_SIZE;
        if (centre_y < target_y)
            y += Rectangle::CELL_SIZE;
        else if (centre_y > target_y)
            y -= Rectangle::CELL_SIZE;
    }
    // It is fainter than a ghost.
    Draw_Spirit(application, application.master_ecto_canvas, bitmap, timer, 50, x - level.scroll_x,
                y - level.scroll_y);
}
