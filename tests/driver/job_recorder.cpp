#include "job_recorder.hpp"

#include <antlr/CommonAST.hpp>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::vector<std::string> JobRecorder::calls;

namespace {

void onError(const QUVException& e) {
    JobRecorder::calls.push_back("diag " + std::to_string(e.getKind()) + " " + std::to_string(e.getNumber()));
}

void onStage(const char* subject, const char* text) {
    JobRecorder::calls.push_back(std::string("stage ") + subject + ": " + text);
}

void onTypesetDone(bool ok, const std::string&) {
    JobRecorder::calls.push_back(ok ? "typesetDone 1" : "typesetDone 0");
}

}  // namespace

JobRecorder::JobRecorder() {
    calls.clear();
    driver.errorSink = onError;
    driver.stageText = onStage;
    driver.typesetDone = onTypesetDone;
}

JobRecorder::~JobRecorder() = default;

std::vector<std::string> JobRecorder::stages() {
    std::vector<std::string> lines;
    for (const std::string& c : calls)
        if (c.compare(0, 6, "stage ") == 0)
            lines.push_back(c);
    return lines;
}

antlr::RefAST FakeStages::parse(JobState& parsing, const std::string& file, TypesettingPass*) {
    job = &parsing;
    if (onParse)
        onParse(file);
    return buildTree ? antlr::RefAST(new antlr::CommonAST()) : antlr::nullAST;
}

void FakeStages::walk(JobState& walking, antlr::RefAST, TopFragment& top) {
    job = &walking;
    walked.push_back(job->getFileName());
    if (onWalk)
        onWalk(job->getFileName());
    top.programKind = kind;
    if (onTop)
        onTop(top);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
