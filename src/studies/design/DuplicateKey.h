#pragma once

#include <QByteArray>
#include <QString>

// A JSON reader keeps the last of two members with one name in an object and
// drops the first without a word; a design file that names its design twice
// would then become the other design. This finds such a key in a text that
// has already been read as valid JSON.
struct DuplicateKey
{
    // The key as decoded, and the byte offset of its second occurrence; an
    // offset of -1 when every object's keys are distinct.
    QString key;
    int offset = -1;

    static DuplicateKey firstIn(const QByteArray& json);
};
