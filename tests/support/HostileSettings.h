#pragma once

#include "framework/settings/QVSettingsKeys.h"

#include <QSettings>
#include <QStringList>

namespace quorvel::test {

// Fills the user's settings as a damaged or hand-edited settings file would:
// every key of the program, and two elements of every per-reach list, hold
// a value their setting refuses (a number far too large, a negative one,
// "nan", an empty text where a count or flag belongs, a list where one value
// belongs, a text longer than any field). Answers the keys written, as the
// store names them.
inline QStringList storeHostileSettings()
{
    using Rule = QVSettingsKeys::Rule;
    const QVariant list = QStringList{QStringLiteral("a"), QStringLiteral("b")};
    const QVariant longText = QString(20000, QLatin1Char('9'));
    const QMap<Rule::Kind, QList<QVariant>> hostile = {
        {Rule::Text, {list, longText}},
        {Rule::Flag,
         {QStringLiteral("2147483647"), QStringLiteral("-1"), QStringLiteral("nan"),
          QString(QLatin1String("")), list}},
        {Rule::Whole,
         {QStringLiteral("2147483647"), QStringLiteral("-5"), QStringLiteral("nan"),
          QString(QLatin1String("")), list, QStringLiteral("1e9")}},
        {Rule::Number,
         {QStringLiteral("1e999"), QStringLiteral("-1"), QStringLiteral("nan"),
          QStringLiteral("abc"), list}},
        {Rule::Bytes, {list}},
    };
    const QStringList perReach = {"sr_d", "sr_p", "sr_pi", "sr_r", "sr_s", "sr_si",
                                  "pr_d", "pr_p", "pr_pi", "pr_r", "pr_s", "pr_si"};
    QSettings settings;
    settings.clear();
    QStringList written;
    int turn = 0;
    for (const QVSettingsKeys::Entry& entry : QVSettingsKeys::entries()) {
        const QString key = QString::fromLatin1(entry.key);
        const QList<QVariant>& values = hostile[entry.rule.kind];
        const QStringList names = perReach.contains(key) ? QStringList{key + QStringLiteral("/0"),
                                                                       key + QStringLiteral("/5")}
                                                         : QStringList{key};
        for (const QString& name : names) {
            settings.setValue(name, values[turn++ % values.size()]);
            written << name;
        }
    }
    settings.sync();
    return written;
}

} // namespace quorvel::test
