#pragma once

#include <QString>

// The table that the journal fuzz target rolls journals back onto, made the
// same way by the target and by the program that writes its first inputs,
// so that those journals fit it.
namespace journaltable {

// Creates "store/T.DB" (with its memo file) under the folder, holding a few
// rows, and returns its path.
QString make(const QString& folder);

} // namespace journaltable
