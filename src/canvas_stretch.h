#ifndef BLUEJAY_CANVAS_STRETCH_H
#define BLUEJAY_CANVAS_STRETCH_H

#include <cstdint>
#include <vector>

#include <allegro.h>

// Shows a picture stretched over an area of a bitmap (the screen), pixel for
// pixel without filtering, as the library's stretch_blit does, at a fraction
// of its cost on a large screen: the column each screen pixel takes is worked
// out once for a size, each picture row is stretched across once, and the
// screen rows below it that show the same picture row get a copy of it. Where
// it cannot work so (a colour depth other than 32 bits, an area that leaves
// the bitmap, a bitmap not laid out in lines) it leaves the work to
// stretch_blit.
class Canvas_Stretch
{
public:
    // A run of target rows: the first and how many, and the columns in
    // them that changed: the first and how many.
    struct Rows
    {
        int first;
        int count;
        int left;
        int width;
    };

    // The whole of source over width x height pixels of target from (x, y).
    // With straight, the target's lines are written as they lie, without
    // the library's line selection, which on a screen sends each line to
    // the window by itself: the caller then sends the area at once. True
    // when the lines were written so, false when the work went to
    // stretch_blit (which sends what it draws itself).
    bool Show(BITMAP* source, BITMAP* target, int x, int y, int width, int height, bool straight = false);

    // As Show with straight, but the picture rows that are the same as in
    // the picture this last showed on the same area of the same target are
    // left as they are there. Changed_Rows then lists the target rows
    // written, in runs, for the caller to send, each with the columns from
    // the first to the last that changed in any of its rows (the rest of
    // each row is written again as it was); runs a few rows apart are
    // joined (the rows between them are sent again as they are).
    bool Show_Changes(BITMAP* source, BITMAP* target, int x, int y, int width, int height);
    const std::vector<Rows>& Changed_Rows() const
    {
        return changed_runs;
    }
    // The next Show_Changes writes every row: the target was drawn on by
    // something else.
    void Forget_Shown();

private:
    // Screen pixels one picture pixel may cover across for the quick row
    // fill, which writes this many at once and moves on by the run.
    static constexpr int MOST_RUN = 8;
    // Changed picture rows at most this many apart are sent as one run.
    static constexpr int JOINED_GAP = 8;

    // The source column of every column of the area, for the sizes below.
    std::vector<int> columns;
    // How many columns of the area each source column covers.
    std::vector<int> runs;
    // The source columns whose run can be written MOST_RUN pixels at a time
    // without passing the end of the row.
    int quick_columns = 0;
    int source_width = 0;

    // The picture Show_Changes showed last, where, and which of its rows
    // changed this time.
    std::vector<uint32_t> shown;
    BITMAP* shown_target = nullptr;
    int shown_x = 0, shown_y = 0, shown_width = 0, shown_height = 0, shown_source_height = 0;
    std::vector<char> row_changed;
    // The picture columns from the first changed to past the last, for each
    // changed row.
    std::vector<int> row_left, row_right;
    std::vector<Rows> changed_runs;

    bool Can_Write_Lines(BITMAP* source, BITMAP* target, int x, int y, int width, int height) const;
    void Prepare_Columns(int width);
    // Writes the rows of the area whose picture row is marked in only_rows
    // (every row without it), adding each written row to changed_runs with
    // its changed columns (row_left and row_right with only_rows, else all).
    void Write_Rows(BITMAP* source, BITMAP* target, int x, int y, int width, int height, bool straight,
                    const char* only_rows);
    // The first target column of the area that shows source column, or
    // past it.
    int Target_Column(int source_column) const;
    void Stretch_Row(const uint32_t* in, uint32_t* out, int width) const;
};

#endif
