#include "Unitsyntax.h"

#include "AccessibleWidgets.h"
#include "DescriptionAnnouncer.h"
#include "DialogSupport.h"
#include "CodePageText.h"
#include "Main.h"
#include "Engine.h"
#include "Theme.h"
#include "Windows.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QHideEvent>
#include <QShowEvent>
#include <QTextDocument>
#include <QVBoxLayout>
#include <string>

namespace {

constexpr const char* ValidVerdict = "Regular Expression";
// The same words as the engine's message for a pattern it cannot compile.
constexpr const char* InvalidVerdict = tamarin::InvalidPatternMessage;

constexpr QSize IconSize(24, 24);
constexpr int PatternEditorHeight = 89;
constexpr int ContentMargin = 6;
constexpr int ContentSpacing = 4;

} // namespace

TfrmSyntax::TfrmSyntax(QWidget* parent) : QDialog(parent)
{
    DialogSupport::SetUpDialogFrame(this, "frmSyntax", "Syntax Error Test", QSize(477, 189));
    CreateControls();
    LayOutControls();
    connect(Button2, &QPushButton::clicked, this, &TfrmSyntax::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TfrmSyntax::Button1Click);
}

void TfrmSyntax::CreateControls()
{
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setFixedSize(IconSize);
    Image1->setPixmap(DialogSupport::Picture("syntax-test", IconSize, devicePixelRatio()));
    Image1->setAccessibleName("Syntax test icon");

    Panel2 = new QLabel("Regular Expression Syntax Error Test", this);
    Panel2->setObjectName("Panel2");
    Panel2->setAccessibleName("Regular Expression Syntax Error Test");

    mnoSignature = new QPlainTextEdit(this);
    mnoSignature->setObjectName("mnoSignature");
    mnoSignature->setAccessibleName("Pattern");
    mnoSignature->setTabChangesFocus(true);
    mnoSignature->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mnoSignature->setFixedHeight(PatternEditorHeight);
    Theme::KeepWhiteWithDarkText(mnoSignature);

    Edit2 = new QLineEdit(this);
    Edit2->setObjectName("Edit2");
    Edit2->setAccessibleName("Verdict");
    AccessibleWidgets::QuietSelectionOnFocus(Edit2);
    Theme::KeepWhiteWithDarkText(Edit2);

    ComboBoxEx1 = new QComboBox(this);
    ComboBoxEx1->setObjectName("ComboBoxEx1");
    ComboBoxEx1->setAccessibleName("Syntax");
    ComboBoxEx1->setEditable(false);  // a choice among the three syntaxes only
    ComboBoxEx1->addItems({"PERL", "POSIX Basic", "POSIX Extended"});
    AccessibleWidgets::SayNewChoices(ComboBoxEx1);

    Button2 = DialogSupport::CreateButton("Button2", "&Test", "Test", this);
    // Enter outside the pattern editor tests, as the main action of the dialog.
    Button2->setDefault(true);
    Button1 = DialogSupport::CreateButton("Button1", "&Close", "Close", this);
}

void TfrmSyntax::LayOutControls()
{
    auto* heading = new QHBoxLayout;
    heading->addWidget(Image1);
    heading->addWidget(Panel2, 1);

    auto* commands = new QHBoxLayout;
    commands->addWidget(ComboBoxEx1);
    commands->addStretch();
    commands->addWidget(Button2);
    commands->addWidget(Button1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(ContentMargin, ContentMargin, ContentMargin, ContentMargin);
    layout->setSpacing(ContentSpacing);
    layout->addLayout(heading);
    layout->addWidget(mnoSignature);
    layout->addWidget(Edit2);
    layout->addLayout(commands);
}

void TfrmSyntax::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!hidden_ || event->spontaneous())
        return;
    hidden_ = false;
    if (DialogSupport::CentreWhenShown(this, event))
        FormShow();
}

void TfrmSyntax::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    if (!event->spontaneous())
        hidden_ = true;
}

void TfrmSyntax::FormShow()
{
    // The verdict is left alone: it keeps the last test's answer.
    mnoSignature->setPlainText(QString::fromLatin1(SamplePattern));
    const int syntaxIndex = frmMain->State.SyntaxIndex;
    if (syntaxIndex >= 0 && syntaxIndex < ComboBoxEx1->count())
        ComboBoxEx1->setCurrentIndex(syntaxIndex);
}

void TfrmSyntax::Button2Click()
{
    // The whole text, line ends included, in the same 8-bit form the main
    // window compiles; the case option is the main window's, read now.
    const std::string pattern = CodePageText::ToCodePage(mnoSignature->document()->toRawText());
    const tamarin::Syntax syntax = tamarin::SyntaxFromIndex(ComboBoxEx1->currentIndex());
    const bool caseSensitive = frmMain->cbCaseSensitive->isChecked();
    const bool valid = tamarin::PatternCompiles(pattern, syntax, caseSensitive);
    Edit2->setText(valid ? ValidVerdict : InvalidVerdict);
    // The verdict is also heard where the user pressed Test (or Enter).
    DescriptionAnnouncer::Announce({Button2, ComboBoxEx1, mnoSignature}, Edit2->text());
}

void TfrmSyntax::Button1Click()
{
    close();
}
