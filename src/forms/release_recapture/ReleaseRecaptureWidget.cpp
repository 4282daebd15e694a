#include "forms/release_recapture/ReleaseRecaptureWidget.h"

#include "forms/core/ReleaseRecaptureInputs.h"
#include "forms/range/RangeLineEdit.h"
#include "framework/settings/RynSettings.h"

#include <QComboBox>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QSet>
#include <QSignalMapper>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>
#include <utility>

ReleaseRecaptureWidget::ReleaseRecaptureWidget(ryn::RynSettings* settings, QWidget* parent)
    : StudyWidget(settings, parent)
    , strip(new QWidget)
    , survivalComboMapper(new QSignalMapper(this))
    , survivalEditMapper(new QSignalMapper(this))
    , captureComboMapper(new QSignalMapper(this))
    , captureEditMapper(new QSignalMapper(this))
    , fills(new QUndoStack(this))
{
    QPalette white = strip->palette();
    white.setColor(QPalette::Window, QColor(255, 255, 255));
    strip->setPalette(white);
    strip->setAutoFillBackground(true);
    setWidget(strip);

    connect(survivalComboMapper, &QSignalMapper::mappedInt, this,
            &ReleaseRecaptureWidget::onSurvivalComboChanged);
    connect(survivalEditMapper, &QSignalMapper::mappedInt, this,
            &ReleaseRecaptureWidget::onSurvivalEditChanged);
    connect(captureComboMapper, &QSignalMapper::mappedInt, this,
            &ReleaseRecaptureWidget::onCaptureComboChanged);
    connect(captureEditMapper, &QSignalMapper::mappedInt, this,
            &ReleaseRecaptureWidget::onCaptureEditChanged);
}

ReleaseRecaptureWidget::~ReleaseRecaptureWidget() = default;

namespace {

// One "Fill reaches": the texts it replaced and those it wrote, field by field.
// Undo and redo put them back through the fields' range-aware setText, so the
// settings store and the reaches that share a parameter follow.
class FillCommand : public QUndoCommand
{
public:
    struct Change
    {
        QPointer<RangeLineEdit> field;
        QString before;
        QString after;
    };

    FillCommand(const ReachFill& fill, QList<Change> changes)
        : changes(std::move(changes))
    {
        setText(QObject::tr("Fill reaches %1 to %2").arg(fill.from).arg(fill.to));
    }

    void redo() override { apply(&Change::after); }
    void undo() override { apply(&Change::before); }

private:
    void apply(QString Change::*text)
    {
        for (const Change& change : changes) {
            if (change.field)
                change.field->setText(change.*text);
        }
    }

    QList<Change> changes;
};

} // namespace

void ReleaseRecaptureWidget::fillReaches(const ReachFill& fill)
{
    const QStringList texts = {fill.survival, fill.detection, fill.removal};
    QList<FillCommand::Change> changes;
    const int from = std::max(fill.from - firstPanelReach(), 0);
    const int to = std::min(fill.to - firstPanelReach(), int(reachPanels.size()) - 1);
    for (int k = from; k <= to; ++k) {
        for (int f = 0; f < texts.size(); ++f) {
            RangeLineEdit* field = reachPanels[k].fields[f];
            if (!texts[f].isEmpty() && !field->testAttribute(Qt::WA_ForceDisabled) &&
                field->text() != texts[f])
                changes.append({field, field->text(), texts[f]});
        }
    }
    if (!changes.isEmpty())
        fills->push(new FillCommand(fill, changes));
}

void ReleaseRecaptureWidget::setEndPanels(QWidget* release, QWidget* final)
{
    releasePanel = release;
    finalPanel = final;
    layoutPanels();
}

void ReleaseRecaptureWidget::setNumReaches(int n)
{
    if (n < minimumReaches())
        return;
    while (reachPanels.size() < n - 1)
        addReachPanel(reachPanels.size());
    while (reachPanels.size() > n - 1)
        removeLastReachPanel();
    layoutPanels();
    emit parameterNamesChanged();
}

StudyInputs ReleaseRecaptureWidget::inputs() const
{
    StudyInputs taken = StudyWidget::inputs();
    taken.reaches = numReaches();
    QVector<int> survival;
    QVector<int> capture;
    for (const ReachPanel& panel : reachPanels) {
        survival.append(panel.survivalCombo->currentIndex());
        capture.append(panel.captureCombo->currentIndex());
    }
    taken.choices[ReleaseRecaptureInputs::survivalOwner] = survival;
    taken.choices[ReleaseRecaptureInputs::captureOwner] = capture;
    return taken;
}

