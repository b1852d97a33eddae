#include "level_tally.h"

#include <allegro.h>
#include <cstdio>
#include <cstring>

#include "application.h"
#include "character.h"
#include "level.h"
#include "platform.h"
#include "translation.h"

namespace
{
constexpr int MS_PER_HUNDREDTH = 10;
constexpr int HUNDREDTHS_PER_SECOND = 100;
constexpr int SECONDS_PER_MINUTE = 60;
// The tally's box: its width, its top, its line height and padding.
constexpr int BOX_WIDTH = 200;
constexpr int BOX_TOP = 60;
constexpr int LINE_HEIGHT = 12;
constexpr int PADDING = 6;
constexpr int TALLY_LINES = 6;
constexpr int NAME_TOP = 100;
// The box darkens the picture under it to about a third.
constexpr int BACKING_WEIGHT = 170;

int Ticks_For(int ms, int tick_ms)
{
    return tick_ms > 0 ? ms / tick_ms : ms / Level_Tally::MS_PER_TICK;
}

void Dark_Box(BITMAP* canvas, int left, int top, int right, int bottom)
{
    set_trans_blender(0, 0, 0, BACKING_WEIGHT);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(canvas, left, top, right, bottom, makecol(0, 0, 0));
    solid_mode();
    rect(canvas, left, top, right, bottom, makecol(255, 255, 255));
}
} // namespace

void Tally_Counts::Add(const Tally_Counts& other)
{
    ticks += other.ticks;
    cherries += other.cherries;
    all_cherries += other.all_cherries;
    eggs += other.eggs;
    all_eggs += other.all_eggs;
    defeated += other.defeated;
    all_creatures += other.all_creatures;
    lives_lost += other.lives_lost;
}

bool Level_Tally::Is_Creature(int type)
{
    switch (type)
    {
    case Level::BLACK_BIRD:
    case Level::SHOUTING_BLACK_BIRD:
    case Level::LEAPING_BLACK_BIRD:
    case Level::CLAM:
    case Level::FLY:
    case Level::HUNTING_FLY:
    case Level::MOSQUITO:
    case Level::SUPER_MOSQUITO:
    case Level::GOLDENJAY:
    case Level::SWOOPER:
    case Level::LEMMING:
        return true;
    default:
        return false;
    }
}

void Level_Tally::Start_Game()
{
    *this = Level_Tally();
}

void Level_Tally::Count_Tick(bool died)
{
    level_ticks++;
    game_ticks++;
    if (died)
        lives_lost++;
}

Tally_Counts Level_Tally::Count(Level& level) const
{
    Tally_Counts counts;
    counts.ticks = level_ticks;
    counts.lives_lost = lives_lost;
    for (int i = 0; i < level.number_of_platforms; i++)
    {
        const Platform* platform = level.platforms[i];
        if (platform == nullptr || (platform->type != Level::CHERRY && platform->type != Level::YELLOW_CHERRY))
            continue;
        counts.all_cherries++;
        if (platform->taken)
            counts.cherries++;
    }
    for (int i = 0; i < level.number_of_characters; i++)
    {
        const Character* character = level.characters[i];
        if (character == nullptr)
            continue;
        if (character->type == Level::EGG)
        {
            counts.all_eggs++;
            if (character->hurt)
                counts.eggs++;
        }
        else if (Is_Creature(character->type))
        {
            counts.all_creatures++;
            if (character->strength <= 0)
                counts.defeated++;
        }
    }
    return counts;
}

Tally_Counts Level_Tally::Leave_Level(Level& level, int tick_ms)
{
    shown = Count(level);
    game.Add(shown);
    show_ticks = Ticks_For(SHOW_MS, tick_ms);
    seen_ticks = 0;
    dismiss_after_ticks = Ticks_For(SEEN_BEFORE_DISMISS_MS, tick_ms);
    level_ticks = 0;
    lives_lost = 0;
    return shown;
}

Tally_Counts Level_Tally::Game_Total(Level& level) const
{
    Tally_Counts total = game;
    total.Add(Count(level));
    total.ticks = static_cast<int>(game_ticks);
    return total;
}

void Level_Tally::Show_Name(const char* level_name, int tick_ms)
{
    std::snprintf(name, sizeof(name), "%s", level_name != nullptr ? level_name : "");
    name_ticks = name[0] != '\0' ? Ticks_For(NAME_MS, tick_ms) : 0;
}

