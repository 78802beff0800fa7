#include "compiler/InstructionText.h"

#include "common/NumberText.h"
#include "compiler/Language.h"

#include <string_view>

std::vector<std::string> lineLabels(const std::vector<std::string>& formulaList,
                                    std::int32_t derivStart) {
    static constexpr std::string_view deriv = "Deriv";
    std::vector<std::string> labels;
    labels.reserve(formulaList.size());
    for (std::size_t i = 0; i < formulaList.size(); ++i) {
        std::string name =
            removeBlanks(std::string_view(formulaList[i]).substr(0, formulaList[i].find('=')));
        if (static_cast<std::int32_t>(i) >= derivStart && name.ends_with(deriv))
            name.replace(name.size() - deriv.size(), deriv.size(), "'");
        labels.push_back(std::move(name));
    }
    return labels;
}

std::string VariableLabel(const std::vector<std::string>& labels, std::int32_t v) {
    if (v >= 0 && static_cast<std::size_t>(v) < labels.size())
        return labels[static_cast<std::size_t>(v)];
    return formatText("[%d]", v);
}

std::string classLabel(std::uint8_t operandClass) {
    static constexpr const char* names[] = {"cc", "cv", "vc", "vv"};
    return operandClass < 4 ? names[operandClass] : "??";
}

std::string InstructionText(const TInstruction& instruction,
                            const std::vector<std::string>& labels) {
    const std::string head = formatText("(%s)  %s = ", classLabel(instruction.OperandClass).c_str(),
                                        VariableLabel(labels, instruction.Res).c_str());
    const std::string x = VariableLabel(labels, instruction.Op1);
    const std::string y = VariableLabel(labels, instruction.Op2);
    const std::string function = OpName(instruction.Op);
    switch (instruction.Op) {
    case OpCos:
    case OpSin:
    case OpTan:
    case OpArccos:
    case OpArcsin:
    case OpArctan:
        return head + function + "(" + x + "){" + y + "}";
    case OpExp:
    case OpLn:
    case OpSqrt:
    case OpPolynomial:
    case OpAbs:
        return head + function + "(" + x + ")";
    case OpLog:
    case OpMod:
    case OpMCn:
        return head + function + "(" + x + "," + y + ")";
    case OpFactorial:
        return head + x + "!";
    case OpOnePlusSquare:
        return head + "1 + " + x + "^2";
    case OpSquare:
        return head + x + "^2";
    case OpOneMinusSquare:
        return head + "1 - " + x + "^2";
    case OpCopy:
        return head + x;
    default:
        return head + x + " " + function + " " + y;
    }
}
