#include "death_map.h"

#include <algorithm>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "platform.h"
#include "simple_player.h"

namespace
{
const int NONE = -1;
// The step the ground is searched for pits in, one cell.
const int COLUMN_STEP = Rectangle::CELL_SIZE;
}

Death_Map::Death_Map(int level)
    : level(level), runs(0), pit_left(NONE), pit_right(NONE), cherry_x(NONE), cherry_eaten(0)
{
}

void Death_Map::Find_Pit_And_Cherry(Application& game)
{
    Level& stage = *game.levels[level];
    Bluejay* hero = stage.Hero();
    pit_left = pit_right = cherry_x = NONE;
    if (hero == nullptr)
        return;
    int width = stage.screens_wide * Application::CANVAS_WIDTH;
    for (int column = hero->start_x; column < width; column += COLUMN_STEP)
    {
        bool ground = false;
        for (int i = 0; i < stage.number_of_platforms && !ground; i++)
        {
            Platform* platform = stage.platforms[i];
            if (platform->kind != Platform::PLATFORM || platform->y <= hero->start_y)
                continue;
            int right = platform->x + game.bitmaps[platform->bitmap]->w;
            ground = platform->x <= column && column < right;
        }
        if (!ground && pit_left == NONE)
            pit_left = column;
        if (ground && pit_left != NONE)
        {
            pit_right = column;
            break;
        }
    }
    for (int i = 0; i < stage.number_of_platforms; i++)
    {
        Platform* platform = stage.platforms[i];
        if (platform->type == Level::CHERRY && platform->x >= hero->start_x &&
            (cherry_x == NONE || platform->x < cherry_x))
            cherry_x = platform->x;
    }
}

int Death_Map::Play(Application& game, const std::string& map_file, Simple_Player& player, long ticks)
{
    delete game.levels[level];
    game.levels[level] = new Level();
    game.levels[level]->Load(map_file.c_str());
    game.current_level = level;
    game.game_over = false;
    game.game_complete = false;
    game.paused = false;
    Level& stage = *game.levels[level];
    Bluejay* hero = stage.Hero();
    if (hero == nullptr)
        return 0;
    hero->lives = MANY_LIVES;
    Find_Pit_And_Cherry(game);
    runs++;

    int cherry = NONE;
    for (int i = 0; i < stage.number_of_platforms; i++)
        if (stage.platforms[i]->type == Level::CHERRY && stage.platforms[i]->x == cherry_x)
            cherry = i;
    bool cherry_passed = cherry == NONE;
    // The run is through when the hero reaches the level's right end.
    int end = stage.screens_wide * Application::CANVAS_WIDTH - END_MARGIN;
    int lives = hero->lives;
    int last_x = hero->x, last_y = hero->y;
    int state = hero->state;
    bool in_jump = false;
    int lost = 0;
    // The death whose next start is not yet known.
    int waiting = NONE;
    for (long tick = 0; tick < ticks; tick++)
    {
        Application::Press_Keys_For_Signals(player.Next_Word(stage.showing_message));
        game.Run_Play_Tick();
        if (game.current_level != level || game.game_over || game.game_complete || hero->x >= end)
            break;
        if (hero->lives < lives)
        {
            // A hero out of strength is still where it died; one that fell
            // out of the picture is already back at the start.
            Death death = hero->dead ? Death{hero->x, hero->y, player.kind, NONE}
                                     : Death{last_x, last_y, player.kind, last_x - hero->x};
            deaths.push_back(death);
            if (hero->dead)
                waiting = static_cast<int>(deaths.size()) - 1;
            lost += lives - hero->lives;
            if (in_jump)
            {
                jumps.back().landing_x = death.x;
                jumps.back().died = true;
                in_jump = false;
            }
        }
        if (waiting != NONE && !hero->dead)
        {
            deaths[waiting].sent_back = deaths[waiting].x - hero->x;
            waiting = NONE;
        }
        lives = hero->lives;
        bool landed = hero->state == Bluejay::IDLE && state != Bluejay::IDLE;
        bool took_off = hero->state == Bluejay::JUMPING && state != Bluejay::JUMPING;
        if ((landed || took_off) && in_jump)
        {
            jumps.back().landing_x = last_x;
            in_jump = false;
        }
        if (took_off)
        {
            jumps.push_back({last_x, last_y, player.press_length, NONE, false});
            in_jump = true;
        }
        state = hero->state;
        last_x = hero->x;
        last_y = hero->y;
        if (!cherry_passed && hero->x > cherry_x + SPOT_SIZE)
        {
            cherry_passed = true;
            if (stage.platforms[cherry]->taken)
                cherry_eaten++;
        }
    }
    Application::Press_Keys_For_Signals(0);
    return lost;
}

double Death_Map::Mean_Sent_Back() const
{
    long long total = 0;
    int counted = 0;
    for (const Death& death : deaths)
        if (death.sent_back != NONE)
        {
            total += death.sent_back;
            counted++;
        }
    return counted > 0 ? static_cast<double>(total) / counted : 0.0;
}

int Death_Map::Deaths_In_Column(int column, int player) const
{
    return static_cast<int>(std::count_if(deaths.begin(), deaths.end(), [&](const Death& death) {
        return death.x / Application::CANVAS_WIDTH == column && (player == 0 || death.player == player);
    }));
}

int Death_Map::Jumps_Clearing_Pit() const
{
    if (pit_left == NONE)
        return 0;
    return static_cast<int>(std::count_if(jumps.begin(), jumps.end(), [&](const Jump& jump) {
        return jump.take_off_x < pit_left && !jump.died &&
               jump.landing_x >= pit_right - SPOT_SIZE;
    }));
}

int Death_Map::Jumps_Into_Pit() const
{
    if (pit_left == NONE)
        return 0;
    return static_cast<int>(std::count_if(jumps.begin(), jumps.end(), [&](const Jump& jump) {
        return jump.take_off_x < pit_left && jump.died &&
               jump.landing_x >= pit_left - SPOT_SIZE && jump.landing_x < pit_right;
    }));
}

void Death_Map::Mark(BITMAP* picture, int top) const
{
    for (int player : {Simple_Player::JUMPER, Simple_Player::FLYER})
    {
        // Count the deaths per square, then draw one disc for each square.
        std::vector<std::pair<std::pair<int, int>, int>> spots;
        for (const Death& death : deaths)
        {
            if (death.player != player)
                continue;
            std::pair<int, int> square(death.x / SPOT_SIZE, death.y / SPOT_SIZE);
            auto found = std::find_if(spots.begin(), spots.end(),
                                      [&](const std::pair<std::pair<int, int>, int>& spot) {
                                          return spot.first == square;
                                      });
            if (found == spots.end())
                spots.push_back({square, 1});
            else
                found->second++;
        }
        int colour = player == Simple_Player::JUMPER ? makecol(255, 0, 0) : makecol(255, 220, 0);
        for (const auto& spot : spots)
        {
            int radius = std::min(SMALLEST_MARK + spot.second / 2, LARGEST_MARK);
            int x = spot.first.first * SPOT_SIZE + SPOT_SIZE / 2;
            int y = std::min(spot.first.second * SPOT_SIZE + SPOT_SIZE / 2 - top, picture->h - radius - 1);
            circlefill(picture, x, y, radius, colour);
            circle(picture, x, y, radius, makecol(0, 0, 0));
            textprintf_ex(picture, font, x + radius + 2, y - 4, makecol(255, 255, 255), makecol(0, 0, 0), "%d",
                          spot.second);
        }
    }
}
