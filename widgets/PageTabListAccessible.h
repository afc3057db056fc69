#pragma once
// What assistive technology reads of a tab bar: a page tab list whose tabs
// are page tabs, the shown one selected. A tab claims the focus only while
// the bar itself has it (Qt's own reading marks the shown tab focused at all
// times, so that a second object seems to hold the focus beside the real one),
// and then the bar leaves the focus to it.
#include <QAccessibleWidget>
#include <QHash>

class QTabBar;

class PageTabListAccessible : public QAccessibleWidget {
public:
    explicit PageTabListAccessible(QTabBar* bar);
    ~PageTabListAccessible() override;

    QString text(QAccessible::Text which) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;

private:
    QTabBar* Bar() const;

    mutable QHash<int, QAccessible::Id> tabs_;  // one interface per tab index, made when asked
};
