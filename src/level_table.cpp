#include "level_table.h"

#include "character.h"
#include "level.h"
#include "platform.h"

template <class Entry, bool OWN_ENTRIES>
Level_Table<Entry, OWN_ENTRIES>::Level_Table(int table_limit) : limit(table_limit), places(nullptr)
{
}

template <class Entry, bool OWN_ENTRIES> Level_Table<Entry, OWN_ENTRIES>::~Level_Table()
{
    if (places != nullptr)
        for (int block = 0; block < Block_Count(); block++)
        {
            if constexpr (!OWN_ENTRIES)
                if (places[block] != nullptr)
                    for (int i = 0; i < BLOCK_ENTRIES; i++)
                        delete places[block][i];
            delete[] places[block];
        }
    for (Entry* block : blocks)
        delete[] block;
    delete[] places;
}

template <class Entry, bool OWN_ENTRIES> long Level_Table<Entry, OWN_ENTRIES>::Bytes_Used() const
{
    if (places == nullptr)
        return 0;
    return static_cast<long>(Block_Count()) * static_cast<long>(sizeof(Entry**)) +
           static_cast<long>(blocks_made) * BLOCK_ENTRIES * static_cast<long>(sizeof(Entry*)) +
           static_cast<long>(blocks.size()) * BLOCK_ENTRIES * static_cast<long>(sizeof(Entry));
}

template <class Entry, bool OWN_ENTRIES> Entry** Level_Table<Entry, OWN_ENTRIES>::Make_Room(int index)
{
    if (places == nullptr)
        places = new Entry**[Block_Count()]();
    Entry**& place_block = places[index / BLOCK_ENTRIES];
    if (place_block != nullptr)
        return place_block;
    // A whole block, so that no number of the last one reaches past it.
    place_block = new Entry*[BLOCK_ENTRIES]();
    blocks_made++;
    if constexpr (OWN_ENTRIES)
    {
        int first = index - index % BLOCK_ENTRIES;
        Entry* block = new Entry[BLOCK_ENTRIES]();
        blocks.push_back(block);
        for (int i = 0; i < BLOCK_ENTRIES && first + i < limit; i++)
            place_block[i] = &block[i];
    }
    return place_block;
}

template class Level_Table<Platform, true>;
template class Level_Table<Map_Record, true>;
template class Level_Table<Character, false>;
