// Reading the phase-portrait designer's fields and its table of points.
#include "graphics/PortraitParams.h"

#include "common/NumberText.h"

namespace {

constexpr std::int32_t MaxNodes = 10000;
constexpr std::int32_t MaxPixelLimit = 100000;
constexpr std::int32_t MaxStrokeSteps = 10000;

std::optional<std::int32_t> wholeNumber(const std::string& text, std::int32_t min,
                                        std::int32_t max) {
    const auto value = parseInteger(trim(text));
    if (!value || *value < min || *value > max)
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

} // namespace

PortraitTexts portraitTexts(const PortraitParams& params) {
    return {std::to_string(params.CellsX - 1),
            std::to_string(params.CellsY - 1),
            std::to_string(params.CellsZ - 1),
            std::to_string(params.PixelLimit),
            std::to_string(params.StrokeSteps),
            params.Length,
            params.Type,
            params.ShowNodes,
            params.UseTable};
}

bool readPortraitParams(const PortraitTexts& texts, PortraitParams& params, Ui& ui) {
    struct Field {
        const std::string& Text;
        std::int32_t Min, Max, Offset;
        std::int32_t& Target;
    };
    const Field fields[] = {{texts.NodesX, 0, MaxNodes, 1, params.CellsX},
                            {texts.NodesY, 0, MaxNodes, 1, params.CellsY},
                            {texts.NodesZ, 0, MaxNodes, 1, params.CellsZ},
                            {texts.PixelLimit, 1, MaxPixelLimit, 0, params.PixelLimit},
                            {texts.StrokeSteps, 1, MaxStrokeSteps, 0, params.StrokeSteps}};
    for (const Field& field : fields) {
        const auto value = wholeNumber(field.Text, field.Min, field.Max);
        if (!value) {
            ui.message("Wrong field parameters values");
            return false;
        }
        field.Target = *value + field.Offset;
    }
    params.Length = texts.Length;
    params.Type = texts.Type;
    params.ShowNodes = texts.ShowNodes;
    params.UseTable = texts.UseTable;
    return true;
}

std::optional<PortraitPoint> parseTablePoint(const std::string& line) {
    PortraitPoint point{};
    std::size_t start = 0;
    for (std::size_t k = 0; k < point.size(); ++k) {
        const bool last = k + 1 == point.size();
        const std::size_t end = last ? std::string::npos : line.find_first_of(",;\t", start);
        if (!last && end == std::string::npos)
            return std::nullopt;
        // For the last number `end` is npos, and the rest of the line is taken.
        const auto value = parseTrimmedNumber(std::string_view(line).substr(start, end - start));
        if (!value)
            return std::nullopt;
        point[k] = *value;
        start = end + 1;
    }
    return point;
}

std::vector<PortraitPoint> tablePoints(const std::vector<std::string>& lines) {
    std::vector<PortraitPoint> points;
    for (const std::string& line : lines)
        if (const auto point = parseTablePoint(line))
            points.push_back(*point);
    return points;
}

std::string tablePointText(const PortraitPoint& point) {
    return formatText("%g\t %g\t %g", static_cast<double>(point[0]), static_cast<double>(point[1]),
                      static_cast<double>(point[2]));
}
