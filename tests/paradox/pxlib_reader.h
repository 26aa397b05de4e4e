#pragma once

#include "paradox/paradox_table.h"

#include <QString>

// A table as pxlib reads it. pxlib is not fed memo files (its Debian build
// crashes on them): blob fields are listed but their values left null.
struct PxlibTable
{
    QList<paradox::Field> fields;
    QList<paradox::Record> records;
    int codePage = 0;
    int recordCount = 0;
    QStringList errors; // what pxlib reported
};

PxlibTable readWithPxlib(const QString& path);
