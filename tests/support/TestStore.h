#pragma once

#include "app/QVSettings.h"
#include "framework/settings/QVSettingsKeys.h"

#include <QList>
#include <QPair>
#include <QString>

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

// The balloon-tag inputs of the calculator's example: Rc = Rt = 1000,
// Sc 0.8, St 0.72 (T 0.9), Pa 0.5, Pd 0.3.
inline void storeBalloonTagExample(TestStore& store)
{
    for (const auto& [id, value] : QList<QPair<int, QString>>{{QVSettingsKeys::BtpsRc, "1000"},
                                                              {QVSettingsKeys::BtpsRt, "1000"},
                                                              {QVSettingsKeys::BtpsSc, "0.8"},
                                                              {QVSettingsKeys::BtpsSt, "0.72"},
                                                              {QVSettingsKeys::BtpsPa, "0.5"},
                                                              {QVSettingsKeys::BtpsPd, "0.3"}})
        store->setValue(id, value);
}

} // namespace quorvel::test
