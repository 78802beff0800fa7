// The compile driver's core: pane checks and the formula list, the whole compilation of a
// problem's panes up to the values at the initial point, and where a parse error lies.
#pragma once

#include "common/Extended.h"
#include "common/OrvantaError.h"
#include "compiler/CompiledProblem.h"
#include "compiler/ProblemPanes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class FormulaParser;

// A check of one line of the ODE pane failed: "ODE line %d: ..." with the line's index.
class OdeLineError : public OrvantaError {
  public:
    OdeLineError(std::size_t line, const std::string& detail);
    std::int32_t Line; // in the ODE pane, from 0
};

struct FormulaAssembly {
    std::vector<std::string> FormulaList; // constants, initial values, aux, ODEs ("x'" -> "xDeriv")
    std::vector<std::string> MainNames;   // one per ODE line, as the parameters grid shows them
};

// A pane line split at its first "=".
struct SplitLine {
    std::string left;  // before the first "=", blanks removed
    std::string right; // after it, without blanks and brace comments
    bool hasEquals = false;
};
SplitLine splitPaneLine(const std::string& line);

// Discards the previous compilation; the special point and the designed polynomials stay.
void resetCompiledState(TCompiledProblem& problem);

// Removes blank lines from the panes, checks the ODE lines against the initial values, finds the
// independent variable and builds the formula list. Resets the compiled state and sets NumConst,
// NumMain, DerivStart, IndepLine, IndepVar, IndepName and the size of InitialValues. Throws
// OrvantaError with the message of the first failed check.
FormulaAssembly assembleFormulaList(ProblemPanes& panes, TCompiledProblem& problem);

// The whole compilation without the window: assembles, parses, generates and evaluates every
// instruction once, then copies the main variables' values into InitialValues. Throws
// OrvantaError (after a parse error the parser's CurrentLine and ErrorText locate it) or
// EvaluationError.
FormulaAssembly compileToOrderZero(ProblemPanes& panes, TCompiledProblem& problem,
                                   FormulaParser& parser, std::int32_t termCount,
                                   Extended angleFactor);
// The designed polynomials' step, run between the assembly of a formula list that mentions
// "polynomial" and its parsing; false when it failed (its message has been shown).
using FormulaPreparation =
    std::function<bool(const ProblemPanes&, FormulaAssembly&, TCompiledProblem&)>;

// The same, with the formula list in `assembly` as soon as it is built, so that it is there
// when the evaluation fails. A failed preparation throws "Error(s) in polynomials".
void compileToOrderZero(ProblemPanes& panes, TCompiledProblem& problem, FormulaParser& parser,
                        std::int32_t termCount, Extended angleFactor, FormulaAssembly& assembly,
                        const FormulaPreparation& prepare = {});

// The independent variable as the window labels it: its name followed by two blanks, or
// "Implicit " when there is none.
std::string independentLabel(const TCompiledProblem& problem);
// "Compilation succeeded, yet evaluation failed at point %s = %g" for the current point.
std::string evaluationFailedMessage(const TCompiledProblem& problem);

enum class Pane { Constants, Initial, Aux, ODEs };
struct PaneLine {
    Pane pane;
    std::int32_t line; // within the pane, from 0
};
// The pane and line that a formula line came from.
PaneLine paneOfLine(const TCompiledProblem& problem, std::int32_t formulaLine);
std::string paneCaption(Pane pane);

struct TextSelection {
    std::size_t start;
    std::size_t length;
};
// The first occurrence of the parser's ErrorText in the pane line, or the whole line when the
// text is empty or not there.
TextSelection errorSelection(const std::string& paneLine, const std::string& errorText);
