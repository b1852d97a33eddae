// The program's entry: brings the library up, creates the one Application,
// loads every resource behind the loading screen and hands over to the game
// or the level editor.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <signal.h>
#include <string>

#include <allegro.h>

#include "application.h"
#include "settings.h"
#include "sound_feeder.h"
#include "translation.h"
#include "user_files.h"
#include "window_system.h"

void Display_Switch_Handler()
{
    switched_away = false;
    if (application == nullptr || screen == nullptr)
        return;
    application->Redraw_Screen();
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

// A desktop logging out, a closed terminal, Ctrl+C, Ctrl+\\, a user signal,
// a reader gone from the other end of a pipe: the loops read the flag as Q,
// so the editor saves and the game ends as it does on Q.
void Termination_Handler(int)
{
    termination_requested = 1;
}

namespace
{
// After the library's own start, which sets handlers of its own.
void Install_Termination_Handlers()
{
    struct sigaction action = {};
    action.sa_handler = Termination_Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal_number : {SIGTERM, SIGINT, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGPIPE})
        sigaction(signal_number, &action, nullptr);
    // A limit on the size of files makes a write fail (a failed save, said
    // as one) instead of ending the program in the middle of it.
    signal(SIGXFSZ, SIG_IGN);
}

// A window at a whole multiple of the canvas keeps every pixel square and
// sharp (the picture is stretched by whole pixels, unfiltered). True when
// the game got its window, false for full screen (or no mode at all, said
// in mode_set).
bool Set_Graphics_Mode(const Settings& settings, bool& mode_set)
{
    int depth = desktop_color_depth();
    set_color_depth(depth != 0 ? depth : 32);
    mode_set = true;
    if (settings.window_scale != Settings::FULL_SCREEN && Set_Screen_Mode(false, settings.window_scale))
        return true;
    mode_set = Set_Screen_Mode(true, settings.window_scale);
    return false;
}

// Sound effects through the first digital driver that works (ALSA, which
// also reaches PulseAudio and PipeWire); music through the software
// synthesizer when the library finds its patch set (allegro.cfg or
// patches.dat beside the program), else through any MIDI device. The library
// can report success with nothing installed, so the drivers' ids decide.
// The digital driver's update is caught on the way (Sound_Feeder), to be
// called once a period instead of every millisecond.
void Install_Drivers()
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

void Install_Sound()
{
    Sound_Feeder::Start_Catching();
    Install_Drivers();
    Sound_Feeder::Stop_Catching();
}

const char* Driver_Name(const char* name, bool present)
{
    return present && name != nullptr ? name : "none";
}
} // namespace

int main(int argc, char* argv[])
{
    // Every text is drawn as UTF-8, which a translation is written in.
    set_uformat(U_UTF8);
    if (allegro_init() != 0)
    {
        std::fprintf(stderr, "Cannot start the game library: %s\n", allegro_error);
        return 1;
    }

    // The player's language from the environment, unless the settings file
    // names one; its reports are then read again in that language.
    Choose_Language(std::string());
    Settings settings;
    std::string settings_file = Find_Settings_File();
    if (!settings_file.empty())
    {
        settings.Load(settings_file.c_str());
        if (!settings.language.empty())
        {
            Choose_Language(settings.language);
            settings = Settings();
            settings.Load(settings_file.c_str());
        }
        std::fputs(settings.problem.c_str(), stderr);
    }
    Find_Data_Directory(settings.data_directory.c_str());

    bool mode_set = false;
    bool windowed = Set_Graphics_Mode(settings, mode_set);
    if (!mode_set)
    {
        std::fprintf(stderr, "Cannot set a graphics mode: %s\n", allegro_error);
        return 1;
    }
    LOCK_VARIABLE(close_requested);
    LOCK_FUNCTION(Close_Button_Handler);
    install_keyboard();
    install_timer();
    Install_Sound();
    if (std::getenv("BLUEJAY_REPORT") != nullptr)
        std::fprintf(stderr, "Screen %dx%d, %d bits; sound %s, music %s\n", SCREEN_W, SCREEN_H,
                     bitmap_color_depth(screen),
                     Driver_Name(digi_driver->name, digi_driver->id != DIGI_NONE),
                     Driver_Name(midi_driver->name, midi_driver->id != MIDI_NONE));
    if (std::getenv("BLUEJAY_REPORT") != nullptr && Sound_Feeder::Feeding())
        std::fprintf(stderr, "Sound fed every %ld us\n", Sound_Feeder::Period_Microseconds());
    LOCK_VARIABLE(timing_signal);
    Install_Termination_Handlers();
    set_volume(255, 128);
    // A missing gamepad is no error: the game looks again now and then.
    install_joystick(JOY_TYPE_AUTODETECT);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    Register_Window_Callbacks(Display_Switch_Handler, Switch_Out_Handler, Close_Button_Handler);
    set_write_alpha_blender();
    // With the sound fed by the game (or no sound at all) the library's
    // background thread only looks after the window, and the game takes its
    // events in once a tick instead.
    Window_System::Take_Over_Events();

    application = new Application();
    settings.Apply(*application);
    // The game speed the player chose sets the timer's period.
    application->tick_timer_running = true;
    application->Apply_Tick_Period();
    application->full_screen = !windowed;
    application->search_gamepads = true;
    application->Apply_Volumes();
    application->Load_Resources();
    Remove_Stale_Temporary_Files();

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
    Sound_Feeder::Stop();
    if (std::getenv("BLUEJAY_REPORT") != nullptr && Window_System::Frames_Sent() > 0)
        std::fprintf(stderr, "Shown: %ld frames, %ld updates, %lld pixels\n", Window_System::Frames_Sent(),
                     Window_System::Areas_Sent(), Window_System::Pixels_Sent());
    if (std::getenv("BLUEJAY_REPORT") != nullptr && Sound_Feeder::Wake_Ups() > 0)
        std::fprintf(stderr, "Sound fed %ld times, longest wait %ld us\n", Sound_Feeder::Wake_Ups(),
                     Sound_Feeder::Longest_Wait_Microseconds());
    Window_System::Give_Back_Events();
    delete application;
    application = nullptr;
    std::printf("Done.\n");
    std::fflush(stdout);
    return status;
}
END_OF_MAIN()
