// A level's tick of play, its camera and its status line.

#include <allegro.h>

#include "application.h"
#include "bluejay.h"
#include "level.h"
#include "platform.h"
#include "string_list.h"
#include "translation.h"

namespace
{
constexpr int HALF_WIDTH = Application::CANVAS_WIDTH / 2;
constexpr int HALF_HEIGHT = Application::CANVAS_HEIGHT / 2;
} // namespace

Bluejay* Level::Hero()
{
    if (main_character < 0 || main_character >= number_of_characters)
        return nullptr;
    Character* hero = characters[main_character];
    if (hero == nullptr || hero->type != BLUEJAY)
        return nullptr;
    return static_cast<Bluejay*>(hero);
}

bool Level::Hero_Centre(Application& application, int& centre_x, int& centre_y)
{
    Bluejay* hero = Hero();
    if (hero == nullptr)
        return false;
    centre_x = hero->x + application.Bitmap_Width(hero->bitmap) / 2;
    centre_y = hero->y + application.Bitmap_Height(hero->bitmap) / 2;
    return true;
}

void Level::Position_For_Main_Character()
{
    Bluejay* hero = Hero();
    if (hero == nullptr)
        return;
    int width = screens_wide * Application::CANVAS_WIDTH;
    if (hero->x > HALF_WIDTH && hero->x < width - HALF_WIDTH)
        scroll_x = hero->x - HALF_WIDTH;
    else if (hero->x <= HALF_WIDTH)
        scroll_x = 0;
    else
        scroll_x = width - Application::CANVAS_WIDTH;

    // A dying hero is no longer followed up or down, so it falls out of the
    // picture.
    if (hero->strength <= 0 || screens_high <= 1)
        return;
    int top = HALF_HEIGHT - (screens_high - 1) * Application::CANVAS_HEIGHT;
    if (hero->y > top && hero->y < HALF_HEIGHT)
        scroll_y = hero->y - HALF_HEIGHT;
    else if (hero->y >= HALF_HEIGHT)
        scroll_y = 0;
    else
        scroll_y = -(screens_high - 1) * Application::CANVAS_HEIGHT;
}

void Level::Scroll_X(int step)
{
    Bluejay* hero = Hero();
    if (hero == nullptr)
        return;
    int width = screens_wide * Application::CANVAS_WIDTH;
    if (hero->x > HALF_WIDTH && hero->x < width - HALF_WIDTH)
        scroll_x += Rectangle::CELL_SIZE * step;
    if (hero->x <= HALF_WIDTH)
        scroll_x = 0;
    if (hero->x >= width - HALF_WIDTH)
        scroll_x = width - Application::CANVAS_WIDTH;
}

void Level::Scroll_Y(int step)
{
    Bluejay* hero = Hero();
    if (hero == nullptr || hero->strength <= 0 || screens_high <= 1)
        return;
    int top = HALF_HEIGHT - (screens_high - 1) * Application::CANVAS_HEIGHT;
    if (hero->y > top && hero->y < HALF_HEIGHT)
        scroll_y += Rectangle::CELL_SIZE * step;
    if (hero->y >= HALF_HEIGHT)
        scroll_y = 0;
    if (hero->y <= top)
        scroll_y = -(screens_high - 1) * Application::CANVAS_HEIGHT;
}

void Level::Scroll_Background(int step)
{
    Bluejay* hero = Hero();
    if (hero == nullptr)
        return;
    // Only while the camera really moves: one pixel for its four, the other
    // way.
    int width = screens_wide * Application::CANVAS_WIDTH;
    if (!(hero->x > HALF_WIDTH && hero->x < width - HALF_WIDTH))
        return;
    background_x -= step;
    if (background_x >= Application::CANVAS_WIDTH)
        background_x = -Application::CANVAS_WIDTH;
    if (background_x < -Application::CANVAS_WIDTH)
        background_x = Application::CANVAS_WIDTH;
}

void Level::Draw_Background(Application& application)
{
    int index = background;
    if (index < Application::GRASS_BACKGROUND_BM || index > Application::BLACK_BACKGROUND_BM)
        index = Application::BLACK_BACKGROUND_BM;
    BITMAP* picture = application.bitmaps[index];
    if (picture == nullptr)
    {
        clear_to_color(application.canvas, 0);
        return;
    }
    // Two copies side by side always cover the canvas.
    int other_x = background_x < 0 ? background_x + Application::CANVAS_WIDTH
                                    : background_x - Application::CANVAS_WIDTH;
    blit(picture, application.canvas, 0, 0, background_x, 0, Application::CANVAS_WIDTH,
         Application::CANVAS_HEIGHT);
    blit(picture, application.canvas, 0, 0, other_x, 0, Application::CANVAS_WIDTH,
         Application::CANVAS_HEIGHT);
}

