#include "compiler/core/symbols.hpp"

Node::Node(const std::string& name_, int deftype_, int line_, int column_, BlockNode* parent_)
    : name(name_), deftype(deftype_), line(line_), column(column_), parent(parent_) {
    if (parent)
        parent->appendChild(this);
}

BlockNode::BlockNode(const std::string& name_, int deftype_, int line_, int column_, BlockNode* parent_)
    : Node(name_, deftype_, line_, column_, parent_) {}

BlockNode::~BlockNode() {
    for (Node* child : children)
        delete child;
}
