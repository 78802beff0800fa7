// A captioned group of radio buttons.
#include "workspace/forms/RadioGroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)), layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(6, 4, 6, 4);
    layout_->setSpacing(2);
    for (const QString& text : items) {
        auto* button = new QRadioButton(text, this);
        group_->addButton(button, static_cast<int>(buttons_.size()));
        layout_->addWidget(button);
        buttons_.push_back(button);
    }
    if (!buttons_.empty())
        buttons_.front()->setChecked(true);
    connect(group_, &QButtonGroup::idClicked, this, &RadioGroup::clicked);
}

int RadioGroup::itemIndex() const {
    return group_->checkedId();
}

void RadioGroup::setItemIndex(int index) {
    if (index < 0 || index >= count())
        return;
    QSignalBlocker blocker(group_);
    buttons_[index]->setChecked(true);
}
