#include "menu_screens.h"

#include <cstdarg>
#include <cstdio>

#include "application.h"
#include "level_tally.h"
#include "screen_area.h"
#include "settings.h"
#include "settings_file.h"
#include "translation.h"

namespace
{
// What an entry does, kept beside the menu's entries.
enum Entry_Id
{
    ID_NONE,
    ID_START,
    ID_CONTINUE,
    ID_LEVELS,
    ID_OPTIONS,
    ID_CONTROLS,
    ID_QUIT,
    ID_RESUME,
    ID_RESTART,
    ID_QUIT_TO_TITLE,
    ID_BACK,
    ID_KEYS,
    ID_GAMEPAD,
    ID_DEFAULTS,
    ID_OPTION = 100,
    ID_ACTION = 200,
    ID_LEVEL = 1000
};

std::string Format(const char* format, ...)
{
    char text[128];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    return text;
}

// The actions as the player reads them, in the order of the game's key
// table, and those of the gamepad.
const char* const ACTION_LABELS[Application::NUMBER_OF_GAME_ACTIONS] = {
    TRANSLATE_LATER("Left"),  TRANSLATE_LATER("Right"), TRANSLATE_LATER("Jump"),
    TRANSLATE_LATER("Down"),  TRANSLATE_LATER("Fly"),   TRANSLATE_LATER("Give up"),
    TRANSLATE_LATER("Pause"), TRANSLATE_LATER("Enter"), TRANSLATE_LATER("Quit")};
const char* const BUTTON_LABELS[Application::NUMBER_OF_GAMEPAD_ACTIONS] = {
    TRANSLATE_LATER("Jump"), TRANSLATE_LATER("Fly"), TRANSLATE_LATER("Enter"), TRANSLATE_LATER("Pause")};
const char* const SHAPE_NAMES[] = {"stretch", "aspect", "integer"};
const char* const SHAPE_LABELS[] = {TRANSLATE_LATER("stretch"), TRANSLATE_LATER("aspect"),
                                    TRANSLATE_LATER("integer")};

std::string On_Off(bool flag)
{
    return flag ? Translate("on") : Translate("off");
}

const char* Yes_No(bool flag)
{
    return flag ? "yes" : "no";
}

// Characters of a level's name and its value together on a line of the list.
constexpr int NAME_ROOM = 25;

// The first characters of a UTF-8 text, never half of one.
std::string Cut_Text(const std::string& text, int characters)
{
    int count = 0;
    for (std::string::size_type i = 0; i < text.size(); i++)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && count++ == characters)
            return text.substr(0, i);
    return text;
}

// A level's line in the list ends in its best time and the most eggs
// grabbed there ("*" when they were all it holds), then its number.
std::string Level_Value(const Progress& progress, int level)
{
    const Level_Best& best = progress.level_best[Progress::PLAIN][level];
    if (best.ticks <= 0)
        return std::to_string(level);
    char time[Level_Tally::TIME_TEXT];
    Level_Tally::Format_Time(best.ticks, time, sizeof(time));
    return Format("%s %d%s %d", time, best.eggs, best.all_eggs ? "*" : " ", level);
}

// The language the texts are shown in: the first one tried that has a
// catalogue, or "" for English.
std::string Current_Language()
{
    std::vector<std::string> installed = Installed_Languages();
    for (const std::string& folder : Language_Folders())
        for (const std::string& code : installed)
            if (!code.empty() && code == folder)
                return code;
    return std::string();
}

int Cycle(int value, int low, int high, int step, int direction)
{
    value += step * direction;
    if (value > high)
        return low;
    if (value < low)
        return high;
    return value;
}

// One line of the options: its label, the value it shows, and what Left,
// Right or Enter does (each change takes effect and is remembered).
struct Option
{
    const char* label;
    std::string (*value)(const Application&);
    void (*change)(Application&, int direction);
    // Or a choice that is on or off, and where the settings keep it.
    bool Play_Options::*flag;
    const char* section;
    const char* key;
};

