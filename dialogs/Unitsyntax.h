#pragma once
// The syntax error test: compiles a pattern in the chosen syntax and says
// whether it is a valid regular expression. It matches nothing and changes
// nothing outside itself. Shown modelessly.

#include "Samples.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QPlainTextEdit;

class TfrmSyntax : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSyntax(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Panel2 = nullptr;
    QPlainTextEdit* mnoSignature = nullptr;  // the pattern under test
    QLineEdit* Edit2 = nullptr;         // the verdict
    QComboBox* ComboBoxEx1 = nullptr;   // syntax, entry index = SyntaxIndex
    QPushButton* Button2 = nullptr;     // "&Test"
    QPushButton* Button1 = nullptr;     // "&Close"

    // Every passage from hidden to shown: the sample pattern and the current syntax.
    void FormShow();
    // "&Test": compile and give the verdict.
    void Button2Click();
    // "&Close": hide the dialog.
    void Button1Click();

    // The pattern put into the editor at every showing.
    static constexpr const char* SamplePattern = Samples::SocialNumber;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void CreateControls();
    void LayOutControls();

    // A showing starts when the dialog comes up from hidden. Qt 6.8 sends a
    // show event again when a shown dialog is only brought to the front.
    bool hidden_ = true;
};
