#include "platform_index.h"

#include "application.h"
#include "level.h"
#include "platform.h"
#include "rectangle.h"

namespace
{
// A platform spanning more buckets than this is kept with the outsiders.
constexpr long long WIDEST = 8;
} // namespace

Platform_Index::Platform_Index() : ready(false), first_bucket(0)
{
}

long long Platform_Index::Bucket_Of(long long column)
{
    // Rounds toward minus infinity, so negative columns bucket evenly too.
    return column >= 0 ? column / BUCKET_CELLS : -((-column + BUCKET_CELLS - 1) / BUCKET_CELLS);
}

bool Platform_Index::Is_Ready() const
{
    return ready;
}

void Platform_Index::Clear()
{
    ready = false;
}

void Platform_Index::Build(Level& level, Application& application)
{
    // The buckets cover the level's width and a screen on either side.
    long long columns = static_cast<long long>(level.screens_wide) * Application::CANVAS_WIDTH / Rectangle::CELL_SIZE;
    first_bucket = Bucket_Of(-Application::CANVAS_WIDTH / Rectangle::CELL_SIZE);
    long long count = Bucket_Of(columns + Application::CANVAS_WIDTH / Rectangle::CELL_SIZE) - first_bucket + 1;
    if (count > 4096)
        count = 4096;
    if (static_cast<long long>(buckets.size()) < count)
        buckets.resize(static_cast<size_t>(count));
    for (std::vector<int>& bucket : buckets)
        bucket.clear();
    outside.clear();

    for (int i = 0; i < level.number_of_platforms; i++)
    {
        Platform* platform = level.platforms[i];
        if (platform->kind == Platform::BACKGROUND)
            continue;
        Rectangle shape;
        platform->Get_Bump_Map(shape, application);
        long long first = Bucket_Of(shape.left) - first_bucket;
        long long last = Bucket_Of(shape.right) - first_bucket;
        if (first < 0 || last >= count || last < first || last - first >= WIDEST)
        {
            outside.push_back(i);
            continue;
        }
        for (long long bucket = first; bucket <= last; bucket++)
            buckets[bucket].push_back(i);
    }
    ready = true;
}