void Level::Show_Message(Application& application)
{
    // The picture darkens to about three quarters and the text goes over it.
    set_trans_blender(64, 64, 64, 64);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(application.canvas, 0, 0, Application::CANVAS_WIDTH - 1, Application::CANVAS_HEIGHT - 1,
             makecol(0, 0, 0));
    solid_mode();
    int current = application.current_level;
    if (current >= 0 && current < Application::NUMBER_OF_LEVELS)
        application.messages[current]->Print(application);
    message_shown = true;
}

void Level::Carry_Hero_Through_Pipe(Application& application, Bluejay& hero)
{
    bool known_screen = hero.pipe_screen >= 0 && hero.pipe_screen < NUMBER_OF_POINTERS;
    int destination = known_screen ? pointers[hero.pipe_screen] : -1;

    if (known_screen && hero.local_pipe)
    {
        // Another screen column of this level; a pointer past the level's
        // end leads to its last screen.
        if (destination < 0)
            destination = 0;
        if (destination > screens_wide - 1)
            destination = screens_wide - 1;
        hero.x = destination * Application::CANVAS_WIDTH + LOCAL_PIPE_ARRIVAL_X;
        hero.y = LOCAL_PIPE_ARRIVAL_Y;
        hero.Reset(application.Demo_Rules());
        Position_For_Main_Character();
        return;
    }

    if (known_screen && pipes_end_play)
    {
        // A level tried from the editor ends here; the editor says where
        // the pipe led.
        pipe_destination = destination;
        hero.went_down_pipe = false;
        return;
    }

    if (known_screen && destination >= 0 && destination < Application::NUMBER_OF_LEVELS &&
        application.levels[destination]->Hero() != nullptr)
    {
        Level& next = *application.levels[destination];
        application.current_level = destination;
        next.Reset(application.Demo_Rules());
        // A level entered anew has no bell rung.
        next.Clear_Checkpoints();
        next.scroll_x = 0;
        next.scroll_y = 0;
        hero.Copy_Status(*next.Hero());
        return;
    }

    // A pipe that leads nowhere: the hero comes back up and stands on it.
    hero.went_down_pipe = false;
    hero.local_pipe = false;
    hero.state = Bluejay::IDLE;
    hero.y_direction = 1;
    hero.y = hero.pipe_y - application.Bitmap_Height(hero.bitmap);
    Position_For_Main_Character();
}

void Level::Draw_Status_Backing(Application& application)
{
    // A dark band under the status line, so that hearts, digits and
    // counters read over any background.
    BITMAP* canvas = application.canvas;
    int second_row_bottom = STATUS_SECOND_ROW + application.Bitmap_Height(Application::BLUEJAY_ICON_BM);
    set_trans_blender(0, 0, 0, STATUS_BACKING_WEIGHT);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(canvas, 0, 0, Application::CANVAS_WIDTH - 1, second_row_bottom, makecol(0, 0, 0));
    solid_mode();
}

void Level::Draw_Status_Extras(Application& application, Bluejay& hero, int marks_x)
{
    BITMAP* canvas = application.canvas;
    // Flight refused: the hearts flash.
    if (hero.refused_flash_ticks > 0 && (hero.refused_flash_ticks & 2) != 0)
        rect(canvas, marks_x - 1, 0,
             marks_x + Bluejay::MAX_STRENGTH * application.Bitmap_Width(Application::STRENGTH_MARK_BM),
             STATUS_MARGIN + application.Bitmap_Height(Application::STRENGTH_MARK_BM), makecol(255, 255, 255));
    if (application.Assists().Any_Assist())
        textout_ex(canvas, font, Translate("ASSIST"), STATUS_ASSIST_X, STATUS_MARGIN, makecol(255, 255, 0), -1);
    if (application.play_options.show_timer)
    {
        char level_time[Level_Tally::TIME_TEXT];
        char game_time[Level_Tally::TIME_TEXT];
        Level_Tally::Format_Time(application.tally.level_ticks, level_time, sizeof(level_time));
        Level_Tally::Format_Time(application.tally.game_ticks, game_time, sizeof(game_time));
        textprintf_ex(canvas, font, STATUS_MARGIN, STATUS_TIMER_ROW, makecol(255, 0, 0), -1, "%s / %s", level_time,
                      game_time);
    }
}

