#pragma once
// Placeholder under construction.
#include <QCheckBox>
#include <QDialog>
#include <QTabWidget>

class TfrmConfig : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConfig(QWidget* parent = nullptr);
    QCheckBox* cfgSyntaxCheck = nullptr;
    QCheckBox* cfgHighLight = nullptr;
};
