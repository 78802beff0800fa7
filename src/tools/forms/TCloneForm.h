// The choice of shape for an array of IVPs: the source sets, diagonal or direct product, the
// number of vectors, and "Save all vectors".
#pragma once

#include "tools/CloneSets.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class RadioGroup;
class Ui;

class TCloneForm : public QDialog {
    Q_OBJECT
  public:
    TCloneForm(const CloneSource& source, const QString& initialPane, Ui& ui,
               QWidget* parent = nullptr);
    // The rows of the chosen array after Unfold; nothing otherwise.
    std::optional<CloneIndex> chosenIndex() const { return unfolded_; }

    QPlainTextEdit* REditInit;
    RadioGroup* rgArrayType;
    QLabel* imDiagonal;
    QLabel* imDirProd;
    QLabel* lbTotal;
    QPushButton* btUnfold;
    QPushButton* btCancel;

  private slots:
    void rgArrayTypeClick();
    void btUnfoldClick();
    void Saveastext1Click();

  private:
    const CloneSource& source_;
    Ui& ui_;
    CloneIndex index_;
    std::optional<CloneIndex> unfolded_;
};
