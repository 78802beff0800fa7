// The numbered-sample runner: picks an orbit of a catalogue by its number and runs it.
#pragma once

#include "workspace/NumberedSamples.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QSpinBox;
class Ui;

class TRunSamplesForm : public QDialog {
    Q_OBJECT
  public:
    TRunSamplesForm(Ui& ui, QWidget* parent = nullptr);

    // Shows the window for the catalogue; Run this hands the orbit to `run`.
    void showCatalog(const SampleCatalog& catalog,
                     std::function<void(const SampleCatalog&, const SampleOrbit&)> run);

    QLabel* lbNumber;
    QSpinBox* UpDown1; // the edit with its up-down arrows
    QPushButton* btRun;

  public slots:
    void btRunClick();

  private:
    Ui& ui_;
    SampleCatalog catalog_;
    std::function<void(const SampleCatalog&, const SampleOrbit&)> run_;
};
