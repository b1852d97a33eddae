#include "clam.h"

#include "application.h"
#include "level.h"

Clam::Clam()
{
    type = Level::CLAM;
    bitmap = Application::CLAM_MOUTH_OPEN_BM;
    number_of_bump_maps = 1;
    strength = 2;
}

void Clam::Process(Application& application, Level& level)
{
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    timer++;
    hurt = false; // a stomp never sticks
    // Closed for four ticks, open for four.
    bitmap = Application::CLAM_MOUTH_CLOSED_BM + (static_cast<unsigned int>(timer) % 8) / 4;
    application.Draw_Sprite(bitmap, x - level.scroll_x, y - level.scroll_y);
}
