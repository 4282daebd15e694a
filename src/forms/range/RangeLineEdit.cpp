#include "forms/range/RangeLineEdit.h"

#include "forms/range/RangeSpec.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QStringList>
#include <QValidator>

#include <algorithm>
#include <limits>

namespace {

const QChar colon = QLatin1Char(':');

// A field character other than the colon, whose rules are the range's.
bool isNumberCharacter(QChar c)
{
    return c != colon && fieldrules::isFieldCharacter(c);
}

} // namespace

// Sees every change of the text before it is shown, whatever made it (keys,
// paste, drop, undo, the context menu's delete, plain QLineEdit::setText), and
// keeps the range record in line with it. Being a validator rather than a
// signal connection, it keeps working when the settings store cuts the field's
// connections on binding.
class RangeLineEdit::TextFollower : public QValidator
{
public:
    explicit TextFollower(RangeLineEdit* field)
        : QValidator(field)
        , field(field)
    {}

    State validate(QString& input, int& /*pos*/) const override
    {
        field->followText(input);
        return Acceptable;
    }

private:
    RangeLineEdit* field;
};

RangeLineEdit::RangeLineEdit(QWidget* parent, const char* name)
    : QLineEdit(parent)
    , name_(QString::fromUtf8(name))
{
    setValidator(new TextFollower(this));
}

void RangeLineEdit::shareRange(RangeSpec* record)
{
    rangeSpec_ = record;
}

void RangeLineEdit::setName(const char* name)
{
    const QString newName = QString::fromUtf8(name);
    if (holdsRange()) {
        if (newName.isEmpty())
            rangeSpec_->clearOwner();
        else
            rangeSpec_->setOwner(newName);
    }
    name_ = newName;
}

double RangeLineEdit::valueAt(int i) const
{
    if (!holdsRange())
        return fieldrules::valueAt(asInputField(), nullptr, i);
    const RangeArithmetic range(rangeSpec_->start(), rangeSpec_->end(), rangeSpec_->editType(),
                                rangeSpec_->maxPoints());
    return fieldrules::valueAt(asInputField(), &range, i);
}

int RangeLineEdit::intValueAt(int i) const
{
    if (!holdsRange())
        return fieldrules::intValueAt(asInputField(), nullptr, i);
    const RangeArithmetic range(rangeSpec_->start(), rangeSpec_->end(), rangeSpec_->editType(),
                                rangeSpec_->maxPoints());
    return fieldrules::intValueAt(asInputField(), &range, i);
}

bool RangeLineEdit::isAtLeast(double bound) const
{
    return delivers(Interval::atLeast(bound));
}

bool RangeLineEdit::isWithin(double low, double high) const
{
    return delivers(Interval::closed(low, high));
}

bool RangeLineEdit::delivers(const Interval& bounds) const
{
    return fieldrules::delivers(asInputField(), holdsRange(), bounds);
}

bool RangeLineEdit::isRangeSet() const
{
    return rangeSpec_ && !rangeSpec_->ownerName().isNull();
}

bool RangeLineEdit::holdsRange() const
{
    return rangeSpec_ && rangeSpec_->isOwner(name_);
}

QString RangeLineEdit::rangeName() const
{
    return rangeSpec_ ? rangeSpec_->ownerName() : QString();
}

// The line edit's usual menu, built here so that every entry that brings text
// in goes through the same rules as the keys.
QMenu* RangeLineEdit::createEditMenu()
{
    auto* menu = new QMenu(this);
    const bool editable = !isReadOnly();
    const auto add = [this, menu](const char* objectName, const QString& text,
                                  QKeySequence::StandardKey shortcut, bool enabled, auto slot) {
        QAction* action = menu->addAction(
            text + QLatin1Char('\t') + QKeySequence(shortcut).toString(QKeySequence::NativeText));
        action->setObjectName(QLatin1String(objectName));
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, slot);
    };
    add("edit-undo", tr("&Undo"), QKeySequence::Undo, editable && isUndoAvailable(),
        [this] { replayHistory(false); });
    add("edit-redo", tr("&Redo"), QKeySequence::Redo, editable && isRedoAvailable(),
        [this] { replayHistory(true); });
    menu->addSeparator();
    add("edit-cut", tr("Cu&t"), QKeySequence::Cut, editable && hasSelectedText(),
        [this] { cut(); });
    add("edit-copy", tr("&Copy"), QKeySequence::Copy, hasSelectedText(), [this] { copy(); });
    add("edit-paste", tr("&Paste"), QKeySequence::Paste,
        editable && !QGuiApplication::clipboard()->text().isEmpty(),
        [this] { insertAdmitted(QGuiApplication::clipboard()->text(QClipboard::Clipboard)); });
    add("edit-delete", tr("Delete"), QKeySequence::Delete, editable && hasSelectedText(),
        [this] { del(); });
    menu->addSeparator();
    add("select-all", tr("Select All"), QKeySequence::SelectAll, !text().isEmpty(),
        [this] { selectAll(); });
    return menu;
}

