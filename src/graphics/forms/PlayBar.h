// The play bar: a track bar that marks the end of every stored segment with a tick.
#pragma once

#include <QSlider>

#include <vector>

class PlayBar : public QSlider {
    Q_OBJECT
  public:
    explicit PlayBar(QWidget* parent = nullptr);
    // Positions (0 .. maximum) that get a tick.
    void setTicks(const std::vector<int>& ticks);
    const std::vector<int>& ticks() const { return ticks_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<int> ticks_;
};
