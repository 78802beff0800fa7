// The problem window's Demo menu: prepared scripts, the numbered-sample runner, the script list;
// and the help topics of its Help and Parameters menus.
#include "workspace/forms/TProblForm.h"

#include "common/NumberText.h"
#include "common/Ui.h"
#include "graphics/forms/TGraphForm.h"
#include "tools/forms/THelpForm.h"
#include "workspace/DemoMenu.h"
#include "workspace/forms/ProblemWindows.h"
#include "workspace/forms/TRunSamplesForm.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <map>

namespace {

inline constexpr const char* ScriptListFilter = "Rich text|*.rtf";

} // namespace

void TProblForm::createDemoMenu() {
    QMenu* demo = menuBar()->addMenu("&Demo");
    std::map<std::string, QMenu*> submenus; // by the captions leading to them
    for (const DemoItem& item : demoItems()) {
        if (item.Path.empty()) {
            demo->addSeparator();
            continue;
        }
        QMenu* menu = demo;
        std::string key;
        for (std::size_t i = 0; i + 1 < item.Path.size(); ++i) {
            key += item.Path[i] + "\n";
            QMenu*& submenu = submenus[key];
            if (!submenu)
                submenu = menu->addMenu(QString::fromStdString(item.Path[i]));
            menu = submenu;
        }
        menu->addAction(QString::fromStdString(item.Path.back()), this,
                        [this, &item] { runDemoItem(item); });
    }
}

void TProblForm::runDemoItem(const DemoItem& item) {
    const std::string& folder = windows_.programFolder;
    switch (item.Action) {
    case DemoAction::Script:
        if (confirmDiscard())
            runScript(item.Script, false);
        return;
    case DemoAction::FreeFallRunner:
        showRunner(freeFallCatalog(folder));
        return;
    case DemoAction::ClosedRunner:
        showRunner(closedOrbitsCatalog(folder));
        return;
    case DemoAction::ChoreographyRunner:
        showRunner(choreographyCatalog(folder));
        return;
    case DemoAction::ChooseFromList:
        Choosefromalist1Click();
        return;
    case DemoAction::ScriptList:
        Loadscriptlist1Click();
        return;
    }
}

void TProblForm::Choosefromalist1Click() {
    if (auto path = chooseFileToOpen("Choose from a list", CatalogHeaderFilter))
        if (auto catalog = readCatalogHeader(*path, ui_))
            showRunner(*catalog);
}

void TProblForm::Loadscriptlist1Click() {
    auto path = chooseFileToOpen("Load script list", ScriptListFilter);
    if (!path)
        return;
    if (THelpForm* help = helpWindow())
        help->loadScriptList(*path);
}

void TProblForm::showRunner(const SampleCatalog& catalog) {
    if (!runSamples_)
        runSamples_ = new TRunSamplesForm(ui_, this);
    runSamples_->showCatalog(catalog, [this](const SampleCatalog& shown, const SampleOrbit& orbit) {
        if (!isMainWindow()) {
            windows_.mainWindow()->runNumberedSample(shown, orbit);
            return;
        }
        if (confirmDiscard())
            runNumberedSample(shown, orbit);
    });
}

// Loads the catalogue's problem with the orbit's parameters, integrates one period into a
// Results array of 5000 points and shows the numbered bodies' curves.
void TProblForm::runNumberedSample(const SampleCatalog& catalog, const SampleOrbit& orbit) {
    if (!openProblemFile(catalog.ProblemPath))
        return;
    clearCurveSelection();
    std::vector<std::string> constants = paneLines(REditConst);
    if (!writeOrbitConstants(constants, orbit, catalog, ui_))
        return;
    setPaneLines(REditConst, constants);
    setModified(false); // the catalogue's orbit, not the user's work
    const std::string caption = orbitCaption(catalog, orbit);
    setCaption(caption);
    if (windows_.graph)
        windows_.graph->setWindowTitle(QString::fromStdString(caption));
    filePath_ = caption;
    Compile1Click();
    if (!problem_.Compiled)
        return;
    edEndTime->setText(QString::fromStdString(formatDisplay(orbit.Period)));
    cbTermination->setChecked(true);
    cbTerminationClick();
    const bool planar = catalog.Dimension == 2;
    (planar ? rb2D : rb3D)->setChecked(true);
    switchCurveMode(!planar);
    edArrLen->setText("5000");
    edNumSteps->setText("4999");
    cbAuxVarsToo->setChecked(false);
    cbResultArray->setChecked(true);
    cbResultArrayClick();
    btXYZcurveClick();
    btMoreBlindClick();
    Graph1Click();
    if (windows_.graph)
        windows_.graph->edTime->setText("25");
}

void TProblForm::addHelpTopics(QMenu* help) {
    const std::pair<const char*, const char*> topics[] = {
        {"Limitations", "Limitations.rtf"},
        {"Quick start", "QuickStart.rtf"},
        {"Taylor basics", "TaylorBasics.rtf"},
        {"How to use it", "ODEHelp.rtf"},
        {"Arrays of IVPs and varying initial values", "ArraysOfIVPs.rtf"},
        {"Switching variables", "SwitchingVariables.rtf"},
        {"Merging", "Merging.rtf"},
        {"Samples", "Samples.rtf"},
        {"Versions", "Versions.rtf"}};
    for (const auto& [caption, file] : topics) {
        QAction* item =
            help->addAction(caption, this, [name = std::string(file)] { openHelp(name); });
        if (std::string(file) == "ODEHelp.rtf")
            item->setShortcut(Qt::Key_F1);
    }
}
