#pragma once

#include <QString>

namespace ordalvex {

// The program's private folder for its fixed-name temporary files ("Edytor.tmp",
// "Syntax.tmp", "Numer.tmp", "Renum.tmp"), with a trailing "/". Made on first use inside the
// system temporary folder by mkdtemp (owner-only permissions, never through a symbolic link)
// and removed with its contents when the program ends. Empty when it cannot be made.
QString privateTempDir();

} // namespace ordalvex
