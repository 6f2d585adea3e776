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
    virtual ~UndoGroup() = default;
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