const Option OPTION_TABLE[] = {
    {TRANSLATE_LATER("Music volume"), [](const Application& a) { return std::to_string(a.music_volume); },
     [](Application& a, int direction) {
         a.Set_Volumes(a.music_volume + direction * Application::VOLUME_STEP, a.effects_volume);
         // The tune plays while its volume changes, even over a paused game.
         if (a.music_paused)
             a.Resume_Music();
         Menu_Screens::Remember(a, "sound", "music", std::to_string(a.music_volume));
     },
     nullptr, nullptr, nullptr},
    {TRANSLATE_LATER("Effects volume"), [](const Application& a) { return std::to_string(a.effects_volume); },
     [](Application& a, int direction) {
         a.Set_Volumes(a.music_volume, a.effects_volume + direction * Application::VOLUME_STEP);
         a.Play_Sound(Application::GRAB_EGG_SE);
         Menu_Screens::Remember(a, "sound", "effects", std::to_string(a.effects_volume));
     },
     nullptr, nullptr, nullptr},
    {TRANSLATE_LATER("Screen"),
     [](const Application& a) {
         return a.full_screen ? std::string(Translate("full screen")) : Format(Translate("window %dx"), a.window_scale);
     },
     [](Application& a, int direction) {
         // Full screen, then every window scale that fits on the desktop.
         int largest = Menu_Screens::Largest_Offered_Scale();
         int now = a.full_screen ? Settings::MIN_WINDOW_SCALE - 1 : a.window_scale;
         int next = Cycle(now, Settings::MIN_WINDOW_SCALE - 1, largest, 1, direction);
         bool full = next < Settings::MIN_WINDOW_SCALE;
         if (!a.Set_Screen(full, full ? a.window_scale : next))
             a.Show_Notice(Translate("That screen cannot be set"));
         else
             Menu_Screens::Remember(a, "window", "scale", std::to_string(full ? 0 : next));
     },
     nullptr, nullptr, nullptr},
    {TRANSLATE_LATER("Full screen shape"), [](const Application& a) { return std::string(Translate(SHAPE_LABELS[a.fullscreen_shape])); },
     [](Application& a, int direction) {
         a.fullscreen_shape = Cycle(a.fullscreen_shape, Screen_Area::STRETCH, Screen_Area::INTEGER, 1, direction);
         a.Redraw_Screen();
         Menu_Screens::Remember(a, "display", "fullscreen", SHAPE_NAMES[a.fullscreen_shape]);
     },
     nullptr, nullptr, nullptr},
    {TRANSLATE_LATER("Speed"), [](const Application& a) { return Format("%d%%", a.play_options.speed); },
     [](Application& a, int direction) {
         a.play_options.speed = Cycle(a.play_options.speed, Play_Options::MIN_SPEED, Play_Options::MAX_SPEED,
                                      Play_Options::SPEED_STEP, direction);
         a.Apply_Tick_Period();
         Menu_Screens::Remember(a, "assist", "speed", std::to_string(a.play_options.speed));
     },
     nullptr, nullptr, nullptr},
    // The languages that have a catalogue; English is written as "en" so
    // that it holds even where the environment asks for another language.
    {TRANSLATE_LATER("Language"), [](const Application&) { return Language_Name(Current_Language()); },
     [](Application& a, int direction) {
         std::vector<std::string> languages = Installed_Languages();
         int now = 0;
         for (int i = 0; i < static_cast<int>(languages.size()); i++)
             if (languages[i] == Current_Language())
                 now = i;
         std::string next = languages[Cycle(now, 0, static_cast<int>(languages.size()) - 1, 1, direction)];
         if (next.empty())
             next = "en";
         Choose_Language(next);
         a.Load_Messages();
         Menu_Screens::Remember(a, "display", "language", next);
     },
     nullptr, nullptr, nullptr},
    // The choices that are only on or off, each under a key of its section.
    {TRANSLATE_LATER("Endless flight"), nullptr, nullptr, &Play_Options::endless_flight, "assist", "endless_flight"},
    {TRANSLATE_LATER("Invincible"), nullptr, nullptr, &Play_Options::invincible, "assist", "invincible"},
    {TRANSLATE_LATER("No ghost pushes"), nullptr, nullptr, &Play_Options::no_ghost_push, "assist", "no_ghost_push"},
    {TRANSLATE_LATER("Timer"), nullptr, nullptr, &Play_Options::show_timer, "display", "timer"},
    {TRANSLATE_LATER("Status backing"), nullptr, nullptr, &Play_Options::status_backing, "display", "status_backing"},
};
constexpr int NUMBER_OF_OPTIONS = sizeof(OPTION_TABLE) / sizeof(OPTION_TABLE[0]);

