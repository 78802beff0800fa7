// The Taylor profile window: bars of |a_n h^n| for one variable at a chosen step h.
#pragma once

#include "common/Extended.h"
#include "tools/TaylorProfile.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
class Ui;
struct EngineState;

// What the profile reads from the problem window: the variables after the constants, the
// independent one among them (or -1), and the coefficients of entry k as the debugging view
// shows them.
struct ProfileSource {
    std::vector<std::string> Names;
    int Independent = -1;
    std::function<std::vector<Extended>(int)> Coefficients;
};

// The diagram: bars on white, the term under the mouse reported.
class ProfileBox : public QWidget {
    Q_OBJECT
  public:
    using QWidget::QWidget;
    std::vector<int> Heights;
    std::vector<bool> Negative;

  signals:
    void resized();
    void pointerAt(int x);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

class TProfileForm : public QWidget {
    Q_OBJECT
  public:
    TProfileForm(EngineState& engine, Ui& ui, std::function<ProfileSource()> source,
                 QWidget* parent = nullptr);

    QComboBox* cbVarNames;
    QLabel* lbOrder;
    QLabel* lbR;
    QLabel* lbMax;
    QGroupBox* gbStep;
    QRadioButton* rbTo1;
    QRadioButton* rbThisValue;
    QRadioButton* rbUseBar;
    QLineEdit* edh;
    QSlider* tbVert;
    QGroupBox* gbLinearOrLog;
    QRadioButton* rbAsIs;
    QRadioButton* rbLg;
    ProfileBox* PaintBox1;

    // Called when the window closes (the main window unchecks its box).
    std::function<void()> onClose;

    // Reads the variable list again and redraws (on activation and when the source changes).
    void FormActivate();
    Extended step() const { return h_; }
    Extended radius() const { return radius_; }
    const ProfileBars& bars() const { return bars_; }

  public slots:
    void cbVarNamesChange();
    void rbStepClick();
    void edhReturn();
    void tbVertChange(int position);
    void rbKindClick();
    void PaintBox1MouseMove(int x);
    void copyToClipboard();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void takeCoefficients();
    void redraw();

    EngineState& engine_;
    Ui& ui_;
    std::function<ProfileSource()> source_;
    ProfileSource current_;
    std::vector<Extended> coefficients_;
    Extended radius_ = 0;
    Extended h_ = 1;
    ProfileBars bars_;
    bool settingBar_ = false;
};
