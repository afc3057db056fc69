#include "Unitconfig.h"

TfrmConfig::TfrmConfig(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmConfig");
    cfgSyntaxCheck = new QCheckBox("Syntax Check", this);
    cfgSyntaxCheck->setObjectName("cfgSyntaxCheck");
    cfgHighLight = new QCheckBox("HightLight && Focus", this);
    cfgHighLight->setObjectName("cfgHighLight");
    cfgHighLight->setEnabled(false);
}
