// The line-level records every user edit leaves, and the group of them that one
// user action makes. Undo replays a group backwards; see EditorDocument::Replay.
#pragma once
#include <deque>
#include <string>

namespace quvpad {

enum EditOpKind : int { OpInsertLine = 0, OpDeleteLine = 1, OpReplaceLine = 2 };

struct EditOp {
    std::string text;   // the line's text before the edit; empty for OpInsertLine
    EditOpKind kind = OpInsertLine;
    int line = 0;
    // Caret and anchor as they stood before the edit.
    int caretColumn = 0, caretLine = 0;
    int anchorColumn = 0, anchorLine = 0;
};

class UndoGroup {
public:
    UndoGroup() = default;
    virtual ~UndoGroup() = default;
    // A group of a large paste holds a record per line: it moves between the
    // deques rather than being copied.
    UndoGroup(const UndoGroup&) = default;
    UndoGroup(UndoGroup&&) = default;
    UndoGroup& operator=(const UndoGroup&) = default;
    UndoGroup& operator=(UndoGroup&&) = default;
    void PushOp(const EditOp& op) { ops_.push_back(op); }
    // Takes the last op; false when the group is empty.
    bool PopOp(EditOp& op);
    void Clear() { ops_.clear(); }
    bool Empty() const { return ops_.empty(); }
    size_t Size() const { return ops_.size(); }
    const std::deque<EditOp>& Ops() const { return ops_; }

private:
    std::deque<EditOp> ops_;
};

} // namespace quvpad
