#include "menu.h"

#include <algorithm>

#include "application.h"

void Menu::Add(const std::string& text, const std::string& value, bool selectable)
{
    entries.push_back({text, value, selectable});
}

void Menu::Settle()
{
    int count = static_cast<int>(entries.size());
    if (count == 0)
    {
        highlight = 0;
        return;
    }
    highlight = std::clamp(highlight, 0, count - 1);
    for (int i = 0; i < count; i++)
    {
        int at = (highlight + i) % count;
        if (entries[at].selectable)
        {
            highlight = at;
            break;
        }
    }
    Keep_In_View();
}

void Menu::Move(int direction)
{
    int count = static_cast<int>(entries.size());
    for (int i = 1; i <= count; i++)
    {
        int at = ((highlight + direction * i) % count + count) % count;
        if (entries[at].selectable)
        {
            highlight = at;
            break;
        }
    }
    Keep_In_View();
}

void Menu::Keep_In_View()
{
    if (highlight < first_shown)
        first_shown = highlight;
    if (highlight >= first_shown + rows)
        first_shown = highlight - rows + 1;
    // A heading just above the first entry shown comes into view with it.
    if (first_shown > 0 && first_shown == highlight && !entries[first_shown - 1].selectable)
        first_shown--;
    first_shown = std::clamp(first_shown, 0, std::max(0, static_cast<int>(entries.size()) - rows));
}

int Menu::Entries_Top() const
{
    return top + padding + (heading.empty() ? 0 : LINE_HEIGHT + 4);
}

int Menu::Entry_At(int x, int y) const
{
    int left = (Application::CANVAS_WIDTH - width) / 2;
    if (x < left || x >= left + width || y < Entries_Top())
        return NONE;
    int row = (y - Entries_Top()) / LINE_HEIGHT;
    if (row >= rows)
        return NONE;
    int at = first_shown + row;
    return at < static_cast<int>(entries.size()) ? at : NONE;
}

Menu::Result Menu::Handle(const Menu_Input& input)
{
    Result result;
    if (entries.empty())
    {
        result.back = input.back || input.choose || input.clicked;
        return result;
    }
    if (input.up)
        Move(-1);
    if (input.down)
        Move(1);
    // Hovering highlights; a click chooses what it is on.
    int pointed = (input.mouse_moved || input.clicked) ? Entry_At(input.mouse_x, input.mouse_y) : NONE;
    if (pointed != NONE && entries[pointed].selectable)
        highlight = pointed;
    if (input.left || input.right)
        result.step = input.right ? 1 : -1;
    if (input.choose || (input.clicked && pointed != NONE && entries[pointed].selectable))
        result.chosen = highlight;
    result.back = input.back;
    return result;
}

void Menu::Draw(BITMAP* canvas) const
{
    int shown = std::min(rows, static_cast<int>(entries.size()) - first_shown);
    int left = (Application::CANVAS_WIDTH - width) / 2;
    int bottom = Entries_Top() + shown * LINE_HEIGHT + (word.empty() ? 0 : LINE_HEIGHT + 2) + padding - 2;
    int panel = makecol(16, 20, 40);
    int frame = makecol(90, 110, 170);
    int white = makecol(255, 255, 255);
    int grey = makecol(150, 160, 180);
    int yellow = makecol(255, 220, 80);
    int bar = makecol(40, 70, 160);
    rectfill(canvas, left, top, left + width - 1, bottom, panel);
    rect(canvas, left, top, left + width - 1, bottom, frame);
    if (!heading.empty())
        textout_centre_ex(canvas, font, heading.c_str(), Application::CANVAS_WIDTH / 2, top + padding, yellow, -1);
    for (int row = 0; row < shown; row++)
    {
        int at = first_shown + row;
        const Entry& entry = entries[at];
        int y = Entries_Top() + row * LINE_HEIGHT;
        bool lit = at == highlight && entry.selectable;
        if (lit)
            rectfill(canvas, left + 2, y - 1, left + width - 3, y + LINE_HEIGHT - 2, bar);
        int colour = lit ? white : (entry.selectable ? grey : yellow);
        textout_ex(canvas, font, entry.text.c_str(), left + PADDING, y, colour, -1);
        if (!entry.value.empty())
            textout_right_ex(canvas, font, entry.value.c_str(), left + width - PADDING, y, colour, -1);
    }
    // Marks that the list goes on above or below.
    if (first_shown > 0)
        textout_right_ex(canvas, font, "^", left + width - 2, top + 2, frame, -1);
    if (first_shown + shown < static_cast<int>(entries.size()))
        textout_right_ex(canvas, font, "v", left + width - 2, bottom - 9, frame, -1);
    if (!word.empty())
        textout_centre_ex(canvas, font, word.c_str(), Application::CANVAS_WIDTH / 2,
                          Entries_Top() + shown * LINE_HEIGHT + 2, yellow, -1);
}
