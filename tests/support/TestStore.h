#pragma once

#include "app/QVSettings.h"

namespace quorvel::test {

// A settings store for one test: the program's own store, emptied of whatever
// an earlier test of the same executable left in the private settings folder,
// with every default stored again.
class TestStore
{
public:
    TestStore() { settings.removeStoredValues(true); }

    QVSettings* get() { return &settings; }
    QVSettings* operator->() { return &settings; }

private:
    QVSettings settings;
};

} // namespace quorvel::test