// The name of the key of an action, or "-" for a key without one.
std::string Key_Label(int key_code)
{
    std::string name = Key_Name_For_Code(key_code);
    return name.empty() ? "-" : name;
}
} // namespace

Menu_Screens::~Menu_Screens()
{
    if (backdrop != nullptr)
        destroy_bitmap(backdrop);
}

bool Menu_Screens::Start_Highlighted() const
{
    return At_Title_Root() && menu.highlight >= 0 && menu.highlight < static_cast<int>(ids.size()) &&
           ids[menu.highlight] == ID_START;
}

int Menu_Screens::Largest_Offered_Scale()
{
    int width = 0, height = 0;
    if (get_desktop_resolution(&width, &height) != 0 || width <= 0 || height <= 0)
        return Settings::MAX_WINDOW_SCALE;
    return Screen_Area::Largest_Window_Scale(width, height, Settings::MIN_WINDOW_SCALE, Settings::MAX_WINDOW_SCALE);
}

void Menu_Screens::Remember(Application& application, const char* section, const std::string& key,
                            const std::string& value)
{
    if (!Settings_File::Remember(application.settings_path, section, key, value))
        application.Show_Notice(Translate("The settings could not be saved"));
}

void Menu_Screens::Open_Title(Application& application)
{
    Close(application);
    stack = {TITLE};
    menu.highlight = 0;
    Build(application);
    controls.Reset(application);
}

void Menu_Screens::Open_Pause(Application& application)
{
    Close(application);
    backdrop = create_bitmap(Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT);
    blit(application.canvas, backdrop, 0, 0, 0, 0, Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT);
    stack = {PAUSE};
    menu.highlight = 0;
    Build(application);
    controls.Reset(application);
}

void Menu_Screens::Close(Application& application)
{
    if (backdrop != nullptr)
    {
        blit(backdrop, application.canvas, 0, 0, 0, 0, Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT);
        destroy_bitmap(backdrop);
        backdrop = nullptr;
    }
    stack.clear();
    highlights.clear();
    waiting_for = -1;
}

void Menu_Screens::Push(Application& application, Screen screen)
{
    highlights.push_back(menu.highlight);
    stack.push_back(screen);
    menu.highlight = 0;
    menu.first_shown = 0;
    if (screen == LEVELS)
        level_list.Build(application);
    Build(application);
}

void Menu_Screens::Back(Application& application)
{
    if (stack.size() <= 1)
        return;
    stack.pop_back();
    menu.highlight = highlights.empty() ? 0 : highlights.back();
    if (!highlights.empty())
        highlights.pop_back();
    menu.first_shown = 0;
    // Back over the paused game, the tune a volume change let go is held
    // again.
    if (Current() == PAUSE && !application.music_paused)
        application.Pause_Music();
    Build(application);
}

