#include "workspace/ScriptFile.h"

#include "common/NumberText.h"
#include "common/OrvantaError.h"
#include "common/TextFile.h"
#include "common/Ui.h"
#include "engine/EngineState.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

// Thrown by the line reader at a missing line or a malformed number.
struct ShortScript {};

// Reads the script line by line; every shortage or malformed number is the same error.
class ScriptLines {
  public:
    explicit ScriptLines(const std::string& text) : lines_(splitLines(text)) {}

    bool atEnd() const { return at_ >= lines_.size(); }
    // The optional tail ends at the end of the file or where only blank lines remain.
    bool tailEnded() const {
        for (std::size_t i = at_; i < lines_.size(); ++i)
            if (!trim(lines_[i]).empty())
                return false;
        return true;
    }
    const std::string& line() {
        if (atEnd())
            throw ShortScript{};
        return lines_[at_++];
    }
    // The first `least` numbers of the line must be there; up to `most` are taken.
    std::vector<std::string> fields(std::size_t least, std::size_t most) {
        std::istringstream stream(line());
        std::vector<std::string> result;
        for (std::string word; result.size() < most && stream >> word;)
            result.push_back(word);
        if (result.size() < least)
            throw ShortScript{};
        return result;
    }
    static long long integer(const std::string& text) {
        auto value = parseInteger(text);
        if (!value)
            throw ShortScript{};
        return *value;
    }
    static int smallInteger(const std::string& text) {
        long long value = integer(text);
        if (value < INT32_MIN || value > INT32_MAX)
            throw ShortScript{};
        return static_cast<int>(value);
    }
    static Extended real(const std::string& text) {
        auto value = parseNumber(text);
        if (!value)
            throw ShortScript{};
        return *value;
    }

  private:
    std::vector<std::string> lines_;
    std::size_t at_ = 0;
};

} // namespace

std::string formatScriptReal(Extended value) {
    if (!std::isfinite(value))
        value = 0; // angles only; a broken one is not worth a script that cannot be read back
    std::string text = formatText("%.14Le", std::fabs(value));
    std::size_t e = text.find('e');
    int exponent = std::atoi(text.c_str() + e + 1);
    return formatText("%c%sE%c%04d", std::signbit(value) && value != 0 ? '-' : ' ',
                      text.substr(0, e).c_str(), exponent < 0 ? '-' : '+', std::abs(exponent));
}

std::string formatShortestReal(Extended value) {
    for (int digits = 1; digits < 21; ++digits) {
        std::string text = formatGeneral(value, digits);
        if (parseNumber(text) == value)
            return text;
    }
    return formatGeneral(value, 21);
}

// Writes what the record holds; a record taken from the windows holds a colour per curve, the
// turns and the figure, so the tail reads back line for line.
std::string scriptText(const ScriptRecord& record) {
    std::vector<std::string> lines{ScriptMagic, record.ProblemName};
    lines.push_back(formatShortestReal(record.RadFactor) + " " + std::to_string(record.TermCount));
    lines.push_back(formatText("%d %d %d %d", NoErrorControlItem, record.Direction,
                               record.AngleUnit, record.Convergence));
    lines.push_back(std::to_string(record.Dimension));
    lines.push_back(std::to_string(record.Curves.size()));
    for (const auto& curve : record.Curves)
        lines.push_back(formatText("%d %d %d", curve.X, curve.Y, curve.Z));
    for (const auto& curve : record.Curves)
        lines.push_back(curve.Caption);
    lines.push_back(formatText("%lld %lld", record.ResultsLength, record.ValuesPerPoint));
    lines.push_back(std::to_string(record.GraphSteps));
    for (const auto& field : record.GraphFields)
        lines.push_back(field);
    for (auto colour : record.Colours)
        lines.push_back(std::to_string(colour));
    if (record.Turns) {
        std::string turns =
            formatScriptReal(record.Turns->AboutY) + " " + formatScriptReal(record.Turns->AboutX);
        if (record.Turns->AboutZ)
            turns += " " + formatScriptReal(*record.Turns->AboutZ);
        lines.push_back(turns);
        if (record.Figure) {
            std::string figure = std::to_string(record.Figure->SolidBody);
            if (record.Figure->FirstCurve)
                figure += " " + std::to_string(*record.Figure->FirstCurve);
            lines.push_back(figure);
        }
    }
    return joinLines(lines);
}

