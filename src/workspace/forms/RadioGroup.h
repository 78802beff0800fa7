// A captioned group of radio buttons with an item index, as the problem window's choices are.
#pragma once

#include <QGroupBox>

#include <vector>

class QButtonGroup;
class QRadioButton;
class QVBoxLayout;

class RadioGroup : public QGroupBox {
    Q_OBJECT
  public:
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    int itemIndex() const;
    // Selects an item without emitting `clicked`.
    void setItemIndex(int index);
    int count() const { return static_cast<int>(buttons_.size()); }
    QRadioButton* button(int index) const { return buttons_.at(index); }
    QVBoxLayout* itemLayout() const { return layout_; }

  signals:
    void clicked(int index); // a user choice

  private:
    QButtonGroup* group_;
    QVBoxLayout* layout_;
    std::vector<QRadioButton*> buttons_;
};
