#include "plot/QVPlotControls.h"

#include <QHBoxLayout>

#include <algorithm>

QVPlotControls::QVPlotControls(QWidget* parent)
    : QWidget(parent)
{
    setupUi(this);
    // The plot takes the height the controls do not need.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    secondRow = new QHBoxLayout;
    secondRow->setSpacing(groupRow->spacing());
    verticalLayout->addLayout(secondRow);
}

int QVPlotControls::oneRowWidth() const
{
    int width = 2 * groupRow->spacing();
    for (const QWidget* group : {dataSelectorGroupBox, graphOptionsGroupBox, mouseFunctionGroupBox})
        width += group->minimumSizeHint().width();
    return width;
}

// As narrow as two rows are, as high as the rows are now.
QSize QVPlotControls::minimumSizeHint() const
{
    const int lower = graphOptionsGroupBox->minimumSizeHint().width() + groupRow->spacing() +
                      mouseFunctionGroupBox->minimumSizeHint().width();
    return QSize(std::max(dataSelectorGroupBox->minimumSizeHint().width(), lower),
                 QWidget::minimumSizeHint().height());
}

void QVPlotControls::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrange(width() >= oneRowWidth());
}

void QVPlotControls::arrange(bool inOneRow)
{
    if (inOneRow == oneRow)
        return;
    oneRow = inOneRow;
    QBoxLayout* target = oneRow ? static_cast<QBoxLayout*>(groupRow) : secondRow;
    for (QWidget* group : {graphOptionsGroupBox, mouseFunctionGroupBox})
        target->addWidget(group);
    if (!oneRow)
        secondRow->addStretch();
    else
        while (QLayoutItem* item = secondRow->takeAt(0))
            delete item;
}
