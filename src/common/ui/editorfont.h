#pragma once

#include <QString>

namespace ordalvex {

// The face the editor shows for the face named in the settings: `face` itself when it is
// installed (whatever its kind: the user chose it); for a missing face the one the system
// substitutes for it when that is fixed-pitch (a metric-compatible face, e.g. for
// "Courier New"), else the system's fixed-pitch font, else any installed fixed-pitch face.
// Programs are columns of addresses, so a missing face never turns into a proportional one.
// An empty name, or a system without any fixed-pitch face, gives `face` unchanged.
QString editorFaceInUse(const QString& face);

} // namespace ordalvex
