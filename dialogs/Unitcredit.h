#pragma once
// Placeholder under construction.
#include <QCheckBox>
#include <QDialog>
#include <QTabWidget>

class TfrmCredit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCredit(QWidget* parent = nullptr);

};
