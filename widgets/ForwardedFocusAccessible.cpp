#include "ForwardedFocusAccessible.h"

ForwardedFocusAccessible::ForwardedFocusAccessible(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::Client)
{
}

QAccessible::State ForwardedFocusAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.focused = false;
    state.focusable = false;
    return state;
}
