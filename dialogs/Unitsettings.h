#pragma once
// The syntax and algorithm settings dialog: chooses the syntax the main window
// compiles patterns with (written to SyntaxIndex on OK) and, on its second
// tab, the algorithm it runs (applied on OK as the main window's selector
// applies it). The main window refreshes its syntax status panel afterwards.

#include <QDialog>

class LinkLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

class TfrmSettings : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSettings(QWidget* parent = nullptr);

    QTabWidget* pcSyntax = nullptr;
    QWidget* TabSheet1 = nullptr;  // "Syntax"
    QRadioButton* rbPerl = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QRadioButton* rbBasic = nullptr;
    QPlainTextEdit* Memo3 = nullptr;
    QRadioButton* rbExtended = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QWidget* TabSheet2 = nullptr;  // "Algorithm"
    QRadioButton* rbMatch = nullptr;
    QPlainTextEdit* Memo4 = nullptr;
    QRadioButton* rbSearch = nullptr;
    QPlainTextEdit* Memo5 = nullptr;
    QRadioButton* rbGrep = nullptr;
    QPlainTextEdit* Memo6 = nullptr;
    QRadioButton* reReplace = nullptr;
    QPlainTextEdit* Memo7 = nullptr;
    QPushButton* Button1 = nullptr;  // "&OK"
    QPushButton* Button2 = nullptr;  // "&Cancel"
    LinkLabel* pnRegexDocumentation = nullptr;

    // Every passage from hidden to shown: both tabs follow the main window's state.
    void FormShow();
    // "&OK": applies syntax and algorithm, then closes.
    void Button1Click();
    // "&Cancel": closes; applies nothing.
    void Button2Click();
    // The library documentation link at the dialog's foot.
    void pnRegexDocumentationClick();

    // The address of the regex library's documentation for the version built against.
    static QString RegexDocumentationAddress();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* CreateSyntaxPage();
    QWidget* CreateAlgorithmPage();
    void ApplySyntax();
    void ApplyAlgorithm();
};
