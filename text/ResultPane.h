#pragma once
// A read-only view of a text of any length: a result pane. It shares the
// version of the text it is given, so setting a slice of the input costs
// nothing, and shows it as a sliced view does: only the rows on screen are
// laid out.
#include "SlicedTextView.h"

#include <QString>

#include <memory>

class ResultPane : public SlicedTextView {
    Q_OBJECT
    Q_PROPERTY(QString plainText READ toPlainText NOTIFY textChanged)
    Q_PROPERTY(bool readOnly READ isReadOnly CONSTANT)
public:
    explicit ResultPane(QWidget* parent = nullptr);

    // Shows `length` characters of `source` from `start`, sharing it.
    void setText(std::shared_ptr<const TextVersion> source, qsizetype start, qsizetype length);
    void setPlainText(const QString& text);
    TextSpan text() const override;
    QString toPlainText() const { return text().toString(); }
    bool isReadOnly() const { return true; }

signals:
    void textChanged();

protected:
    qsizetype Anchor() const override { return anchor_; }
    qsizetype Caret() const override { return caret_; }
    void Select(qsizetype anchor, qsizetype caret) override;
    SharedSpan ShareSpan(qsizetype from, qsizetype to) const override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    std::shared_ptr<const TextVersion> source_;
    qsizetype start_ = 0;
    qsizetype length_ = 0;
    qsizetype anchor_ = 0;
    qsizetype caret_ = 0;
};