void Menu_Screens::Build(Application& application)
{
    int highlight = menu.highlight;
    menu.entries.clear();
    menu.heading.clear();
    ids.clear();
    auto add = [&](int id, const std::string& text, const std::string& value = std::string()) {
        menu.Add(text, value, id != ID_NONE);
        ids.push_back(id);
    };
    menu.top = 8;
    menu.width = 240;
    menu.rows = 17;
    menu.padding = Menu::PADDING;
    switch (Current())
    {
    case CLOSED:
        break;
    case TITLE:
        // Between the title's name and its "Press Enter".
        menu.top = TITLE_TOP;
        menu.width = 200;
        menu.rows = 6;
        menu.padding = 3;
        add(ID_START, Translate("Start"));
        if (application.Continue_Level() > 0)
            add(ID_CONTINUE, Format(Translate("Continue from level %i"), application.Continue_Level()));
        add(ID_LEVELS, Translate("Levels"));
        add(ID_OPTIONS, Translate("Options"));
        add(ID_CONTROLS, Translate("Controls"));
        add(ID_QUIT, Translate("Quit"));
        break;
    case PAUSE:
        menu.top = 56;
        menu.width = 160;
        menu.heading = Translate("Paused");
        add(ID_RESUME, Translate("Resume"));
        add(ID_RESTART, Translate("Restart level"));
        add(ID_CONTROLS, Translate("Controls"));
        add(ID_OPTIONS, Translate("Options"));
        add(ID_QUIT_TO_TITLE, Translate("Quit to title"));
        add(ID_QUIT, Translate("Quit"));
        break;
    case LEVELS:
    {
        menu.heading = Translate("Levels");
        menu.rows = 16;
        bool own_heading = false;
        for (const Level_List::Entry& entry : level_list.entries)
        {
            if (entry.own && !own_heading)
            {
                add(ID_NONE, Translate("Your levels"));
                own_heading = true;
            }
            std::string name = entry.name.empty() ? Format(Translate("Level %i"), entry.level) : entry.name;
            std::string value = Level_Value(application.progress, entry.level);
            add(ID_LEVEL + entry.level, Cut_Text(name, NAME_ROOM - Text_Characters(value.c_str())), value);
        }
        add(ID_BACK, Translate("Back"));
        break;
    }
    case OPTIONS:
        menu.heading = Translate("Options");
        add(ID_KEYS, Translate("Keys"));
        add(ID_GAMEPAD, Translate("Gamepad buttons"));
        for (int i = 0; i < NUMBER_OF_OPTIONS; i++)
        {
            const Option& option = OPTION_TABLE[i];
            add(ID_OPTION + i, Translate(option.label),
                option.flag != nullptr ? On_Off(application.play_options.*option.flag) : option.value(application));
        }
        add(ID_BACK, Translate("Back"));
        break;
    case KEYS:
        menu.heading = Translate("Keys");
        for (int i = 0; i < Application::NUMBER_OF_GAME_ACTIONS; i++)
            add(ID_ACTION + i, Translate(ACTION_LABELS[i]), Key_Label(application.game_keys[i]));
        add(ID_DEFAULTS, Translate("Defaults"));
        add(ID_BACK, Translate("Back"));
        break;
    case GAMEPAD:
        menu.heading = Translate("Gamepad buttons");
        for (int i = 0; i < Application::NUMBER_OF_GAMEPAD_ACTIONS; i++)
            add(ID_ACTION + i, Translate(BUTTON_LABELS[i]),
                Format(Translate("button %d"), application.gamepad_buttons[i]));
        add(ID_BACK, Translate("Back"));
        break;
    case CONTROLS:
    {
        menu.heading = Translate("Controls");
        for (int i = 0; i < Application::NUMBER_OF_GAME_ACTIONS; i++)
        {
            std::string value = Key_Label(application.game_keys[i]);
            int signal = Application::GAME_ACTION_SIGNALS[i];
            for (int b = 0; b < Application::NUMBER_OF_GAMEPAD_ACTIONS; b++)
                if (Application::GAMEPAD_ACTION_SIGNALS[b] == signal)
                    value += " / " + Format(Translate("button %d"), application.gamepad_buttons[b]);
            if (signal == Application::SIGNAL_LEFT || signal == Application::SIGNAL_RIGHT ||
                signal == Application::SIGNAL_DOWN)
                value += std::string(" / ") + Translate("stick");
            add(ID_NONE, Translate(ACTION_LABELS[i]), value);
        }
        add(ID_NONE, Translate("Menu"), application.Pause_Menu_Key() == KEY_ESC ? "ESC" : "F10");
        add(ID_NONE, Translate("Music down, up"), "F7 F8");
        add(ID_NONE, Translate("Sound on, off"), "F9");
        add(ID_NONE, Translate("Full screen"), "F11");
        add(ID_NONE, Translate("Screenshot"), "F12");
        add(ID_NONE, Translate("Record, replay, stop"), "4 5 6");
        add(ID_BACK, Translate("Back"));
        break;
    }
    }
    menu.highlight = highlight;
    menu.Settle();
}