// The range is let go before every step that may disable a field: a panel
// added, or one taking its own parameter again, loads its stored texts, one
// of which may take the range.
bool ReleaseRecaptureWidget::loadInputs(const StudyInputs& inputs)
{
    if (inputs.reaches < minimumReaches() ||
        inputs.reaches > ReleaseRecaptureInputs::maximumReaches)
        return false;
    const QList<FieldSpec> table = fieldTable(inputs.reaches);
    if (inputs.fields().size() != table.size())
        return false;
    for (const FieldSpec& row : table) {
        if (!inputs.hasField(row.key))
            return false;
    }

    releaseRange();
    loadSwitches(inputs);
    setNumReaches(inputs.reaches);
    settings()->setValue(numReachesId(), inputs.reaches);
    releaseRange();
    QSet<QString> shared;
    for (int k = 0; k < reachPanels.size(); ++k) {
        const ReachPanel& panel = reachPanels[k];
        const QList<FieldSpec> fields = reachFields(k);
        const int survival =
            ReleaseRecaptureInputs::choiceOf(inputs, ReleaseRecaptureInputs::survivalOwner, k);
        const int capture =
            ReleaseRecaptureInputs::choiceOf(inputs, ReleaseRecaptureInputs::captureOwner, k);
        panel.survivalCombo->setCurrentIndex(survival);
        panel.captureCombo->setCurrentIndex(capture);
        if (survival != k)
            shared.insert(fields[0].key);
        if (capture != k)
            shared.insert(fields[1].key);
    }
    releaseRange();
    loadTexts(inputs, [&shared](const QString& key) { return shared.contains(key); });
    return true;
}

void ReleaseRecaptureWidget::displayWarning(QString msg)
{
    QMessageBox::warning(this, QStringLiteral("Quorvel"), msg, QMessageBox::Ok);
}

void ReleaseRecaptureWidget::onSurvivalComboChanged(int k)
{
    if (k >= reachPanels.size())
        return;
    const ReachPanel& panel = reachPanels[k];
    syncParameter(k, panel.survivalCombo, panel.survivalEdit, reachFields(k)[0].settingsId);
    mirrorShared(k + 1, &ReachPanel::survivalCombo, &ReachPanel::survivalEdit);
    emit parameterNamesChanged();
}

void ReleaseRecaptureWidget::onSurvivalEditChanged(int k)
{
    mirrorEdit(k, &ReachPanel::survivalCombo, &ReachPanel::survivalEdit);
}

void ReleaseRecaptureWidget::onCaptureComboChanged(int k)
{
    if (k >= reachPanels.size())
        return;
    const ReachPanel& panel = reachPanels[k];
    syncParameter(k, panel.captureCombo, panel.captureEdit, reachFields(k)[1].settingsId);
    mirrorShared(k + 1, &ReachPanel::captureCombo, &ReachPanel::captureEdit);
    emit parameterNamesChanged();
}

void ReleaseRecaptureWidget::onCaptureEditChanged(int k)
{
    mirrorEdit(k, &ReachPanel::captureCombo, &ReachPanel::captureEdit);
}

int ReleaseRecaptureWidget::chainWidth() const
{
    int width = releasePanel->width() + finalPanel->width();
    for (const ReachPanel& panel : reachPanels)
        width += panel.widget->width();
    return width;
}

int ReleaseRecaptureWidget::chainHeight() const
{
    int height = std::max(releasePanel->height(), finalPanel->height());
    for (const ReachPanel& panel : reachPanels)
        height = std::max(height, panel.widget->height());
    return height;
}

// Showing the owner's value is no edit of the reach's own: the field is
// unbound before its text changes, so its entry keeps the reach's own value.
// A range the field held is released first (with the field's box), which
// stores the range's start as the reach's own value.
void ReleaseRecaptureWidget::syncParameter(int k, QComboBox* combo, RangeLineEdit* field, int key)
{
    const int j = combo->currentIndex();
    if (j < 0 || j >= k) {
        field->setRangeEnabled(true);
        settings()->bindArrayWidget(field, key, k, false);
        return;
    }
    field->setRangeEnabled(false);
    settings()->unbindWidget(field);
    const bool survival = combo == reachPanels[k].survivalCombo;
    const int owner = ownerOf(k, survival ? &ReachPanel::survivalCombo : &ReachPanel::captureCombo);
    const RangeLineEdit* ownerField =
        survival ? reachPanels[owner].survivalEdit : reachPanels[owner].captureEdit;
    field->QLineEdit::setText(ownerField->text());
}

