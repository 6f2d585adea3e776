#include "editor/undo_group.hpp"

namespace quvpad {

bool UndoGroup::PopOp(EditOp& op)
{
    if (ops_.empty())
        return false;
    op = ops_.back();
    ops_.pop_back();
    return true;
}

} // namespace quvpad