Menu_Screens::Outcome Menu_Screens::Tick(Application& application)
{
    Outcome outcome;
    if (stack.empty())
        return outcome;
    if (waiting_for >= 0)
    {
        if (Current() == KEYS)
            Take_Key(application);
        else
            Take_Button(application);
        return outcome;
    }
    int before = menu.highlight;
    Menu::Result result = menu.Handle(controls.Read(application));
    if (menu.highlight != before)
        menu.word.clear();
    if (result.back)
    {
        menu.word.clear();
        if (Current() == PAUSE)
            outcome.action = RESUME;
        else
            Back(application);
        return outcome;
    }
    int id = ids.empty() ? ID_NONE : ids[menu.highlight];
    if (result.step != 0 && id >= ID_OPTION && id < ID_OPTION + NUMBER_OF_OPTIONS)
    {
        Change_Option(application, id - ID_OPTION, result.step);
        return outcome;
    }
    if (result.chosen != Menu::NONE)
        return Choose(application, result.chosen, 1);
    return outcome;
}

Menu_Screens::Outcome Menu_Screens::Choose(Application& application, int entry, int step)
{
    Outcome outcome;
    int id = ids[entry];
    menu.word.clear();
    switch (id)
    {
    case ID_START:
        outcome.action = START;
        break;
    case ID_CONTINUE:
        outcome.action = CONTINUE;
        break;
    case ID_QUIT:
        outcome.action = QUIT;
        break;
    case ID_RESUME:
        outcome.action = RESUME;
        break;
    case ID_RESTART:
        outcome.action = RESTART_LEVEL;
        break;
    case ID_QUIT_TO_TITLE:
        outcome.action = QUIT_TO_TITLE;
        break;
    case ID_LEVELS:
        Push(application, LEVELS);
        break;
    case ID_OPTIONS:
        Push(application, OPTIONS);
        break;
    case ID_CONTROLS:
        Push(application, CONTROLS);
        break;
    case ID_KEYS:
        Push(application, KEYS);
        break;
    case ID_GAMEPAD:
        Push(application, GAMEPAD);
        break;
    case ID_BACK:
        Back(application);
        break;
    case ID_DEFAULTS:
        for (int i = 0; i < Application::NUMBER_OF_GAME_ACTIONS; i++)
            if (application.game_keys[i] != Application::DEFAULT_GAME_KEYS[i])
            {
                application.game_keys[i] = Application::DEFAULT_GAME_KEYS[i];
                Remember(application, "keys", Application::GAME_ACTION_NAMES[i],
                         Key_Name_For_Code(application.game_keys[i]));
            }
        Build(application);
        break;
    default:
        if (id >= ID_LEVEL)
        {
            outcome.action = START_LEVEL;
            outcome.level = id - ID_LEVEL;
        }
        else if (id >= ID_ACTION && Current() == KEYS)
            Ask_For_Key(application, id - ID_ACTION);
        else if (id >= ID_ACTION && Current() == GAMEPAD)
            Ask_For_Button(application, id - ID_ACTION);
        else if (id >= ID_OPTION)
            Change_Option(application, id - ID_OPTION, step);
        break;
    }
    return outcome;
}

void Menu_Screens::Change_Option(Application& application, int option, int step)
{
    const Option& chosen = OPTION_TABLE[option];
    if (chosen.flag == nullptr)
        chosen.change(application, step);
    else
    {
        bool& flag = application.play_options.*chosen.flag;
        flag = !flag;
        Remember(application, chosen.section, chosen.key, Yes_No(flag));
    }
    Build(application);
}

