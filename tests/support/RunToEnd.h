#pragma once

#include "framework/run/ThreadRunner.h"
#include "studies/common/StudySubWindow.h"

#include <QSignalSpy>

namespace quorvel::test {

// Starts the window's run on the runner and waits for its end; true when the
// run was started and completed.
inline bool runToEnd(StudySubWindow& window, ryn::ThreadRunner& runner)
{
    QSignalSpy complete(&runner, &ryn::ThreadRunner::runComplete);
    if (!window.startRun(&runner))
        return false;
    runner.wait();
    return complete.count() == 1;
}

} // namespace quorvel::test
