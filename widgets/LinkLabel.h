#pragma once
// A flat text panel that acts as a web link: hand cursor, reachable with Tab,
// and "clicked" on a mouse click or on a press of Space/Enter (not on its
// auto-repeat) while it has the focus. Assistive technology reads it as a
// link (LinkLabelAccessible).

#include <QColor>
#include <QLabel>

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    // `colour` is the text colour where it reads on the theme's face (else a
    // readable link colour of the theme); the text is drawn underlined.
    LinkLabel(const QString& text, const QColor& colour, QWidget* parent = nullptr);

    // Opens the link as a click does (assistive technology's "press").
    void Follow();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateTextColour();

    QColor colour_;
    bool pressed_ = false;
};