void Level::Draw_Status_Line(Application& application, Bluejay& hero)
{
    int red = makecol(255, 0, 0);
    BITMAP* canvas = application.canvas;
    if (application.play_options.status_backing)
        Draw_Status_Backing(application);
    if (!application.game_complete)
    {
        const char* energy = Translate("Energy: ");
        textout_ex(canvas, font, energy, STATUS_MARGIN, STATUS_MARGIN, red, -1);
        int x = text_length(font, energy);
        Draw_Status_Extras(application, hero, x);
        int mark_width = application.Bitmap_Width(Application::STRENGTH_MARK_BM);
        for (int i = 0; i < hero.strength; i++, x += mark_width)
            application.Draw_Sprite(Application::STRENGTH_MARK_BM, x, STATUS_MARGIN);
        for (int i = 0; i < Bluejay::MAX_STRENGTH - hero.strength; i++, x += mark_width)
            application.Draw_Sprite(Application::EMPTY_MARK_BM, x, STATUS_MARGIN);

        application.Draw_Sprite(Application::EGG_BM, STATUS_MARGIN, STATUS_SECOND_ROW);
        textprintf_ex(canvas, font, application.Bitmap_Width(Application::EGG_BM) + STATUS_COUNT_AFTER_ICON,
                      STATUS_SECOND_ROW, red, -1, "x %i", hero.eggs);
        application.Draw_Sprite(Application::BLUEJAY_ICON_BM, STATUS_LIVES_X, STATUS_SECOND_ROW);
        textprintf_ex(canvas, font,
                      STATUS_LIVES_X + application.Bitmap_Width(Application::BLUEJAY_ICON_BM) + STATUS_COUNT_AFTER_ICON,
                      STATUS_SECOND_ROW, red, -1, "x %i", hero.lives);
    }
    // The score ends at the right edge.
    textprintf_ex(canvas, font, Application::CANVAS_WIDTH - text_length(font, "0000000"), STATUS_MARGIN, red, -1,
                  "%i",
                  hero.points);
}

void Level::Process(Application& application)
{
    reposition_requested = false;
    scroll_x_requested = false;
    scroll_y_requested = false;

    if (starting)
    {
        application.Stop_Sound_Effects();
        Position_For_Main_Character();
        starting = false;
        if (!application.demo_mode)
            application.Play_Music(music, true);
    }

    Draw_Background(application);
    for (int i = 0; i < number_of_platforms; i++)
        platforms[i]->Process(application, scroll_x, scroll_y);
    // Nothing moves a platform while the characters act.
    platform_index.Build(*this, application);
    for (int i = 0; i < number_of_characters; i++)
        if (characters[i] != nullptr)
            characters[i]->Process(application, *this);
    platform_index.Clear();

    if (reposition_requested)
        Position_For_Main_Character();
    if (scroll_x_requested)
    {
        Scroll_X(scroll_x_step);
        if (!background_scrolling)
            Scroll_Background(scroll_x_step);
    }
    if (scroll_y_requested)
        Scroll_Y(scroll_y_step);
    if (background_scrolling)
    {
        background_x += 8;
        if (background_x >= Application::CANVAS_WIDTH)
            background_x = -Application::CANVAS_WIDTH;
        if (background_x < -Application::CANVAS_WIDTH)
            background_x = Application::CANVAS_WIDTH;
    }

    if (showing_message)
        Show_Message(application);

    Bluejay* hero = Hero();
    if (hero == nullptr)
        return;

    if (hero->went_down_pipe)
        Carry_Hero_Through_Pipe(application, *hero);

    if (hero->dead && !hero->Is_On_Screen(scroll_x, scroll_y, application))
    {
        if (hero->lives <= 0)
        {
            application.game_over = true;
            application.Stop_Sound_Effects();
            application.Play_Music(Application::GAME_OVER_MT, false);
        }
        else
        {
            hero->Reset(application.Demo_Rules());
            Reset(application.Demo_Rules());
            // After a bell was rung the hero starts again there.
            if (checkpoint_lit)
            {
                hero->x = restart_x;
                hero->y = restart_y;
            }
            Position_For_Main_Character();
        }
    }

    if (signal == SIGNAL_DESTROY_ECTO)
    {
        ending_timer++;
        if (ending_timer == ENDING_TICKS)
        {
            application.game_complete = true;
            hero->points += EGG_BONUS * hero->eggs;
            application.messages[Application::ENDING_MESSAGE]->Print(application);
        }
    }

    if (!application.demo_mode && !showing_message)
        Draw_Status_Line(application, *hero);
}
