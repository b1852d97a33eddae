#ifndef BLUEJAY_LEVEL_TABLE_H
#define BLUEJAY_LEVEL_TABLE_H

#include <vector>

// One of a level's tables: a fixed number of numbered places, each pointing
// at an entry. Nothing is made until the level first puts something in the
// table (a map file that holds records, the editor placing an object), so a
// level that stays empty, as most of the 120 do, costs a few bytes. Then the
// places are made a block at a time as the numbers reached grow, with their
// entries: a level of 300 platforms holds two blocks of the 20 its limit of
// 5000 allows. An entry never moves once made.
//
// With OWN_ENTRIES the table makes its entries (platforms, map records) and
// every place made points at one; without, the places start empty and the
// table deletes whatever they point at when it goes (the characters).
template <class Entry, bool OWN_ENTRIES> class Level_Table
{
public:
    // Places (and entries) made together when a number in their block is
    // first reached.
    static constexpr int BLOCK_ENTRIES = 256;

    explicit Level_Table(int limit);
    ~Level_Table();
    Level_Table(const Level_Table&) = delete;
    Level_Table& operator=(const Level_Table&) = delete;

    // The place of entry index, 0 to the limit less one; made on first use.
    Entry*& operator[](int index)
    {
        Entry** block = places != nullptr ? places[index / BLOCK_ENTRIES] : nullptr;
        if (block == nullptr)
            block = Make_Room(index);
        return block[index % BLOCK_ENTRIES];
    }
    // Reading makes nothing: a place not made yet holds nothing.
    Entry* operator[](int index) const
    {
        Entry** block = places != nullptr ? places[index / BLOCK_ENTRIES] : nullptr;
        return block != nullptr ? block[index % BLOCK_ENTRIES] : nullptr;
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
    // The blocks of places, each made when first reached.
    Entry*** places;
    // How many blocks of places were made.
    int blocks_made = 0;
    // The blocks of entries the table made (with OWN_ENTRIES).
    std::vector<Entry*> blocks;

    int Block_Count() const
    {
        return (limit + BLOCK_ENTRIES - 1) / BLOCK_ENTRIES;
    }
    // Makes the block of places of index (and its entries); returns it.
    Entry** Make_Room(int index);
};

#endif
