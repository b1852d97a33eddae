// The program's entry: brings the library up, creates the one Application,
// loads every resource behind the loading screen and hands over to the game
// or the level editor.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <allegro.h>

#include "application.h"

void Timing_Handler()
{
    timing_signal = true;
}
END_OF_FUNCTION(Timing_Handler)

void Display_Switch_Handler()
{
    if (application == nullptr || screen == nullptr)
        return;
    acquire_screen();
    stretch_blit(application->canvas, screen, 0, 0, Application::CANVAS_WIDTH,
                 Application::CANVAS_HEIGHT, 0, 0, SCREEN_W, SCREEN_H);
    release_screen();
}

namespace
{
bool Set_Graphics_Mode()
{
    int depth = desktop_color_depth();
    set_color_depth(depth != 0 ? depth : 32);
    int width = 0, height = 0;
    if (get_desktop_resolution(&width, &height) != 0 || width <= 0 || height <= 0)
    {
        width = Application::CANVAS_WIDTH * 3;
        height = Application::CANVAS_HEIGHT * 3;
    }
    if (set_gfx_mode(GFX_AUTODETECT, width, height, 0, 0) == 0)
        return true;
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, width, height, 0, 0) == 0)
        return true;
    return set_gfx_mode(GFX_AUTODETECT_WINDOWED, Application::CANVAS_WIDTH * 3,
                        Application::CANVAS_HEIGHT * 3, 0, 0) == 0;
}
} // namespace

int main(int argc, char* argv[])
{
    Find_Data_Directory();

    if (allegro_init() != 0)
    {
        std::fprintf(stderr, "Cannot start the game library: %s\n", allegro_error);
        return 1;
    }
    if (!Set_Graphics_Mode())
    {
        std::fprintf(stderr, "Cannot set a graphics mode: %s\n", allegro_error);
        return 1;
    }
    install_keyboard();
    install_timer();
    // Without a sound card the game plays silently.
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) != 0)
        install_sound(DIGI_NONE, MIDI_NONE, nullptr);
    LOCK_VARIABLE(timing_signal);
    LOCK_FUNCTION(Timing_Handler);
    install_int(Timing_Handler, 30);
    set_volume(255, 128);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    set_display_switch_mode(SWITCH_PAUSE);
    set_write_alpha_blender();
    set_display_switch_callback(SWITCH_IN, Display_Switch_Handler);

    application = new Application();
    application->Load_Resources();

    int status = 0;
    if (application->missing_resource[0] != '\0')
    {
        std::fprintf(stderr, "Cannot load the data file \"%s\".\n", application->missing_resource);
        status = 1;
    }
    else if (argc == 1)
    {
        application->Run_Game();
    }
    else if (argc == 2 && std::strcmp(argv[1], "-edit") == 0)
    {
        application->Run_Editor();
    }
    else
    {
        std::printf("Invalid switch or switches.\n");
    }

    remove_display_switch_callback(Display_Switch_Handler);
    delete application;
    application = nullptr;
    std::printf("Done.\n");
    std::fflush(stdout);
    return status;
}
END_OF_MAIN()
