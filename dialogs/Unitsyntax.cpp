#include "Unitsyntax.h"

TfrmSyntax::TfrmSyntax(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmSyntax");

}
