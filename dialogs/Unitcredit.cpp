#include "Unitcredit.h"

TfrmCredit::TfrmCredit(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmCredit");

}
