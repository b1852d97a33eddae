// The editor and the level files: a level is written only when it changed,
// a map that could not be read whole is kept aside before it is written
// over, a failed save is said on the canvas until a later one succeeds, and
// quitting with levels that could not be saved asks for a second Q. A file
// changed on disk since the editor read it (by sed, git or a second editor)
// is never written over without a second S; a level whose file changed and
// that has no unsaved edits is read again when the author comes to it.

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include <allegro.h>

#include "application.h"
#include "editor_lock.h"
#include "file_guard.h"
#include "level.h"
#include "regular_file.h"
#include "safe_file.h"
#include "translation.h"
#include "user_files.h"
#include "translation.h"

const char* const Application::BACKUP_SUFFIX = ".bak";
const char* const Application::MINE_SUFFIX = ".mine";

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

// Where a level is saved, with no folder made on the way.
std::string Level_Save_Path(int number)
{
    char path[Application::MAX_PATH_LENGTH];
    std::snprintf(path, sizeof(path), "data\\levels\\level_%i.map", number);
    return Write_Path_Of(path);
}

// The lock goes beside the saved levels once their folder is there.
void Take_Lock(Editor_Lock& lock)
{
    std::string folder = Level_Save_Path(0);
    folder.erase(folder.rfind('/') == std::string::npos ? 0 : folder.rfind('/'));
    if (folder.empty())
        folder = ".";
    if (!lock.held && access(folder.c_str(), W_OK) == 0)
        lock.Take(folder);
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

bool Application::Save_Level(int number, bool overwrite_changed)
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
    bool saved = Make_Level_Save_Path(path, number, reason);
    // Someone else wrote the file since it was read: the first S only says
    // so, the second one writes over it.
    if (saved && level_guard->Changed_On_Disk(path) && !(overwrite_changed && disk_conflicts[number]))
    {
        disk_conflicts[number] = true;
        save_failures[number].clear();
        return false;
    }
    saved = saved && Keep_Damaged_Map(level, number, path, reason) && level.Save(path, reason);
    save_failures[number] = saved ? std::string() : reason;
    if (saved)
    {
        level_guard->Remember(path);
        disk_conflicts[number] = false;
        if (editor_lock->holder == 0)
            Take_Lock(*editor_lock);
    }
    return saved;
}

bool Application::Reload_Level(int number, bool keep_mine)
{
    Level& level = *levels[number];
    std::string path = Level_Save_Path(number);
    if (keep_mine && level.Changed())
    {
        char folders[MAX_PATH_LENGTH];
        std::string reason;
        Make_Level_Save_Path(folders, number, reason);
        Safe_File mine;
        if (!mine.Write(path + MINE_SUFFIX, level.Map_Text()))
        {
            Set_Editor_Notice(Translate("Level %i not read again: its edits could not be kept (%s)"), number,
                              mine.reason.c_str());
            return false;
        }
    }
    char read_path[MAX_PATH_LENGTH];
    Make_Level_Path(read_path, number);
    Regular_File file(read_path);
    std::string text;
    file.Read_All(text, MAX_MAP_BYTES);
    std::istringstream map(text);
    // The records are read into the level itself, so the editor's history
    // sees the whole reading as one step.
    level.number_of_characters = 0;
    level.number_of_platforms = 0;
    level.background = 0;
    level.music = 0;
    for (int i = 0; i < Level::NUMBER_OF_POINTERS; i++)
        level.pointers[i] = 0;
    level.Load_For_Editing(map);
    level_guard->Remember(path);
    disk_conflicts[number] = false;
    save_failures[number].clear();
    if (keep_mine)
        Set_Editor_Notice(Translate("Level %i read again from disk"), number);
    return true;
}

void Application::Look_At_Level_On_Disk(int number)
{
    if (!level_guard->Changed_On_Disk(Level_Save_Path(number)))
        return;
    if (levels[number]->Changed())
    {
        disk_conflicts[number] = true;
        return;
    }
    if (Reload_Level(number, false))
        Set_Editor_Notice(Translate("Level %i changed on disk and was read again"), number);
}

void Application::Guard_Level_Files()
{
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
        level_guard->Remember(Level_Save_Path(i));
    Take_Lock(*editor_lock);
}

void Application::Quit_Without_Saving()
{
    int changed = 0;
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
        changed += levels[i]->Changed();
    if (changed > 0 && discard_warning_ticks == 0)
    {
        discard_warning_ticks = QUIT_WARNING_TICKS;
        return;
    }
    discard_confirmed = true;
    quit = true;
}

bool Application::Save_Current_Level(bool overwrite_changed)
{
    // A level written just now is looked over for what would spoil playing
    // it.
    bool changed = levels[current_level]->Changed();
    bool saved = Save_Level(current_level, overwrite_changed);
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
    if (discard_warning_ticks > 0)
        discard_warning_ticks--;
    // Ctrl+Q is the quit without saving, not Q.
    bool ctrl = key[KEY_LCONTROL] || key[KEY_RCONTROL];
    if ((signals & SIGNAL_QUIT) == 0 || (ctrl && termination_requested == 0 && !close_requested))
    {
        quit_released = true;
        return false;
    }
    return quit_warning_ticks == 0 || quit_released;
}

bool Application::Leave_Editor()
{
    // Q again while the warning is up quits without saving.
    bool confirmed = quit_warning_ticks > 0 || discard_confirmed;
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
    editor_lock->Release();
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
    if (discard_warning_ticks > 0)
    {
        int changed = 0;
        for (int i = 0; i < NUMBER_OF_LEVELS; i++)
            changed += levels[i]->Changed();
        notices.push_back({Format_Text(Translate("%i changed levels will not be saved: Ctrl+Q again quits"), changed), red});
    }
    if (!editor_lock->held && editor_lock->holder != 0)
        notices.push_back({Format_Text(Translate("Another editor (process %i) has these levels open; saves check for "
                                                 "its changes"),
                                       static_cast<int>(editor_lock->holder)),
                           red});
    for (int i = 0; i < NUMBER_OF_LEVELS; i++)
    {
        int number = (current_level + i) % NUMBER_OF_LEVELS;
        if (disk_conflicts[number])
            notices.push_back({Format_Text(Translate("Level %i changed on disk: R reloads it (your changes are kept "
                                                     "as level_%i.map.mine), S again overwrites"),
                                           number, number),
                               red});
    }
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
