#include "compiler/core/job_state.hpp"

#include "compiler/core/diagnostics.hpp"

JobState::JobState(CompileSession& session_, const std::string& name)
    : session(session_), numbering(session_.numbering), fileName(name) {}

void JobState::noteRecord(const RecordType* record) {
    if (names.recordsMade.insert(record).second)
        names.records.push_back(record);
}

std::vector<const RecordType*> JobState::takeUndefinedRecords() {
    const std::vector<const RecordType*>& records = names.records;
    std::vector<const RecordType*> undefined(records.begin() + static_cast<long>(names.recordsDefined), records.end());
    names.recordsDefined = records.size();
    return undefined;
}

void JobState::deliver(const QUVException& record) const {
    if (errorSink)
        errorSink(record);
}

void JobState::noteProcessDeclaration(const std::string& name, int line, int column) {
    processRegistry.addDeclaration(name, line, column, fileName);
}

void JobState::noteProcessReference(const std::string& name, int line, int column) {
    processRegistry.addReference(name, line, column, fileName);
}

void JobState::noteSharedVariable(const std::string& name, int line, int column) {
    processRegistry.addSharedVariable(name, line, column, fileName);
}

void JobState::noteProcessChannels(const std::string& name, int line, int column,
                                   const std::vector<ChannelFormal>& formals) {
    processRegistry.addChannelFormals(name, {line, column, fileName, formals});
}

void JobState::notePendingChannel(const std::string& process, const std::string& formal, const std::string& peer,
                                  const std::string& peerFormal) {
    processRegistry.addPendingChannel({process, formal, peer, peerFormal, walkLine, walkColumn, fileName});
}

namespace {

std::vector<ProcessRecord>::const_iterator findIn(const std::vector<ProcessRecord>& records,
                                                  const std::string& name) {
    for (auto it = records.begin(); it != records.end(); ++it)
        if (it->name == name)
            return it;
    return records.end();
}

}  // namespace

void ProcessRegistry::addReference(const std::string& name, int line, int column, const std::string& file) {
    if (findIn(pending, name) != pending.end() || findIn(declared, name) != declared.end())
        return;
    pending.push_back({name, line, column, file});
}

void ProcessRegistry::addDeclaration(const std::string& name, int line, int column, const std::string& file) {
    auto old = findIn(declared, name);
    if (old != declared.end()) {
        QUVException e(job);
        e.makeProcessRedeclared(name, line, column, file, old->line, old->column, old->file);
        return;
    }
    declared.push_back({name, line, column, file});
    // A reference from an earlier file is settled by this declaration.
    auto ref = findIn(pending, name);
    if (ref != pending.end())
        pending.erase(ref);
}

void ProcessRegistry::addSharedVariable(const std::string& name, int line, int column, const std::string& file) {
    shared.push_back({name, line, column, file});
}

void ProcessRegistry::addChannelFormals(const std::string& process, const ProcessChannels& formals) {
    channels.emplace(process, formals);
}

const ProcessChannels* ProcessRegistry::getChannelFormals(const std::string& process) const {
    auto found = channels.find(process);
    return found == channels.end() ? nullptr : &found->second;
}
