#include "spiked_pole.h"

#include "application.h"
#include "level.h"

Spiked_Pole::Spiked_Pole() : extended(false)
{
    type = Level::SPIKED_POLE;
    bitmap = Application::SPIKED_POLE_POINT_BM;
    strength = 1;
    number_of_bump_maps = 1;
}

void Spiked_Pole::Get_Bump_Map(Rectangle& result, int number, Application& application)
{
    Get_Grown_Bump_Map(result, number, application, extended, MAX_HEIGHT, Application::SPIKED_POLE_POLE_BM);
}

void Spiked_Pole::Process(Application& application, Level& level)
{
    if (!Is_On_Screen(level.scroll_x, level.scroll_y, application))
        return;
    // The rhythm counts only the ticks in view.
    timer = static_cast<int>(static_cast<unsigned int>(timer) + 1u);
    bool beat = static_cast<unsigned int>(timer) % RHYTHM_TICKS == 0;
    int screen_x = x - level.scroll_x;
    int screen_y = y - level.scroll_y;
    if (!extended)
    {
        if (beat)
        {
            extended = true;
            application.Play_Sound(Application::THUD_SE);
        }
        // The thrust tick still shows the point alone.
        application.Draw_Sprite(bitmap, screen_x, screen_y);
    }
    else
    {
        if (beat)
            extended = false;
        int piece_height = application.Bitmap_Height(Application::SPIKED_POLE_POLE_BM);
        for (int i = 0; i < MAX_HEIGHT; i++)
            application.Draw_Sprite(Application::SPIKED_POLE_POLE_BM, screen_x, screen_y + i * piece_height);
        application.Draw_Sprite(bitmap, screen_x, screen_y + MAX_HEIGHT * piece_height);
    }
}