// A range text is taken by this field when the range is free or already its
// own; while another field holds the range the text is refused and the field
// emptied. Any other text releases a range this field holds, as does any text
// while the field is disabled.
void RangeLineEdit::setText(const QString& text)
{
    QString shown = text;
    if (holdsRange()) {
        if (isEnabled())
            rangeSpec_->followHolder(text, editType_);
        else
            rangeSpec_->clearOwner();
    } else if (rangeSpec_ && isEnabled() && text.contains(colon)) {
        if (!rangeSpec_->ownerName().isNull())
            shown.clear();
        else if (!name_.isEmpty())
            rangeSpec_->parse(text, name_, editType_);
    }
    QLineEdit::setText(shown);
}

void RangeLineEdit::setRangeOk(bool rhs)
{
    rangeOk_ = rhs;
}

void RangeLineEdit::setEditType(RangeLineEdit::EditType type)
{
    editType_ = type;
}

void RangeLineEdit::setEditMin(double min)
{
    editMin_ = min;
}

void RangeLineEdit::setEditMax(double max)
{
    editMax_ = max;
}

// Disabling the field that holds the range resets it to the range start, so
// that a study never runs over a range the user can no longer see or edit. The
// field gets the start as it was typed (see fieldrules::rangeStartText), which
// keeps every digit of a large release size that the six digits of the message
// would round.
void RangeLineEdit::setRangeEnabled(bool enable)
{
    if (!enable && holdsRange()) {
        const double start = rangeSpec_->start();
        const QString shown = QString::number(start, 'g', 6);
        showInformation(QStringLiteral("Disabling \"") + name_ +
                        QStringLiteral("\" range. Re-setting to ") + shown + QLatin1Char('.'));
        setText(fieldrules::rangeStartText(text()));
        rangeSpec_->clearOwner();
    }
    setEnabled(enable);
}

void RangeLineEdit::setRangeAllowed(bool allowed)
{
    rangeAllowed_ = allowed;
}

// Digits and the point are typed; keys that move, select, delete, copy or
// cut add no character of their own and work as in any line edit; a paste and
// undo or redo go through the rules of inserted text; every other character
// stays out.
void RangeLineEdit::keyPressEvent(QKeyEvent* event)
{
    if (rangeAllowed_ && event->key() == Qt::Key_Colon) {
        QString refusal;
        if (admitColon(&refusal)) {
            QLineEdit::keyPressEvent(event);
        } else if (!refusal.isEmpty()) {
            QApplication::beep();
            emit rangeAlreadySet(refusal);
        }
        syncRangeWithText();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        if (!isReadOnly())
            insertAdmitted(QGuiApplication::clipboard()->text(QClipboard::Clipboard));
        return;
    }
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        if (!isReadOnly())
            replayHistory(event->matches(QKeySequence::Redo));
        return;
    }

    const int key = event->key();
    const QString typed = event->text();
    const bool numberKey = key == Qt::Key_Period || (key >= Qt::Key_0 && key <= Qt::Key_9);
    const bool typesNumber =
        numberKey &&
        (typed.isEmpty() || std::all_of(typed.begin(), typed.end(), isNumberCharacter));
    // A shortcut (Ctrl+A, Ctrl+C, ...) types nothing whatever text it carries;
    // Ctrl with Alt is AltGr on some keyboards, which does type.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool shortcut =
        (modifiers & (Qt::ControlModifier | Qt::MetaModifier)) && !(modifiers & Qt::AltModifier);
    const bool typesNothing =
        shortcut || std::none_of(typed.begin(), typed.end(), [](QChar c) { return c.isPrint(); });
    if (!typesNumber && !typesNothing) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
    syncRangeWithText();
}

void RangeLineEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createEditMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void RangeLineEdit::dropEvent(QDropEvent* event)
{
    const QMimeData* data = event->mimeData();
    // Moving text within the field brings in nothing new.
    if (!data->hasText() || (event->source() == this && event->dropAction() == Qt::MoveAction)) {
        QLineEdit::dropEvent(event);
        return;
    }
    const QString incoming = data->text().trimmed();
    QString refusal;
    if (!admitInsertion(incoming, &refusal)) {
        event->ignore();
    } else if (incoming == data->text()) {
        QLineEdit::dropEvent(event);
    } else {
        deselect();
        setCursorPosition(cursorPositionAt(event->pos()));
        insert(incoming);
        event->acceptProposedAction();
    }
    syncRangeWithText();
    if (!refusal.isEmpty())
        emit rangeAlreadySet(refusal);
}

