#include "compiler/Postfix.h"

#include "common/NumberText.h"

std::string PostfixItem::codedText() const {
    switch (kind) {
    case Kind::Operation:
        return std::string(1, static_cast<char>(op));
    case Kind::Number:
        return formatText("onu%.*s", static_cast<int>(text.size()), text.data());
    case Kind::Name:
        return formatText("ovi%d", index);
    case Kind::Result:
        return formatText("o%ci%d", constant ? 'n' : 'v', index);
    }
    return {};
}

int TPostfix::FirstOperation() const {
    for (std::size_t i = 0; i < Items.size(); ++i)
        if (Items[i].kind == PostfixItem::Kind::Operation)
            return static_cast<int>(i);
    return -1;
}

std::vector<std::string> TPostfix::codedItems() const {
    std::vector<std::string> coded;
    coded.reserve(Items.size());
    for (const auto& item : Items)
        coded.push_back(item.codedText());
    return coded;
}
