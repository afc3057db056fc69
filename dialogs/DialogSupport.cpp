#include "DialogSupport.h"

#include "Pictures.h"
#include "Theme.h"

#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

// The resources live in a static library; nothing else refers to them, so
// the linker would drop them unless they are registered explicitly.
static void RegisterDialogResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(dialogs);
        return true;
    }();
    (void)registered;
}

namespace DialogSupport {

void SetUpDialogFrame(QDialog* dialog, const QString& objectName, const QString& caption,
                      QSize clientSize)
{
    dialog->setObjectName(objectName);
    dialog->setWindowTitle(caption);
    dialog->setFont(Theme::DesignedFont());
    dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint);
    dialog->setFixedSize(clientSize);
}

QPushButton* CreateButton(const char* objectName, const QString& caption,
                          const QString& accessibleName, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAccessibleName(accessibleName);
    button->setMinimumWidth(ButtonWidth);
    return button;
}

QLabel* CreateResultLabel(const char* objectName, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    return label;
}

std::pair<QPushButton*, QPushButton*> CreateOkCancelButtons(QWidget* parent)
{
    QPushButton* ok = CreateButton("Button1", "&OK", "OK", parent);
    ok->setDefault(true);
    QPushButton* cancel = CreateButton("Button2", "&Cancel", "Cancel", parent);
    return {ok, cancel};
}

void LayOutPagesOverFoot(QDialog* dialog, QWidget* pages, QLayout* foot)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->addWidget(pages, 1);
    layout->addLayout(foot);
}

void CentreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // frameGeometry() includes the title bar once the window system has told
    // us its size; before the first showing it is the client area alone.
    const QRect available = screen->availableGeometry();
    const QSize outer = window->frameGeometry().size();
    window->move(available.left() + (available.width() - outer.width()) / 2,
                 available.top() + (available.height() - outer.height()) / 2);
}

bool CentreWhenShown(QWidget* dialog, const QShowEvent* event)
{
    if (event->spontaneous())
        return false;
    CentreOnScreen(dialog);
    return true;
}

QPixmap Picture(const QString& name, QSize size, qreal devicePixelRatio)
{
    RegisterDialogResources();
    return Pictures::Pixmap(QStringLiteral(":/dialogs/") + name, size, devicePixelRatio);
}

} // namespace DialogSupport
