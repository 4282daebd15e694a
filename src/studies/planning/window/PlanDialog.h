#pragma once

#include "studies/design/Design.h"
#include "studies/planning/Planner.h"

#include <QDialog>

#include <atomic>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextDocument;
class QTextEdit;
class QThread;
class QTimer;
class StudySubWindow;

// "Plan to a target": the question a biologist brings to a design turned
// around. For the design of a study window the user picks a quantity, how
// its precision is measured and the value it must not exceed, and what to
// solve for (the release size, the split of two groups, or one probability);
// Solve plans every point of the form's range on a worker thread and shows
// the answer in the report's style, which also goes to the output log. "Use
// this" writes the answer of the chosen point into the form, as if typed;
// Undo puts back what the form held before.
class PlanDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PlanDialog(StudySubWindow* window, QWidget* parent = nullptr);
    // Cancels a plan in progress and waits for it.
    ~PlanDialog() override;

    // The answer shown; empty before the first plan.
    const Plan& plan() const { return answer; }
    bool isSolving() const { return worker != nullptr; }

    QComboBox* quantityBox() const { return quantity; }
    QComboBox* measureBox() const { return measure; }
    QLineEdit* targetEdit() const { return target; }
    QComboBox* solveBox() const { return solveFor; }
    QLineEdit* totalEdit() const { return total; }
    QComboBox* pointBox() const { return point; }
    QPushButton* solveButton() const { return solve; }
    QPushButton* useButton() const { return use; }
    QPushButton* undoButton() const { return undo; }
    QLabel* messageLabel() const { return message; }
    QTextEdit* answerView() const { return view; }

signals:
    // A plan was shown: its report, for the output log.
    void planWritten(const QTextDocument* report);

public slots:
    void onSolve();
    void onUseThis();
    void onUndo();

private slots:
    void onSolveForChanged();
    void onProgress();
    void onSolved();

private:
    void createControls();
    void fillChoices();
    void showError(const QString& text);
    // The request of the controls, or why there is none.
    bool readRequest(PlanRequest* request, QString* error) const;

    StudySubWindow* window;
    Design planned;
    Plan answer;
    // What the form held before "Use this".
    std::optional<Design> previous;

    QComboBox* quantity;
    QComboBox* measure;
    QLineEdit* target;
    QComboBox* solveFor;
    QLineEdit* total;
    QComboBox* point;
    QPushButton* solve;
    QPushButton* use;
    QPushButton* undo;
    QLabel* message;
    QTextEdit* view;

    // The plan on the worker thread, its progress and its cancel.
    QThread* worker = nullptr;
    QTimer* progressTimer;
    std::atomic<int> step{0};
    std::atomic<int> steps{0};
    std::atomic<bool> cancel{false};
    bool solvedOk = false;
    QString solveError;
    Plan solved;
};
