#pragma once
// The credit card checker: a card number typed into four boxes is checked
// with the Luhn checksum whenever the last box changes. Stands apart from the
// regular-expression workbench; it uses nothing of the engine.

#include <QDialog>

class LinkLabel;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;

class TfrmCredit : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCredit(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;       // decorative strip along the left edge
    LinkLabel* Panel11 = nullptr;   // "Tamarin", the product page
    QLabel* Panel4 = nullptr;       // "Mll Digit Value"
    QPushButton* Button3 = nullptr; // "?"
    QLabel* pnValidate = nullptr;   // the verdict
    QLineEdit* Edit1 = nullptr;
    QLabel* Panel1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLabel* Panel2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLabel* Panel3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLabel* Panel6 = nullptr;  // card types, for the user's information
    QLabel* Panel7 = nullptr;
    QLabel* Panel8 = nullptr;
    QLabel* Panel9 = nullptr;
    QLabel* Panel5 = nullptr;
    QLabel* Image2 = nullptr;  // decorative card

    // Any change of the first three boxes empties the verdict and, once a box
    // is full, moves on to the next.
    void Edit1Change();
    void Edit2Change();
    void Edit3Change();
    // Any change of the last box checks the whole number.
    void Edit4Change();
    // "?": the table of what the first digit of a card number stands for.
    void Button3Click();
    // "Tamarin": the product page.
    void Panel11Click();

    // The text shown by "?", one line per entry.
    static QString IssuerDigitTable();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateHeader();
    void CreateVerdictAndNumber();
    void CreateCardTypes();
    void LayOutControls();
    QLayout* LayOutCardTypes();
    void ClearVerdictAndMoveOn(QLineEdit* box, QLineEdit* next);
    void CheckNumber();
};