void Level_Tally::Key_Pressed()
{
    if (seen_ticks >= dismiss_after_ticks)
        show_ticks = 0;
}

void Level_Tally::Format_Time(long long ticks, char* buffer, std::size_t size)
{
    if (ticks < 0)
        ticks = 0;
    long long hundredths = ticks * MS_PER_TICK / MS_PER_HUNDREDTH;
    long long seconds = hundredths / HUNDREDTHS_PER_SECOND;
    std::snprintf(buffer, size, "%lld:%02lld.%02lld", seconds / SECONDS_PER_MINUTE, seconds % SECONDS_PER_MINUTE,
                  hundredths % HUNDREDTHS_PER_SECOND);
}

void Level_Tally::Draw_Counts(BITMAP* canvas, const Tally_Counts& counts, const char* title, int top)
{
    int white = makecol(255, 255, 255);
    int left = (Application::CANVAS_WIDTH - BOX_WIDTH) / 2;
    int bottom = top + 2 * PADDING + TALLY_LINES * LINE_HEIGHT;
    Dark_Box(canvas, left, top, left + BOX_WIDTH - 1, bottom);
    char time[TIME_TEXT];
    Format_Time(counts.ticks, time, sizeof(time));
    char line[LINE_TEXT];
    int y = top + PADDING;
    int x = left + PADDING;
    textout_centre_ex(canvas, font, title, Application::CANVAS_WIDTH / 2, y, makecol(255, 255, 0), -1);
    y += LINE_HEIGHT;
    std::snprintf(line, sizeof(line), Translate("Time: %s"), time);
    textout_ex(canvas, font, line, x, y, white, -1);
    y += LINE_HEIGHT;
    std::snprintf(line, sizeof(line), Translate("Cherries: %i of %i"), counts.cherries, counts.all_cherries);
    textout_ex(canvas, font, line, x, y, white, -1);
    y += LINE_HEIGHT;
    std::snprintf(line, sizeof(line), Translate("Eggs: %i of %i"), counts.eggs, counts.all_eggs);
    textout_ex(canvas, font, line, x, y, white, -1);
    y += LINE_HEIGHT;
    std::snprintf(line, sizeof(line), Translate("Creatures: %i of %i"), counts.defeated, counts.all_creatures);
    textout_ex(canvas, font, line, x, y, white, -1);
    y += LINE_HEIGHT;
    std::snprintf(line, sizeof(line), Translate("Lives lost: %i"), counts.lives_lost);
    textout_ex(canvas, font, line, x, y, white, -1);
}

void Level_Tally::Draw_Game_Summary(BITMAP* canvas, const Tally_Counts& counts, int top)
{
    int white = makecol(255, 255, 255);
    int line_height = text_height(font) + 2;
    char time[TIME_TEXT];
    Format_Time(counts.ticks, time, sizeof(time));
    char line[LINE_TEXT];
    std::snprintf(line, sizeof(line), Translate("Game time: %s"), time);
    textout_ex(canvas, font, line, 1, top, white, -1);
    std::snprintf(line, sizeof(line), Translate("Cherries %i/%i  Eggs %i/%i"), counts.cherries, counts.all_cherries,
                  counts.eggs, counts.all_eggs);
    textout_ex(canvas, font, line, 1, top + line_height, white, -1);
    std::snprintf(line, sizeof(line), Translate("Creatures %i/%i  Lives lost %i"), counts.defeated,
                  counts.all_creatures, counts.lives_lost);
    textout_ex(canvas, font, line, 1, top + 2 * line_height, white, -1);
}

void Level_Tally::Draw(BITMAP* canvas)
{
    if (canvas == nullptr)
        return;
    if (show_ticks > 0)
    {
        Draw_Counts(canvas, shown, Translate("Level done"), BOX_TOP);
        show_ticks--;
        seen_ticks++;
    }
    else if (name_ticks > 0)
    {
        int width = text_length(font, name) + 2 * PADDING;
        int left = (Application::CANVAS_WIDTH - width) / 2;
        Dark_Box(canvas, left, NAME_TOP - PADDING, left + width - 1, NAME_TOP + text_height(font) + PADDING - 1);
        textout_centre_ex(canvas, font, name, Application::CANVAS_WIDTH / 2, NAME_TOP, makecol(255, 255, 255), -1);
        name_ticks--;
    }
}
