#include "common/ui/backgroundwork.h"

#include <memory>

#include <QThread>

namespace ordalvex {

void runInBackground(const std::function<void()>& work, QEventLoop::ProcessEventsFlags flags) {
    QEventLoop loop;
    const std::unique_ptr<QThread> worker(QThread::create(work));
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    // A worker that ends before the loop starts has already queued its quit for the loop.
    loop.exec(flags);
    worker->wait();
}

} // namespace ordalvex
