#pragma once
// The About box: product name, version, picture and a link to the maker's site.

#include <QDialog>

class LinkLabel;
class QFrame;
class QLabel;
class QPushButton;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;   // product picture
    QLabel* Panel1 = nullptr;   // product name
    QLabel* Panel2 = nullptr;   // version
    LinkLabel* Panel6 = nullptr; // the maker's web address
    QFrame* Panel8 = nullptr;   // separator line
    QPushButton* Button1 = nullptr; // "&Close"

    // "&Close": ends the modal run.
    void Button1Click();
    // The link: the maker's web site.
    void Panel6Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateTexts();
    void LayOutControls();
};
