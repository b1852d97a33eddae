// Trying a level from the editor: the level's records, saved or not, are
// read into a play copy, which runs on the screen as the game runs it (the
// same rules, music, status line and lives) until Esc or T, the last life
// lost, the level won or a pipe to another level. The records being edited
// are not touched, and no file is written.

#include <sstream>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "string_list.h"
#include "translation.h"

void Application::Start_Test_Play(bool from_cursor)
{
    Level& level = *levels[current_level];
    if (Count_Heroes(level) == 0)
    {
        Set_Editor_Notice(Translate("Level %i has no hero to play"), current_level);
        return;
    }
    std::istringstream map(level.Map_Text());
    test_play_level = new Level();
    test_play_level->Load(map);
    test_play_level->pipes_end_play = true;
    Bluejay* hero = test_play_level->Hero();
    if (from_cursor && hero != nullptr)
    {
        // The hero starts, and starts again after a lost life, at the
        // cursor; the records keep their own place.
        hero->x = hero->start_x = cursor_x + level.scroll_x;
        hero->y = hero->start_y = cursor_y + level.scroll_y;
        test_play_level->Position_For_Main_Character();
    }

    // The level's message and the ending text, read once.
    char path[MAX_PATH_LENGTH];
    for (int number : {current_level, static_cast<int>(ENDING_MESSAGE)})
    {
        if (messages[number]->number_of_strings > 0)
            continue;
        Make_Message_Path(path, number);
        messages[number]->Load_From_File(path);
    }

    selected_object = NO_OBJECT_SELECTED;
    editor_help_shown = false;
    // The player's own keys and gamepad work as in the game.
    editing = false;
    demo_mode = false;
    game_over = false;
    game_complete = false;
    paused = false;
    start_released = false;
    Stop_Music();
}

void Application::Run_Test_Play_Tick()
{
    key_delay++;
    Generate_Signals();
    if (Editor_Quit_Requested())
    {
        // Q leaves the editor from here too, saving the records as they
        // were before the try.
        End_Test_Play(nullptr);
        quit = true;
        return;
    }
    // T and Esc end the try.
    Run_Editor_Commands();
    if (test_play_level == nullptr)
        return;

    Level& level = *test_play_level;
    if (!game_complete && !game_over)
        Play_Level_Tick(level, 0, false);
    char reason[EDITOR_LINE_LENGTH] = "";
    if (level.pipe_destination != Level::NO_LEVEL)
        std::snprintf(reason, sizeof(reason), Translate("The hero went down a pipe\nto level %i"), level.pipe_destination);
    else if (game_over)
        std::snprintf(reason, sizeof(reason), "%s", Translate("Game over: all lives lost"));
    else if (game_complete)
        std::snprintf(reason, sizeof(reason), "%s", Translate("The level is won"));
    Display_Scene();
    if (reason[0] != '\0')
        End_Test_Play(reason);
}

void Application::End_Test_Play(const char* reason)
{
    delete test_play_level;
    test_play_level = nullptr;
    editing = true;
    Stop_Music();
    Stop_Sound_Effects();
    game_over = false;
    game_complete = false;
    paused = false;
    key_delay = 0;
    if (reason != nullptr)
        Set_Editor_Notice("%s", reason);
}
