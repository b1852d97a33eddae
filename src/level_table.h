#ifndef BLUEJAY_LEVEL_TABLE_H
#define BLUEJAY_LEVEL_TABLE_H

#include <vector>

// One of a level's tables: a fixed number of numbered places, each pointing
// at an entry. Nothing is made until the level first puts something in the
// table (a map file that holds records, the editor placing an object), so a
// level that stays empty, as most of the 120 do, costs a few bytes. Then the
// places are made all at once, and the entries a block at a time as the
// numbers reached grow. An entry never moves once made.
//
// With OWN_ENTRIES the table makes its entries (platforms, map records) and
// every place made points at one; without, the places start empty and the
// table deletes whatever they point at when it goes (the characters).
template <class Entry, bool OWN_ENTRIES> class Level_Table
{
public:
    // Entries made together when a number in their block is first reached.
    static constexpr int BLOCK_ENTRIES = 256;

    explicit Level_Table(int limit);
    ~Level_Table();
    Level_Table(const Level_Table&) = delete;
    Level_Table& operator=(const Level_Table&) = delete;

    // The place of entry index, 0 to the limit less one; made on first use.
    Entry*& operator[](int index)
    {
        if (places == nullptr || (OWN_ENTRIES && places[index] == nullptr))
            Make_Room(index);
        return places[index];
    }
    // Reading makes nothing: a place not made yet holds nothing.
    Entry* operator[](int index) const
    {
        return places != nullptr ? places[index] : nullptr;
    }

    int Limit() const
    {
        return limit;
    }
    // Whether the table has been given its places yet.
    bool Is_Made() const
    {
        return places != nullptr;
    }
    // The bytes the table has taken so far, places and entries.
    long Bytes_Used() const;

private:
    int limit;
    Entry** places;
    // The blocks of entries the table made (with OWN_ENTRIES).
    std::vector<Entry*> blocks;

    void Make_Room(int index);
};

#endif
