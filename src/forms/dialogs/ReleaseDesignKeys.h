#pragma once

#include "framework/settings/QVSettingsKeys.h"

// The settings that the reach count and run mode dialogs keep for each of the
// two release-recapture designs, so that each design keeps its own reach count
// and replicate options. The designs are named by their study type, their bit
// in the open-studies mask.
struct ReleaseDesignKeys
{
    static constexpr int SingleRelease = 1;
    static constexpr int PairedRelease = 2;

    int numReaches;
    // The single release counts its final reach, so it needs two reaches; the
    // paired release's release panel already holds its first reach.
    int minReaches;
    int replicatesEnabled;
    int replicatesNum;
    int naturalVariance;
    int replicateParameter;

    // The keys of the design of studyType; null for the other designs.
    static const ReleaseDesignKeys* of(int studyType)
    {
        static const ReleaseDesignKeys single{
            QVSettingsKeys::SrNumReaches,        2,
            QVSettingsKeys::SrReplicatesEnabled, QVSettingsKeys::SrReplicatesNum,
            QVSettingsKeys::SrReplicateNatVar,   QVSettingsKeys::SrReplicatesPar};
        static const ReleaseDesignKeys paired{
            QVSettingsKeys::PrNumReaches,        1,
            QVSettingsKeys::PrReplicatesEnabled, QVSettingsKeys::PrReplicatesNum,
            QVSettingsKeys::PrReplicateNatVar,   QVSettingsKeys::PrReplicatesPar};
        switch (studyType) {
        case SingleRelease:
            return &single;
        case PairedRelease:
            return &paired;
        default:
            return nullptr;
        }
    }
};
