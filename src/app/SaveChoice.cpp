#include "app/SaveChoice.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

// The extensions a filter names, in its order, without "*.": "html" and "htm"
// of "HTML (*.html *.htm)".
QStringList extensionsOf(const QString& filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    QStringList extensions;
    for (auto it = pattern.globalMatch(filter); it.hasNext();)
        extensions << it.next().captured(1).toLower();
    return extensions;
}

} // namespace

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
