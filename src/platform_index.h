#ifndef BLUEJAY_PLATFORM_INDEX_H
#define BLUEJAY_PLATFORM_INDEX_H

#include <vector>

class Application;
class Level;

// The platforms of a level sorted into buckets of cell columns, so that a
// creature asking which platforms it touches looks only at the few that
// stand near its own columns instead of at all 5000. It is built once a
// tick, after the platforms have moved and before the characters act, and
// used only during that stretch: then nothing moves a platform. Outside it
// the hit queries scan every platform.
class Platform_Index
{
public:
    // Cells a bucket spans.
    static constexpr int BUCKET_CELLS = 16;

    Platform_Index();

    void Build(Level& level, Application& application);
    void Clear();
    bool Is_Ready() const;

    // Calls visit(index) for every solid or item platform whose columns come
    // within one cell of left .. right; a platform may be visited more than
    // once.
    template <typename Visit> void For_Platforms_Near(int left, int right, Visit visit) const
    {
        for (int index : outside)
            visit(index);
        long long first = Bucket_Of(static_cast<long long>(left) - 1) - first_bucket;
        long long last = Bucket_Of(static_cast<long long>(right) + 1) - first_bucket;
        if (last < 0 || first >= static_cast<long long>(buckets.size()))
            return;
        if (first < 0)
            first = 0;
        if (last >= static_cast<long long>(buckets.size()))
            last = static_cast<long long>(buckets.size()) - 1;
        for (long long bucket = first; bucket <= last; bucket++)
            for (int index : buckets[bucket])
                visit(index);
    }

private:
    static long long Bucket_Of(long long column);

    bool ready;
    long long first_bucket;
    std::vector<std::vector<int>> buckets;
    // Platforms too wide or too far out for the buckets: always looked at.
    std::vector<int> outside;
};

#endif
