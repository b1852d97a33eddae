#include "canvas_stretch.h"

#include <algorithm>
#include <cstring>

namespace
{
const int FAST_DEPTH = 32;
}

bool Canvas_Stretch::Can_Write_Lines(BITMAP* source, BITMAP* target, int x, int y, int width, int height) const
{
    return x >= 0 && y >= 0 && width <= target->w - x && height <= target->h - y &&
           bitmap_color_depth(source) == FAST_DEPTH && bitmap_color_depth(target) == FAST_DEPTH &&
           is_memory_bitmap(source) && is_linear_bitmap(target);
}

void Canvas_Stretch::Prepare_Columns(int width)
{
    if (static_cast<int>(columns.size()) == width)
        return;
    columns.resize(static_cast<size_t>(width));
    for (int column = 0; column < width; column++)
        columns[column] = static_cast<int>(static_cast<long long>(column) * source_width / width);
    runs.assign(static_cast<size_t>(source_width), 0);
    for (int column = 0; column < width; column++)
        runs[columns[column]]++;
    // A run is written MOST_RUN pixels wide; the runs from the first that is
    // longer, or that would write past the row, take the plain way.
    quick_columns = 0;
    for (int start = 0; quick_columns < source_width && runs[quick_columns] <= MOST_RUN && start + MOST_RUN <= width;
         quick_columns++)
        start += runs[quick_columns];
}

bool Canvas_Stretch::Show(BITMAP* source, BITMAP* target, int x, int y, int width, int height, bool straight)
{
    if (source == nullptr || target == nullptr || width <= 0 || height <= 0)
        return false;
    if (!Can_Write_Lines(source, target, x, y, width, height))
    {
        stretch_blit(source, target, 0, 0, source->w, source->h, x, y, width, height);
        return false;
    }
    Write_Rows(source, target, x, y, width, height, straight, nullptr);
    return straight;
}

bool Canvas_Stretch::Show_Changes(BITMAP* source, BITMAP* target, int x, int y, int width, int height)
{
    changed_runs.clear();
    if (source == nullptr || target == nullptr || width <= 0 || height <= 0)
        return false;
    if (!Can_Write_Lines(source, target, x, y, width, height))
    {
        Forget_Shown();
        stretch_blit(source, target, 0, 0, source->w, source->h, x, y, width, height);
        return false;
    }
    bool same_place = shown_target == target && shown_x == x && shown_y == y && shown_width == width &&
                      shown_height == height && source_width == source->w && shown_source_height == source->h;
    size_t row_pixels = static_cast<size_t>(source->w);
    if (!same_place)
    {
        shown.assign(row_pixels * static_cast<size_t>(source->h), 0);
        row_changed.assign(static_cast<size_t>(source->h), 1);
        row_left.assign(static_cast<size_t>(source->h), 0);
        row_right.assign(static_cast<size_t>(source->h), source->w);
    }
    for (int row = 0; row < source->h; row++)
    {
        uint32_t* last = &shown[row_pixels * static_cast<size_t>(row)];
        const uint32_t* now = reinterpret_cast<const uint32_t*>(source->line[row]);
        bool changed = !same_place || std::memcmp(last, now, row_pixels * sizeof(uint32_t)) != 0;
        row_changed[row] = changed ? 1 : 0;
        if (!changed)
            continue;
        int left = 0, right = source->w;
        if (same_place)
        {
            while (left < right && last[left] == now[left])
                left++;
            while (right > left && last[right - 1] == now[right - 1])
                right--;
        }
        row_left[row] = left;
        row_right[row] = right;
        std::memcpy(last, now, row_pixels * sizeof(uint32_t));
    }
    Write_Rows(source, target, x, y, width, height, true, row_changed.data());
    shown_target = target;
    shown_x = x;
    shown_y = y;
    shown_width = width;
    shown_height = height;
    shown_source_height = source->h;
    return true;
}

void Canvas_Stretch::Forget_Shown()
{
    shown_target = nullptr;
}

void Canvas_Stretch::Write_Rows(BITMAP* source, BITMAP* target, int x, int y, int width, int height, bool straight,
                                const char* only_rows)
{
    if (source_width != source->w)
    {
        source_width = source->w;
        columns.clear();
    }
    Prepare_Columns(width);
    changed_runs.clear();
    const size_t row_bytes = static_cast<size_t>(width) * sizeof(uint32_t);
    // Rows this far apart or nearer go in one run.
    const int joined_gap = JOINED_GAP * height / source->h + 1;
    int last_source_row = -1;
    const uint32_t* last_row = nullptr;
    for (int row = 0; row < height; row++)
    {
        int source_row = static_cast<int>(static_cast<long long>(row) * source->h / height);
        if (only_rows != nullptr && !only_rows[source_row])
            continue;
        uintptr_t line = straight ? reinterpret_cast<uintptr_t>(target->line[y + row]) : bmp_write_line(target, y + row);
        uint32_t* out = reinterpret_cast<uint32_t*>(line) + x;
        if (source_row == last_source_row)
            std::memcpy(out, last_row, row_bytes);
        else
            Stretch_Row(reinterpret_cast<const uint32_t*>(source->line[source_row]), out, width);
        last_source_row = source_row;
        last_row = out;
        int screen_row = y + row;
        int left = x, right = x + width;
        if (only_rows != nullptr)
        {
            left = x + Target_Column(row_left[source_row]);
            right = x + Target_Column(row_right[source_row]);
        }
        if (!changed_runs.empty() && screen_row - (changed_runs.back().first + changed_runs.back().count) < joined_gap)
        {
            Rows& run = changed_runs.back();
            run.count = screen_row - run.first + 1;
            int run_right = std::max(run.left + run.width, right);
            run.left = std::min(run.left, left);
            run.width = run_right - run.left;
        }
        else
        {
            changed_runs.push_back({screen_row, 1, left, right - left});
        }
    }
    if (!straight)
        bmp_unwrite_line(target);
}

int Canvas_Stretch::Target_Column(int source_column) const
{
    return static_cast<int>(std::lower_bound(columns.begin(), columns.end(), source_column) - columns.begin());
}

void Canvas_Stretch::Stretch_Row(const uint32_t* in, uint32_t* out, int width) const
{
    // A whole scale (a window) repeats each pixel the same number of times.
    if (width % source_width == 0 && width / source_width <= MOST_RUN)
    {
        int scale = width / source_width;
        for (int source_column = 0; source_column < source_width; source_column++)
            for (int copy = 0; copy < scale; copy++)
                *out++ = in[source_column];
        return;
    }
    // Each picture pixel is written MOST_RUN times at once and the next one
    // starts where its own run ends, over the extra copies.
    int column = 0;
    for (int source_column = 0; source_column < quick_columns; source_column++)
    {
        uint32_t block[MOST_RUN];
        for (uint32_t& pixel : block)
            pixel = in[source_column];
        std::memcpy(out + column, block, sizeof(block));
        column += runs[source_column];
    }
    for (; column < width; column++)
        out[column] = in[columns[column]];
}
