#include "level_overview.h"

#include "application.h"
#include "character.h"
#include "level.h"
#include "platform.h"

int Level_Overview::Top(const Level& level)
{
    return -(level.screens_high - 1) * Application::CANVAS_HEIGHT;
}

BITMAP* Level_Overview::Draw(Application& game, Level& level)
{
    int width = level.screens_wide * Application::CANVAS_WIDTH;
    int height = level.screens_high * Application::CANVAS_HEIGHT;
    int top = Top(level);
    BITMAP* map = create_bitmap(width, height);
    if (map == nullptr)
        return nullptr;
    int background = level.background >= 0 && level.background <= Application::BLACK_BACKGROUND_BM
                         ? level.background
                         : Application::BLACK_BACKGROUND_BM;
    for (int y = 0; y < height; y += Application::CANVAS_HEIGHT)
        for (int x = 0; x < width; x += Application::CANVAS_WIDTH)
            blit(game.bitmaps[background], map, 0, 0, x, y, Application::CANVAS_WIDTH, Application::CANVAS_HEIGHT);
    for (int i = 0; i < level.number_of_platforms; i++)
    {
        Platform* platform = level.platforms[i];
        if (!platform->taken && platform->bitmap >= 0 && platform->bitmap < Application::NUMBER_OF_BITMAPS)
            draw_sprite(map, game.bitmaps[platform->bitmap], platform->x, platform->y - top);
    }
    for (int i = 0; i < level.number_of_characters; i++)
    {
        Character* character = level.characters[i];
        if (character == nullptr || character->bitmap < 0 || character->bitmap >= Application::NUMBER_OF_BITMAPS)
            continue;
        if (character->x_direction == -1)
            draw_sprite_h_flip(map, game.bitmaps[character->bitmap], character->x, character->y - top);
        else
            draw_sprite(map, game.bitmaps[character->bitmap], character->x, character->y - top);
        // The goldenjay's bush hides it while it perches.
        if (character->type == Level::GOLDENJAY)
            draw_sprite(map, game.bitmaps[Application::FAKE_BUSH_BM], character->start_x - 24,
                        character->start_y - 16 - top);
    }
    return map;
}
