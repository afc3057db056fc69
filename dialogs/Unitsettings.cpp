#include "Unitsettings.h"

#include "DialogSupport.h"
#include "LinkLabel.h"
#include "Main.h"
#include "RegexLibrary.h"
#include "WebLinks.h"
#include "Windows.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QtMath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStringList>
#include <QTextDocument>
#include <QTabWidget>
#include <QVBoxLayout>

#include <tuple>

namespace {

// Each description is a list of lines, each but the last ending in a blank,
// so that joined and word-wrapped they read as running prose.
const QStringList PerlDescription = {
    "The Perl regular expression syntax is based on that used by the programming ",
    "language Perl ",
};
const QStringList BasicDescription = {
    "The POSIX-Basic regular expression syntax is used by the Unix utility sed, ",
    "and variations are used by grep and emacs.",
};
const QStringList ExtendedDescription = {
    "The POSIX-Extended regular expression syntax is supported by the POSIX C ",
    "regular expression API's, and variations are used by the utilities egrep and ",
    "awk.",
};
const QStringList MatchDescription = {
    "The algorithm regex _match determines whether a given regular expression ",
    "matches all of a given character sequence denoted by a pair of ",
    "bidirectional-iterators, the algorithm is defined as follows, the main use of this ",
    "function is data input validation.",
};
const QStringList SearchDescription = {
    "The algorithm regex_search will search a range denoted by a pair of ",
    "bidirectional-iterators for a given regular expression. The algorithm uses ",
    "shortcuts to save time: it tries for a match only at those positions where ",
    "a match could possibly begin.",
};
const QStringList GrepDescription = {
    "The algorithm regex_grep is deprecated in favor of regex_iterator which ",
    "provides a more convenient and standard library friendly interface.",
};
const QStringList ReplaceDescription = {
    "The algorithm regex_replace searches through a string finding all the ",
    "matches to the regular expression: for each match it then calls ",
    "match_results::format to format the string and sends the result to the output ",
    "iterator. Sections of text that do not match are copied to the output ",
    "iterator unchanged, but only while the flag \"format_no_copy\" is not set. ",
    "When the flag \"format_first_only\" is set, only the first occurrence is ",
    "replaced and the rest of the text is left as it is.",
};

// A description box: word-wrapped running text in the dialog's face colour.
QPlainTextEdit* CreateDescription(const char* name, const QStringList& lines,
                                  const QString& accessibleName, QWidget* parent)
{
    auto* memo = new QPlainTextEdit(lines.join(QString()), parent);
    memo->setObjectName(name);
    memo->setAccessibleName(accessibleName);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setTabChangesFocus(true);
    // The face colour by role, not a copy of it: the text colour follows the
    // theme, so the ground must follow it too.
    memo->viewport()->setBackgroundRole(QPalette::Window);
    return memo;
}

// Sizes a description box to show exactly `lines` lines, so that no line is
// cut in half; longer texts scroll.
void ShowLines(QPlainTextEdit* memo, int lines)
{
    // The document margin stands above the first line only; a 2-pixel gap
    // below the last line stays clear of the next line's glyphs.
    const int frame = 2 * memo->frameWidth();
    const int margin = int(memo->document()->documentMargin()) + 2;
    const qreal lineSpacing = QFontMetricsF(memo->font()).lineSpacing();
    memo->setFixedHeight(qCeil(lines * lineSpacing) + frame + margin);
}

QRadioButton* CreateChoice(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QRadioButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(caption.trimmed());
    return button;
}

// Tab reaches a group of choices at its checked member, as desktop users
// expect; the arrow keys move within the group. (Left alone, the tab stop
// would be whichever member last had the focus.)
void MakeCheckedChoiceTheTabStop(const QList<QRadioButton*>& group)
{
    const auto update = [group] {
        for (QRadioButton* choice : group)
            choice->setFocusPolicy(choice->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    };
    for (QRadioButton* choice : group)
        QObject::connect(choice, &QRadioButton::toggled, choice, update);
    update();
}

// The documentation is filed under the full release number ("1_74_0").
QString BoostReleaseNumber(const QString& separator)
{
    const tamarin::RegexLibraryRelease release = tamarin::RegexLibraryVersion();
    return QStringList{QString::number(release.major), QString::number(release.minor),
                       QString::number(release.patch)}
        .join(separator);
}

} // namespace

TfrmSettings::TfrmSettings(QWidget* parent) : QDialog(parent)
{
    DialogSupport::SetUpDialogFrame(this, "frmSettings", "Syntax", QSize(530, 410));

    pcSyntax = new QTabWidget(this);
    pcSyntax->setObjectName("pcSyntax");
    pcSyntax->setAccessibleName("Settings pages");
    pcSyntax->addTab(CreateSyntaxPage(), "Syntax");
    pcSyntax->addTab(CreateAlgorithmPage(), "Algorithm");
    pcSyntax->setCurrentIndex(0);

    pnRegexDocumentation = new LinkLabel(
        QStringLiteral("Boost.Regex %1 documentation").arg(BoostReleaseNumber(".")),
        QColor(0, 0, 255), this);
    pnRegexDocumentation->setObjectName("pnRegexDocumentation");
    pnRegexDocumentation->setAccessibleName("Regular expression library documentation");
    pnRegexDocumentation->setToolTip(RegexDocumentationAddress());

    std::tie(Button1, Button2) = DialogSupport::CreateOkCancelButtons(this);

    auto* foot = new QHBoxLayout;
    foot->addWidget(pnRegexDocumentation, 0, Qt::AlignLeft | Qt::AlignVCenter);
    foot->addStretch();
    foot->addWidget(Button1);
    foot->addWidget(Button2);

    DialogSupport::LayOutPagesOverFoot(this, pcSyntax, foot);

    connect(Button1, &QPushButton::clicked, this, &TfrmSettings::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TfrmSettings::Button2Click);
    connect(pnRegexDocumentation, &LinkLabel::clicked, this,
            &TfrmSettings::pnRegexDocumentationClick);
}

QWidget* TfrmSettings::CreateSyntaxPage()
{
    // Made a child of the dialog at once, so that its controls have the
    // dialog's face while they are sized.
    TabSheet1 = new QWidget(this);
    TabSheet1->setObjectName("TabSheet1");
    TabSheet1->setAccessibleName("Syntax");
    // Choices in SyntaxIndex order, each above its description.
    rbPerl = CreateChoice("rbPerl", "Perl Regular Expression ", TabSheet1);
    rbPerl->setChecked(true);
    Memo1 = CreateDescription("Memo1", PerlDescription, "About Perl syntax", TabSheet1);
    rbBasic = CreateChoice("rbBasic", "POSIX Basic Regular Expression ", TabSheet1);
    Memo3 = CreateDescription("Memo3", BasicDescription, "About POSIX Basic syntax", TabSheet1);
    rbExtended = CreateChoice("rbExtended", "POSIX-Extended Regular Expression", TabSheet1);
    Memo2 = CreateDescription("Memo2", ExtendedDescription, "About POSIX Extended syntax",
                              TabSheet1);

    MakeCheckedChoiceTheTabStop({rbPerl, rbBasic, rbExtended});

    auto* layout = new QVBoxLayout(TabSheet1);
    for (QWidget* control : {static_cast<QWidget*>(rbPerl), static_cast<QWidget*>(Memo1),
                             static_cast<QWidget*>(rbBasic), static_cast<QWidget*>(Memo3),
                             static_cast<QWidget*>(rbExtended), static_cast<QWidget*>(Memo2)})
        layout->addWidget(control);
    return TabSheet1;
}

QWidget* TfrmSettings::CreateAlgorithmPage()
{
    TabSheet2 = new QWidget(this);
    TabSheet2->setObjectName("TabSheet2");
    TabSheet2->setAccessibleName("Algorithm");
    rbMatch = CreateChoice("rbMatch", "Match", TabSheet2);
    Memo4 = CreateDescription("Memo4", MatchDescription, "About Match", TabSheet2);
    rbSearch = CreateChoice("rbSearch", "Search", TabSheet2);
    rbSearch->setChecked(true);
    Memo5 = CreateDescription("Memo5", SearchDescription, "About Search", TabSheet2);
    // The library has these two algorithms, but Tamarin has no runner for them.
    rbGrep = CreateChoice("rbGrep", "Grep", TabSheet2);
    rbGrep->setEnabled(false);
    Memo6 = CreateDescription("Memo6", GrepDescription, "About Grep", TabSheet2);
    reReplace = CreateChoice("reReplace", "Replace", TabSheet2);
    reReplace->setEnabled(false);
    Memo7 = CreateDescription("Memo7", ReplaceDescription, "About Replace", TabSheet2);

    MakeCheckedChoiceTheTabStop({rbMatch, rbSearch, rbGrep, reReplace});

    ShowLines(Memo4, 4);
    ShowLines(Memo5, 3);
    ShowLines(Memo6, 2);
    ShowLines(Memo7, 5);

    auto* layout = new QVBoxLayout(TabSheet2);
    layout->setSpacing(2);
    for (QWidget* control : {static_cast<QWidget*>(rbMatch), static_cast<QWidget*>(Memo4),
                             static_cast<QWidget*>(rbSearch), static_cast<QWidget*>(Memo5),
                             static_cast<QWidget*>(rbGrep), static_cast<QWidget*>(Memo6),
                             static_cast<QWidget*>(reReplace), static_cast<QWidget*>(Memo7)})
        layout->addWidget(control);
    layout->addStretch();
    return TabSheet2;
}

QString TfrmSettings::RegexDocumentationAddress()
{
    return QString::fromLatin1(WebLinks::RegexDocumentationFormat).arg(BoostReleaseNumber("_"));
}

void TfrmSettings::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (DialogSupport::CentreWhenShown(this, event))
        FormShow();
}

