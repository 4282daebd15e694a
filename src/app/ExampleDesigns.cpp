#include "app/ExampleDesigns.h"

#include "framework/settings/RynSettings.h"
#include "resources/QuorvelResources.h"
#include "studies/design/DesignFile.h"
#include "studies/design/DesignSettings.h"

#include <QFile>

namespace ExampleDesigns {

bool hasStoredInputs(Design::Kind kind, const ryn::RynSettings& settings)
{
    const Design stored = DesignSettings::stored(
        kind, [&settings](int id, int index) { return settings.arrayValue(id, index); });
    for (const InputField& field : stored.inputs.fields()) {
        if (!field.text.trimmed().isEmpty())
            return true;
    }
    return false;
}

bool example(Design::Kind kind, Design* design)
{
    quorvel::initResources();
    QFile file(QStringLiteral(":/examples/%1.json").arg(designs::info(kind).name));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString error;
    return DesignFile::read(file.readAll(), design, &error) && design->kind == kind;
}

} // namespace ExampleDesigns
