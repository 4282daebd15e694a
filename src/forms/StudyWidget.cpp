#include "forms/StudyWidget.h"

#include "forms/core/FieldHelp.h"
#include "forms/range/RangeLineEdit.h"
#include "forms/range/RangeSpec.h"
#include "framework/settings/RynSettings.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>

StudyWidget::StudyWidget(ryn::RynSettings* settings, QWidget* parent)
    : QScrollArea(parent)
    , settings_(settings)
    , rangeSpec_(std::make_unique<RangeSpec>())
{}

StudyWidget::~StudyWidget() = default;

void StudyWidget::setDesignTitle(const QString& title)
{
    designTitle = title;
    setWindowTitle(title);
}

void StudyWidget::applyFieldHelp(QWidget* widget, const QString& topic, const QString& key)
{
    const fieldhelp::Help help = fieldhelp::of(topic, key);
    if (help.isEmpty())
        return;
    widget->setToolTip(help.tip);
    widget->setWhatsThis(help.whatsThis);
}

void StudyWidget::applyHelp(QWidget* widget, const QString& key) const
{
    applyFieldHelp(widget, designTitle, key);
}

void StudyWidget::registerEdit(RangeLineEdit* edit, const QString& name, int key, int index)
{
    applyHelp(edit, name);
    edit->setName(name.toUtf8().constData());
    rangeSpec_->addEdit(edit);
    registered.append({edit, name});
    // Bound without cutting the field's connections: the forms connect range
    // warnings and links before they register their fields.
    if (index == -1)
        settings_->bindWidget(edit, key, false);
    else
        settings_->bindArrayWidget(edit, key, index, false);
}

void StudyWidget::registerField(RangeLineEdit* edit, const FieldSpec& row)
{
    edit->setEditType(row.editType);
    edit->setEditMin(row.editMin);
    edit->setEditMax(row.editMax);
    registerEdit(edit, row.key, row.settingsId, row.settingsIndex);
    edit->setName(row.shownName().toUtf8().constData());
}

void StudyWidget::removeEdit(RangeLineEdit* edit)
{
    if (edit->holdsRange())
        rangeSpec_->clearOwner();
    rangeSpec_->removeEdit(edit);
    for (int i = 0; i < registered.size(); ++i) {
        if (registered[i].first == edit) {
            registered.removeAt(i);
            break;
        }
    }
    settings_->unbindWidget(edit);
}

QSize StudyWidget::sizeHint() const
{
    const QWidget* content = widget();
    if (!content)
        return QScrollArea::sizeHint();
    const int frame = 2 * frameWidth();
    return content->sizeHint().expandedTo(content->minimumSize()) + QSize(frame, frame);
}

StudyInputs StudyWidget::inputs() const
{
    StudyInputs taken;
    for (const auto& [edit, key] : registered) {
        InputField field;
        field.key = key;
        field.name = edit->name();
        field.text = edit->text();
        field.editType = edit->editType();
        field.editMin = edit->editMin();
        field.editMax = edit->editMax();
        // Disabled by the form itself, whatever the state of its window.
        field.enabled = !edit->testAttribute(Qt::WA_ForceDisabled);
        taken.addField(field);
        if (edit->holdsRange())
            taken.setRangeHolder(key);
    }
    for (const Switch& entry : switches)
        taken.switches.insert(entry.key, entry.on->isChecked());
    return taken;
}

bool StudyWidget::loadInputs(const StudyInputs& inputs)
{
    if (!fitsFields(inputs))
        return false;
    releaseRange();
    loadSwitches(inputs);
    loadTexts(inputs);
    return true;
}

void StudyWidget::registerSwitch(const QString& key, QAbstractButton* on, QAbstractButton* off,
                                 bool absentValue)
{
    switches.append({key, on, off, absentValue});
    applyHelp(on, key);
    if (off != nullptr)
        applyHelp(off, key);
}

void StudyWidget::loadSwitches(const StudyInputs& inputs)
{
    for (const Switch& entry : switches) {
        const bool value = inputs.switches.value(entry.key, entry.absentValue);
        if (entry.off != nullptr)
            (value ? entry.on : entry.off)->setChecked(true);
        else
            entry.on->setChecked(value);
    }
}

bool StudyWidget::fitsFields(const StudyInputs& inputs) const
{
    if (inputs.fields().size() != registered.size())
        return false;
    for (const auto& entry : registered) {
        if (!inputs.hasField(entry.second))
            return false;
    }
    return true;
}

void StudyWidget::releaseRange()
{
    for (const auto& entry : registered) {
        RangeLineEdit* edit = entry.first;
        if (edit->holdsRange())
            edit->setText(fieldrules::rangeStartText(edit->text()));
    }
    rangeSpec_->clearOwner();
}

void StudyWidget::loadTexts(const StudyInputs& inputs,
                            const std::function<bool(const QString& key)>& skip)
{
    for (const auto& [edit, key] : registered) {
        if (!skip || !skip(key))
            edit->setText(inputs.field(key).text);
    }
}

void StudyWidget::linkFollowers(RangeLineEdit* leader, int leaderId,
                                const QList<Follower>& followers, bool linked,
                                const QString& leaderName)
{
    for (const Follower& follower : followers)
        follower.edit->setRangeEnabled(!linked);
    QString shown;
    bool show = linked;
    if (linked) {
        shown = settings_->value(leaderId).toString();
    } else if (!rangeSpec_->ownerName().isNull()) {
        try {
            shown = QString::number(leader->intValueAt(0));
            show = true;
        } catch (const QString&) {
            // The leader's value cannot be read: the followers keep their texts.
        }
    }
    if (show) {
        for (const Follower& follower : followers) {
            follower.edit->setText(shown);
            settings_->setValue(follower.settingsId, follower.edit->text());
        }
    }
    leader->setName(leaderName.toUtf8().constData());
}

RangeLineEdit* StudyWidget::registeredField(const QString& key) const
{
    for (const auto& [edit, registeredKey] : registered) {
        if (registeredKey == key)
            return edit;
    }
    return nullptr;
}

// The field is shown and selected before the box opens, so that the user sees
// what the box speaks of, and again once it closes, in case closing the box
// moved the focus.
void StudyWidget::showRefusal(const Refusal& refusal, const QString& title)
{
    const QPointer<RangeLineEdit> edit = registeredField(refusal.key);
    const auto select = [this, &edit] {
        if (!edit)
            return;
        ensureWidgetVisible(edit);
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
    };
    select();
    QMessageBox::critical(this, title, refusal.text(), QMessageBox::Ok);
    select();
}

bool StudyWidget::passes(const Refusal& failing, const QString& title)
{
    const Refusal refusal = refusedField(inputs(), failing);
    if (refusal.isNull())
        return true;
    showRefusal(refusal, title);
    return false;
}
