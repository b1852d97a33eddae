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
    if constexpr (!OWN_ENTRIES)
        if (places != nullptr)
            for (int i = 0; i < limit; i++)
                delete places[i];
    for (Entry* block : blocks)
        delete[] block;
    delete[] places;
}

template <class Entry, bool OWN_ENTRIES> long Level_Table<Entry, OWN_ENTRIES>::Bytes_Used() const
{
    if (places == nullptr)
        return 0;
    return static_cast<long>(limit) * static_cast<long>(sizeof(Entry*)) +
           static_cast<long>(blocks.size()) * BLOCK_ENTRIES * static_cast<long>(sizeof(Entry));
}

template <class Entry, bool OWN_ENTRIES> void Level_Table<Entry, OWN_ENTRIES>::Make_Room(int index)
{
    if (places == nullptr)
        places = new Entry*[limit]();
    if constexpr (OWN_ENTRIES)
    {
        if (places[index] != nullptr)
            return;
        int first = index - index % BLOCK_ENTRIES;
        Entry* block = new Entry[BLOCK_ENTRIES]();
        blocks.push_back(block);
        for (int i = 0; i < BLOCK_ENTRIES && first + i < limit; i++)
            places[first + i] = &block[i];
    }
}

template class Level_Table<Platform, true>;
template class Level_Table<Map_Record, true>;
template class Level_Table<Character, false>;
