#include "Unitcredit.h"

#include "AccessibleWidgets.h"
#include "DescriptionAnnouncer.h"
#include "DialogSupport.h"
#include "LinkLabel.h"
#include "LuhnCheck.h"
#include "Theme.h"
#include "WebLinks.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>
#include <QStringList>
#include <QVBoxLayout>

namespace {

constexpr const char* ValidVerdict = "Credit Card Number";
constexpr const char* InvalidVerdict = "Invalid Card Number";
constexpr const char* InitialVerdict = "Input Credit Card Number";
// Between the strip and the texts, and between the texts and the right edge.
constexpr int ContentMargin = 8;

QLabel* CreateText(const char* name, const QString& text, QWidget* parent)
{
    auto* panel = new QLabel(text, parent);
    panel->setObjectName(name);
    panel->setTextFormat(Qt::PlainText);
    panel->setAccessibleName(text);
    return panel;
}

QLineEdit* CreateNumberBox(const char* name, int maxLength, const QString& accessibleName,
                           QWidget* parent)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    box->setFixedWidth(57);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    Theme::KeepWhiteWithDarkText(box);
    AccessibleWidgets::QuietSelectionOnFocus(box);
    return box;
}

QLabel* CreatePicture(const char* name, const QString& picture, QSize size,
                      const QString& accessibleName, QWidget* parent)
{
    auto* image = new QLabel(parent);
    image->setObjectName(name);
    image->setFixedSize(size);
    image->setPixmap(DialogSupport::Picture(picture, size, parent->devicePixelRatio()));
    image->setAccessibleName(accessibleName);
    return image;
}

} // namespace

TfrmCredit::TfrmCredit(QWidget* parent) : QDialog(parent)
{
    DialogSupport::SetUpDialogFrame(this, "frmCredit", "Credit Card Checker", QSize(379, 219));
    // Created top to bottom, left to right: that is the tab order too.
    CreateHeader();
    CreateVerdictAndNumber();
    CreateCardTypes();
    LayOutControls();

    connect(Edit1, &QLineEdit::textChanged, this, &TfrmCredit::Edit1Change);
    connect(Edit2, &QLineEdit::textChanged, this, &TfrmCredit::Edit2Change);
    connect(Edit3, &QLineEdit::textChanged, this, &TfrmCredit::Edit3Change);
    connect(Edit4, &QLineEdit::textChanged, this, &TfrmCredit::Edit4Change);
    connect(Button3, &QPushButton::clicked, this, &TfrmCredit::Button3Click);
    connect(Panel11, &LinkLabel::clicked, this, &TfrmCredit::Panel11Click);
}

void TfrmCredit::CreateHeader()
{
    Image1 = CreatePicture("Image1", "credit-strip", QSize(17, 217), "Decorative strip", this);

    Panel11 = new LinkLabel("Tamarin", QColor(0, 0, 128), this);
    Panel11->setObjectName("Panel11");
    Panel11->setAccessibleName("Tamarin product page");
    Panel11->setToolTip(QString::fromLatin1(WebLinks::ProductPage));
    QFont linkFont = Panel11->font();
    linkFont.setBold(true);
    Panel11->setFont(linkFont);

    Panel4 = CreateText("Panel4", "Mll Digit Value", this);
    QFont italic = Panel4->font();
    italic.setItalic(true);
    Panel4->setFont(italic);

    Button3 = new QPushButton("?", this);
    Button3->setObjectName("Button3");
    Button3->setAccessibleName("Mll digit values");
    Button3->setFixedSize(17, 21);
    Button3->setCursor(Qt::WhatsThisCursor);
    // Enter in the number boxes must not pop up the table.
    Button3->setAutoDefault(false);
}

void TfrmCredit::CreateVerdictAndNumber()
{
    pnValidate = CreateText("pnValidate", InitialVerdict, this);
    // Read as the verdict it shows, not as the first one; the description
    // says what it is.
    pnValidate->setAccessibleName(QString());
    pnValidate->setAccessibleDescription("Verdict");
    pnValidate->setFixedSize(201, 25);
    pnValidate->setAlignment(Qt::AlignCenter);
    pnValidate->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnValidate->setAutoFillBackground(true);
    QPalette verdictColours = pnValidate->palette();
    verdictColours.setColor(QPalette::Window, Qt::black);
    verdictColours.setColor(QPalette::WindowText, Qt::yellow);
    pnValidate->setPalette(verdictColours);
    QFont verdictFont = pnValidate->font();
    verdictFont.setBold(true);
    pnValidate->setFont(verdictFont);

    Edit1 = CreateNumberBox("Edit1", 4, "Digits 1 to 4", this);
    Panel1 = CreateText("Panel1", "-", this);
    Panel1->setAccessibleName("Separator");
    Edit2 = CreateNumberBox("Edit2", 4, "Digits 5 to 8", this);
    Panel2 = CreateText("Panel2", "-", this);
    Panel2->setAccessibleName("Separator");
    Edit3 = CreateNumberBox("Edit3", 4, "Digits 9 to 12", this);
    Panel3 = CreateText("Panel3", "-", this);
    Panel3->setAccessibleName("Separator");
    // The last box takes a number of any length: all of it is checked.
    Edit4 = CreateNumberBox("Edit4", 0, "Remaining digits", this);
    Edit1->setFocus();
}

