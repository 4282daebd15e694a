#pragma once

#include "forms/core/InputField.h"
#include "forms/core/RangeArithmetic.h"
#include "forms/range/RangeField.h"

#include <QLineEdit>
#include <QString>

class QMenu;
class RangeSpec;

// The numeric input field of the study forms. It holds one number or, in
// exactly one field of a form at a time, a range "start:end" that turns a study
// into a series of computation points. Only digits, the decimal point and the
// colon get in: typed keys one by one, a pasted, dropped or composed text whole
// or not at all, so that the field never shows a number the user did not enter.
// The form's shared RangeSpec always follows the text of the field that holds
// the range. Runs read the field through valueAt/intValueAt, also from their
// worker thread.
class RangeLineEdit : public QLineEdit, public RangeField
{
    Q_OBJECT

public:
    // How a range is divided into points (see RangeArithmetic).
    using EditType = RangeArithmetic::EditType;
    static constexpr EditType Integer = RangeArithmetic::Integer;
    static constexpr EditType Real = RangeArithmetic::Real;

    explicit RangeLineEdit(QWidget* parent = nullptr, const char* name = "");

    // Renames the field; a field holding the range keeps it under the new name.
    virtual void setName(const char* name);

    // The value delivered at computation point i: the i-th range point for the
    // field holding the range, the single number otherwise. Throws the QString
    // "Out of range value in <name>: <v>" unless editMin <= v < editMax.
    double valueAt(int i) const;
    // valueAt truncated toward zero; values beyond int throw the same text.
    int intValueAt(int i) const;

    // Validation for the form: every value the field delivers is >= bound, or
    // lies in [low, high]. A range passes only when it is well formed and has
    // at least one point; its start and end are checked, the points lying
    // between them. An Integer field fails for any value beyond int.
    bool isAtLeast(double bound) const;
    bool isWithin(double low, double high) const;
    // The same for any bounds, such as the half-open (0, 1] of a probability
    // that must not be 0.
    bool delivers(const Interval& bounds) const;

    bool isRangeSet() const;
    bool holdsRange() const;
    QString rangeName() const;

    // Context menu whose Paste lets a text in only when the keys would take
    // every character of it.
    QMenu* createEditMenu();

    const QString& name() const { return name_; }
    RangeSpec* rangeSpec() const { return rangeSpec_; }
    bool rangeOk() const { return rangeOk_; }
    EditType editType() const { return editType_; }
    double editMin() const { return editMin_; }
    double editMax() const { return editMax_; }
    bool rangeAllowed() const { return rangeAllowed_; }

signals:
    void rangeAlreadySet(QString message);

public slots:
    void setText(const QString& text);
    void setRangeOk(bool rhs);
    void setEditType(RangeLineEdit::EditType type);
    void setEditMin(double min);
    void setEditMax(double max);
    void setRangeEnabled(bool enable);
    void setRangeAllowed(bool allowed);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    class TextFollower;

    // What a colon entered now does: goes in as plain text, claims the free
    // range, or is refused.
    enum class ColonRule { Insert, Claim, Refuse };

    void shareRange(RangeSpec* record) override;
    ColonRule colonRule(QString* refusal) const;
    bool admitColon(QString* refusal);
    bool admitInsertion(const QString& incoming, QString* refusal);
    void insertAdmitted(const QString& incoming);
    void followText(const QString& text);
    void replayHistory(bool forward);
    void syncRangeWithText();
    // The field as the shared rules of values and checks read it.
    InputField asInputField() const;
    void showInformation(const QString& text);

    RangeSpec* rangeSpec_ = nullptr;
    QString name_;
    bool rangeOk_ = true;
    EditType editType_ = Real;
    double editMin_ = -2e10;
    double editMax_ = 2e10;
    bool rangeAllowed_ = true;
};
