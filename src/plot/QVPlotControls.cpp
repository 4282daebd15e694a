#include "plot/QVPlotControls.h"

QVPlotControls::QVPlotControls(QWidget* parent)
    : QWidget(parent)
{
    setupUi(this);
}
