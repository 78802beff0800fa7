#include "compiler/Postfix.h"

std::string PostfixItem::codedText() const {
    switch (kind) {
    case Kind::Operation:
        return std::string(1, static_cast<char>(op));
    case Kind::Number:
        return "onu" + std::string(text);
    case Kind::Name:
        return "ovi" + std::to_string(index);
    case Kind::Result:
        return std::string("o") + (constant ? "n" : "v") + "i" + std::to_string(index);
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
