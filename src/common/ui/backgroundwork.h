#pragma once

#include <functional>

#include <QEventLoop>

namespace ordalvex {

// Runs `work` on a thread of its own and returns when it is done. Meanwhile the calling thread
// keeps handling the events `flags` allow, so windows repaint and timers run during a long pass
// over a big program. `work` must not touch widgets; a QObject it creates for the caller must be
// moved to the calling thread by `work` itself (only the owning thread may move an object).
void runInBackground(const std::function<void()>& work,
                     QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);

} // namespace ordalvex
