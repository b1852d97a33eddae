#include "boiling_mud.h"

#include "application.h"
#include "level.h"

Boiling_Mud::Boiling_Mud() : mirrored(false)
{
    type = Level::BOILING_MUD;
    bitmap = Application::BOILING_MUD_BM;
    strength = 1;
    number_of_bump_maps = 1;
}

void Boiling_Mud::Process(Application& application, Level& level)
{
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    timer++;
    if (timer % BUBBLE_TICKS == 0)
        mirrored = !mirrored;
    Draw_In_View(application, level, mirrored);
}
