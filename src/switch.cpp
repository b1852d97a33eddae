#include "switch.h"

#include "application.h"
#include "level.h"

Switch::Switch() : kind(PIPE), activated(false)
{
    type = Level::PIPE_SWITCH;
    bitmap = Application::SWITCH_NORMAL_BM;
    number_of_bump_maps = 1;
    strength = 1;
}

void Switch::Process(Application& application, Level& level)
{
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    if (hurt)
    {
        if (!activated)
        {
            if (kind == PIPE)
                level.signal = Level::SIGNAL_LOWER_PIPES;
            else if (kind == REVERSE_PIPE)
                level.signal = Level::SIGNAL_RAISE_PIPES;
            else if (kind == NO_ECTO)
            {
                level.signal = Level::SIGNAL_DESTROY_ECTO;
                level.background_scrolling = false;
                application.Play_Music(Application::VICTORY_MT, true);
            }
            activated = true;
        }
        bitmap = Application::SWITCH_PRESSED_BM;
    }
    application.Draw_Sprite(bitmap, x - level.scroll_x, y - level.scroll_y);
}
