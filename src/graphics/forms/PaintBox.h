// The graph window's drawing surface: shows the screen copy of the plot and reports the mouse.
#pragma once

#include <QMouseEvent>
#include <QWidget>

class QImage;

class PaintBox : public QWidget {
    Q_OBJECT
  public:
    explicit PaintBox(QWidget* parent = nullptr);

    // The picture to show; null shows white. The box is sized by the window's layout.
    void setPicture(const QImage* picture) { picture_ = picture; }
    // Shows the picture shifted, while it is dragged; (0, 0) puts it back.
    void setShift(QPoint shift);

  signals:
    void mousePressed(QMouseEvent* event);
    void mouseMoved(QMouseEvent* event);
    void mouseReleased(QMouseEvent* event);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override { emit mousePressed(event); }
    void mouseMoveEvent(QMouseEvent* event) override { emit mouseMoved(event); }
    void mouseReleaseEvent(QMouseEvent* event) override { emit mouseReleased(event); }

  private:
    const QImage* picture_ = nullptr;
    QPoint shift_;
};
