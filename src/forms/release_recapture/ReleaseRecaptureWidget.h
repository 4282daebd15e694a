#pragma once

#include "forms/StudyWidget.h"
#include "forms/core/FieldSpec.h"
#include "forms/core/ReachFill.h"

#include <QList>
#include <QString>

class QComboBox;
class QSignalMapper;
class QUndoStack;

// The base of the single- and paired-release forms. Their river is a chain of
// fixed-size panels on a white strip, left to right: a release panel, one
// panel per intermediate reach and a final panel. The number of reaches is
// set from outside and the chain grows or shrinks with it. Each reach panel
// either uses its own survival and capture parameter (the last entry of its
// combo) or shares that of an earlier panel; a shared field is disabled,
// shows the value of the panel that owns the parameter and stores nothing
// (it is unbound from its settings entry until the reach takes its own
// parameter again, which loads the reach's own stored value).
class ReleaseRecaptureWidget : public StudyWidget
{
    Q_OBJECT

public:
    ReleaseRecaptureWidget(ryn::RynSettings* settings, QWidget* parent = nullptr);
    ~ReleaseRecaptureWidget() override;

    // The width that shows the whole chain with a vertical scroll bar, and
    // the height that shows the panels with a horizontal one.
    virtual int preferredWidth() const = 0;
    virtual int preferredHeight() const = 0;
    // Makes the chain n reaches long (the final reach counted); counts below
    // the design's least are ignored. New panels load their stored inputs
    // and choices; a field with none takes the value of the panel before it,
    // so that a grown chain can be run at once. Removed panels give up their
    // fields (and a range one of them holds) first.
    virtual void setNumReaches(int n);
    int numReaches() const { return reachPanels.size() + 1; }
    int reachPanelCount() const { return reachPanels.size(); }
    // The reach number of the first reach panel (1 in the single release, 2
    // in the paired release, whose release panel holds reach 1).
    virtual int firstPanelReach() const = 0;

    // Writes fill's values into its span of reach panels (clamped to the
    // panels there are) as one step of fillHistory(), which one Undo takes
    // back. Fields that share an earlier reach's parameter are left alone:
    // they follow their owner.
    void fillReaches(const ReachFill& fill);
    QUndoStack* fillHistory() const { return fills; }

    // The fields, the number of reaches and every panel's combo choices
    // (ReleaseRecaptureInputs).
    StudyInputs inputs() const override;
    // The design's links, the reach count (stored where the reach count
    // dialog keeps it), every reach panel's sharing choices, then the fields;
    // a field shared with an earlier reach keeps showing its owner's value.
    // Inputs of another count of reaches than the design allows, or whose
    // fields are not the design's for their count, change nothing: false.
    bool loadInputs(const StudyInputs& inputs) override;

    static constexpr int margin = 5;

signals:
    // The parameters the design's results will show may have changed: the
    // number of reaches or a sharing choice did.
    void parameterNamesChanged();

public slots:
    void displayWarning(QString msg);
    virtual void onSurvivalComboChanged(int k);
    virtual void onSurvivalEditChanged(int k);
    virtual void onCaptureComboChanged(int k);
    virtual void onCaptureEditChanged(int k);

protected:
    // What the base needs of one reach panel.
    struct ReachPanel
    {
        QWidget* widget = nullptr;
        QComboBox* survivalCombo = nullptr;
        RangeLineEdit* survivalEdit = nullptr;
        QComboBox* captureCombo = nullptr;
        RangeLineEdit* captureEdit = nullptr;
        // The panel's fields in the order of the design's reachFields(k).
        QList<RangeLineEdit*> fields;
    };

    // Builds the content strip; the subclass then creates its release and
    // final panels on content() and hands them over.
    void setEndPanels(QWidget* releasePanel, QWidget* finalPanel);
    QWidget* content() const { return strip; }

    // The design's hooks: the least number of reaches; a new reach panel k on
    // content() with its reach number set and its warnings connected; its
    // fields' table rows; the settings ids of its combos; the release panel's
    // fields and the final field in tab order.
    virtual int minimumReaches() const = 0;
    virtual ReachPanel createReachPanel(int k) = 0;
    virtual QList<FieldSpec> reachFields(int k) const = 0;
    virtual int survivalChoiceId() const = 0;
    virtual int captureChoiceId() const = 0;
    virtual QList<QWidget*> releaseTabOrder() const = 0;
    virtual QWidget* finalField() const = 0;
    // The design's whole field table for a number of reaches, and the
    // setting of its reach count.
    virtual QList<FieldSpec> fieldTable(int reaches) const = 0;
    virtual int numReachesId() const = 0;

    // The width of the whole chain and the height of its tallest panel.
    int chainWidth() const;
    int chainHeight() const;

    // Panel k's field takes its own parameter (enabled, bound to entry k of
    // key, showing the reach's own stored value) when the combo shows its
    // last entry; otherwise it is disabled, unbound and shows the value of
    // the panel that owns the parameter.
    void syncParameter(int k, QComboBox* combo, RangeLineEdit* field, int key);

    const QList<ReachPanel>& panels() const { return reachPanels; }

private:
    void addReachPanel(int k);
    // Panel k's empty own fields take the values of panel k - 1.
    void takePreviousValues(int k);
    void removeLastReachPanel();
    void bindChoice(QComboBox* combo, int id, int k);
    void layoutPanels();
    // The panel whose parameter panel k uses, following the chain of choices
    // of the combos combo(p).
    int ownerOf(int k, QComboBox* ReachPanel::*combo) const;
    // Shows the owner's value in every later panel that shares a parameter.
    void mirrorShared(int from, QComboBox* ReachPanel::*combo, RangeLineEdit* ReachPanel::*field);
    void mirrorEdit(int k, QComboBox* ReachPanel::*combo, RangeLineEdit* ReachPanel::*field);

    QWidget* strip = nullptr;
    QWidget* releasePanel = nullptr;
    QWidget* finalPanel = nullptr;
    QList<ReachPanel> reachPanels;
    QSignalMapper* survivalComboMapper;
    QSignalMapper* survivalEditMapper;
    QSignalMapper* captureComboMapper;
    QSignalMapper* captureEditMapper;
    QUndoStack* fills;
};
