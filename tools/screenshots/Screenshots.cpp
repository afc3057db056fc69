#include "Screenshots.h"

#include "Application.h"
#include "ExplainPage.h"
#include "DialogPictures.h"
#include "Main.h"
#include "Theme.h"
#include "MatchTableModel.h"
#include "Unitmatches.h"
#include "Unitsettings.h"
#include "Windows.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QStyleFactory>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>
#include <QTest>
#include <QTextStream>
#include <QWidget>

#include <functional>

namespace {

struct Shot {
    const char* name;                       // file name without ".png"
    std::function<QWidget*()> prepare;      // shows the window in the wanted state
    std::function<void(QWidget*)> finish;   // puts it back (may be empty)
};

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// A pattern and an input typed as a user would, so the shot shows a result.
void TypeExample()
{
    frmMain->mmoSignature->setFocus();
    QTest::keyClicks(frmMain->mmoSignature, "[0-9]{4}-[0-9]{2}-[0-9]{2}");
    frmMain->reSearch->setFocus();
    QTest::keyClicks(frmMain->reSearch, "Invoice 0042 was paid on 2007-08-28 by card.");
    frmMain->btnMatch->setFocus();
}

// The matches window beside a typed example, listed, its second row
// selected; on `page` 1 with a replacement.
QWidget* ShowMatchesForPicture(int page)
{
    frmMain->show();
    frmMain->mmoSignature->setPlainText("(?<user>\\w+)@(\\w+)\\.(com|org)?");
    frmMain->reSearch->setPlainText("Write to ann@example.com or to bob@tamarin.org;\n"
                                    "carol@lab. has no top level domain.\tdave@mail.com");
    frmMatches->show();
    frmMatches->pcMatches->setCurrentIndex(page);
    if (page == 1)
        frmMatches->edReplaceWith->setText("$2: $+{user}");
    if (!QTest::qWaitFor([] { return !frmMatches->Busy(); }, 10000))
        QTextStream(stderr) << "the matches window is still listing\n";
    frmMatches->tvMatches->setCurrentIndex(frmMatches->Model()->index(1, MatchTableModel::FirstGroup));
    frmMatches->tvMatches->resizeColumnsToContents();
    return frmMatches;
}

void HideMatches(QWidget*);

// The Explain page for `pattern` in `syntax`, the node of group `group` chosen.
QWidget* ShowExplainForPicture(const QString& pattern, int syntax, int group)
{
    frmMain->show();
    frmMain->State.SyntaxIndex = syntax;
    frmMain->mmoSignature->setPlainText(pattern);
    frmMain->reSearch->setPlainText("id:ann@example.com, id:bob@tamarin.org");
    frmMatches->show();
    frmMatches->MainWindowChange();
    frmMatches->pcMatches->setCurrentIndex(2);
    if (!QTest::qWaitFor([] { return !frmMatches->Busy(); }, 10000))
        QTextStream(stderr) << "the matches window is still explaining\n";
    if (group > 0)
        frmMatches->Explainer()->ChooseGroup(group);
    frmMatches->tvExplain->setFocus();
    return frmMatches;
}

void HideExplain(QWidget* window)
{
    frmMain->State.SyntaxIndex = 0;
    frmMatches->pcMatches->setCurrentIndex(0);
    HideMatches(window);
}

void HideMatches(QWidget*)
{
    frmMatches->edReplaceWith->clear();
    frmMatches->hide();
    frmMain->mmoSignature->clear();
    frmMain->reSearch->clear();
}

// Add a line here for every window the documentation shows.
const Shot Shots[] = {
    {"main-window", [] { frmMain->show(); return static_cast<QWidget*>(frmMain); }, {}},
    {"main-window-match",
     [] {
         frmMain->show();
         TypeExample();
         return static_cast<QWidget*>(frmMain);
     },
     [](QWidget*) {
         frmMain->mmoSignature->clear();
         frmMain->reSearch->clear();
     }},
    {"settings-dialog", ShowSettingsForPicture, HideDialog},
    {"settings-dialog-algorithm",
     [] {
         QWidget* dialog = ShowSettingsForPicture();
         frmSettings->pcSyntax->setCurrentIndex(1);
         return dialog;
     },
     HideDialog},
    {"config-dialog", ShowConfigForPicture, HideDialog},
    {"syntax-test-dialog", ShowSyntaxTestForPicture, HideDialog},
    {"credit-card-checker", ShowCreditCheckerForPicture, HideDialog},
    {"about-box", ShowAboutForPicture, HideDialog},
    {"matches-window", [] { return ShowMatchesForPicture(0); }, HideMatches},
    {"matches-window-replace", [] { return ShowMatchesForPicture(1); }, HideMatches},
    {"explain-perl", [] { return ShowExplainForPicture("(?<=id:)(?<user>\\w+)@(\\w+)\\.(com|org)", 0, 1); }, HideExplain},
    {"explain-extended", [] { return ShowExplainForPicture("(?<=id:)(?<user>\\w+)@(\\w+)\\.(com|org)", 2, 0); },
     HideExplain},
    {"explain-error", [] { return ShowExplainForPicture("(\\w+)@(\\w+\\.(com|org)", 0, 0); }, HideExplain},
    {"explain-warning", [] { return ShowExplainForPicture("^(\\w+\\s?)+$", 0, 0); }, HideExplain},
};

const Shot* FindShot(const QString& name)
{
    for (const Shot& shot : Shots)
        if (name == QLatin1String(shot.name))
            return &shot;
    return nullptr;
}

} // namespace

QStringList ShotNames()
{
    QStringList names;
    for (const Shot& shot : Shots)
        names << QString::fromLatin1(shot.name);
    return names;
}

namespace {

using Selection = QList<std::pair<const Shot*, QString>>;

// Which shots under which file names: "shot" or "shot=file". False, with a
// message, when an item names no shot.
bool SelectShots(const QStringList& selection, Selection& wanted, QTextStream& err)
{
    for (const QString& item : selection) {
        const QString name = item.section('=', 0, 0);
        const QString file = item.contains('=') ? item.section('=', 1) : name;
        const Shot* shot = FindShot(name);
        if (!shot || file.isEmpty()) {
            err << "no such shot: " << item << " (there are " << ShotNames().join(", ") << ")\n";
            return false;
        }
        wanted.append({shot, file});
    }
    return true;
}

int TakeShots(const Selection& wanted, const QString& directory, QTextStream& err)
{
    int failures = 0;
    for (const auto& [shot, name] : wanted) {
        QWidget* window = shot->prepare();
        Settle();
        const QString file = QDir(directory).filePath(name + ".png");
        if (!window->grab().save(file)) {
            err << "cannot write " << file << "\n";
            ++failures;
        }
        if (shot->finish)
            shot->finish(window);
        Settle();
    }
    return failures;
}

} // namespace

int TakeScreenshots(const QString& directory, const ShotOptions& options)
{
    QTextStream err(stderr);
    if (!QDir().mkpath(directory)) {
        err << "cannot create " << directory << "\n";
        return 1;
    }
    Selection wanted;
    if (!SelectShots(options.selection.isEmpty() ? ShotNames() : options.selection, wanted, err))
        return 1;

    PrepareApplication();
    if (options.dark) {
        // Before the windows exist, as when the desktop starts Tamarin dark.
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        QApplication::setPalette(Theme::DarkDesktopPalette());
    }
    CreateWindows();
    const int failures = TakeShots(wanted, directory, err);
    DestroyWindows();
    return failures == 0 ? 0 : 1;
}