void ReleaseRecaptureWidget::addReachPanel(int k)
{
    ReachPanel panel = createReachPanel(k);
    const QList<FieldSpec> specs = reachFields(k);
    for (int f = 0; f < specs.size(); ++f)
        registerField(panel.fields[f], specs[f]);
    bindChoice(panel.survivalCombo, survivalChoiceId(), k);
    bindChoice(panel.captureCombo, captureChoiceId(), k);
    applyHelp(panel.survivalCombo, QStringLiteral("survivalChoice"));
    applyHelp(panel.captureCombo, QStringLiteral("captureChoice"));
    reachPanels.append(panel);

    syncParameter(k, panel.survivalCombo, panel.survivalEdit, specs[0].settingsId);
    syncParameter(k, panel.captureCombo, panel.captureEdit, specs[1].settingsId);
    takePreviousValues(k);

    const auto map = qOverload<>(&QSignalMapper::map);
    survivalComboMapper->setMapping(panel.survivalCombo, k);
    survivalEditMapper->setMapping(panel.survivalEdit, k);
    captureComboMapper->setMapping(panel.captureCombo, k);
    captureEditMapper->setMapping(panel.captureEdit, k);
    connect(panel.survivalCombo, qOverload<int>(&QComboBox::currentIndexChanged),
            survivalComboMapper, map);
    connect(panel.survivalEdit, &QLineEdit::textChanged, survivalEditMapper, map);
    connect(panel.captureCombo, qOverload<int>(&QComboBox::currentIndexChanged), captureComboMapper,
            map);
    connect(panel.captureEdit, &QLineEdit::textChanged, captureEditMapper, map);
}

// A range is not copied: the new field takes the range's start.
void ReleaseRecaptureWidget::takePreviousValues(int k)
{
    if (k == 0)
        return;
    const ReachPanel& previous = reachPanels[k - 1];
    const ReachPanel& panel = reachPanels[k];
    for (int f = 0; f < panel.fields.size(); ++f) {
        RangeLineEdit* field = panel.fields[f];
        const RangeLineEdit* source = previous.fields[f];
        if (field->testAttribute(Qt::WA_ForceDisabled) || !field->text().isEmpty())
            continue;
        const QString text = source->text();
        field->setText(text.contains(QLatin1Char(':')) ? fieldrules::rangeStartText(text) : text);
    }
}

void ReleaseRecaptureWidget::removeLastReachPanel()
{
    const ReachPanel panel = reachPanels.takeLast();
    for (RangeLineEdit* field : panel.fields)
        removeEdit(field);
    settings()->unbindWidget(panel.survivalCombo);
    settings()->unbindWidget(panel.captureCombo);
    delete panel.widget;
}

// A reach added with no stored choice, or with one that is not among its
// entries, starts with its own parameters.
void ReleaseRecaptureWidget::bindChoice(QComboBox* combo, int id, int k)
{
    bool isIndex = false;
    const int stored = settings()->arrayValue(id, k).toInt(&isIndex);
    if (!isIndex || stored < 0 || stored >= combo->count())
        settings()->setArrayValue(id, k, combo->count() - 1);
    settings()->bindArrayWidget(combo, id, k, false);
}

void ReleaseRecaptureWidget::layoutPanels()
{
    int x = margin;
    releasePanel->move(x, margin);
    releasePanel->show();
    x += releasePanel->width();
    QList<QWidget*> order = releaseTabOrder();
    for (const ReachPanel& panel : reachPanels) {
        panel.widget->move(x, margin);
        panel.widget->show();
        x += panel.widget->width();
        for (RangeLineEdit* field : panel.fields)
            order << field;
    }
    finalPanel->move(x, margin);
    finalPanel->show();
    strip->resize(x + finalPanel->width(), 2 * margin + chainHeight());
    order << finalField();
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

int ReleaseRecaptureWidget::ownerOf(int k, QComboBox* ReachPanel::*combo) const
{
    int j = (reachPanels[k].*combo)->currentIndex();
    while (j >= 0 && j < k) {
        k = j;
        j = (reachPanels[k].*combo)->currentIndex();
    }
    return k;
}

void ReleaseRecaptureWidget::mirrorShared(int from, QComboBox* ReachPanel::*combo,
                                          RangeLineEdit* ReachPanel::*field)
{
    for (int p = from; p < reachPanels.size(); ++p) {
        const int owner = ownerOf(p, combo);
        if (owner != p)
            (reachPanels[p].*field)->QLineEdit::setText((reachPanels[owner].*field)->text());
    }
}

// An edit of a reach's own parameter is copied into every reach that uses it;
// the copies change no settings entry, their fields being unbound.
void ReleaseRecaptureWidget::mirrorEdit(int k, QComboBox* ReachPanel::*combo,
                                        RangeLineEdit* ReachPanel::*field)
{
    if (k >= reachPanels.size() || ownerOf(k, combo) != k)
        return;
    const QString text = (reachPanels[k].*field)->text();
    for (int p = k + 1; p < reachPanels.size(); ++p)
        if (ownerOf(p, combo) == k)
            (reachPanels[p].*field)->setText(text);
}
