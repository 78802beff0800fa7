// The problem window's side of the Taylor profile: "Show Taylor profile" opens the window, which
// reads the variables and coefficients the debugging view shows.
#include "common/NumberText.h"
#include "tools/forms/TProfileForm.h"
#include "workspace/WorkspaceState.h"
#include "workspace/forms/RadioGroup.h"
#include "workspace/forms/StringGrid.h"
#include "workspace/forms/TProblForm.h"

#include <QCheckBox>
#include <QSpinBox>

ProfileSource TProblForm::profileSource() const {
    ProfileSource source;
    if (!problem_.Compiled)
        return source;
    const std::int32_t first = problem_.NumConst;
    const bool stored = rgView->itemIndex() == 1;
    const std::int32_t count = stored ? state_.Results.Vars : problem_.Coefficients.count() - first;
    for (std::int32_t k = 0; k < count; ++k) {
        // The grid's rows after its header: all values (constants first), or the stored ones.
        const int row = (stored ? 0 : first) + k + 1;
        std::string name = row < sgDebug->rowCountWithHeader() ? trim(sgDebug->cell(1, row)) : "";
        source.Names.push_back(name.empty() ? formatText("#%d", first + k) : name);
    }
    source.Independent = problem_.IndepLine; // among the main variables, which come first
    const int point = SpinEdit1->value();
    source.Coefficients = [this, stored, first, point](int k) {
        if (stored) {
            const auto entries = storedPointEntries(point);
            if (k >= static_cast<int>(entries.size()))
                return std::vector<Extended>{};
            return std::vector<Extended>(entries[k].begin(), entries[k].end());
        }
        const Extended* values = problem_.Coefficients[first + k];
        return std::vector<Extended>(values, values + problem_.Coefficients.length(first + k));
    };
    return source;
}

void TProblForm::cbShowProfileClick() {
    if (!cbShowProfile->isChecked()) {
        if (profileForm_)
            profileForm_->hide();
        return;
    }
    if (!profileForm_) {
        profileForm_ = new TProfileForm(
            state_, ui_, [this] { return profileSource(); }, this);
        profileForm_->onClose = [this] { cbShowProfile->setChecked(false); };
    }
    profileForm_->show();
    profileForm_->raise();
    profileForm_->activateWindow();
    profileForm_->FormActivate();
}
