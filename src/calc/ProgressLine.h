#pragma once

#include <QElapsedTimer>
#include <QString>

#include <cstdio>
#include <functional>

// One line of progress on a terminal's standard error, rewritten in place:
// silent during the first second, so that quick work prints nothing, then
// updated at most ten times a second. The clock is the time since the line
// was made, in milliseconds, unless a test gives its own.
class ProgressLine
{
public:
    explicit ProgressLine(std::FILE* stream = stderr, std::function<qint64()> clock = nullptr);
    ~ProgressLine();

    // Shows text once a second has passed (always text, once shown, when
    // final), replacing what the line showed before.
    void show(const QString& text, bool final = false);
    // Ends the line, when it was shown, so that later output starts on a new
    // line.
    void end();

    bool shown() const { return lastShown >= 0; }

private:
    std::FILE* stream;
    std::function<qint64()> clock;
    QElapsedTimer timer;
    qint64 lastShown = -1;
    int width = 0;
};
