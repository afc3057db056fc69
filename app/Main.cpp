#include "Main.h"

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName("frmMain");
    auto* central = new QWidget(this);
    setCentralWidget(central);
    cbCaseSensitive = new QCheckBox(central);
    cbCaseSensitive->setObjectName("cbCaseSensitive");
    cbSimultaneous = new QCheckBox("Real-Time Match", central);
    cbSimultaneous->setObjectName("cbSimultaneous");
    cbSimultaneous->setChecked(true);
    ComboBoxEx1 = new QComboBox(central);
    ComboBoxEx1->setObjectName("ComboBoxEx1");
    ComboBoxEx1->addItems({"MATCH", "SEARCH"});
    ComboBoxEx1->setCurrentIndex(1);
    btnMatch = new QPushButton("Search", central);
    btnMatch->setObjectName("btnMatch");
    StatusBar1 = statusBar();
    StatusBar1->setObjectName("StatusBar1");
    for (auto*& panel : panels_) {
        panel = new QLabel(StatusBar1);
        StatusBar1->addWidget(panel);
    }
}

QLabel* TfrmMain::StatusPanel(int index) const
{
    return panels_[index];
}
