#pragma once
// Keeps an item view's current item only while the view has the focus.
// Qt reads the current item of a view as focused for assistive technology
// whether or not the view has the focus, so after a visit to the view a
// screen reader would find two focused objects: the control the user is in
// and the item left behind. The item is put aside when the focus leaves and
// put back when it returns, so the user comes back to where they were; what
// the view shows does not change (a view draws its current item only while
// it has the focus).
#include <QObject>
#include <QPersistentModelIndex>

class QAbstractItemView;

class ItemViewFocus : public QObject {
public:
    // Watches `view` for as long as it lives.
    static void KeepCurrentOnlyWhileFocused(QAbstractItemView* view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ItemViewFocus(QAbstractItemView* view);

    QAbstractItemView* view_;
    QPersistentModelIndex putAside_;
};
