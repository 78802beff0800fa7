// The polynomial designer: the list of the problem's designed polynomials with New, Rename,
// Clone and Delete, the variables in scope of the selected one, and the check of them all.
#pragma once

#include <QDialog>

#include <optional>
#include <string>

class QListWidget;
class QPushButton;
class TPolyChildForm;
class TPolyViewForm;
class TProblForm;
class Ui;

class TPolyDesignForm : public QDialog {
    Q_OBJECT
  public:
    TPolyDesignForm(TProblForm& problem, Ui& ui);

    // The list again from the problem's polynomials (after a compile, a load or a generation).
    void refresh();
    // Selects and shows polynomial `index`.
    void selectPolynomial(int index);

    TPolyChildForm* polyWindow() const { return child_; }
    TPolyViewForm* viewer() const { return viewer_; }

    QListWidget* LBoxPolys;
    QListWidget* LBoxVars;
    QPushButton* btNewPoly;
    QPushButton* btRename;
    QPushButton* btClone;
    QPushButton* btDeletePoly;
    QPushButton* bt1degree;
    QPushButton* bt2degree;
    QPushButton* btCheckSyntax;
    QPushButton* btHelp;

  public slots:
    void btNewPolyClick();
    void btRenameClick();
    void btCloneClick();
    void btDeletePolyClick();
    void LBoxPolysClick();
    void bt1degreeClick();
    void bt2degreeClick();
    void btCheckSyntaxClick();
    void btHelpClick();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::optional<std::string> askName(const std::string& title, const std::string& prompt,
                                       const std::string& proposal, int except);
    int selectedPolynomial(); // -1 after "No polynomial selected"
    void populate(bool secondDegree);
    void refreshViewer();
    void edited(); // tells the problem window that its polynomials changed

    TProblForm& problem_;
    Ui& ui_;
    TPolyChildForm* child_;
    TPolyViewForm* viewer_;
};
