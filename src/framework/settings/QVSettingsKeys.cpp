#include "framework/settings/QVSettingsKeys.h"

#include <QRegularExpression>
#include <QString>

#include <cmath>

namespace {

using Rule = QVSettingsKeys::Rule;

constexpr Rule flag = {Rule::Flag};
constexpr Rule bytes = {Rule::Bytes};

constexpr Rule whole(double minimum, double maximum)
{
    return {Rule::Whole, minimum, maximum};
}

constexpr Rule number(double minimum)
{
    return {Rule::Number, minimum, 0.0};
}

// Longer than anything a field of a form holds: a pasted text, not an input.
constexpr int longestText = 10000;

bool isText(const QVariant& stored)
{
    switch (stored.userType()) {
    case QMetaType::QString:
        return stored.toString().size() <= longestText;
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

} // namespace

// Values are read as a settings file holds them, as text: "true", "3",
// "0.001"; a value stored in this session keeps its own type.
bool QVSettingsKeys::accepts(const Rule& rule, const QVariant& stored)
{
    if (!isText(stored) &&
        !(rule.kind == Rule::Bytes && stored.userType() == QMetaType::QByteArray))
        return false;
    const QString text = stored.toString().trimmed();
    bool ok = false;
    switch (rule.kind) {
    case Rule::Text:
    case Rule::Bytes:
        return true;
    case Rule::Flag:
        return stored.userType() == QMetaType::Bool || text == QLatin1String("true") ||
               text == QLatin1String("false") || text == QLatin1String("0") ||
               text == QLatin1String("1");
    case Rule::Whole: {
        const qlonglong value = text.toLongLong(&ok);
        return ok && value >= rule.minimum && value <= rule.maximum;
    }
    case Rule::Number: {
        // The field also stores what its keys make of a number while it is
        // typed ("", "0.", "0.10.2"), and an older version a range
        // ("0.1:0.2"), which the field cuts to its first value.
        static const QRegularExpression typed(QStringLiteral("^[0-9.:]*$"));
        const double value = text.toDouble(&ok);
        return (ok || typed.match(text).hasMatch()) && std::isfinite(value) &&
               value >= rule.minimum;
    }
    }
    return false;
}

const QVector<QVSettingsKeys::Entry>& QVSettingsKeys::entries()
{
    static const QVector<Entry> table = {
        {BtpsLinkReleases, "btps_link_releases", false, flag},
        {BtpsPa, "btps_pa", QVariant()},
        {BtpsPd, "btps_pd", QVariant()},
        {BtpsRc, "btps_rc", QVariant()},
        {BtpsRt, "btps_rt", QVariant()},
        {BtpsSc, "btps_sc", QVariant()},
        {BtpsSt, "btps_st", QVariant()},
        {BtpsT, "btps_t", QVariant()},
        {BtpsUseSt, "btps_use_st", true, flag},
        {BtpsUseT, "btps_use_t", false, flag},
        {GeomSingleRelease, "geom_single_release", QVariant(), bytes},
        {GeomPairedRelease, "geom_paired_release", QVariant(), bytes},
        {GeomBtps, "geom_btps", QVariant(), bytes},
        {GeomTirr, "geom_tirr", QVariant(), bytes},
        {GeomVwpr, "geom_vwpr", QVariant(), bytes},
        {LastDir, "last_dir", QVariant()},
        {PlotDataBar, "plot_data_bar", true, flag},
        {PlotOutWidth, "plot_out_width", 600, whole(16, 8192)},
        {PlotOutHeight, "plot_out_height", 400, whole(16, 8192)},
        {PlotOutLastDir, "plot_out_last_dir", QVariant()},
        {PlotPanning, "plot_panning", false, flag},
        {PrecisionEst, "precision_est", 3, whole(0, 17)},
        {PrecisionErr, "precision_err", 8, whole(0, 17)},
        {ProgramName, "program_name", QStringLiteral("Quorvel")},
        {ProgramVersion, "program_version", QStringLiteral("2.0.9")},
        {PrD, "pr_d", QVariant()},
        {PrD1, "pr_d1", QVariant()},
        {PrLambda, "pr_lambda", QVariant()},
        {PrLinkReleases, "pr_link_releases", false, flag},
        {PrNumReaches, "pr_num_reaches", QVariant(), whole(1, 99)},
        {PrP, "pr_p", QVariant()},
        {PrP1, "pr_p1", QVariant()},
        {PrPi, "pr_pi", QVariant(), whole(0, 98)},
        {PrR, "pr_r", QVariant()},
        {PrRc, "pr_rc", QVariant()},
        {PrReplicatesEnabled, "pr_replicates_enbaled", QVariant(), flag},
        {PrReplicateNatVar, "pr_replicate_nat_var", 0, number(0)},
        {PrReplicatesNum, "pr_replicates_num", 1, whole(1, 99)},
        {PrReplicatesPar, "pr_replcates_par", QVariant()},
        {PrRt, "pr_rt", QVariant()},
        {PrS, "pr_s", QVariant()},
        {PrSc, "pr_sc", QVariant()},
        {PrSi, "pr_si", QVariant(), whole(0, 98)},
        {PrSt, "pr_st", QVariant()},
        {ShowRunModeDlg, "show_run_mode_dlg", true, flag},
        {SrLambda, "sr_lambda", QVariant()},
        {SrNumReaches, "sr_num_reaches", 2, whole(2, 99)},
        {SrD, "sr_d", QVariant()},
        {SrP, "sr_p", QVariant()},
        {SrPi, "sr_pi", QVariant(), whole(0, 98)},
        {SrR, "sr_r", QVariant()},
        {SrReplicatesEnabled, "sr_replicates_enbaled", QVariant(), flag},
        {SrReplicateNatVar, "sr_replicate_nat_var", 0, number(0)},
        {SrReplicatesNum, "sr_replicates_num", 1, whole(1, 99)},
        {SrReplicatesPar, "sr_replcates_par", QVariant()},
        {SrR0, "sr_r0", QVariant()},
        {SrS, "sr_s", QVariant()},
        {SrSi, "sr_si", QVariant(), whole(0, 98)},
        {SampleSizeType, "sample_size_type", 0, whole(0, 1)},
        {StudyWinOpenState, "study_win_open_state", 0, whole(0, 31)},
        {TextOutLastDir, "text_out_last_dir", QVariant()},
        {TirrLinkReleases, "tirr_link_releases", QVariant(), flag},
        {TirrP, "tirr_p", QVariant()},
        {TirrRc, "tirr_rc", QVariant()},
        {TirrRt, "tirr_rt", QVariant()},
        {TirrSc, "tirr_sc", QVariant()},
        {TirrT, "tirr_t", QVariant()},
        {TirrTheta, "tirr_theta", QVariant()},
        {TotalSurvVar, "total_surv_var", false, flag},
        {VwpS1dam, "vwp_s1dam", QVariant()},
        {VwpSprime12, "vwp_sprime12", QVariant()},
        {VwpS12, "vwp_s12", QVariant()},
        {VwpP1, "vwp_p1", QVariant()},
        {VwpP2, "vwp_p2", QVariant()},
        {VwpV1, "vwp_v1", QVariant()},
        {VwpR2, "vwp_r2", QVariant()},
        {VwpR3, "vwp_r3", QVariant()},
        {VwpLambda, "vwp_lambda", QVariant()},
        {VwpLinkAllReleases, "vwp_link_all_releases", QVariant(), flag},
        {VwpLinkReleases, "vwp_link_releases", QVariant(), flag},
        {WindowGeom, "window_geom", QVariant(), bytes},
        {PlotParameter, "plot_parameter", QVariant()},
        {EffectNullValues, "effect_null_values", QString()},
        {EffectAlpha, "effect_alpha", QStringLiteral("0.05")},
        {EffectSided, "effect_sided", 0, whole(0, 1)},
    };
    return table;
}
