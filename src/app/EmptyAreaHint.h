#pragma once

#include <QLabel>

class QMdiArea;

// The line in the empty document area that tells a newcomer how to begin. It
// sits in the middle of the area and is shown until a design's window opens.
class EmptyAreaHint : public QLabel
{
    Q_OBJECT

public:
    explicit EmptyAreaHint(QMdiArea* area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centre();
};