void TfrmSettings::FormShow()
{
    switch (frmMain->State.SyntaxIndex) {
    case 0: rbPerl->setChecked(true); break;
    case 1: rbBasic->setChecked(true); break;
    case 2: rbExtended->setChecked(true); break;
    default: break;  // no such syntax: the choice stays as it is
    }
    switch (frmMain->State.AlgorithmIndex) {
    case tamarin::AlgorithmMatch: rbMatch->setChecked(true); break;
    case tamarin::AlgorithmSearch: rbSearch->setChecked(true); break;
    default: break;
    }
}

void TfrmSettings::Button1Click()
{
    ApplySyntax();
    ApplyAlgorithm();
    accept();
}

void TfrmSettings::Button2Click()
{
    reject();
}

void TfrmSettings::pnRegexDocumentationClick()
{
    WebLinks::Open(RegexDocumentationAddress());
}

void TfrmSettings::ApplySyntax()
{
    if (rbPerl->isChecked())
        frmMain->State.SyntaxIndex = 0;
    else if (rbBasic->isChecked())
        frmMain->State.SyntaxIndex = 1;
    else if (rbExtended->isChecked())
        frmMain->State.SyntaxIndex = 2;
}

void TfrmSettings::ApplyAlgorithm()
{
    // Through the main window's selector, so that AlgorithmIndex, the
    // selector and the button caption change together, as on a user's pick.
    // Applying nothing new starts nothing; no evaluation either way.
    if (rbMatch->isChecked())
        frmMain->ComboBoxEx1->setCurrentIndex(tamarin::AlgorithmMatch);
    else if (rbSearch->isChecked())
        frmMain->ComboBoxEx1->setCurrentIndex(tamarin::AlgorithmSearch);
}