bool writeScriptFile(const ScriptRecord& record, const std::string& problemPath, Ui& ui) {
    if (record.ErrorControl != NoErrorControlItem)
        ui.message("Only \"No error control\" mode allowed in saved scripts");
    std::string path = std::filesystem::path(problemPath).replace_extension(".scr").string();
    if (writeFileAtomically(path, scriptText(record)))
        return true;
    ui.message("Cannot save " + path);
    return false;
}

namespace {

// Lines 3 and 4: the step factor with the number of terms, and the four choices.
void readSettings(ScriptLines& in, ScriptRecord& record) {
    auto factor = in.fields(2, 2);
    record.RadFactor = ScriptLines::real(factor[0]);
    record.TermCount = ScriptLines::smallInteger(factor[1]);
    if (record.TermCount > MaxTermCount)
        throw ShortScript{};
    auto choices = in.fields(4, 4);
    record.ErrorControl = ScriptLines::smallInteger(choices[0]);
    record.Direction = ScriptLines::smallInteger(choices[1]);
    record.AngleUnit = ScriptLines::smallInteger(choices[2]);
    record.Convergence = ScriptLines::smallInteger(choices[3]);
}

// Line 5 to the end: the view, the curves, the Results array, the graph's fields and the
// optional tail.
void readGraph(ScriptLines& in, ScriptRecord& record) {
    record.Dimension = ScriptLines::smallInteger(in.fields(1, 1)[0]);
    long long curveCount = ScriptLines::integer(in.fields(1, 1)[0]);
    if (curveCount < 0 || curveCount > ScriptMaxCurves)
        throw ShortScript{};
    record.Curves.resize(static_cast<std::size_t>(curveCount));
    for (auto& curve : record.Curves) {
        auto indexes = in.fields(3, 3);
        curve.X = ScriptLines::smallInteger(indexes[0]);
        curve.Y = ScriptLines::smallInteger(indexes[1]);
        curve.Z = ScriptLines::smallInteger(indexes[2]);
    }
    for (auto& curve : record.Curves)
        curve.Caption = trim(in.line());
    auto array = in.fields(2, 2);
    record.ResultsLength = ScriptLines::integer(array[0]);
    record.ValuesPerPoint = ScriptLines::integer(array[1]);
    record.GraphSteps = ScriptLines::integer(in.fields(1, 1)[0]);
    for (auto& field : record.GraphFields)
        field = trim(in.line());

    for (std::size_t i = 0; i < record.Curves.size() && !in.tailEnded(); ++i)
        record.Colours.push_back(ScriptLines::smallInteger(in.fields(1, 1)[0]));
    if (in.tailEnded())
        return;
    auto turns = in.fields(2, 3);
    record.Turns = ScriptTurns{ScriptLines::real(turns[0]), ScriptLines::real(turns[1]), {}};
    if (turns.size() > 2)
        record.Turns->AboutZ = ScriptLines::real(turns[2]);
    if (in.tailEnded())
        return;
    auto figure = in.fields(1, 2);
    record.Figure = ScriptFigure{ScriptLines::smallInteger(figure[0]), {}};
    if (figure.size() > 1)
        record.Figure->FirstCurve = ScriptLines::smallInteger(figure[1]);
}

} // namespace

ScriptRecord readScript(const std::string& text) {
    ScriptLines in(text);
    if (in.atEnd() || in.line() != ScriptMagic)
        throw OrvantaError("Incompatible script version");
    ScriptRecord record;
    record.Shortage = ScriptShortage::ProblemName;
    try {
        record.ProblemName = trim(in.line());
        record.Shortage = ScriptShortage::Settings;
        readSettings(in, record);
        record.Shortage = ScriptShortage::Graph;
        readGraph(in, record);
        record.Shortage = ScriptShortage::None;
    } catch (const ShortScript&) {
    }
    return record;
}

ScriptRecord readScriptText(const std::string& text) {
    ScriptRecord record = readScript(text);
    if (record.Shortage != ScriptShortage::None)
        throw OrvantaError(ScriptShortMessage);
    return record;
}
