#pragma once

#include <QString>

namespace ryn {

// How a file named as an output is written. A regular file, or a path where
// nothing is yet, is replaced through a temporary file beside it, so that it
// holds the old content or the new one whole. A FIFO or a character device
// (a terminal, /dev/null) cannot be replaced without losing what it is: it
// is written directly, as a reader waiting on it expects. Anything else (a
// folder, a socket, a block device) is refused, with the reason.
struct OutputPath
{
    enum Kind { Replaced, Direct, Refused };

    static Kind kindOf(const QString& path, QString* reason = nullptr);

    // Whether writing to output would replace the file input (the same file
    // after links are followed, or a hard link to it). False when either is
    // missing.
    static bool replaces(const QString& output, const QString& input);
};

} // namespace ryn
