#include "studies/common/StudySubWindow.h"

#include "forms/StudyWidget.h"
#include "framework/settings/RynSettings.h"
#include "numerics/Matrix.h"
#include "studies/common/ReportTables.h"
#include "studies/design/DesignSettings.h"

#include <QCloseEvent>
#include <QIcon>
#include <QMessageBox>

#include <exception>

namespace {

unsigned openStudies = 0;

} // namespace

StudySubWindow::StudySubWindow(int id, const QString& shortName, const QString& title,
                               ryn::RynSettings* settings, QWidget* parent, Qt::WindowFlags flags)
    : QMdiSubWindow(parent, flags)
    , settings_(settings)
    , id_(id)
    , shortName_(shortName)
    , title_(title)
{
    setWindowIcon(QIcon(QStringLiteral(":/images/Quorvel.png")));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(title);
}

StudySubWindow::~StudySubWindow() = default;

unsigned StudySubWindow::openStudiesMask()
{
    return openStudies;
}

void StudySubWindow::setOpenStudiesMask(unsigned mask)
{
    openStudies = mask;
}

void StudySubWindow::showStudy()
{
    openStudies |= static_cast<unsigned>(id_);
    show();
    raise();
    if (studyWidget_)
        studyWidget_->show();
    setFocus();
}

bool StudySubWindow::validate()
{
    return studyWidget_ && studyWidget_->validate();
}

void StudySubWindow::getPlotData(QStringList& names, Matrix& data) const
{
    if (resultCount() == 0)
        return;
    const PrecisionTable table = precisionTable();
    names = table.names;
    data = table.plotData();
}

QList<ReportPiece> StudySubWindow::reportPieces()
{
    return {[this](QTextCursor& cursor) { writeReport(cursor); }};
}

ReportOptions StudySubWindow::reportOptions() const
{
    ReportOptions options = ReportOptions::fromSettings(*settings_);
    options.power = runEffect_;
    return options;
}

QString StudySubWindow::rangeLabel() const
{
    return resultCount() == 0 ? QString() : precisionTable().xName;
}

Design StudySubWindow::design() const
{
    Design shown;
    shown.kind = designs::ofStudyType(id_)->kind;
    shown.inputs = studyWidget_->inputs();
    shown.options = storedOptions();
    return shown;
}

DesignOptions StudySubWindow::storedOptions() const
{
    const ryn::RynSettings* store = settings_;
    return DesignSettings::storedOptions(
        designs::ofStudyType(id_)->kind,
        [store](int id, int index) { return store->arrayValue(id, index); });
}

bool StudySubWindow::loadDesign(const Design& design)
{
    if (designs::info(design.kind).studyType != id_ || !studyWidget_->loadInputs(design.inputs))
        return false;
    for (const DesignSettings::OptionSetting& option :
         DesignSettings::optionSettings(design.kind, design.options))
        settings_->setArrayValue(option.id, option.index, option.value);
    return true;
}

void StudySubWindow::setStudyWidget(StudyWidget* form)
{
    studyWidget_ = form;
    setWidget(form);
    connect(form, &StudyWidget::status, this, &StudySubWindow::status);
    connect(form, &StudyWidget::error, this, &StudySubWindow::error);
}

QTextTable* StudySubWindow::insertTable(QTextCursor& cursor, int rows, int columns, bool headerRow,
                                        bool headerColumn) const
{
    return insertReportTable(cursor, *this, rows, columns, headerRow, headerColumn);
}

void StudySubWindow::closeEvent(QCloseEvent* event)
{
    openStudies &= ~static_cast<unsigned>(id_);
    event->ignore();
    hide();
    emit windowClosing(id_);
}

bool StudySubWindow::takeInputs(const std::function<void()>& take)
{
    const EffectTest effect = storedOptions().effect;
    QString failure = effect.error();
    if (!failure.isNull()) {
        QMessageBox::critical(this, title_,
                              tr("The test of the effect cannot be made: %1. Mend it in the "
                                 "Effect Test panel.")
                                  .arg(failure),
                              QMessageBox::Ok);
        return false;
    }
    try {
        take();
        runEffect_ = effect;
        return true;
    } catch (const QString& message) {
        failure = message;
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }
    QMessageBox::critical(this, title_, failure, QMessageBox::Ok);
    return false;
}
