#pragma once
// Placeholder under construction: the members other windows rely on.
#include "EvaluationState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);

    tamarin::EvaluationState State;

    QCheckBox* cbCaseSensitive = nullptr;
    QCheckBox* cbSimultaneous = nullptr;
    QComboBox* ComboBoxEx1 = nullptr;
    QPushButton* btnMatch = nullptr;
    QStatusBar* StatusBar1 = nullptr;

    // Status bar panel 0..4, left to right.
    QLabel* StatusPanel(int index) const;

private:
    QLabel* panels_[5] = {};
};
