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

// The bits of the actions a player can move to other keys.
constexpr int GAME_ACTION_BITS = Application::SIGNAL_LEFT | Application::SIGNAL_RIGHT | Application::SIGNAL_UP |
                                 Application::SIGNAL_DOWN | Application::SIGNAL_FLY | Application::SIGNAL_DELETE |
                                 Application::SIGNAL_PAUSE | Application::SIGNAL_START | Application::SIGNAL_QUIT;
} // namespace

const char* const Application::GAME_ACTION_NAMES[NUMBER_OF_GAME_ACTIONS] = {
    "left", "right", "jump", "down", "fly", "give_up", "pause", "enter", "quit"};
const int Application::DEFAULT_GAME_KEYS[NUMBER_OF_GAME_ACTIONS] = {KEY_LEFT,  KEY_RIGHT, KEY_UP,
                                                                    KEY_DOWN,  KEY_SPACE, KEY_D,
                                                                    KEY_P,     KEY_ENTER, KEY_Q};
const int Application::GAME_ACTION_SIGNALS[NUMBER_OF_GAME_ACTIONS] = {
    SIGNAL_LEFT, SIGNAL_RIGHT, SIGNAL_UP, SIGNAL_DOWN, SIGNAL_FLY, SIGNAL_DELETE, SIGNAL_PAUSE, SIGNAL_START, SIGNAL_QUIT};

// The usual pad under Linux: A jumps, B flies, Start is Enter, Back pauses.
const char* const Application::GAMEPAD_ACTION_NAMES[NUMBER_OF_GAMEPAD_ACTIONS] = {"jump", "fly", "enter", "pause"};
const int Application::DEFAULT_GAMEPAD_BUTTONS[NUMBER_OF_GAMEPAD_ACTIONS] = {0, 1, 7, 6};
const int Application::GAMEPAD_ACTION_SIGNALS[NUMBER_OF_GAMEPAD_ACTIONS] = {SIGNAL_UP, SIGNAL_FLY, SIGNAL_START,
                                                                            SIGNAL_PAUSE};

void Application::Generate_Signals()
{
    if (keyboard_driver != nullptr && keyboard_needs_poll())
        poll_keyboard();
    signals = 0;
    // Key states, not presses: a bit is set in every tick its key is held.
    // In the game the player's actions may sit on other keys; the editor
    // reads the whole table as it stands.
    for (const Key_Signal& entry : KEY_SIGNALS)
        if ((editing || (entry.signal & GAME_ACTION_BITS) == 0) && key[entry.key_code])
            signals |= entry.signal;
    if (!editing)
    {
        for (int i = 0; i < NUMBER_OF_GAME_ACTIONS; i++)
            if (game_keys[i] > 0 && game_keys[i] < KEY_MAX && key[game_keys[i]])
                signals |= GAME_ACTION_SIGNALS[i];
        signals |= Gamepad_Signals();
    }
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

int Application::Gamepad_Signals() const
{
    if (num_joysticks <= 0)
        return 0;
    if (joystick_driver != nullptr)
        poll_joystick();
    const JOYSTICK_INFO& pad = joy[0];
    int pad_signals = 0;
    // The stick and the d-pad (a stick of its own to the library) alike.
    for (int s = 0; s < pad.num_sticks && s < MAX_JOYSTICK_STICKS; s++)
    {
        const JOYSTICK_STICK_INFO& stick = pad.stick[s];
        if (stick.num_axis >= 1)
        {
            pad_signals |= stick.axis[0].d1 ? SIGNAL_LEFT : 0;
            pad_signals |= stick.axis[0].d2 ? SIGNAL_RIGHT : 0;
        }
        if (stick.num_axis >= 2)
        {
            pad_signals |= stick.axis[1].d1 ? SIGNAL_UP : 0;
            pad_signals |= stick.axis[1].d2 ? SIGNAL_DOWN : 0;
        }
    }
    for (int i = 0; i < NUMBER_OF_GAMEPAD_ACTIONS; i++)
    {
        int button = gamepad_buttons[i];
        if (button >= 0 && button < pad.num_buttons && button < MAX_JOYSTICK_BUTTONS && pad.button[button].b)
            pad_signals |= GAMEPAD_ACTION_SIGNALS[i];
    }
    return pad_signals;
}

void Application::Find_Gamepad()
{
    if (!search_gamepads || num_joysticks > 0)
        return;
    // A pad plugged in after the start is found by starting the library's
    // joystick support again.
    remove_joystick();
    install_joystick(JOY_TYPE_AUTODETECT);
}
