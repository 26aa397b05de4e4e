#include "data/held_position.h"

HeldPosition::HeldPosition(DataSet& rows) : rows_(rows), mark_(rows.bookmark())
{
    rows_.disableControls();
}

HeldPosition::~HeldPosition()
{
    try {
        if (rows_.bookmarkValid(mark_))
            rows_.gotoBookmark(mark_);
    } catch (...) {
        // The error that ended the work is the one the user must see.
    }
    rows_.enableControls();
}
