#pragma once
// A flat text panel that acts as a web link: hand cursor, reachable with Tab,
// and "clicked" on a mouse click or on Space/Enter while it has the focus.

#include <QLabel>

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    // `colour` is the text colour; the text is drawn underlined.
    LinkLabel(const QString& text, const QColor& colour, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};
