#pragma once

#include <QVariant>
#include <QVector>

// The table of this program's settings: every input of the five study forms,
// the per-reach lists, report and plot options, window geometries, the open
// studies and the last directories, each under a fixed id with the key text
// under which it is stored and its default. The key texts keep their historic
// spellings ("enbaled", "replcates") because existing stored values depend on
// them. QtCore only, so that the forms, the studies and a reader without
// widgets share it with the settings store of the program (QVSettings).
class QVSettingsKeys
{
public:
    enum Id {
        BtpsLinkReleases = 1,
        BtpsPa = 2,
        BtpsPd = 3,
        BtpsRc = 4,
        BtpsRt = 5,
        BtpsSc = 6,
        BtpsSt = 7,
        BtpsT = 8,
        BtpsUseSt = 9,
        BtpsUseT = 10,
        GeomSingleRelease = 11,
        GeomPairedRelease = 12,
        GeomBtps = 13,
        GeomTirr = 14,
        GeomVwpr = 15,
        LastDir = 16,
        PlotDataBar = 17,
        PlotOutWidth = 18,
        PlotOutHeight = 19,
        PlotOutLastDir = 20,
        PlotPanning = 21,
        PrecisionEst = 22,
        PrecisionErr = 23,
        ProgramName = 24,
        ProgramVersion = 25,
        PrD = 26,
        PrD1 = 27,
        PrLambda = 28,
        PrLinkReleases = 29,
        PrNumReaches = 30,
        PrP = 31,
        PrP1 = 32,
        PrPi = 33,
        PrR = 34,
        PrRc = 35,
        PrReplicatesEnabled = 36,
        PrReplicateNatVar = 37,
        PrReplicatesNum = 38,
        PrReplicatesPar = 39,
        PrRt = 40,
        PrS = 41,
        PrSc = 42,
        PrSi = 43,
        PrSt = 44,
        ShowRunModeDlg = 45,
        SrLambda = 46,
        SrNumReaches = 47,
        SrD = 48,
        SrP = 49,
        SrPi = 50,
        SrR = 51,
        SrReplicatesEnabled = 52,
        SrReplicateNatVar = 53,
        SrReplicatesNum = 54,
        SrReplicatesPar = 55,
        SrR0 = 56,
        SrS = 57,
        SrSi = 58,
        SampleSizeType = 59,
        StudyWinOpenState = 60,
        TextOutLastDir = 61,
        TirrLinkReleases = 62,
        TirrP = 63,
        TirrRc = 64,
        TirrRt = 65,
        TirrSc = 66,
        TirrT = 67,
        TirrTheta = 68,
        TotalSurvVar = 69,
        VwpS1dam = 70,
        VwpSprime12 = 71,
        VwpS12 = 72,
        VwpP1 = 73,
        VwpP2 = 74,
        VwpV1 = 75,
        VwpR2 = 76,
        VwpR3 = 77,
        VwpLambda = 78,
        VwpLinkAllReleases = 79,
        VwpLinkReleases = 80,
        WindowGeom = 81,
        // Per design, by its study type: the parameter its plot shows.
        PlotParameter = 82,
        // Per design, by its study type: the test whose power the reports and
        // the plot show. The null values as text ("S1=0.8, St=1.05"; empty
        // for the defaults), the level alpha as text, and the sidedness as
        // the index of its choice (0 two-sided, 1 one-sided).
        EffectNullValues = 83,
        EffectAlpha = 84,
        EffectSided = 85,
    };

    // The values a setting may hold. A stored value outside them (a settings
    // file edited by hand, damaged, or written by another version) is not
    // used: the setting reads as its default instead. Text is whatever the
    // forms' fields can show, checked when a design runs; a flag is a bool;
    // a whole number lies in [minimum, maximum] (counts, decimals, combo
    // indices, sizes, the open-windows mask); a number is finite and at least
    // minimum, as the text of its field reads; bytes are a saved window geometry, which the window
    // checks itself.
    struct Rule
    {
        enum Kind { Text, Flag, Whole, Number, Bytes };
        Kind kind = Text;
        double minimum = 0.0;
        double maximum = 0.0;
    };

    // One setting: its id, the key text it is stored under, its default (a
    // null QVariant when it has none) and the values it may hold.
    struct Entry
    {
        int id;
        const char* key;
        QVariant defaultValue;
        Rule rule = {};
    };

    // Every setting of the program, in the order of the ids.
    static const QVector<Entry>& entries();

    // Whether stored is a value rule allows.
    static bool accepts(const Rule& rule, const QVariant& stored);
};
