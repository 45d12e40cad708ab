#pragma once

#include <QLabel>

namespace quantix {

// A label that reports left clicks and double-clicks, for the captions and
// status panels that act when clicked. A double-click is one click and one
// double-click: its second release is not another click.
class ClickableLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool m_endingDoubleClick = false;
};

}
