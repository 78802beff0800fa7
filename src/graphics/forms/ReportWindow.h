// A text window for reports such as Image Info: cleared, filled line by line, shown; the user
// may edit the text and save it.
#pragma once

#include <QWidget>

#include <string>
#include <vector>

class QPlainTextEdit;
class QPushButton;
class Ui;

class ReportWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ReportWindow(Ui& ui, QWidget* parent = nullptr);

    QPlainTextEdit* REdit;
    QPushButton* btSave;

    // Replaces the text by the lines (a line may hold "\r\n" breaks of its own) and shows it.
    void showLines(const std::vector<std::string>& lines);
    std::string text() const;

  public slots:
    void btSaveClick();

  private:
    Ui& ui_;
};
