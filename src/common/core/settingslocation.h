#pragma once

#include <QString>

namespace ordalvex {

// Full path of the settings file "Ordalvex.INI": the path in the environment variable
// ORDALVEX_INI when set; otherwise the folder of the program's executable when that folder is
// writable (a portable copy); otherwise the user's configuration folder (an installed
// program), which is created when missing.
QString settingsFilePath();

// Folder of the settings file, without a trailing "/" (home of "Default.cfg").
QString settingsFolder();

} // namespace ordalvex
