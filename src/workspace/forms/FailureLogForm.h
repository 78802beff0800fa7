// The log of failed error tests that "Go despite error" passed over: one read-only line per
// step taken at the smallest split regardless of its test.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QPlainTextEdit;

class FailureLogForm : public QDialog {
    Q_OBJECT
  public:
    explicit FailureLogForm(QWidget* parent = nullptr);

    // Shows the log's lines, appending when the log only grew since the last call; true when
    // lines were added.
    bool showLines(const std::vector<std::string>& lines);
    std::string text() const;

    QPlainTextEdit* memoLog;

  private:
    std::size_t shownLines_ = 0;
};
