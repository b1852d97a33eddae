#include "settings.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include <allegro.h>

#include "translation.h"

namespace
{
bool Readable(const std::string& path)
{
    return !path.empty() && access(path.c_str(), R_OK) == 0;
}

struct Key_Name
{
    const char* name;
    int key_code;
};

// Every key an action can be put on. F7 to F12 are left out: they change
// the volume and the screen, and take screenshots, in the game and the
// editor alike.
const Key_Name KEY_NAMES[] = {
    {"SPACE", KEY_SPACE},     {"ENTER", KEY_ENTER},         {"LEFT", KEY_LEFT},         {"RIGHT", KEY_RIGHT},
    {"UP", KEY_UP},           {"DOWN", KEY_DOWN},           {"TAB", KEY_TAB},           {"BACKSPACE", KEY_BACKSPACE},
    {"INSERT", KEY_INSERT},   {"DEL", KEY_DEL},             {"HOME", KEY_HOME},         {"END", KEY_END},
    {"PGUP", KEY_PGUP},       {"PGDN", KEY_PGDN},           {"ESC", KEY_ESC},           {"TILDE", KEY_TILDE},
    {"MINUS", KEY_MINUS},     {"EQUALS", KEY_EQUALS},       {"OPENBRACE", KEY_OPENBRACE},
    {"CLOSEBRACE", KEY_CLOSEBRACE}, {"COLON", KEY_COLON},   {"QUOTE", KEY_QUOTE},       {"BACKSLASH", KEY_BACKSLASH},
    {"COMMA", KEY_COMMA},     {"STOP", KEY_STOP},           {"SLASH", KEY_SLASH},       {"LSHIFT", KEY_LSHIFT},
    {"RSHIFT", KEY_RSHIFT},   {"LCONTROL", KEY_LCONTROL},   {"RCONTROL", KEY_RCONTROL}, {"ALT", KEY_ALT},
    {"ALTGR", KEY_ALTGR},     {"ENTER_PAD", KEY_ENTER_PAD}, {"F1", KEY_F1},             {"F2", KEY_F2},
    {"F3", KEY_F3},           {"F4", KEY_F4},               {"F5", KEY_F5},             {"F6", KEY_F6},
};

const char* const ACCEPTED_KEY_NAMES =
    "a letter, a digit, 0_PAD to 9_PAD, SPACE, ENTER, LEFT, RIGHT, UP, DOWN, TAB, BACKSPACE, INSERT, DEL, HOME, "
    "END, PGUP, PGDN, ESC, TILDE, MINUS, EQUALS, OPENBRACE, CLOSEBRACE, COLON, QUOTE, BACKSLASH, COMMA, STOP, "
    "SLASH, LSHIFT, RSHIFT, LCONTROL, RCONTROL, ALT, ALTGR, ENTER_PAD or F1 to F6";

std::string Upper(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::string Trim(const std::string& text)
{
    std::string::size_type first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    std::string::size_type last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// A comment starts at # or ; at the start of a line or after a blank, so a
// folder named "a#b" keeps its name.
std::string Without_Comment(const std::string& line)
{
    for (std::string::size_type i = 0; i < line.size(); i++)
        if ((line[i] == '#' || line[i] == ';') && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
    return line;
}

// A whole decimal number from low to high.
bool Read_Number(const std::string& text, int low, int high, int& value)
{
    if (text.empty() || text.size() > 6)
        return false;
    char* end = nullptr;
    long number = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || number < low || number > high)
        return false;
    value = static_cast<int>(number);
    return true;
}

int Index_Of(const char* const* names, int count, const std::string& name)
{
    for (int i = 0; i < count; i++)
        if (name == names[i])
            return i;
    return -1;
}

std::string Joined(const char* const* names, int count)
{
    std::string text;
    for (int i = 0; i < count; i++)
        text += std::string(i == 0 ? "" : ", ") + names[i];
    return text;
}

// The reports of a key or an action the section does not have, with the
// ones it accepts.
std::string Unknown_Key(const std::string& name, const char* section, const char* accepted)
{
    return Format_Text(Translate("unknown key \"%s\" in [%s]; accepted: %s"), name.c_str(), section, accepted);
}

std::string Unknown_Action(const std::string& name, const char* section, const std::string& accepted)
{
    return Format_Text(Translate("unknown action \"%s\" in [%s]; accepted: %s"), name.c_str(), section,
                       accepted.c_str());
}

const char* const SECTIONS[] = {"window", "display", "sound", "keys", "gamepad", "editor", "data", "assist"};
constexpr int NUMBER_OF_SECTIONS = sizeof(SECTIONS) / sizeof(SECTIONS[0]);
const char* const SHAPE_NAMES[] = {"stretch", "aspect", "integer"};
} // namespace

int Key_Code_For_Name(const std::string& name)
{
    std::string upper = Upper(Trim(name));
    if (upper.size() == 1 && upper[0] >= 'A' && upper[0] <= 'Z')
        return KEY_A + (upper[0] - 'A');
    if (upper.size() == 1 && upper[0] >= '0' && upper[0] <= '9')
        return KEY_0 + (upper[0] - '0');
    if (upper.size() == 5 && upper.compare(1, 4, "_PAD") == 0 && upper[0] >= '0' && upper[0] <= '9')
        return KEY_0_PAD + (upper[0] - '0');
    for (const Key_Name& entry : KEY_NAMES)
        if (upper == entry.name)
            return entry.key_code;
    return 0;
}

Settings::Settings()
{
    for (int i = 0; i < Application::NUMBER_OF_GAME_ACTIONS; i++)
        game_keys[i] = Application::DEFAULT_GAME_KEYS[i];
    for (int i = 0; i < Application::NUMBER_OF_GAMEPAD_ACTIONS; i++)
        gamepad_buttons[i] = Application::DEFAULT_GAMEPAD_BUTTONS[i];
}

bool Settings::Load(const char* path)
{
    if (path == nullptr || !Readable(path))
        return false;
    FILE* file = std::fopen(path, "r");
    if (file == nullptr)
        return false;
    problem.clear();
    auto report = [&](int line_number, const std::string& text) {
        problem += std::string(path) + ":" + std::to_string(line_number) + ": " + text + "\n";
    };
    int line_number = 0;
    auto Read_Yes_No = [&](const std::string& name, const std::string& value, bool& flag) {
        if (value == "yes" || value == "no")
            flag = value == "yes";
        else
            report(line_number, Format_Text(Translate("%s must be yes or no, not \"%s\""), name.c_str(), value.c_str()));
    };

    // The line that put each action on another key than its own, or 0.
    int remap_lines[Application::NUMBER_OF_GAME_ACTIONS] = {};

    std::string section;
    bool known_section = true;
    char buffer[MAX_LINE_LENGTH];
    while (std::fgets(buffer, sizeof(buffer), file) != nullptr)
    {
        line_number++;
        // A line longer than the buffer is read to its end and taken as one.
        std::string raw(buffer);
        while (!raw.empty() && raw.back() != '\n' && std::fgets(buffer, sizeof(buffer), file) != nullptr)
            raw += buffer;
        std::string line = Trim(Without_Comment(raw));
        if (line.empty())
            continue;
        if (line[0] == '[')
        {
            std::string::size_type close = line.find(']');
            section = close == std::string::npos ? line.substr(1) : line.substr(1, close - 1);
            section = Trim(section);
            known_section = Index_Of(SECTIONS, NUMBER_OF_SECTIONS, section) >= 0;
            if (!known_section)
                report(line_number, Format_Text(Translate("unknown section [%s]; the sections are [%s]"), section.c_str(),
                                               Joined(SECTIONS, NUMBER_OF_SECTIONS).c_str()));
            continue;
        }
        std::string::size_type equals = line.find('=');
        if (equals == std::string::npos)
        {
            report(line_number, Format_Text(Translate("\"%s\" is not \"key = value\""), line.c_str()));
            continue;
        }
        std::string name = Trim(line.substr(0, equals));
        std::string value = Trim(line.substr(equals + 1));
        if (!known_section)
            continue;

        if (section == "window")
        {
            if (name != "scale")
                report(line_number, Unknown_Key(name, "window", "scale"));
            else if (!Read_Number(value, FULL_SCREEN, MAX_WINDOW_SCALE, window_scale) ||
                     (window_scale != FULL_SCREEN && window_scale < MIN_WINDOW_SCALE))
            {
                window_scale = FULL_SCREEN;
                report(line_number, Format_Text(Translate("the window scale must be 2, 3 or 4 (or 0 for full screen), not \"%s\""),
                                               value.c_str()));
            }
        }
        else if (section == "display" && (name == "timer" || name == "status_backing"))
            Read_Yes_No(name, value, name == "timer" ? play_options.show_timer : play_options.status_backing);
        else if (section == "display" && name == "language")
        {
            if (value.size() > 32 || value.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_@.-") != std::string::npos)
                report(line_number, Format_Text(Translate("language must be a language code such as de or pt_BR, not \"%s\""),
                                               value.c_str()));
            else
                language = value;
        }
        else if (section == "display")
        {
            int shape = Index_Of(SHAPE_NAMES, 3, value);
            if (name != "fullscreen")
                report(line_number, Unknown_Key(name, "display", "fullscreen, timer, status_backing, language"));
            else if (shape < 0)
                report(line_number, Format_Text(Translate("fullscreen must be stretch, aspect or integer, not \"%s\""), value.c_str()));
            else
                fullscreen_shape = shape;
        }
        else if (section == "sound")
        {
            int* volume = name == "music" ? &music_volume : (name == "effects" ? &effects_volume : nullptr);
            if (volume == nullptr)
                report(line_number, Unknown_Key(name, "sound", "music, effects"));
            else if (!Read_Number(value, 0, MAX_VOLUME, *volume))
                report(line_number, Format_Text(Translate("the %s volume must be a number from 0 to 255, not \"%s\""), name.c_str(),
                                               value.c_str()));
        }
        else if (section == "keys")
        {
            int action = Index_Of(Application::GAME_ACTION_NAMES, Application::NUMBER_OF_GAME_ACTIONS, name);
            int code = Key_Code_For_Name(value);
            if (action < 0)
                report(line_number, Unknown_Action(name, "keys", Joined(Application::GAME_ACTION_NAMES,
                                                                       Application::NUMBER_OF_GAME_ACTIONS)));
            else if (code == 0)
                report(line_number, Format_Text(Translate("\"%s\" is not a key; accepted: %s"), value.c_str(), ACCEPTED_KEY_NAMES));
            else
            {
                game_keys[action] = code;
                remap_lines[action] = code != Application::DEFAULT_GAME_KEYS[action] ? line_number : 0;
            }
        }
        else if (section == "gamepad")
        {
            int action = Index_Of(Application::GAMEPAD_ACTION_NAMES, Application::NUMBER_OF_GAMEPAD_ACTIONS, name);
            if (action < 0)
                report(line_number, Unknown_Action(name, "gamepad", Joined(Application::GAMEPAD_ACTION_NAMES,
                                                                          Application::NUMBER_OF_GAMEPAD_ACTIONS)));
            else if (!Read_Number(value, 0, Application::MAX_GAMEPAD_BUTTON, gamepad_buttons[action]))
                report(line_number, Format_Text(Translate("a gamepad button is a number from 0 to 31, not \"%s\""), value.c_str()));
        }
        else if (section == "editor")
        {
            if (name != "keep_palette")
                report(line_number, Unknown_Key(name, "editor", "keep_palette"));
            else
                Read_Yes_No(name, value, keep_palette);
        }
        else if (section == "assist")
        {
            if (name == "speed")
            {
                int speed = 0;
                if (Read_Number(value, Play_Options::MIN_SPEED, Play_Options::MAX_SPEED, speed) &&
                    speed % Play_Options::SPEED_STEP == 0)
                    play_options.speed = speed;
                else
                    report(line_number, Format_Text(Translate("speed must be 50, 60, 70, 80, 90 or 100, not \"%s\""), value.c_str()));
            }
            else if (name == "endless_flight")
                Read_Yes_No(name, value, play_options.endless_flight);
            else if (name == "invincible")
                Read_Yes_No(name, value, play_options.invincible);
            else if (name == "no_ghost_push")
                Read_Yes_No(name, value, play_options.no_ghost_push);
            else
                report(line_number, Unknown_Key(name, "assist", "speed, endless_flight, invincible, no_ghost_push"));
        }
        else if (section == "data")
        {
            if (name != "directory")
                report(line_number, Unknown_Key(name, "data", "directory"));
            else if (!value.empty())
                data_directory = value;
        }
    }
    std::fclose(file);

    // Two actions on one key: the one put there later keeps its own key,
    // until no two share one (each round puts one action back).
    for (;;)
    {
        int moved_back = -1, other_action = -1;
        for (int action = 0; action < Application::NUMBER_OF_GAME_ACTIONS; action++)
            for (int other = 0; other < Application::NUMBER_OF_GAME_ACTIONS; other++)
                if (other != action && game_keys[other] == game_keys[action] && remap_lines[action] >= remap_lines[other] &&
                    remap_lines[action] > 0 && (moved_back < 0 || remap_lines[action] > remap_lines[moved_back]))
                {
                    moved_back = action;
                    other_action = other;
                }
        if (moved_back < 0)
            break;
        report(remap_lines[moved_back], Format_Text(Translate("\"%s\" is on the key of \"%s\"; it stays on its own key"),
                                                    Application::GAME_ACTION_NAMES[moved_back],
                                                    Application::GAME_ACTION_NAMES[other_action]));
        game_keys[moved_back] = Application::DEFAULT_GAME_KEYS[moved_back];
        remap_lines[moved_back] = 0;
    }
    return true;
}

void Settings::Apply(Application& application) const
{
    application.window_scale = window_scale == FULL_SCREEN ? Application::DEFAULT_WINDOW_SCALE : window_scale;
    application.full_screen = window_scale == FULL_SCREEN;
    application.fullscreen_shape = fullscreen_shape;
    application.music_volume = music_volume;
    application.effects_volume = effects_volume;
    for (int i = 0; i < Application::NUMBER_OF_GAME_ACTIONS; i++)
        application.game_keys[i] = game_keys[i];
    for (int i = 0; i < Application::NUMBER_OF_GAMEPAD_ACTIONS; i++)
        application.gamepad_buttons[i] = gamepad_buttons[i];
    application.keep_palette = keep_palette;
    application.play_options = play_options;
}
std::string Program_Directory()
{
    char program[4096];
    ssize_t length = readlink("/proc/self/exe", program, sizeof(program) - 1);
    if (length <= 0)
        return std::string();
    program[length] = '\0';
    std::string directory(program);
    std::string::size_type slash = directory.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    directory.erase(slash == 0 ? 1 : slash);
    return directory;
}

std::string Find_Settings_File()
{
    const char* config_home = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    std::string candidates[2];
    // Only an absolute XDG_CONFIG_HOME counts.
    if (config_home != nullptr && config_home[0] == '/')
        candidates[0] = std::string(config_home) + "/bluejay/bluejay.cfg";
    else if (home != nullptr && home[0] != '\0')
        candidates[0] = std::string(home) + "/.config/bluejay/bluejay.cfg";
    std::string program = Program_Directory();
    if (!program.empty())
        candidates[1] = program + "/bluejay.cfg";
    for (const std::string& candidate : candidates)
        if (Readable(candidate))
            return candidate;
    return std::string();
}
