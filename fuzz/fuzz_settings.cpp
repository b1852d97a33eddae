// Fuzzes the settings reader: any file is read to its end, every value it
// keeps is one the game accepts (a window scale, a full-screen shape,
// volumes from 0 to 255, a key for each action with no two actions on one
// key, a gamepad button the library has), and every problem is a line that
// names the file.

#include "fuzz_support.h"

#include "screen_area.h"
#include "settings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::Start();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = fuzz::Write("bluejay.cfg", data, size);
    Settings settings;
    FUZZ_CHECK(settings.Load(path.c_str()));
    FUZZ_CHECK(settings.window_scale == Settings::FULL_SCREEN ||
               (settings.window_scale >= Settings::MIN_WINDOW_SCALE && settings.window_scale <= Settings::MAX_WINDOW_SCALE));
    FUZZ_CHECK(settings.fullscreen_shape >= Screen_Area::STRETCH && settings.fullscreen_shape <= Screen_Area::INTEGER);
    FUZZ_CHECK(settings.music_volume >= 0 && settings.music_volume <= Settings::MAX_VOLUME);
    FUZZ_CHECK(settings.effects_volume >= 0 && settings.effects_volume <= Settings::MAX_VOLUME);
    for (int i = 0; i < Application::NUMBER_OF_GAME_ACTIONS; i++)
    {
        FUZZ_CHECK(settings.game_keys[i] > 0 && settings.game_keys[i] < KEY_MAX);
        for (int other = 0; other < i; other++)
            FUZZ_CHECK(settings.game_keys[i] != settings.game_keys[other]);
    }
    for (int i = 0; i < Application::NUMBER_OF_GAMEPAD_ACTIONS; i++)
        FUZZ_CHECK(settings.gamepad_buttons[i] >= 0 && settings.gamepad_buttons[i] <= Application::MAX_GAMEPAD_BUTTON);
    std::string::size_type start = 0;
    while (start < settings.problem.size())
    {
        FUZZ_CHECK(settings.problem.compare(start, path.size() + 1, path + ":") == 0);
        std::string::size_type end = settings.problem.find('\n', start);
        FUZZ_CHECK(end != std::string::npos);
        start = end + 1;
    }
    return 0;
}
