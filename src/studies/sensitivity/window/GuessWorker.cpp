#include "studies/sensitivity/window/GuessWorker.h"

namespace {

class AtomicMonitor : public RunMonitor
{
public:
    AtomicMonitor(std::atomic<int>& step, std::atomic<int>& steps, const std::atomic<bool>& cancel)
        : step(step)
        , steps(steps)
        , cancel(cancel)
    {}

    void setTotalSteps(int n) override { steps = n; }
    void setStep(int i) override { step = i; }
    bool isCanceled() const override { return cancel; }
    void error(const QString&) override {}
    void setCanceled(bool) override {}

private:
    std::atomic<int>& step;
    std::atomic<int>& steps;
    const std::atomic<bool>& cancel;
};

} // namespace

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
