#include "workspace/ScriptGraph.h"

#include "common/NumberText.h"
#include "common/Ui.h"

#include <algorithm>
#include <limits>

GraphSnapshot snapshotFromScript(const ScriptRecord& record, std::int32_t mainVariables) {
    GraphSnapshot snapshot;
    for (std::size_t i = 0; i < snapshot.BoundTexts.size(); ++i)
        snapshot.BoundTexts[i] = record.GraphFields[i];
    snapshot.TimeText = record.GraphFields[6];
    snapshot.TotalStepsText = std::to_string(record.GraphSteps);
    if (record.Turns)
        snapshot.Turns = {record.Turns->AboutY, record.Turns->AboutX,
                          record.Turns->AboutZ.value_or(0)};
    if (record.Figure) {
        snapshot.PlotFeature = record.Figure->SolidBody;
        snapshot.FirstCurve = record.Figure->FirstCurve.value_or(1);
    }
    snapshot.ResultsLength = static_cast<std::int32_t>(
        std::clamp<long long>(record.ResultsLength, 0, std::numeric_limits<std::int32_t>::max()));
    snapshot.RadFactorText = formatShortestReal(record.RadFactor);
    snapshot.AuxVarsToo = record.ValuesPerPoint > mainVariables;
    return snapshot;
}

void writeSnapshotToScript(const GraphSnapshot& snapshot, ScriptRecord& record) {
    record.GraphSteps = parseInteger(trim(snapshot.TotalStepsText)).value_or(0);
    for (std::size_t i = 0; i < snapshot.BoundTexts.size(); ++i)
        record.GraphFields[i] = snapshot.BoundTexts[i];
    record.GraphFields[6] = snapshot.TimeText;
    record.Turns = ScriptTurns{snapshot.Turns[0], snapshot.Turns[1], snapshot.Turns[2]};
    record.Figure = ScriptFigure{snapshot.PlotFeature, snapshot.FirstCurve};
}

std::optional<CurveTable> curvesFromScript(const ScriptRecord& record, std::int32_t variables,
                                           Ui& ui) {
    CurveTable table;
    table.ThreeD = record.Dimension == 3;
    auto known = [variables](std::int32_t index) { return index >= 0 && index < variables; };
    for (const ScriptCurve& curve : record.Curves) {
        if (!known(curve.X) || !known(curve.Y) || (table.ThreeD && !known(curve.Z))) {
            ui.message("The script's curve " + curve.Caption +
                       " uses a variable the problem does not have");
            return std::nullopt;
        }
        table.Curves.push_back({curve.X, curve.Y, table.ThreeD ? curve.Z : 0, curve.Caption});
    }
    return table;
}
