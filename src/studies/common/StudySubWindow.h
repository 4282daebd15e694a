#pragma once

#include "framework/style/RynStyle.h"
#include "studies/common/PrecisionTable.h"
#include "studies/common/ReportTables.h"
#include "studies/design/Design.h"

#include <QMdiSubWindow>
#include <QString>
#include <QStringList>

#include <functional>

class Matrix;
class QTextCursor;
class QTextTable;
class StudyWidget;

namespace ryn {
class RynSettings;
class ThreadRunner;
} // namespace ryn

// The window of one study design in the main window's document area. It holds
// the design's input form, starts the design's run from a copy of the inputs,
// owns that run and its results, and answers the main window after the run:
// how many points there are, what the report says and what the plot draws.
// It is created when the design is first opened and hidden, never deleted,
// when closed.
class StudySubWindow : public QMdiSubWindow, public ryn::RynStyle
{
    Q_OBJECT

public:
    // The designs, by their bit in the open-studies mask.
    enum Type {
        SingleReleaseStudy = 1,
        PairedReleaseStudy = 2,
        TIRRStudy = 4,
        BTPSStudy = 8,
        VWPStudy = 16,
    };

    StudySubWindow(int id, const QString& shortName, const QString& title,
                   ryn::RynSettings* settings, QWidget* parent = nullptr,
                   Qt::WindowFlags flags = {});
    ~StudySubWindow() override;

    // The bits of the designs whose windows are shown, for the whole program.
    static unsigned openStudiesMask();
    static void setOpenStudiesMask(unsigned mask);

    int id() const { return id_; }
    const QString& shortName() const { return shortName_; }
    const QString& title() const { return title_; }
    StudyWidget* studyWidget() const { return studyWidget_; }
    ryn::RynSettings* settings() const { return settings_; }

    // Sets the window's bit in the mask, shows and raises it and gives it focus.
    void showStudy();
    // The form's check of its inputs; false shows why and starts nothing.
    bool validate();

    // Takes a copy of the form's inputs, creates the design's run from it and
    // starts the runner. Answers false, with a box saying why, when the inputs
    // cannot be read (a value out of bounds); nothing is started then.
    virtual bool startRun(ryn::ThreadRunner* runner) = 0;
    // Points computed by the current run; 0 without a run.
    virtual int resultCount() const = 0;
    // The report of the last completed run, at cursor.
    virtual void writeReport(QTextCursor& cursor) = 0;
    // The same report in pieces, for a window that writes a few at a time
    // and answers its user in between; one piece by default.
    virtual QList<ReportPiece> reportPieces();
    // Precision of every quantity at every point of the last completed run.
    virtual PrecisionTable precisionTable() const = 0;
    // The plot's curve names and table (column 0 the ranged value, column k + 1
    // the variance of names[k]); left as they are without a run.
    virtual void getPlotData(QStringList& names, Matrix& data) const;
    // The quantity the plot shows until the user chooses another: the first
    // of the plot's names when empty, as by default.
    virtual QString defaultPlotParameter() const { return QString(); }
    // The test whose power the last run's report and plot show, as the
    // settings held it when the run started.
    const EffectTest& runEffect() const { return runEffect_; }
    // The stored number formats of the reports, with the last run's test.
    ReportOptions reportOptions() const;
    // The ranged input's name in the last run's inputs; empty without a range.
    QString rangeLabel() const;

    // The design the form of one of the five design windows shows, with the
    // options of the settings: what a design file of this window holds.
    Design design() const;
    // The design's options as the settings hold them now.
    DesignOptions storedOptions() const;
    // Shows design in the form as if the user had entered it and stores its
    // options, as opening a design file does. A design of another kind, or
    // one the form cannot take, changes nothing: false.
    bool loadDesign(const Design& design);

    // Installs the form as the window's widget and relays its error and status.
    virtual void setStudyWidget(StudyWidget* form);

    // A report table at cursor in this window's formats.
    QTextTable* insertTable(QTextCursor& cursor, int rows, int columns, bool headerRow,
                            bool headerColumn) const;

signals:
    void windowClosing(int id);
    void error(QString msg);
    void status(QString msg);

protected:
    void closeEvent(QCloseEvent* event) override;

    // Runs take, which reads the form's inputs into a run's record; a read that
    // fails (the QString of an out-of-range value, or a refused input) is shown
    // in a critical box titled with the design's title, and false returned.
    // The stored test of the effect is taken with the inputs; one that cannot
    // be made is refused the same way, before take.
    bool takeInputs(const std::function<void()>& take);

private:
    ryn::RynSettings* settings_;
    StudyWidget* studyWidget_ = nullptr;
    int id_;
    QString shortName_;
    QString title_;
    EffectTest runEffect_;
};
