// Helpers for the objects the walker's rules pass between each other
// (operator expressions, statements, equations, conditions). A rule keeps
// what a sub-rule returned in a std::unique_ptr or a vector of them, so that a
// recognition error or an internal failure between the sub-rule and the
// emitter frees it.
#pragma once
#include <memory>
#include <vector>

#include "compiler/codegen/codegen.hpp"
#include "compiler/core/symbols.hpp"

// Objects are gathered in source order. What failed (null) is left out: the
// emitters only ever see objects that were built.
template <typename T>
void addBuilt(std::vector<std::unique_ptr<T>>& list, std::unique_ptr<T> item)
{
    if (item)
        list.push_back(std::move(item));
}

template <typename T>
void appendBuilt(std::vector<std::unique_ptr<T>>& list, std::vector<std::unique_ptr<T>>& more)
{
    for (auto& item : more)
        list.push_back(std::move(item));
    more.clear();
}

// The objects of a list, for an emitter that reads them.
template <typename T>
std::vector<T*> itemsOf(const std::vector<std::unique_ptr<T>>& list)
{
    std::vector<T*> items;
    for (const auto& item : list)
        items.push_back(item.get());
    return items;
}

// Only a variable node with its access record is a file, a channel, a control
// variable, a channel's peer or a new name; a node of another class has been
// reported by the resolution.
inline VarNode* variableNode(Node* node)
{
    VarNode* variable = dynamic_cast<VarNode*>(node);
    return variable && variable->getExpression() ? variable : nullptr;
}
