// The "Parameters for 3D (in cm)" form: the viewing distances and the three turns in a grid, the
// number of mouse Z-stops, and the check of the distances on closing.
#pragma once

#include "graphics/View3DCommands.h"

#include <QDialog>

class QLabel;
class QMenuBar;
class QTableWidget;

class TForm3D : public QDialog {
    Q_OBJECT
  public:
    TForm3D(GraphModel& model, GraphProblem& graph, Ui& ui, QWidget* parent = nullptr);

    QTableWidget* StringGrid1;
    QLabel* lbSwap;
    QMenuBar* menu;

    ViewCells cells() const;

  public slots:
    void Zstops1Click();
    // Every way of closing runs the check; a refused one keeps the form open.
    void done(int result) override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void FormCreate();
    // Reads and applies the cells; false keeps the form open.
    bool FormClose();

    GraphModel& model_;
    GraphProblem& graph_;
    Ui& ui_;
    bool closing_ = false;
};
