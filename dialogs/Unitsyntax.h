#pragma once
// Placeholder under construction.
#include <QCheckBox>
#include <QDialog>
#include <QTabWidget>

class TfrmSyntax : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSyntax(QWidget* parent = nullptr);

};
