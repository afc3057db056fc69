#include "Unitabout.h"

#include "DialogSupport.h"
#include "LinkLabel.h"
#include "ProductInfo.h"
#include "WebLinks.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

constexpr QSize PictureSize(153, 233);
constexpr int TextSpacing = 4;
constexpr int PictureToTexts = 16;
constexpr int SectionSpacing = 10;  // picture and texts, line, buttons

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent)
{
    DialogSupport::SetUpDialogFrame(this, "frmAbout", "About Tamarin", QSize(541, 314));
    CreateTexts();

    Panel8 = new QFrame(this);
    Panel8->setObjectName("Panel8");
    Panel8->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    Panel8->setFixedHeight(2);
    Panel8->setAccessibleName("Separator");

    Button1 = DialogSupport::CreateButton("Button1", "&Close", "Close", this);
    Button1->setDefault(true);
    // A screen reader reads a dialog's description when the dialog opens,
    // where it would pass over short texts such as the name and the version.
    setAccessibleDescription(QStringLiteral("%1 %2").arg(ProductInfo::Name, ProductInfo::VersionText));

    LayOutControls();
    connect(Button1, &QPushButton::clicked, this, &TfrmAbout::Button1Click);
    connect(Panel6, &LinkLabel::clicked, this, &TfrmAbout::Panel6Click);
}

// The picture, the product's name and version, and the link.
void TfrmAbout::CreateTexts()
{
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setFixedSize(PictureSize);
    Image1->setPixmap(DialogSupport::Picture("about", PictureSize, devicePixelRatio()));
    Image1->setAccessibleName("Tamarin picture");

    Panel1 = new QLabel(ProductInfo::Name, this);
    Panel1->setObjectName("Panel1");
    // Read as the texts they show; the descriptions say what each one is.
    Panel1->setAccessibleDescription("Product name");
    QFont bold = Panel1->font();
    bold.setBold(true);
    Panel1->setFont(bold);

    Panel2 = new QLabel(ProductInfo::VersionText, this);
    Panel2->setObjectName("Panel2");
    Panel2->setAccessibleDescription("Version");

    Panel6 = new LinkLabel(QString::fromLatin1(WebLinks::HomePage), QColor(0, 0, 255), this);
    Panel6->setObjectName("Panel6");
    Panel6->setAccessibleName("Tamarin web site");
}

void TfrmAbout::LayOutControls()
{
    auto* texts = new QVBoxLayout;
    texts->setSpacing(TextSpacing);
    texts->addWidget(Panel1);
    texts->addWidget(Panel2);
    texts->addStretch();
    texts->addWidget(Panel6, 0, Qt::AlignRight);

    auto* top = new QHBoxLayout;
    top->setSpacing(PictureToTexts);
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);

    auto* layout = new QVBoxLayout(this);
    const int margin = DialogSupport::Margin;
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(SectionSpacing);
    layout->addLayout(top, 1);
    layout->addWidget(Panel8);
    layout->addLayout(buttons);
}

void TfrmAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Everything shown is fixed; a showing only needs the box centred, and
    // the focus on Close, so that Enter closes the box rather than opening
    // the web site.
    if (DialogSupport::CentreWhenShown(this, event))
        Button1->setFocus();
}

void TfrmAbout::Button1Click()
{
    accept();
}

void TfrmAbout::Panel6Click()
{
    WebLinks::Open(WebLinks::HomePage);
}
