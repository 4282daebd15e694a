#pragma once

#include <QByteArray>
#include <QString>

// Standard output and standard error of quorvel-calc, where a write that
// fails is a failure of the run: a full disk or a closed pipe must not pass
// for a result delivered. Every write, the flushes and the close of
// standard output are checked; the first failure is told once on standard
// error (when that still works) and turns a successful exit into status 1.
class ConsoleOutput
{
public:
    // Writes text whole to standard output and flushes it; false when it
    // could not.
    static bool write(const QByteArray& text);
    // One line "quorvel-calc: message" on standard error.
    static void complain(const QString& message);
    // Flushes and closes standard output and flushes standard error, after
    // the last write of the run: answers status, or ExitStatus::failed when
    // status was a success and a write to either stream failed.
    static int finish(int status);
    // Ends the program at once with status, standard error flushed, while
    // a worker thread is still busy: no destructor runs, and nothing more is
    // written to standard output.
    [[noreturn]] static void abandon(int status);
};
