#pragma once

#include "forms/core/FieldSpec.h"
#include "forms/core/StudyInputs.h"

#include <QList>
#include <QPair>
#include <QScrollArea>
#include <QString>

#include <functional>
#include <memory>

class QAbstractButton;
class RangeLineEdit;
class RangeSpec;

namespace ryn {
class RynSettings;
}

// The base of the five study input forms: a scrollable panel that owns the
// design's range record and binds every input field to its settings entry, so
// that the last inputs come back with the form and every edit is stored at
// once. Before a run the window asks the form to validate its inputs and then
// takes them as a StudyInputs copy; the run never reads the widgets.
class StudyWidget : public QScrollArea
{
    Q_OBJECT

public:
    // settings is the store the fields are bound to; it must outlive the form.
    explicit StudyWidget(ryn::RynSettings* settings, QWidget* parent = nullptr);
    ~StudyWidget() override;

    // Checks the inputs in the design's order; at the first failing field
    // shows the box naming it and its rule, leaves the focus on it with its
    // text selected and answers false.
    virtual bool validate() = 0;

    // The inputs as they stand: every registered field with its key, current
    // name, text, spacing, bounds and enabled state, the range holder, and
    // the registered switches. Designs add their choices.
    virtual StudyInputs inputs() const;

    // Shows inputs of this form's design (a design file's) as if the user had
    // entered them: the designs set their reach count, links, modes and
    // sharing choices through their widgets, then every field's text goes
    // through its range-aware setText, so that the form's slots run as for
    // typed values and the settings-bound widgets store every value. Inputs
    // whose fields are not this form's change nothing: false. This base sets
    // the registered switches, then the fields' texts.
    virtual bool loadInputs(const StudyInputs& inputs);

    // Names the field, registers it with the range record and binds it to the
    // settings entry key (or entry index of a per-reach key), loading the stored
    // text. name becomes the field's key in inputs().
    void registerEdit(RangeLineEdit* edit, const QString& name, int key, int index = -1);
    // Gives the field the spacing and bounds of its row of the design's field
    // table and registers it under the row's key and settings entry.
    void registerField(RangeLineEdit* edit, const FieldSpec& row);
    // Undoes registerEdit before the field is deleted: releases the range if the
    // field holds it, forgets the field and unbinds it from the store.
    void removeEdit(RangeLineEdit* edit);

    // The whole content, at least its minimum size: a form opens showing all
    // its fields, which a scroll area would cut to a few dozen lines of text.
    QSize sizeHint() const override;

    // Gives widget the tool tip and What's This text of input key of topic (a
    // design's title, or fieldhelp::runModeTopic), when fieldhelp has them.
    static void applyFieldHelp(QWidget* widget, const QString& topic, const QString& key);

    RangeSpec* rangeSpec() const { return rangeSpec_.get(); }
    ryn::RynSettings* settings() const { return settings_; }

signals:
    void error(QString msg);
    void status(QString msg);

protected:
    // Names the form after its design: the window's title, and the design
    // whose help texts (fieldhelp) the inputs registered from now on get as
    // tool tips and What's This texts.
    void setDesignTitle(const QString& title);
    // Gives widget the help of the design's input key, when there is one.
    void applyHelp(QWidget* widget, const QString& key) const;

    // Puts the focus on the refused field with its text selected and shows
    // the critical box titled title with the refusal's text.
    void showRefusal(const Refusal& refusal, const QString& title);
    // A release size that follows another while linked, with its settings
    // entry.
    struct Follower
    {
        RangeLineEdit* edit;
        int settingsId;
    };
    // Links the followers to the leader or unlinks them. Linked, they are
    // disabled (a range they hold is released) and show the leader's stored
    // text; unlinked, they are enabled and, while a range is set, show the
    // leader's first value (their texts stay when it cannot be read). Their
    // texts are stored explicitly, so that this works with their signals
    // blocked. The leader takes leaderName, which names the linked group in
    // messages and reports ("Rc-Rt").
    void linkFollowers(RangeLineEdit* leader, int leaderId, const QList<Follower>& followers,
                       bool linked, const QString& leaderName);

    // Registers a switch of the design (a link or a mode) under key in the
    // inputs' switches: true while on is checked. off, for a pair of radio
    // buttons, is the one that holds the other state. Inputs that leave the
    // switch out load it as absentValue.
    void registerSwitch(const QString& key, QAbstractButton* on, QAbstractButton* off = nullptr,
                        bool absentValue = false);
    // Sets every registered switch from inputs, in the order of registration.
    void loadSwitches(const StudyInputs& inputs);

    // Whether inputs has exactly the form's registered fields.
    bool fitsFields(const StudyInputs& inputs) const;
    // Lets go of the form's range (its holder shows the range's start), so
    // that switches and choices can then disable any field without the
    // "Disabling" box.
    void releaseRange();
    // Gives every registered field but those skip names its text from
    // inputs, in the order of registration, through the range-aware setText:
    // the one enabled field with a range text takes the range.
    void loadTexts(const StudyInputs& inputs,
                   const std::function<bool(const QString& key)>& skip = nullptr);

    // True for a null refusal when the inputs give at least one point;
    // otherwise shows the refusal of the failing field, or of the range
    // holder whose range has no points (see showRefusal), and answers false.
    bool passes(const Refusal& failing, const QString& title);
    // The registered field with key; null for an unknown key.
    RangeLineEdit* registeredField(const QString& key) const;

private:
    ryn::RynSettings* settings_;
    QString designTitle;
    std::unique_ptr<RangeSpec> rangeSpec_;
    QList<QPair<RangeLineEdit*, QString>> registered;
    struct Switch
    {
        QString key;
        QAbstractButton* on;
        QAbstractButton* off;
        bool absentValue;
    };
    QList<Switch> switches;
};
