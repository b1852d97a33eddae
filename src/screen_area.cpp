#include "screen_area.h"

#include "application.h"

Screen_Area Screen_Area::For_Screen(int screen_width, int screen_height, int shape)
{
    Screen_Area area;
    area.width = screen_width > 0 ? screen_width : 0;
    area.height = screen_height > 0 ? screen_height : 0;
    const long long canvas_width = Application::CANVAS_WIDTH;
    const long long canvas_height = Application::CANVAS_HEIGHT;
    if (shape == ASPECT)
    {
        // The canvas keeps its shape: the side that runs out first decides.
        if (area.width * canvas_height > area.height * canvas_width)
            area.width = static_cast<int>(area.height * canvas_width / canvas_height);
        else
            area.height = static_cast<int>(area.width * canvas_height / canvas_width);
    }
    else if (shape == INTEGER)
    {
        // The largest whole scale that fits; a screen smaller than the
        // canvas shows it at its own size, cut at the edges.
        int scale_x = static_cast<int>(area.width / canvas_width);
        int scale_y = static_cast<int>(area.height / canvas_height);
        int scale = scale_x < scale_y ? scale_x : scale_y;
        if (scale < 1)
            scale = 1;
        area.width = static_cast<int>(canvas_width * scale);
        area.height = static_cast<int>(canvas_height * scale);
    }
    area.x = (screen_width - area.width) / 2;
    area.y = (screen_height - area.height) / 2;
    return area;
}

bool Screen_Area::Canvas_Point(int screen_x, int screen_y, int& canvas_x, int& canvas_y) const
{
    if (width <= 0 || height <= 0)
    {
        canvas_x = canvas_y = 0;
        return false;
    }
    long long dx = static_cast<long long>(screen_x) - x;
    long long dy = static_cast<long long>(screen_y) - y;
    bool inside = dx >= 0 && dy >= 0 && dx < width && dy < height;
    // Points on a bar are taken to the nearest edge of the canvas.
    long long column = dx < 0 ? 0 : dx * Application::CANVAS_WIDTH / width;
    long long row = dy < 0 ? 0 : dy * Application::CANVAS_HEIGHT / height;
    canvas_x = static_cast<int>(column < Application::CANVAS_WIDTH ? column : Application::CANVAS_WIDTH - 1);
    canvas_y = static_cast<int>(row < Application::CANVAS_HEIGHT ? row : Application::CANVAS_HEIGHT - 1);
    return inside;
}

int Screen_Area::Largest_Window_Scale(int desktop_width, int desktop_height, int low, int high)
{
    for (int scale = high; scale > low; scale--)
        if (Application::CANVAS_WIDTH * scale <= desktop_width &&
            Application::CANVAS_HEIGHT * scale + WINDOW_FRAME_ROOM <= desktop_height)
            return scale;
    return low;
}
