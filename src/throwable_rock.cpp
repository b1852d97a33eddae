#include "throwable_rock.h"

#include "application.h"
#include "level.h"

Throwable_Rock::Throwable_Rock() : thrown(false)
{
    type = Level::THROWABLE_ROCK;
    bitmap = Application::THROWABLE_ROCK_BM;
    number_of_bump_maps = 1;
    strength = 1;
    harmful = false;
}

void Throwable_Rock::Process(Application& application, Level& level)
{
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    if (thrown)
    {
        x += Rectangle::CELL_SIZE * x_direction;
        y += Rectangle::CELL_SIZE * y_direction;
    }
    application.Draw_Sprite(bitmap, x - level.scroll_x, y - level.scroll_y);
}
