#pragma once
// Placeholder under construction.
#include <QCheckBox>
#include <QDialog>
#include <QTabWidget>

class TfrmSettings : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSettings(QWidget* parent = nullptr);
    QTabWidget* pcSyntax = nullptr;
};
