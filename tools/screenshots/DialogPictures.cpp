#include "DialogPictures.h"

#include "Unitabout.h"
#include "Unitconfig.h"
#include "Unitcredit.h"
#include "Unitsettings.h"
#include "Unitsyntax.h"
#include "Windows.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

QWidget* ShowSettingsForPicture()
{
    frmSettings->pcSyntax->setCurrentIndex(0);
    frmSettings->show();
    return frmSettings;
}

QWidget* ShowConfigForPicture()
{
    frmConfig->show();
    return frmConfig;
}

QWidget* ShowSyntaxTestForPicture()
{
    frmSyntax->show();
    frmSyntax->Button2->click();  // the sample pattern's verdict
    return frmSyntax;
}

QWidget* ShowCreditCheckerForPicture()
{
    frmCredit->show();
    // A well-known test number that passes the check.
    frmCredit->Edit1->setText("4111");
    frmCredit->Edit2->setText("1111");
    frmCredit->Edit3->setText("1111");
    frmCredit->Edit4->setText("1111");
    return frmCredit;
}

QWidget* ShowAboutForPicture()
{
    frmAbout->show();
    return frmAbout;
}

void HideDialog(QWidget* dialog)
{
    dialog->hide();
}
