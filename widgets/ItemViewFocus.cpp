#include "ItemViewFocus.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QItemSelectionModel>

ItemViewFocus::ItemViewFocus(QAbstractItemView* view) : QObject(view), view_(view) {}

void ItemViewFocus::KeepCurrentOnlyWhileFocused(QAbstractItemView* view)
{
    view->installEventFilter(new ItemViewFocus(view));
}

bool ItemViewFocus::eventFilter(QObject* watched, QEvent* event)
{
    QItemSelectionModel* selection = view_->selectionModel();
    if (watched != view_ || !selection)
        return false;
    // NoUpdate: the selection stays as it is; only the current item moves.
    if (event->type() == QEvent::FocusOut && view_->currentIndex().isValid()) {
        putAside_ = view_->currentIndex();
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else if (event->type() == QEvent::FocusIn) {
        // Before the view's own handling, which would take the first item.
        if (putAside_.isValid() && !view_->currentIndex().isValid())
            selection->setCurrentIndex(putAside_, QItemSelectionModel::NoUpdate);
        putAside_ = QPersistentModelIndex();
    }
    return false;
}
