// Catalogues of numbered periodic orbits: the catalogue's description, one orbit read from its
// list, and the orbit written into the constants of the catalogue's problem.
#pragma once

#include "common/Extended.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class Ui;

struct SampleCatalog {
    int Kind = 2;      // parameters per orbit: 2, 4, or 5 (four and a fifth one named m)
    int Count = 0;     // orbits in the list
    int Dimension = 2; // 2 for planar curves, anything else 3D
    std::string Title; // shown after "Simulations by "
    std::string ListPath;
    std::string ProblemPath;
};

struct SampleOrbit {
    std::int32_t Number = 0;
    std::vector<Extended> Parameters; // a, b (c, d (m))
    Extended Period = 0;
    std::string Type; // the rest of the line, or the orbit's number when there is none
};

// The catalogues the Demo menu opens, their paths below the program's folder.
SampleCatalog freeFallCatalog(const std::string& programFolder);
SampleCatalog closedOrbitsCatalog(const std::string& programFolder);
SampleCatalog choreographyCatalog(const std::string& programFolder);

inline constexpr const char* CatalogHeaderFilter = "Catalogue header|*.hdr";
// A header file: kind, count and dimension on line 1, the title on line 2, the list's and the
// problem's names (relative to the header's folder) on lines 3 and 4. Nothing after
// "Cannot open file <path>" or "File <path> wrong".
std::optional<SampleCatalog> readCatalogHeader(const std::string& path, Ui& ui);

// "Enter number of the sample to run between 1 and <count>" and the window's caption.
std::string runnerPrompt(const SampleCatalog& catalog);
std::string runnerCaption(const SampleCatalog& catalog);
// The number typed in the runner's edit: a text that is no number runs orbit 1; a number outside
// 1 .. count gives "Not in range" and nothing.
std::optional<std::int32_t> chosenOrbit(const std::string& text, const SampleCatalog& catalog,
                                        Ui& ui);

// Line `number` of the list: "Cannot open file <list>" when it cannot be opened, and
// "File <list> wrong" for a kind other than 2, 4, 5 or a line that does not hold the numbers.
std::optional<SampleOrbit> readOrbit(const SampleCatalog& catalog, std::int32_t number, Ui& ui);

// The constants pane with the orbit written into lines 1, 2, ...: "a = %.18g { period %.18g,
// type %s}", then "b = ...", "c = ...", "d = ...", "m = ...". False (after "File <problem>
// wrong") when the pane is too short to hold them.
bool writeOrbitConstants(std::vector<std::string>& constants, const SampleOrbit& orbit,
                         const SampleCatalog& catalog, Ui& ui);
// "%s #%d (%s)": the title, the number and the type.
std::string orbitCaption(const SampleCatalog& catalog, const SampleOrbit& orbit);
