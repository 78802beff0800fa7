// Lets a window see every key pressed in it before the focused control does.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

class KeyPreview : public QObject {
    Q_OBJECT
  public:
    // Installs itself on the application; `onKey` gets the key of every press inside `window`.
    KeyPreview(QWidget* window, std::function<void(int key)> onKey);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    std::function<void(int)> onKey_;
};
