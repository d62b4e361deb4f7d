// Where the program keeps its INI file.
#pragma once

#include <QString>

namespace telvane {

// The executable's path with its extension replaced by ".INI" ("telvane" -> "telvane.INI").
QString ini_path_beside(const QString& executablePath);

// The INI file beside the executable when that place can be written. Otherwise (an installed
// program in a read-only folder) the file of the same name in `configDir`, so that settings are
// not silently lost; it starts as a copy of the file beside the executable when there is one.
QString resolve_ini_path(const QString& besidePath, const QString& configDir);

} // namespace telvane
