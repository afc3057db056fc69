#include "PageTabListAccessible.h"

#include <QEvent>
#include <QPointer>
#include <QTabBar>

#include <utility>

namespace {

// One tab of a tab bar; a tab is no object of its own, so its interface is
// kept by the bar's, by index.
class PageTabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PageTabAccessible(QTabBar* bar, int index) : bar_(bar), index_(index) {}

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    bool isValid() const override { return bar_ && index_ < bar_->count(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(bar_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QString text(QAccessible::Text which) const override
    {
        if (!isValid())
            return {};
        switch (which) {
        case QAccessible::Name: {
            // The caption without its access-key mark ("&&" is a shown "&").
            QString caption = bar_->tabText(index_);
            caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
            caption.remove(u'&');
            caption.replace(u'\x01', u'&');
            return caption;
        }
        case QAccessible::Description: return bar_->tabToolTip(index_);
        default: return {};
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const bool shown = index_ == bar_->currentIndex();
        state.selectable = true;
        state.selected = shown;
        state.focusable = bar_->focusPolicy() != Qt::NoFocus;
        state.focused = shown && bar_->hasFocus();
        state.disabled = !bar_->isEnabled() || !bar_->isTabEnabled(index_);
        state.invisible = !bar_->isVisible() || !bar_->isTabVisible(index_);
        return state;
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = bar_->tabRect(index_);
        return QRect(bar_->mapToGlobal(local.topLeft()), local.size());
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& actionName) override
    {
        if (isValid() && actionName == pressAction())
            bar_->setCurrentIndex(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QTabBar> bar_;
    int index_;
};

// Qt names the bar as focused when the focus comes to it, and the shown tab
// only when the tab changes; this names the shown tab once the focus has
// come, so that what holds the focus is always the object named focused.
class TabFocusEvents : public QObject {
public:
    static constexpr const char* Name = "tamarin_tab_focus_events";

    explicit TabFocusEvents(QTabBar* bar) : QObject(bar), bar_(bar)
    {
        setObjectName(Name);
        bar->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == bar_ && event->type() == QEvent::FocusIn)
            // Queued: after Qt's own event for the bar.
            QMetaObject::invokeMethod(this, [this] { NameShownTab(); }, Qt::QueuedConnection);
        return false;
    }

private:
    void NameShownTab()
    {
        if (!bar_->hasFocus() || bar_->currentIndex() < 0 || !QAccessible::isActive())
            return;
        QAccessibleEvent focus(bar_, QAccessible::Focus);
        focus.setChild(bar_->currentIndex());
        QAccessible::updateAccessibility(&focus);
    }

    QTabBar* bar_;
};

} // namespace

PageTabListAccessible::PageTabListAccessible(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList)
{
    // Qt keeps one interface per bar, but a bar may outlive a reset of them.
    if (!bar->findChild<QObject*>(TabFocusEvents::Name, Qt::FindDirectChildrenOnly))
        new TabFocusEvents(bar);
}

PageTabListAccessible::~PageTabListAccessible()
{
    for (QAccessible::Id id : std::as_const(tabs_))
        QAccessible::deleteAccessibleInterface(id);
}

QTabBar* PageTabListAccessible::Bar() const
{
    return static_cast<QTabBar*>(widget());
}

QString PageTabListAccessible::text(QAccessible::Text which) const
{
    const QString own = QAccessibleWidget::text(which);
    // Unnamed, the list is called after the page shown, as Qt's own reading does.
    if (which == QAccessible::Name && own.isEmpty() && Bar()->currentIndex() >= 0)
        return Bar()->tabText(Bar()->currentIndex()).remove(u'&');
    return own;
}

QAccessible::State PageTabListAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    if (Bar()->count() > 0)
        state.focused = false;  // the shown tab holds it
    return state;
}

int PageTabListAccessible::childCount() const
{
    // The tabs, then the bar's own widgets (its scroll buttons).
    return Bar()->count() + QAccessibleWidget::childCount();
}

QAccessibleInterface* PageTabListAccessible::child(int index) const
{
    if (index < 0)
        return nullptr;
    if (index >= Bar()->count())
        return QAccessibleWidget::child(index - Bar()->count());
    if (const auto known = tabs_.constFind(index); known != tabs_.cend())
        return QAccessible::accessibleInterface(*known);
    auto* tab = new PageTabAccessible(Bar(), index);
    tabs_.insert(index, QAccessible::registerAccessibleInterface(tab));
    return tab;
}

int PageTabListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    for (auto it = tabs_.cbegin(); it != tabs_.cend(); ++it)
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key() < Bar()->count() ? it.key() : -1;
    const int widgetIndex = QAccessibleWidget::indexOfChild(child);
    return widgetIndex < 0 ? -1 : Bar()->count() + widgetIndex;
}

QAccessibleInterface* PageTabListAccessible::focusChild() const
{
    if (Bar()->hasFocus() && Bar()->currentIndex() >= 0)
        return child(Bar()->currentIndex());
    return QAccessibleWidget::focusChild();
}
