#include "studies/design/Design.h"

#include "forms/core/BTPSInputs.h"
#include "forms/core/PairedReleaseInputs.h"
#include "forms/core/SingleReleaseInputs.h"
#include "forms/core/TIRRInputs.h"
#include "forms/core/VWPInputs.h"

namespace designs {

const QList<DesignInfo>& all()
{
    static const QList<DesignInfo> table = {
        {Design::SingleRelease, 1, QStringLiteral("single"), SingleReleaseInputs::title,
         SingleReleaseInputs::minimumReaches, SingleReleaseInputs::fieldTable,
         SingleReleaseInputs::blankInputs, SingleReleaseInputs::applySwitches,
         SingleReleaseInputs::firstIllegal, SingleReleaseInputs::survivalKey,
         SingleReleaseInputs::captureKey, SingleReleaseInputs::survivalChoiceId(),
         SingleReleaseInputs::captureChoiceId()},
        {Design::PairedRelease, 2, QStringLiteral("paired"), PairedReleaseInputs::windowTitle,
         PairedReleaseInputs::minimumReaches, PairedReleaseInputs::fieldTable,
         PairedReleaseInputs::blankInputs, PairedReleaseInputs::applySwitches,
         PairedReleaseInputs::firstIllegal, PairedReleaseInputs::survivalKey,
         PairedReleaseInputs::captureKey, PairedReleaseInputs::survivalChoiceId(),
         PairedReleaseInputs::captureChoiceId()},
        {Design::TIRR, 4, QStringLiteral("tirr"), TIRRInputs::title, 0,
         [](int) { return TIRRInputs::fieldTable(); },
         [](int) { return TIRRInputs::blankInputs(); }, TIRRInputs::applySwitches,
         TIRRInputs::firstIllegal, nullptr, nullptr, 0, 0},
        {Design::BTPS, 8, QStringLiteral("btps"), BTPSInputs::title, 0,
         [](int) { return BTPSInputs::fieldTable(); },
         [](int) { return BTPSInputs::blankInputs(); }, BTPSInputs::applySwitches,
         BTPSInputs::firstIllegal, nullptr, nullptr, 0, 0},
        {Design::VWP, 16, QStringLiteral("vwp"), VWPInputs::title, 0,
         [](int) { return VWPInputs::fieldTable(); }, [](int) { return VWPInputs::blankInputs(); },
         VWPInputs::applySwitches, VWPInputs::firstIllegal, nullptr, nullptr, 0, 0},
    };
    return table;
}

const DesignInfo& info(Design::Kind kind)
{
    return all()[kind];
}

const DesignInfo* named(const QString& name)
{
    for (const DesignInfo& design : all()) {
        if (design.name == name)
            return &design;
    }
    return nullptr;
}

const DesignInfo* ofStudyType(int studyType)
{
    for (const DesignInfo& design : all()) {
        if (design.studyType == studyType)
            return &design;
    }
    return nullptr;
}

QString nameList()
{
    QStringList names;
    for (const DesignInfo& design : all())
        names << design.name;
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") +
           names.last();
}

} // namespace designs
