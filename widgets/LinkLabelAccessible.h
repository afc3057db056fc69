#pragma once
// What assistive technology reads of a LinkLabel: a link, named by what it
// opens, its address as the description, that can be pressed.
#include <QAccessibleWidget>

class LinkLabel;

class LinkLabelAccessible : public QAccessibleWidget {
public:
    explicit LinkLabelAccessible(LinkLabel* link);

    QString text(QAccessible::Text which) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    LinkLabel* Link() const;
};