void Menu_Screens::Ask_For_Key(Application& application, int action)
{
    waiting_for = action;
    for (int code = 0; code < KEY_MAX; code++)
        keys_before[code] = key[code] != 0;
    menu.word = Format(Translate("Press a key for %s"), Translate(ACTION_LABELS[action]));
    (void)application;
}

void Menu_Screens::Ask_For_Button(Application& application, int action)
{
    if (num_joysticks <= 0)
    {
        menu.word = Translate("No gamepad found");
        return;
    }
    waiting_for = action;
    buttons_before = 0;
    for (int b = 0; b < joy[0].num_buttons && b < MAX_JOYSTICK_BUTTONS; b++)
        buttons_before |= joy[0].button[b].b ? 1 << b : 0;
    for (int code = 0; code < KEY_MAX; code++)
        keys_before[code] = key[code] != 0;
    menu.word = Format(Translate("Press a button for %s"), Translate(BUTTON_LABELS[action]));
    (void)application;
}

void Menu_Screens::Take_Key(Application& application)
{
    if (keyboard_driver != nullptr && keyboard_needs_poll())
        poll_keyboard();
    int fresh = 0;
    for (int code = 1; code < KEY_MAX; code++)
    {
        bool down = key[code] != 0;
        if (down && !keys_before[code] && fresh == 0)
            fresh = code;
        keys_before[code] = down;
    }
    if (fresh == 0)
        return;
    // Esc keeps the key there was.
    if (fresh == KEY_ESC)
    {
        waiting_for = -1;
        menu.word.clear();
        controls.Reset(application);
        return;
    }
    std::string name = Key_Name_For_Code(fresh);
    if (name.empty())
    {
        menu.word = Translate("That key cannot be used");
        return;
    }
    for (int other = 0; other < Application::NUMBER_OF_GAME_ACTIONS; other++)
        if (other != waiting_for && application.game_keys[other] == fresh)
        {
            menu.word = Format(Translate("That key is already used for %s"), Translate(ACTION_LABELS[other]));
            return;
        }
    application.game_keys[waiting_for] = fresh;
    Remember(application, "keys", Application::GAME_ACTION_NAMES[waiting_for], name);
    waiting_for = -1;
    menu.word.clear();
    Build(application);
    controls.Reset(application);
}

void Menu_Screens::Take_Button(Application& application)
{
    if (keyboard_driver != nullptr && keyboard_needs_poll())
        poll_keyboard();
    bool escape = key[KEY_ESC] && !keys_before[KEY_ESC];
    keys_before[KEY_ESC] = key[KEY_ESC] != 0;
    if (escape || num_joysticks <= 0)
    {
        waiting_for = -1;
        menu.word.clear();
        controls.Reset(application);
        return;
    }
    if (joystick_driver != nullptr)
        poll_joystick();
    int now = 0;
    for (int b = 0; b < joy[0].num_buttons && b < MAX_JOYSTICK_BUTTONS; b++)
        now |= joy[0].button[b].b ? 1 << b : 0;
    int fresh = now & ~buttons_before;
    buttons_before = now;
    if (fresh == 0)
        return;
    int button = 0;
    while (!(fresh & (1 << button)))
        button++;
    for (int other = 0; other < Application::NUMBER_OF_GAMEPAD_ACTIONS; other++)
        if (other != waiting_for && application.gamepad_buttons[other] == button)
        {
            menu.word = Format(Translate("That button is already used for %s"), Translate(BUTTON_LABELS[other]));
            return;
        }
    application.gamepad_buttons[waiting_for] = button;
    Remember(application, "gamepad", Application::GAMEPAD_ACTION_NAMES[waiting_for], std::to_string(button));
    waiting_for = -1;
    menu.word.clear();
    Build(application);
    controls.Reset(application);
}

void Menu_Screens::Draw(Application& application)
{
    if (stack.empty())
        return;
    if (backdrop != nullptr)
        blit(backdrop, application.canvas, 0, 0, 0, 0, Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT);
    menu.Draw(application.canvas);
}
