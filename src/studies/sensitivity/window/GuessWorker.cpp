#include "studies/sensitivity/window/GuessWorker.h"

#include "studies/common/AtomicMonitor.h"

GuessWorker::GuessWorker(QObject* parent)
    : QObject(parent)
{}

GuessWorker::~GuessWorker()
{
    if (thread != nullptr) {
        cancel = true;
        thread->wait();
        delete thread;
    }
}

bool GuessWorker::start(const std::function<void(RunMonitor& monitor)>& work)
{
    if (thread != nullptr)
        return false;
    cancel = false;
    step_ = 0;
    steps_ = 0;
    thread = QThread::create([this, work] {
        AtomicMonitor monitor(step_, steps_, cancel);
        work(monitor);
    });
    connect(thread, &QThread::finished, this, [this] {
        thread->deleteLater();
        thread = nullptr;
        emit finished();
    });
    thread->start();
    return true;
}
