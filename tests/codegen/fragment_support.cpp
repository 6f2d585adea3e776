#include "fragment_support.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

Texts textsOf(const CodeFragment& f) {
    return {f.getTypeset(), f.getCode(), f.getInnerTypes(), f.getPrototypes()};
}

Program::Program(JobState& job_) : job(job_), program(std::make_unique<ProgNode>("prog", DEF_PROGRAM, 1, 1, nullptr)) {}

ProNode* Program::procedure(const std::string& name, BlockNode* parent) {
    return (parent ? parent : program.get())->add<ProNode>(job.numbering, name, DEF_PROCEDURE, 1, 1);
}

ProNode* Program::process(const std::string& name, BlockNode* parent) {
    return (parent ? parent : program.get())->add<ProNode>(job.numbering, name, DEF_PROCESS, 1, 1);
}

ProNode* Program::mainBody() {
    return procedure("$Main");
}

void Program::param(ProNode* p, const std::string& name, int kind, Type* t) {
    auto v = p->add<VarNode>(job, name, kind, 1, 1);
    v->setType(t);
    p->addParam(job, v->getExpression());
}

SectionFragment paramSection(JobState& job, const ProNode* p) {
    SectionFragment section;
    for (int i = 0; i < p->getParamCount(); ++i) {
        CodeFragment item;
        std::string name = p->getFormalParamName(i);
        Type* t = p->getParamType(i);
        switch (p->getParamAttrib(i)) {
        case DEF_VALUE_PARAM:
            codegen::createInParam(job, item, name, t);
            break;
        case DEF_REF_PARAM:
            codegen::createRefParam(job, item, name, t);
            break;
        default:
            codegen::createChanParam(job, item, name, t);
        }
        codegen::createParamSection(job, section, &item);
    }
    return section;
}

int runCompiler(const std::string& arguments, std::string& output) {
    std::string command = "g++ " + arguments + " 2>&1";
    output.clear();
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string runtimeDir() {
    return QUV_RUNTIME_DIR;
}

std::string runtimeLibrarySource() {
    return runtimeDir() + "/quvfuncs.cpp";
}

std::string scratchDir(const std::string& name) {
    std::string dir = std::string(QUV_SCRATCH_DIR) + "/" + name;
    std::string command = "rm -rf '" + dir + "' && mkdir -p '" + dir + "'";
    if (std::system(command.c_str()) != 0)
        return std::string();
    return dir;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
