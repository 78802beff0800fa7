// While a run is under way the problem windows and the graph window take no commands: the input
// aimed at them is dropped, so that nothing can change the problem, the Results array or the
// settings under the running loop. Esc gets through and asks the run to stop; closing a window
// stops the run first.
#pragma once

#include <QObject>

class QWidget;

class RunInputGuard : public QObject {
  public:
    // Marks a window whose input is dropped while any run is under way.
    static void guardDuringRuns(QWidget& window);

    RunInputGuard();
    ~RunInputGuard() override;
    RunInputGuard(const RunInputGuard&) = delete;
    RunInputGuard& operator=(const RunInputGuard&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
