// The window of one designed polynomial: its variable, its degree in the independent variable
// and the t, first-degree and second-degree coefficient tables.
#pragma once

#include "workspace/DesignedPolynomial.h"

#include <QWidget>

#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class TPolyChildForm : public QWidget {
    Q_OBJECT
  public:
    TPolyChildForm(std::vector<DesignedPolynomial>& polynomials, QWidget* parent = nullptr);

    // Shows polynomial `index` of the list; edits go straight into it.
    void showPolynomial(int index);
    int polynomialIndex() const { return index_; }

    QLineEdit* edVariable;
    QLabel* lbOver;    // "over independent variable " + name
    QLabel* lbDegrees; // "Degrees of " + name
    QLineEdit* edDegree;
    QPushButton* btApply;
    QTableWidget* sgt;
    QTableWidget* sg1;
    QTableWidget* sg2;

  signals:
    void changed(); // any edit of the polynomial

  private slots:
    void btApplyClick();
    void edVariableChange();
    void cellEdited(QTableWidget* grid, int row, int column);

  private:
    DesignedPolynomial& model() { return polynomials_[static_cast<std::size_t>(index_)]; }
    PolynomialTable& tableOf(QTableWidget* grid);
    void fillGrid(QTableWidget* grid, const PolynomialTable& table, int fixedRows,
                  int fixedColumns);

    std::vector<DesignedPolynomial>& polynomials_;
    int index_ = -1;
    bool filling_ = false;
};