void TfrmCredit::CreateCardTypes()
{
    // Where "MS Serif" is missing, a narrow serif keeps the longest line whole.
    QFont cardTypeFont;
    cardTypeFont.setFamilies({QStringLiteral("MS Serif"), QStringLiteral("DejaVu Serif Condensed")});
    cardTypeFont.setPointSize(8);
    cardTypeFont.setStyleHint(QFont::Serif);
    cardTypeFont.setItalic(true);
    // Without that face the stand-in serif is wider: it is made a little
    // smaller until the longest line fits between the strip and the edge.
    const QString longest = "Diner's Club/Carte Blanche - 300xxx-305xxx,36xxxx,38xxxx - 14";
    const int room = width() - Image1->width() - 2 * ContentMargin;
    while (QFontMetrics(cardTypeFont).boundingRect(longest).width() + 2 > room
           && cardTypeFont.pointSizeF() > 6)
        cardTypeFont.setPointSizeF(cardTypeFont.pointSizeF() - 0.25);
    const auto cardType = [&](const char* name, const QString& text) {
        QLabel* line = CreateText(name, text, this);
        line->setFont(cardTypeFont);
        AccessibleWidgets::ReadAsReference(line);
        return line;
    };
    Panel6 = cardType("Panel6", longest);
    Panel7 = cardType("Panel7", "American Express - 34xxxx, 37xxxx - 15");
    Panel8 = cardType("Panel8", "VISA - 4xxxxx - 13/16");
    Panel9 = cardType("Panel9", "MasterCard - 51xxxx-55xxxx -16");
    Panel5 = cardType("Panel5", "Discover - 6011xx - 16");

    Image2 = CreatePicture("Image2", "credit-card", QSize(50, 31), "Decorative card", this);
}

void TfrmCredit::LayOutControls()
{
    auto* top = new QHBoxLayout;
    top->addWidget(Panel11);
    top->addStretch();
    top->addWidget(Panel4);
    top->addWidget(Button3);

    auto* number = new QHBoxLayout;
    number->setSpacing(3);
    number->addStretch();
    for (QWidget* part : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(Panel1),
                          static_cast<QWidget*>(Edit2), static_cast<QWidget*>(Panel2),
                          static_cast<QWidget*>(Edit3), static_cast<QWidget*>(Panel3),
                          static_cast<QWidget*>(Edit4)})
        number->addWidget(part);
    number->addStretch();

    auto* content = new QVBoxLayout;
    content->setContentsMargins(ContentMargin, 6, ContentMargin, 6);
    content->addLayout(top);
    content->addWidget(pnValidate, 0, Qt::AlignHCenter);
    content->addLayout(number);
    content->addStretch();
    content->addLayout(LayOutCardTypes());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 1, 0, 1);
    layout->setSpacing(0);
    layout->addWidget(Image1, 0, Qt::AlignTop);
    layout->addLayout(content, 1);
}

// The card types one per line; the card picture sits beside the short last
// lines, out of the way of the long first one.
QLayout* TfrmCredit::LayOutCardTypes()
{
    auto* types = new QGridLayout;
    types->setVerticalSpacing(1);
    types->setColumnStretch(0, 1);
    int row = 0;
    for (QLabel* line : {Panel6, Panel7, Panel8, Panel9, Panel5})
        types->addWidget(line, row++, 0, 1, 2);
    types->addWidget(Image2, 3, 1, 2, 1, Qt::AlignRight | Qt::AlignBottom);
    return types;
}

void TfrmCredit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Nothing is reset at showing: the number and verdict stay as they were.
    DialogSupport::CentreWhenShown(this, event);
}

void TfrmCredit::Edit1Change()
{
    ClearVerdictAndMoveOn(Edit1, Edit2);
}

void TfrmCredit::Edit2Change()
{
    ClearVerdictAndMoveOn(Edit2, Edit3);
}

void TfrmCredit::Edit3Change()
{
    ClearVerdictAndMoveOn(Edit3, Edit4);
}

void TfrmCredit::Edit4Change()
{
    CheckNumber();
}

void TfrmCredit::ClearVerdictAndMoveOn(QLineEdit* box, QLineEdit* next)
{
    // A verdict only ever stands for the number as it was when the last box
    // changed; any earlier box changing makes it stale.
    pnValidate->clear();
    DescriptionAnnouncer::Announce({Edit1, Edit2, Edit3, Edit4}, QString());
    if (box->text().size() >= 4)
        next->setFocus();
}

void TfrmCredit::CheckNumber()
{
    // An incomplete number is not checked; the verdict stays as it is.
    for (const QLineEdit* box : {Edit1, Edit2, Edit3, Edit4})
        if (box->text().isEmpty())
            return;
    const QString number = Edit1->text() + Edit2->text() + Edit3->text() + Edit4->text();
    pnValidate->setText(PassesLuhnCheck(number) ? ValidVerdict : InvalidVerdict);
    // Heard in the box being typed in, without leaving it.
    DescriptionAnnouncer::Announce({Edit1, Edit2, Edit3, Edit4}, pnValidate->text());
}

QString TfrmCredit::IssuerDigitTable()
{
    // Qt's message box breaks lines at "\n" (a "\r" would show as a glyph).
    return QStringList{
        "Mll Digit Value (First Digit)",
        "",
        "0 : ISO/TC 68 and other industry assignments",
        "1 : Airlines",
        "2 : Airlines and other industry assignments",
        "3 : Travel and entertainment",
        "4 : Banking and Financial",
        "5 : Banking and Financial",
        "6 : Merchandizing and banking",
        "7 : Petroleum",
        "8 : Telecommunications and other industry assignments",
        "9 : National assignment",
    }.join('\n');
}

void TfrmCredit::Button3Click()
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), IssuerDigitTable(),
                    QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void TfrmCredit::Panel11Click()
{
    WebLinks::Open(WebLinks::ProductPage);
}
