#pragma once

#include "maintenance/maintenance_rules.h"

#include <QString>

// The limits of each aircraft in the settings file, one section per table.
namespace Maintenance {

// The section holding a table's limits: letters, digits, "_", "-" and "."
// stand as they are, every other character as %XX of its UTF-8 bytes, so
// that no name can end the section's header, pad it or reach another
// table's section. Names that differ only in case share a section, as the
// file's names match without regard to case. Empty for an empty name.
QString limitsSection(const QString& table);

// A file or a table without the section gives no limits; a value out of
// range counts as not set (a margin as its default).
Limits readLimits(const QString& path, const QString& table);
// False when the table has no name or a value did not reach the file.
bool writeLimits(const QString& path, const QString& table, const Limits& limits);

} // namespace Maintenance
