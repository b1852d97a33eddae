#include "application.h"

namespace
{
struct Key_Signal
{
    int key_code;
    int signal;
};

// The whole keyboard of the game and the editor. The digits are those of the
// main row, not of the keypad.
const Key_Signal KEY_SIGNALS[] = {
    {KEY_SPACE, Application::SIGNAL_FLY},
    {KEY_LEFT, Application::SIGNAL_LEFT},
    {KEY_RIGHT, Application::SIGNAL_RIGHT},
    {KEY_UP, Application::SIGNAL_UP},
    {KEY_DOWN, Application::SIGNAL_DOWN},
    {KEY_P, Application::SIGNAL_PAUSE},
    {KEY_Q, Application::SIGNAL_QUIT},
    {KEY_ENTER, Application::SIGNAL_START},
    {KEY_J, Application::SIGNAL_CURSOR_LEFT},
    {KEY_L, Application::SIGNAL_CURSOR_RIGHT},
    {KEY_I, Application::SIGNAL_CURSOR_UP},
    {KEY_M, Application::SIGNAL_CURSOR_DOWN},
    {KEY_K, Application::SIGNAL_SELECT},
    {KEY_D, Application::SIGNAL_DELETE},
    {KEY_S, Application::SIGNAL_SAVE},
    {KEY_PGUP, Application::SIGNAL_LEVEL_UP},
    {KEY_PGDN, Application::SIGNAL_LEVEL_DOWN},
    {KEY_X, Application::SIGNAL_SCROLL_UP_1},
    {KEY_Z, Application::SIGNAL_SCROLL_DOWN_1},
    {KEY_V, Application::SIGNAL_SCROLL_UP_2},
    {KEY_C, Application::SIGNAL_SCROLL_DOWN_2},
    {KEY_N, Application::SIGNAL_SCROLL_UP_3},
    {KEY_B, Application::SIGNAL_SCROLL_DOWN_3},
    {KEY_1, Application::SIGNAL_SCREEN_MODE},
    {KEY_2, Application::SIGNAL_CHARACTER_MODE},
    {KEY_3, Application::SIGNAL_PLATFORM_MODE},
    {KEY_4, Application::SIGNAL_MOVIE_RECORD},
    {KEY_5, Application::SIGNAL_MOVIE_PLAY},
    {KEY_6, Application::SIGNAL_MOVIE_STOP},
};
} // namespace

void Application::Generate_Signals()
{
    if (keyboard_driver != nullptr && keyboard_needs_poll())
        poll_keyboard();
    signals = 0;
    // Key states, not presses: a bit is set in every tick its key is held.
    for (const Key_Signal& entry : KEY_SIGNALS)
        if (key[entry.key_code])
            signals |= entry.signal;
    // The window's close button and a request to end the program quit as Q
    // does, the editor saving first.
    if (close_requested || termination_requested)
        signals |= SIGNAL_QUIT;
}

void Application::Press_Keys_For_Signals(int signal_word)
{
    for (const Key_Signal& entry : KEY_SIGNALS)
        key[entry.key_code] = (signal_word & entry.signal) ? 1 : 0;
}
