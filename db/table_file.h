#pragma once

#include <QString>

class DataSet;

// Opens one Paradox table file by its path into a row-set, for tables that
// live outside the configured store (those of the older edition).
void openTableFile(DataSet& table, const QString& path);
