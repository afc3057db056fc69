#include "Unitconfig.h"

#include "DialogSupport.h"
#include "Main.h"
#include "StatusTexts.h"
#include "Windows.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include <tuple>

namespace {

// Status bar panels this dialog writes (0 product, 1 syntax check, 2 case).
constexpr int SyntaxCheckPanel = 1;
constexpr int CasePanel = 2;

QCheckBox* CreateOption(const char* name, const QString& caption, const QString& accessibleName,
                        QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    return box;
}

} // namespace

TfrmConfig::TfrmConfig(QWidget* parent) : QDialog(parent)
{
    DialogSupport::SetUpDialogFrame(this, "frmConfig", "Config", QSize(486, 362));
    CreateMatchOptionPage();

    std::tie(Button1, Button2) = DialogSupport::CreateOkCancelButtons(this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    DialogSupport::LayOutPagesOverFoot(this, PageControl1, buttons);

    connect(Button1, &QPushButton::clicked, this, &TfrmConfig::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmConfig::Button2Click);
    connect(cfgHighLight, &QCheckBox::toggled, this, &TfrmConfig::cfgHighLightClick);
}

// The one page, "Match Option", and its options.
void TfrmConfig::CreateMatchOptionPage()
{
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setAccessibleName("Options pages");
    TabSheet2 = new QWidget(this);
    TabSheet2->setObjectName("TabSheet2");
    TabSheet2->setAccessibleName("Match Option");

    cbCaseSensitive = CreateOption("cbCaseSensitive", "Case Sensitive", "Case Sensitive", TabSheet2);
    cfgSyntaxCheck = CreateOption("cfgSyntaxCheck", "Syntax Check", "Syntax Check", TabSheet2);
    GroupBox1 = new QGroupBox("HightLight && Focus", TabSheet2);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setAccessibleName("HightLight & Focus");
    cfgHighLight = CreateOption("cfgHighLight", "HightLight && Focus", "HightLight & Focus",
                                GroupBox1);
    // Highlighting ships switched off and cannot be switched on.
    cfgHighLight->setEnabled(false);
    cbSimultaneous = CreateOption("cbSimultaneous", "Real-Time Match", "Real-Time Match", GroupBox1);

    auto* groupLayout = new QVBoxLayout(GroupBox1);
    groupLayout->addWidget(cfgHighLight);
    groupLayout->addWidget(cbSimultaneous);

    auto* pageLayout = new QVBoxLayout(TabSheet2);
    pageLayout->addWidget(cbCaseSensitive);
    pageLayout->addWidget(cfgSyntaxCheck);
    pageLayout->addWidget(GroupBox1);
    pageLayout->addStretch();
    PageControl1->addTab(TabSheet2, "Match Option");
}

void TfrmConfig::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (DialogSupport::CentreWhenShown(this, event))
        FormShow();
}

void TfrmConfig::FormShow()
{
    syntaxCheckWhenShown_ = cfgSyntaxCheck->isChecked();
    highLightWhenShown_ = cfgHighLight->isChecked();
    cbCaseSensitive->setChecked(frmMain->cbCaseSensitive->isChecked());
    cbSimultaneous->setChecked(frmMain->cbSimultaneous->isChecked());
}

void TfrmConfig::Button1Click()
{
    // Case first, so that an evaluation started by a change of real-time
    // match already runs with the new case option. setChecked runs the main
    // window's own reaction only when the state really changes.
    frmMain->cbCaseSensitive->setChecked(cbCaseSensitive->isChecked());
    frmMain->cbSimultaneous->setChecked(cbSimultaneous->isChecked());
    RewriteStatusPanels();
    accept();
}

void TfrmConfig::Button2Click()
{
    reject();
}

void TfrmConfig::reject()
{
    // Otherwise a cancelled "Syntax Check" would still be in force while
    // status panel 1 says it is not.
    cfgSyntaxCheck->setChecked(syntaxCheckWhenShown_);
    cfgHighLight->setChecked(highLightWhenShown_);
    QDialog::reject();
}

void TfrmConfig::cfgHighLightClick(bool checked)
{
    if (checked) {
        cbSimultaneous->setEnabled(false);
        cbSimultaneous->setChecked(false);
        frmMain->cbSimultaneous->setEnabled(false);
        frmMain->cbSimultaneous->setChecked(false);
    } else {
        cbSimultaneous->setEnabled(true);
        frmMain->cbSimultaneous->setEnabled(true);
    }
}

void TfrmConfig::RewriteStatusPanels()
{
    frmMain->StatusPanel(SyntaxCheckPanel)->setText(StatusTexts::SyntaxCheck(cfgSyntaxCheck->isChecked()));
    frmMain->StatusPanel(CasePanel)->setText(StatusTexts::Case(cbCaseSensitive->isChecked()));
}
