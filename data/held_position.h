#pragma once

#include "data/data_set.h"

// Work that walks the rows without the bound controls following: the
// controls stand still while it runs, and afterwards the row-set is back on
// the row it was on (when that row still exists), however the work ends.
class HeldPosition
{
public:
    explicit HeldPosition(DataSet& rows);
    ~HeldPosition();
    HeldPosition(const HeldPosition&) = delete;
    HeldPosition& operator=(const HeldPosition&) = delete;

private:
    DataSet& rows_;
    DataSet::Bookmark mark_;
};
