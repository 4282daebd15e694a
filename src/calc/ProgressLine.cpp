#include "calc/ProgressLine.h"

namespace {

constexpr qint64 quietMilliseconds = 1000;
constexpr qint64 updateMilliseconds = 100;

} // namespace

ProgressLine::ProgressLine(std::FILE* stream, std::function<qint64()> clock)
    : stream(stream)
    , clock(std::move(clock))
{
    timer.start();
}

ProgressLine::~ProgressLine()
{
    end();
}

void ProgressLine::show(const QString& text, bool final)
{
    const qint64 now = clock ? clock() : timer.elapsed();
    if (now < quietMilliseconds || (!final && shown() && now - lastShown < updateMilliseconds) ||
        (final && !shown()))
        return;
    lastShown = now;
    // Blanks wipe what is left of a longer earlier text.
    const QString line = text.leftJustified(width);
    width = text.size();
    std::fputs(("\r" + line).toUtf8().constData(), stream);
    std::fflush(stream);
}

void ProgressLine::end()
{
    if (!shown())
        return;
    std::fputc('\n', stream);
    std::fflush(stream);
    lastShown = -1;
    width = 0;
}
