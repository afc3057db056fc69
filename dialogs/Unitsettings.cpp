#include "Unitsettings.h"

TfrmSettings::TfrmSettings(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmSettings");
    pcSyntax = new QTabWidget(this);
    pcSyntax->setObjectName("pcSyntax");
    pcSyntax->addTab(new QWidget, "Syntax");
    pcSyntax->addTab(new QWidget, "Algorithm");
}
