#pragma once

#include <QList>

// How a row-set writes a posted or deleted row back to its table: which
// columns a statement writes and which it uses to find the row.
struct FieldFlags
{
    bool inUpdate = true; // written by INSERT and UPDATE
    bool inWhere = true;  // finds the row when every column is used
    bool inKey = false;   // finds the row when only the key is used
};

enum class WhereMode
{
    KeyOnly,       // the key columns
    All,           // every column marked in-where
    KeyAndChanged, // the key columns and the columns that changed
};

// The write-back settings of one change, taken when the change is posted so
// that a change held for later is still written the way it was meant.
struct WriteSettings
{
    QList<FieldFlags> flags; // one per field
    WhereMode whereMode = WhereMode::KeyOnly;
};
