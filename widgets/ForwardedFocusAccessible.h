#pragma once
// What assistive technology reads of a widget that hands its focus on to
// another (a scroll area's viewport to its area, a tab widget to its tab
// bar): a plain part of the window that never claims the focus. Qt's generic
// reading asks the widget whether it has the focus, and a widget answers yes
// for the one it hands it to, so two objects would seem focused at once.
#include <QAccessibleWidget>

class ForwardedFocusAccessible : public QAccessibleWidget {
public:
    explicit ForwardedFocusAccessible(QWidget* widget);

    QAccessible::State state() const override;
};
