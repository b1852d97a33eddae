#include "egg.h"

#include "application.h"
#include "level.h"

Egg::Egg()
{
    type = Level::EGG;
    bitmap = Application::EGG_BM;
    number_of_bump_maps = 1;
    strength = 1;
}

void Egg::Process(Application& application, Level& level)
{
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application) || hurt)
        return;
    application.Draw_Sprite(bitmap, x - level.scroll_x, y - level.scroll_y);
}

void Egg::Reset(bool full_reset)
{
    x = start_x;
    y = start_y;
    if (full_reset)
        hurt = false;
}
