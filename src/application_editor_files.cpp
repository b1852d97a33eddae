// The editor and the level files: a level is written only when it changed,
// a map that could not be read whole is kept aside before it is written
// over, a failed save is said on the canvas until a later one succeeds, and
// quitting with levels that could not be saved asks for a second Q.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <allegro.h>

#include "application.h"
#include "level.h"
#include "safe_file.h"
#include "user_files.h"
#include "translation.h"

const char* const Application::BACKUP_SUFFIX = ".bak";

namespace
{
// Keeps the map file a level was read from as the backup beside the file
// it is saved to, when its load stopped before the end.
bool Keep_Damaged_Map(const Level& level, int number, const char* save_path, std::string& reason)
{
    if (level.load_problem == nullptr)
        return true;
    char read_path[Application::MAX_PATH_LENGTH];
    Make_Level_Path(read_path, number);
    std::ifstream file(read_path, std::ios::binary);
    std::ostringstream text;
    // Nothing to keep when the file is gone or cannot be read at all.
    if (!file || !(text << file.rdbuf()))
        return true;
    Safe_File backup;
    if (backup.Write(std::string(save_path) + Application::BACKUP_SUFFIX, text.str()))
        return true;
    reason = backup.reason;
    return false;
}

} // namespace

std::vector<std::string> Application::Wrap(const std::string& text, int width)
{
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word, line;
    while (words >> word)
    {
        std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && text_length(font, longer.c_str()) > width)
        {
            lines.push_back(line);
            line = word;
        }
        else
            line = longer;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

bool Application::Save_Level(int number)
{
    Level& level = *levels[number];
    // An untouched level is never rewritten, and no file is made for it.
    if (!level.Changed())
    {
        save_failures[number].clear();
        return true;
    }
    // An installed game saves into the player's own folder; that copy is
    // read in place of the installed level from then on.
    char path[MAX_PATH_LENGTH];
    std::string reason;
    bool saved = Make_Level_Save_Path(path, number, reason) && Keep_Damaged_Map(level, number, path, reason) &&
                 level.Save(path, reason);
    save_failures[number] = saved ? std::string() : reason;
    return saved;
}

bool Application::Save_Current_Level()
{
    // A level written just now is looked over for what would spoil playing
    // it.
    bool changed = levels[current_level]->Changed();
    bool saved = Save_Level(current_level);
    if (saved && changed)
        Check_Saved_Level();
    return saved;
}

bool Application::Save_Changed_Levels()
{
    bool all_saved = true;
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
        all_saved = Save_Level(i) && all_saved;
    return all_saved;
}

bool Application::Editor_Quit_Requested()
{
    if (quit_warning_ticks > 0)
        quit_warning_ticks--;
    if ((signals & SIGNAL_QUIT) == 0)
    {
        quit_released = true;
        return false;
    }
    return quit_warning_ticks == 0 || quit_released;
}

bool Application::Leave_Editor()
{
    // Q again while the warning is up quits without saving.
    bool confirmed = quit_warning_ticks > 0;
    if (!confirmed && !Save_Changed_Levels())
    {
        quit = false;
        quit_warning_ticks = QUIT_WARNING_TICKS;
        quit_released = false;
        // The close button and a termination signal count once, like a
        // press of Q.
        close_requested = false;
        termination_requested = 0;
        return false;
    }
    quit_warning_ticks = 0;
    Stop_Music();
    Show_Status_Screen(Translate("Exiting... please wait."));
    return true;
}

void Application::Draw_Editor_Notices()
{
    struct Notice
    {
        std::string text;
        int colour;
    };
    std::vector<Notice> notices;
    int red = makecol(255, 0, 0);
    int yellow = makecol(255, 255, 0);
    char line[MAX_PATH_LENGTH];
    if (quit_warning_ticks > 0)
        notices.push_back({Translate("Not saved. Q again to quit without saving."), red});
    // The level on the canvas first, then the others.
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
    {
        int number = (current_level + i) % NUMBER_OF_LEVELS;
        if (save_failures[number].empty())
            continue;
        std::snprintf(line, sizeof(line), Translate("Level %i not saved: %s"), number, save_failures[number].c_str());
        notices.push_back({line, red});
    }
    const Level& level = *levels[current_level];
    if (level.load_problem != nullptr)
    {
        std::snprintf(line, sizeof(line), Translate("Level %i: %s at line %i; the rest of the file is kept"), current_level,
                      level.load_problem, level.load_problem_line);
        notices.push_back({line, yellow});
    }

    // Below the level and mode lines, each on black so it reads on any
    // background.
    int line_height = text_height(font);
    int y = 2 * line_height + 6;
    int shown = 0;
    int black = makecol(0, 0, 0);
    for (const Notice& notice : notices)
        for (const std::string& part : Wrap(notice.text, CANVAS_WIDTH - 2))
            if (shown++ < MAX_NOTICE_LINES)
            {
                textout_ex(canvas, font, part.c_str(), 1, y, notice.colour, black);
                y += line_height + 1;
            }
}
