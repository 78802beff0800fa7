// The form of re-scaled pictures and movies: colour depth, scale factor with the size and memory
// estimate, Copy and Save of the replotted picture, and Record of movie frames.
#pragma once

#include "common/Extended.h"

#include <QDialog>

#include <QImage>

#include <functional>
#include <optional>

class GraphModel;
class MovieRecorder;
class QLabel;
class QLineEdit;
class QPushButton;
class RadioGroup;
class Ui;
struct GraphProblem;

class THighResPrnForm : public QDialog {
    Q_OBJECT
  public:
    // `replot` draws the window's picture again at screen size (after a recording or a
    // re-scaled picture); `graph` gives the problem the curves come from.
    THighResPrnForm(GraphModel& model, std::function<GraphProblem()> graph, MovieRecorder& movie,
                    Ui& ui, double movieSeconds, QWidget* parent = nullptr);

    RadioGroup* rgPixelFormat;
    QLabel* lbScale;
    QLineEdit* LabeledEdit1;
    QLabel* lbResult;
    QPushButton* btDone;
    QPushButton* btSave;
    QLabel* lbIntegrationSpan;
    QLabel* lbFrameNumber;
    QLineEdit* leFrameNumber;
    QPushButton* btRecord;

    Extended scaleFactor() const { return scale_; }
    int depth() const;

  public slots:
    void FormPaint(); // the texts from the image size, scale and format
    void LabeledEdit1Change();
    void rgPixelFormatClick();
    void btDoneClick();
    void btSaveClick();
    void btRecordClick();

  protected:
    void done(int result) override; // closing in any way resets the scale factor

  private:
    std::optional<QImage> rescaled();

    GraphModel& model_;
    std::function<GraphProblem()> graph_;
    MovieRecorder& movie_;
    Ui& ui_;
    double movieSeconds_;
    Extended scale_ = 1;
    int format_ = 1;
};
