#pragma once
// Placeholder under construction.
#include <QCheckBox>
#include <QDialog>
#include <QTabWidget>

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

};
