// The phase-portrait designer: the portrait's parameters, the stroke colour and the table of
// points. It only shows and reads its controls; the graph window makes the portraits.
#pragma once

#include "graphics/PortraitParams.h"

#include <QMainWindow>

#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class RadioGroup;

class TFieldParamForm : public QMainWindow {
    Q_OBJECT
  public:
    // `read` stores the parameters read from the form (false after "Wrong field parameters
    // values"); `make` makes a portrait; `colour` runs the colour choice.
    struct Actions {
        std::function<bool()> read;
        std::function<void()> make;
        std::function<void()> colour;
    };
    TFieldParamForm(Actions actions, QWidget* parent = nullptr);

    // Fills the controls from the parameters, the swatch from the stroke colour.
    void FormCreate(const PortraitParams& params, QRgb strokeColour);
    void showColour(QRgb strokeColour);
    PortraitTexts texts() const;
    std::vector<std::string> pointLines() const;
    void appendPoint(const std::string& line);

    QLineEdit* leX;
    QLineEdit* leY;
    QLineEdit* leZ;
    QLineEdit* edStrokes;
    RadioGroup* rgSizeOfElem;
    QLineEdit* edSize;
    RadioGroup* rgTypeOfElem;
    QCheckBox* cbShowNode;
    QCheckBox* cbTable;
    QLabel* lbColor;
    QPlainTextEdit* memPoints;
    QPlainTextEdit* Memo1;
    QPushButton* btMake;
    QPushButton* btClear;

  public slots:
    void btMakeClick();
    void btClearClick();
    void Color1Click();
    void Close1Click();

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Reads once at a time: the message about a wrong field takes the focus from the designer,
    // which must not read again for it.
    bool read();
    Actions actions_;
    bool reading_ = false;
};
