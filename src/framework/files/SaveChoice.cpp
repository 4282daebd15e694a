#include "framework/files/SaveChoice.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace ryn {

QStringList SaveChoice::extensionsOf(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    QStringList extensions;
    for (auto it = pattern.globalMatch(filter); it.hasNext();)
        extensions << it.next().captured(1).toLower();
    return extensions;
}

QString SaveChoice::proposal(const QString& baseName, const QString& filter)
{
    const QStringList extensions = extensionsOf(filter);
    return extensions.isEmpty() ? baseName : baseName + QLatin1Char('.') + extensions.first();
}

QString SaveChoice::fileNameOf(const QString& title)
{
    static const QRegularExpression others(QStringLiteral("[^a-z0-9]+"));
    QString name = title.toLower();
    name.replace(others, QStringLiteral("-"));
    while (name.startsWith(QLatin1Char('-')))
        name.remove(0, 1);
    while (name.endsWith(QLatin1Char('-')))
        name.chop(1);
    return name;
}

SaveChoice SaveChoice::of(const QString& path, const QStringList& filters,
                          const QString& chosenFilter)
{
    SaveChoice choice{path, std::max(0, static_cast<int>(filters.indexOf(chosenFilter)))};
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!suffix.isEmpty()) {
        if (extensionsOf(filters.value(choice.type)).contains(suffix))
            return choice;
        for (int i = 0; i < filters.size(); ++i) {
            if (extensionsOf(filters[i]).contains(suffix)) {
                choice.type = i;
                break;
            }
        }
        return choice;
    }
    const QStringList extensions = extensionsOf(filters.value(choice.type));
    if (!extensions.isEmpty()) {
        if (!choice.path.endsWith(QLatin1Char('.')))
            choice.path += QLatin1Char('.');
        choice.path += extensions.first();
    }
    return choice;
}

} // namespace ryn
