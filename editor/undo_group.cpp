#include "editor/undo_group.hpp"

#include <utility>

namespace quvpad {

bool UndoGroup::PopOp(EditOp& op)
{
    if (ops_.empty())
        return false;
    op = std::move(ops_.back());
    ops_.pop_back();
    return true;
}

} // namespace quvpad
