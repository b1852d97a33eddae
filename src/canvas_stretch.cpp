#include "canvas_stretch.h"

#include <cstdint>
#include <cstring>

namespace
{
const int FAST_DEPTH = 32;
}

void Canvas_Stretch::Show(BITMAP* source, BITMAP* target, int x, int y, int width, int height)
{
    if (source == nullptr || target == nullptr || width <= 0 || height <= 0)
        return;
    bool fast = x >= 0 && y >= 0 && width <= target->w - x && height <= target->h - y &&
                bitmap_color_depth(source) == FAST_DEPTH && bitmap_color_depth(target) == FAST_DEPTH &&
                is_memory_bitmap(source) && is_linear_bitmap(target);
    if (!fast)
    {
        stretch_blit(source, target, 0, 0, source->w, source->h, x, y, width, height);
        return;
    }
    if (static_cast<int>(columns.size()) != width || source_width != source->w)
    {
        source_width = source->w;
        columns.resize(static_cast<size_t>(width));
        for (int column = 0; column < width; column++)
            columns[column] = static_cast<int>(static_cast<long long>(column) * source->w / width);
    }
    const size_t row_bytes = static_cast<size_t>(width) * sizeof(uint32_t);
    int last_source_row = -1;
    const uint32_t* last_row = nullptr;
    for (int row = 0; row < height; row++)
    {
        int source_row = static_cast<int>(static_cast<long long>(row) * source->h / height);
        uint32_t* out = reinterpret_cast<uint32_t*>(bmp_write_line(target, y + row)) + x;
        if (source_row == last_source_row)
        {
            std::memcpy(out, last_row, row_bytes);
        }
        else
        {
            const uint32_t* in = reinterpret_cast<const uint32_t*>(source->line[source_row]);
            for (int column = 0; column < width; column++)
                out[column] = in[columns[column]];
        }
        last_source_row = source_row;
        last_row = out;
    }
    bmp_unwrite_line(target);
}
