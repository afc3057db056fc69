#pragma once
// The match options dialog. Case sensitivity and real-time match are mirrored
// from the main window when shown and written back on OK; "Syntax Check" and
// "HightLight & Focus" live only here and the engine reads them at the moment
// of each evaluation.

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QTabWidget;

class TfrmConfig : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConfig(QWidget* parent = nullptr);

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet2 = nullptr;  // "Match Option"
    QCheckBox* cbCaseSensitive = nullptr;
    QCheckBox* cfgSyntaxCheck = nullptr;  // read by the engine
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* cfgHighLight = nullptr;  // read by the engine
    QCheckBox* cbSimultaneous = nullptr;
    QPushButton* Button1 = nullptr;  // "&OK"
    QPushButton* Button2 = nullptr;  // "&Cancel"

    // Every passage from hidden to shown: mirror the main window's boxes.
    void FormShow();
    // "&OK": write the options back to the main window and its status bar.
    void Button1Click();
    // "&Cancel": close without writing anything to the main window.
    void Button2Click();
    // Highlight and real-time match exclude each other, in both windows.
    void cfgHighLightClick(bool checked);

    // Cancel, the close box and Escape all end here: the two live options
    // return to what they were when the dialog was shown.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateMatchOptionPage();
    void RewriteStatusPanels();

    bool syntaxCheckWhenShown_ = false;
    bool highLightWhenShown_ = false;
};
