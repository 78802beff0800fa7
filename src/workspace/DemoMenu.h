// The Demo menu: every item's place in the submenus and what it runs.
#pragma once

#include <string>
#include <vector>

enum class DemoAction {
    Script,             // runs Script by bare name from "Samples" or by a path below the program
    FreeFallRunner,     // the numbered-sample runner on the free-fall catalogue
    ClosedRunner,       // ... on the equal-mass closed orbits
    ChoreographyRunner, // ... on the choreographies
    ChooseFromList,     // the runner on a catalogue whose header file the user chooses
    ScriptList          // "Load script list"
};

struct DemoItem {
    std::vector<std::string> Path; // submenu captions, then the item's caption
    DemoAction Action = DemoAction::Script;
    std::string Script;
};

// In menu order; a separator stands where Path is empty.
const std::vector<DemoItem>& demoItems();
