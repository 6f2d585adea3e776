#include "compiler/core/compiler_state.hpp"

#include "compiler/core/code_fragment.hpp"
#include "compiler/core/diagnostics.hpp"

QUVCompiler* QUVCompiler::current = nullptr;
bool typesettingMode = false;

QUVCompiler::QUVCompiler(const std::string& name) : fileName(name), previous(current) {
    current = this;
    QUVException::clearList();
    typesettingMode = false;
}

QUVCompiler::~QUVCompiler() {
    if (current == this)
        current = previous;
}

void QUVCompiler::setProgramState(TopFragment* top) {
    programState = top;
}

void QUVCompiler::setSynchronous(bool synchronous) {
    if (programState)
        programState->synchronous = synchronous;
}

bool QUVCompiler::isSynchronous() const {
    return programState ? programState->synchronous : true;
}

void QUVCompiler::noteProcessDeclaration(const std::string& name, int line, int column) {
    processes.addDeclaration(name, line, column, fileName);
}

void QUVCompiler::noteProcessReference(const std::string& name, int line, int column) {
    processes.addReference(name, line, column, fileName);
}

const ProcessRegistry::Entry* ProcessRegistry::findIn(const std::vector<Entry>& entries, const std::string& name) {
    for (const Entry& e : entries)
        if (e.name == name)
            return &e;
    return nullptr;
}

void ProcessRegistry::addReference(const std::string& name, int line, int column, const std::string& file) {
    if (findIn(references, name) || findIn(declarations, name))
        return;
    references.push_back({name, line, column, file});
}

void ProcessRegistry::addDeclaration(const std::string& name, int line, int column, const std::string& file) {
    if (const Entry* old = findIn(declarations, name)) {
        QUVException e;
        e.makeProcessRedeclared(name, line, column, file, old->line, old->column, old->file);
        return;
    }
    declarations.push_back({name, line, column, file});
}