// A refused commit string takes its replacement with it: nothing of the text
// changes, while the composition still shows.
void RangeLineEdit::inputMethodEvent(QInputMethodEvent* event)
{
    QString refusal;
    if (event->commitString().isEmpty() || admitInsertion(event->commitString(), &refusal)) {
        QLineEdit::inputMethodEvent(event);
    } else {
        QInputMethodEvent preeditOnly(event->preeditString(), event->attributes());
        QLineEdit::inputMethodEvent(&preeditOnly);
    }
    syncRangeWithText();
    if (!refusal.isEmpty())
        emit rangeAlreadySet(refusal);
}

// The middle button pastes the X11 selection; it is filtered like every paste.
void RangeLineEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()) {
        deselect();
        insertAdmitted(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

// The colon rules of the keys: a colon claims the range when none is set, and
// is refused, saying which field holds the range, when another field holds it
// or this field holds it already. A
// field outside a form has no range record and takes colons as plain text.
RangeLineEdit::ColonRule RangeLineEdit::colonRule(QString* refusal) const
{
    if (!rangeOk_) {
        *refusal = QStringLiteral("Range not allowed for ") + name_;
        return ColonRule::Refuse;
    }
    if (!rangeSpec_)
        return ColonRule::Insert;
    if (name_.isEmpty())
        return ColonRule::Refuse;
    if (rangeSpec_->ownerName().isNull())
        return ColonRule::Claim;
    *refusal = QStringLiteral("Range already set for ") + rangeSpec_->ownerName();
    return ColonRule::Refuse;
}

bool RangeLineEdit::admitColon(QString* refusal)
{
    const ColonRule rule = colonRule(refusal);
    if (rule == ColonRule::Claim)
        rangeSpec_->setOwner(name_);
    return rule != ColonRule::Refuse;
}

// An inserted text gets in only when the keys would take each of its
// characters in turn; a colon after one that claims the range meets this field
// holding it. The whole text is looked at, so that a colon the range rules
// refuse is reported even when another character refuses the text as well. The
// range is claimed only for a text that gets in.
bool RangeLineEdit::admitInsertion(const QString& incoming, QString* refusal)
{
    bool admitted = true;
    bool claims = false;
    for (const QChar c : incoming) {
        if (isNumberCharacter(c))
            continue;
        if (c != colon || !rangeAllowed_) {
            admitted = false;
        } else if (claims) {
            *refusal = QStringLiteral("Range already set for ") + name_;
            admitted = false;
        } else {
            const ColonRule rule = colonRule(refusal);
            claims = rule == ColonRule::Claim;
            admitted = admitted && rule != ColonRule::Refuse;
        }
    }
    if (admitted && claims)
        rangeSpec_->setOwner(name_);
    return admitted;
}

// A pasted text loses its surrounding blanks and line ends first: a cell
// copied from a spreadsheet ends with one.
void RangeLineEdit::insertAdmitted(const QString& pasted)
{
    const QString incoming = pasted.trimmed();
    QString refusal;
    if (admitInsertion(incoming, &refusal))
        insert(incoming);
    else
        QApplication::beep();
    syncRangeWithText();
    if (!refusal.isEmpty())
        emit rangeAlreadySet(refusal);
}

// Brings the range record in line with a new text: the holder re-reads its
// range or, without a colon, releases it; another enabled field that may take
// the range claims it when it is free and the text holds one colon. A field
// may still show a range it does not hold (a disabled field mirroring another,
// a stored text loaded while another field holds the range); such text reads
// as no number and fails validation.
void RangeLineEdit::followText(const QString& text)
{
    if (!rangeSpec_)
        return;
    if (holdsRange()) {
        rangeSpec_->followHolder(text, editType_);
        return;
    }
    if (isEnabled() && rangeOk_ && rangeAllowed_ && !name_.isEmpty() &&
        rangeSpec_->ownerName().isNull() && text.count(colon) == 1)
        rangeSpec_->parse(text, name_, editType_);
}

// Undo and redo from the menu may bring back a colon; one the colon rules
// refuse (another field holds the range) is taken out again.
void RangeLineEdit::replayHistory(bool forward)
{
    const bool hadColon = text().contains(colon);
    if (forward)
        redo();
    else
        undo();
    if (hadColon || !rangeSpec_ || holdsRange())
        return;
    for (int n = text().count(colon); n > 0; --n) {
        setSelection(text().lastIndexOf(colon), 1);
        del();
    }
}

void RangeLineEdit::syncRangeWithText()
{
    if (holdsRange())
        rangeSpec_->followHolder(text(), editType_);
}

InputField RangeLineEdit::asInputField() const
{
    InputField field;
    field.key = name_;
    field.name = name_;
    field.text = text();
    field.editType = editType_;
    field.editMin = editMin_;
    field.editMax = editMax_;
    return field;
}

// Non-blocking, so that the change of state goes on at once and nothing waits
// on the box; it belongs to the field's window, which stays enabled.
void RangeLineEdit::showInformation(const QString& text)
{
    QWidget* owner = window() == this ? nullptr : window();
    auto* box = new QMessageBox(QMessageBox::Information, QString(), text, QMessageBox::Ok, owner);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
