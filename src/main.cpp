// The program's entry: brings the library up, creates the one Application,
// loads every resource behind the loading screen and hands over to the game
// or the level editor.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include <allegro.h>

#include "application.h"
#include "settings.h"

void Timing_Handler()
{
    timing_signal = true;
}
END_OF_FUNCTION(Timing_Handler)

void Display_Switch_Handler()
{
    switched_away = false;
    if (application == nullptr || screen == nullptr)
        return;
    acquire_screen();
    stretch_blit(application->canvas, screen, 0, 0, Application::CANVAS_WIDTH,
                 Application::CANVAS_HEIGHT, 0, 0, SCREEN_W, SCREEN_H);
    release_screen();
}

// The player went to another window: the game loops hold until the switch
// back (the library will not pause a game in a window by itself).
void Switch_Out_Handler()
{
    switched_away = true;
}

void Close_Button_Handler()
{
    close_requested = true;
}
END_OF_FUNCTION(Close_Button_Handler)

namespace
{
bool Set_Graphics_Mode(const Settings& settings)
{
    int depth = desktop_color_depth();
    set_color_depth(depth != 0 ? depth : 32);
    // A window at a whole multiple of the canvas keeps every pixel square
    // and sharp (the picture is stretched by whole pixels, unfiltered).
    if (settings.window_scale != Settings::FULL_SCREEN &&
        set_gfx_mode(GFX_AUTODETECT_WINDOWED, Application::CANVAS_WIDTH * settings.window_scale,
                     Application::CANVAS_HEIGHT * settings.window_scale, 0, 0) == 0)
        return true;
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

// Sound effects through the first digital driver that works (ALSA, which
// also reaches PulseAudio and PipeWire); music through the software
// synthesizer when the library finds its patch set (allegro.cfg or
// patches.dat beside the program), else through any MIDI device. The library
// can report success with nothing installed, so the drivers' ids decide.
void Install_Sound()
{
    if (install_sound(DIGI_AUTODETECT, MIDI_DIGMID, nullptr) == 0 && digi_driver->id != DIGI_NONE &&
        midi_driver->id != MIDI_NONE)
        return;
    remove_sound();
    if (install_sound(DIGI_AUTODETECT, MIDI_AUTODETECT, nullptr) == 0)
        return;
    // Without a sound device the game plays silently.
    install_sound(DIGI_NONE, MIDI_NONE, nullptr);
}

const char* Driver_Name(const char* name, bool present)
{
    return present && name != nullptr ? name : "none";
}
} // namespace

int main(int argc, char* argv[])
{
    if (allegro_init() != 0)
    {
        std::fprintf(stderr, "Cannot start the game library: %s\n", allegro_error);
        return 1;
    }

    Settings settings;
    std::string settings_file = Find_Settings_File();
    if (!settings_file.empty())
    {
        settings.Load(settings_file.c_str());
        if (!settings.problem.empty())
            std::fprintf(stderr, "%s: %s\n", settings_file.c_str(), settings.problem.c_str());
    }
    Find_Data_Directory(settings.data_directory.c_str());

    if (!Set_Graphics_Mode(settings))
    {
        std::fprintf(stderr, "Cannot set a graphics mode: %s\n", allegro_error);
        return 1;
    }
    set_window_title("Bluejay");
    LOCK_VARIABLE(close_requested);
    LOCK_FUNCTION(Close_Button_Handler);
    set_close_button_callback(Close_Button_Handler);
    install_keyboard();
    install_timer();
    Install_Sound();
    if (std::getenv("BLUEJAY_REPORT") != nullptr)
        std::fprintf(stderr, "Screen %dx%d, %d bits; sound %s, music %s\n", SCREEN_W, SCREEN_H,
                     bitmap_color_depth(screen),
                     Driver_Name(digi_driver->name, digi_driver->id != DIGI_NONE),
                     Driver_Name(midi_driver->name, midi_driver->id != MIDI_NONE));
    LOCK_VARIABLE(timing_signal);
    LOCK_FUNCTION(Timing_Handler);
    install_int(Timing_Handler, 30);
    set_volume(255, 128);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    // A full-screen console game can be paused by the library itself; in a
    // window on a desktop it runs on in the background, and the game holds
    // itself from the switch out to the switch back in.
    if (set_display_switch_mode(SWITCH_PAUSE) != 0)
    {
        set_display_switch_mode(SWITCH_BACKGROUND);
        set_display_switch_callback(SWITCH_OUT, Switch_Out_Handler);
    }
    set_write_alpha_blender();
    set_display_switch_callback(SWITCH_IN, Display_Switch_Handler);

    application = new Application();
    application->keep_palette = settings.keep_palette;
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
    remove_display_switch_callback(Switch_Out_Handler);
    set_close_button_callback(nullptr);
    delete application;
    application = nullptr;
    std::printf("Done.\n");
    std::fflush(stdout);
    return status;
}
END_OF_MAIN()
