#include "app/QVSettings.h"

#include "forms/RangeLineEdit.h"

#include <QCoreApplication>

#include <memory>

namespace {

std::unique_ptr<QVSettings>& storeInstance()
{
    static std::unique_ptr<QVSettings> store;
    return store;
}

void destroyStoreInstance()
{
    storeInstance().reset();
}

} // namespace

QVSettings* QVSettings::instance()
{
    std::unique_ptr<QVSettings>& store = storeInstance();
    if (!store) {
        store = std::make_unique<QVSettings>();
        // Closes the store, and so writes it out, while the application object
        // that names it still exists.
        if (QCoreApplication::instance())
            qAddPostRoutine(destroyStoreInstance);
    }
    return store.get();
}

QVSettings::QVSettings(QObject* parent)
    : RynSettings(parent)
{
    struct Entry
    {
        Id id;
        const char* key;
        QVariant defaultValue;
    };
    const Entry entries[] = {
        {BtpsLinkReleases, "btps_link_releases", false},
        {BtpsPa, "btps_pa", QVariant()},
        {BtpsPd, "btps_pd", QVariant()},
        {BtpsRc, "btps_rc", QVariant()},
        {BtpsRt, "btps_rt", QVariant()},
        {BtpsSc, "btps_sc", QVariant()},
        {BtpsSt, "btps_st", QVariant()},
        {BtpsT, "btps_t", QVariant()},
        {BtpsUseSt, "btps_use_st", true},
        {BtpsUseT, "btps_use_t", false},
        {GeomSingleRelease, "geom_single_release", QVariant()},
        {GeomPairedRelease, "geom_paired_release", QVariant()},
        {GeomBtps, "geom_btps", QVariant()},
        {GeomTirr, "geom_tirr", QVariant()},
        {GeomVwpr, "geom_vwpr", QVariant()},
        {LastDir, "last_dir", QVariant()},
        {PlotDataBar, "plot_data_bar", true},
        {PlotOutWidth, "plot_out_width", 600},
        {PlotOutHeight, "plot_out_height", 400},
        {PlotOutLastDir, "plot_out_last_dir", QVariant()},
        {PlotPanning, "plot_panning", false},
        {PrecisionEst, "precision_est", 3},
        {PrecisionErr, "precision_err", 8},
        {ProgramName, "program_name", QStringLiteral("Quorvel")},
        {ProgramVersion, "program_version", QStringLiteral("2.0.9")},
        {PrD, "pr_d", QVariant()},
        {PrD1, "pr_d1", QVariant()},
        {PrLambda, "pr_lambda", QVariant()},
        {PrLinkReleases, "pr_link_releases", false},
        {PrNumReaches, "pr_num_reaches", QVariant()},
        {PrP, "pr_p", QVariant()},
        {PrP1, "pr_p1", QVariant()},
        {PrPi, "pr_pi", QVariant()},
        {PrR, "pr_r", QVariant()},
        {PrRc, "pr_rc", QVariant()},
        {PrReplicatesEnabled, "pr_replicates_enbaled", QVariant()},
        {PrReplicateNatVar, "pr_replicate_nat_var", 0},
        {PrReplicatesNum, "pr_replicates_num", 1},
        {PrReplicatesPar, "pr_replcates_par", QVariant()},
        {PrRt, "pr_rt", QVariant()},
        {PrS, "pr_s", QVariant()},
        {PrSc, "pr_sc", QVariant()},
        {PrSi, "pr_si", QVariant()},
        {PrSt, "pr_st", QVariant()},
        {ShowRunModeDlg, "show_run_mode_dlg", true},
        {SrLambda, "sr_lambda", QVariant()},
        {SrNumReaches, "sr_num_reaches", 2},
        {SrD, "sr_d", QVariant()},
        {SrP, "sr_p", QVariant()},
        {SrPi, "sr_pi", QVariant()},
        {SrR, "sr_r", QVariant()},
        {SrReplicatesEnabled, "sr_replicates_enbaled", QVariant()},
        {SrReplicateNatVar, "sr_replicate_nat_var", 0},
        {SrReplicatesNum, "sr_replicates_num", 1},
        {SrReplicatesPar, "sr_replcates_par", QVariant()},
        {SrR0, "sr_r0", QVariant()},
        {SrS, "sr_s", QVariant()},
        {SrSi, "sr_si", QVariant()},
        {SampleSizeType, "sample_size_type", 0},
        {StudyWinOpenState, "study_win_open_state", 0},
        {TextOutLastDir, "text_out_last_dir", QVariant()},
        {TirrLinkReleases, "tirr_link_releases", QVariant()},
        {TirrP, "tirr_p", QVariant()},
        {TirrRc, "tirr_rc", QVariant()},
        {TirrRt, "tirr_rt", QVariant()},
        {TirrSc, "tirr_sc", QVariant()},
        {TirrT, "tirr_t", QVariant()},
        {TirrTheta, "tirr_theta", QVariant()},
        {TotalSurvVar, "total_surv_var", false},
        {VwpS1dam, "vwp_s1dam", QVariant()},
        {VwpSprime12, "vwp_sprime12", QVariant()},
        {VwpS12, "vwp_s12", QVariant()},
        {VwpP1, "vwp_p1", QVariant()},
        {VwpP2, "vwp_p2", QVariant()},
        {VwpV1, "vwp_v1", QVariant()},
        {VwpR2, "vwp_r2", QVariant()},
        {VwpR3, "vwp_r3", QVariant()},
        {VwpLambda, "vwp_lambda", QVariant()},
        {VwpLinkAllReleases, "vwp_link_all_releases", QVariant()},
        {VwpLinkReleases, "vwp_link_releases", QVariant()},
        {WindowGeom, "window_geom", QVariant()},
    };
    for (const Entry& entry : entries)
        registerKey(entry.id, QString::fromLatin1(entry.key), entry.defaultValue);
}

void QVSettings::bind(QWidget* w, int mappedId, const QVariant& value, bool disconnectFirst)
{
    auto* field = qobject_cast<RangeLineEdit*>(w);
    if (field && qstrcmp(w->metaObject()->className(), "RangeLineEdit") == 0 &&
        value.toString().contains(QLatin1Char(':'))) {
        // Unmapped first, so that the text cannot be stored under an id the
        // field was bound to before.
        unbindWidget(w);
        field->setText(value.toString());
        // The field may have refused the range (another field holds it); the
        // base binding then keeps what the field shows.
        RynSettings::bind(w, mappedId, field->text(), disconnectFirst);
        return;
    }
    RynSettings::bind(w, mappedId, value, disconnectFirst);
}
