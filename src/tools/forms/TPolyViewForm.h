// The polynomial viewer: the selected designed polynomial as text, and its parts to the
// clipboard.
#pragma once

#include "workspace/DesignedPolynomial.h"

#include <QMainWindow>

class QAction;
class QPlainTextEdit;
class Ui;

class TPolyViewForm : public QMainWindow {
    Q_OBJECT
  public:
    TPolyViewForm(Ui& ui, QWidget* parent = nullptr);

    void showPolynomial(const DesignedPolynomial& polynomial);

    QPlainTextEdit* memView;
    QAction* Pt1;
    QAction* Pt2;
    QAction* Entirepolynomial1;

  private slots:
    void Pt1Click();
    void Pt2Click();
    void Entirepolynomial1Click();

  private:
    Ui& ui_;
    DesignedPolynomial shown_;
};
