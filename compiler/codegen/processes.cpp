// Process starts and parallel statements.
//
// A started process gets a run-time parameter block (quv_runtime::ProcessBlock)
// that holds its actuals by formal name: the starter knows only a control
// variable, bound at run time to a process possibly declared in another file,
// so it cannot know the process's formal order or types; the thread function
// (see createProsBody) takes each formal's actual by name and converts it to
// the formal's type. The block's timer interval and end flag are fixed fields.
#include <functional>
#include <set>

#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

namespace {
// Messages of QUVException::makeSemantic (ORDER: the semantic message table).
enum StartMessage {
    TWO_CHANNELS_SAME_PEER = 3,
    SAME_FORMAL = 4,
    IOP_ALIAS = 5,
    SAME_CONTROLS = 8,
    INPUT_TWICE = 9,
    OUTPUT_TWICE = 10,
    CONTROL_NOT_STARTED = 11,
    TALKS_TO_ITSELF = 12,
    NO_MATCHED_RECV = 13,
    NO_MATCHED_SEND = 14,
    DIFFERENT_TYPES = 15
};

using emit::report;

bool isChannel(int kind) {
    return kind == DEF_INPUT_CHANNEL || kind == DEF_OUTPUT_CHANNEL;
}

std::string controlTypeset(const VarNode* v) {
    return v && v->getExpression() ? v->getExpression()->getTypeset() : std::string();
}

std::string controlCode(const VarNode* v) {
    return v && v->getExpression() ? v->getExpression()->getCode() : std::string();
}

// The element type of the channel formal of process p that an actual is for; null when unknown.
Type* channelElement(const ProNode* p, const std::string& formal) {
    if (!p)
        return nullptr;
    for (int i = 0; i < p->getParamCount(); ++i) {
        if (p->getFormalParamName(i) != formal)
            continue;
        const Type* t = p->getParamType(i);
        while (auto named = dynamic_cast<const NamedType*>(t))
            t = named->target;
        auto channel = dynamic_cast<const ChannelType*>(t);
        return channel ? channel->elementType : nullptr;
    }
    return nullptr;
}

// The parameter block of a start, filled: link names the channel from one
// control to another.
std::string startCode(JobState& job, const ProcessStart& s, const std::function<std::string(std::string, std::string)>& link) {
    const std::string NL = base::newline();
    const std::string block = CodeNames::instanceParamName(s.controlName);
    std::string code = NL + "quv_runtime::ProcessBlock " + block + ";" + NL;
    for (const auto& a : s.actuals) {
        std::string formal = emit::quoted(a->formalName);
        switch (a->attribute) {
        case DEF_OUTPUT_CHANNEL:
            code += block + ".put_channel(" + formal + ",&" + link(s.controlName, a->peerControl) + ");" + NL;
            break;
        case DEF_INPUT_CHANNEL:
            code += block + ".put_channel(" + formal + ",&" + link(a->peerControl, s.controlName) + ");" + NL;
            break;
        case DEF_REF_PARAM:
            code += block + ".put_ref< " + emit::typeId(job, a->type) + " >(" + formal + "," + a->actualCode + ");" +
                    NL;
            break;
        default:
            // A copy, element by element for an array, made before the thread starts.
            code += block + ".put_value< " + emit::typeId(job, a->type) + " >(" + formal + "," + a->actualCode + ");" +
                    NL;
            break;
        }
    }
    return code + block + ".timer_interval = " + std::to_string(s.interval) + ";" + NL + block + ".end = false" +
           ";" + NL + NL;
}
}  // namespace

bool codegen::checkActualPair(JobState& job, const ActualParam& actual, const ActualParam& other) {
    if (isChannel(actual.attribute) && isChannel(other.attribute) && actual.peerControl == other.peerControl &&
        actual.attribute == other.attribute) {
        report(job, TWO_CHANNELS_SAME_PEER);
        return false;
    }
    if (actual.formalName == other.formalName) {
        report(job, SAME_FORMAL);
        return false;
    }
    if (actual.attribute == DEF_REF_PARAM && other.attribute == DEF_VALUE_PARAM &&
        actual.actualCode == other.actualCode) {
        report(job, IOP_ALIAS);
        return false;
    }
    return true;
}

std::unique_ptr<ProcessStart> codegen::createProsStart(JobState& job, VarNode* control,
                                                       std::vector<std::unique_ptr<ActualParam>> actuals,
                                                       int interval, ProNode* process) {
    const std::string NL = base::newline();
    auto s = std::make_unique<ProcessStart>();
    s->controlName = controlTypeset(control);
    s->process = process;

    s->typeset = s->controlName + "(";
    for (size_t i = 0; i < actuals.size(); ++i)
        s->typeset += (i == 0 ? "" : ";") + actuals[i]->getTypeset();
    s->typeset += ")";
    s->actuals = std::move(actuals);

    s->interval = interval;
    s->code = startCode(job, *s, CodeNames::channelName);
    const std::string block = CodeNames::instanceParamName(s->controlName);
    // An unbound control starts nothing; the block then counts as ended.
    s->threadStart = "if (_beginthread(" + controlCode(control) + ",0,(void*)&" + block +
                     ") == (std::uintptr_t)-1) " + block + ".finish();" + NL;
    s->endFlag = block + ".end";
    return s;
}

std::unique_ptr<Statement> codegen::createParallel(JobState& job, const std::vector<ProcessStart*>& starts) {
    const std::string NL = base::newline();
    const int n = static_cast<int>(starts.size());
    auto statement = std::make_unique<Statement>();
    std::string& typeset = statement->typeset;
    std::string& code = statement->code;
    std::string& innerTypes = statement->innerTypes;
    statement->label = "next";

    typeset = " || " + base::openBracket();
    for (int i = 0; i < n; ++i) {
        typeset += (i == 0 ? "" : ";" + NL) + starts[i]->getTypeset();
        innerTypes += starts[i]->getInnerTypes();
    }
    typeset += base::closeBracket();

    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            if (starts[i]->controlName == starts[j]->controlName)
                report(job, SAME_CONTROLS);

    // The channel table: which start sends to or receives from which, and the
    // element types where the started processes are known.
    std::vector<std::vector<char>> sends(n, std::vector<char>(n, 0)), receives = sends;
    std::vector<std::vector<Type*>> sendType(n, std::vector<Type*>(n, nullptr)), receiveType = sendType;
    std::vector<std::vector<std::string>> sendFormal(n, std::vector<std::string>(n)), receiveFormal = sendFormal;
    for (int i = 0; i < n; ++i) {
        for (const auto& a : starts[i]->actuals) {
            int attribute = a->getAttribute();
            if (attribute != DEF_INPUT_CHANNEL && attribute != DEF_OUTPUT_CHANNEL)
                continue;
            int j = 0;
            while (j < n && starts[j]->controlName != a->getPeerControl())
                ++j;
            if (j == n) {
                report(job, CONTROL_NOT_STARTED);
                continue;
            }
            Type* element = channelElement(starts[i]->process, a->getFormalName());
            if (attribute == DEF_INPUT_CHANNEL) {
                if (receives[i][j])
                    report(job, INPUT_TWICE);
                receives[i][j] = 1;
                receiveType[i][j] = element;
                receiveFormal[i][j] = a->getFormalName();
            } else {
                if (sends[i][j])
                    report(job, OUTPUT_TWICE);
                sends[i][j] = 1;
                sendType[i][j] = element;
                sendFormal[i][j] = a->getFormalName();
            }
        }
    }

    // The channels' names: controls a_b to c and a to b_c both form ch_a_b_c,
    // so a name formed before gets a suffix. (A start block's name never
    // begins with "ch_": CodeNames escapes a control's name that does.)
    std::vector<std::vector<std::string>> links(n, std::vector<std::string>(n));
    std::set<std::string> forms, given;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (sends[i][j])
                forms.insert(CodeNames::channelName(starts[i]->controlName, starts[j]->controlName));
    bool renamed = false;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            if (!sends[i][j])
                continue;
            const std::string form = CodeNames::channelName(starts[i]->controlName, starts[j]->controlName);
            std::string name = form;
            for (int k = 2; given.count(name) || (name != form && forms.count(name)); ++k)
                name = form + "_" + std::to_string(k);
            given.insert(name);
            links[i][j] = name;
            renamed = renamed || name != form;
        }
    if (renamed) {
        auto link = [&](std::string from, std::string to) {
            int i = 0, j = 0;
            while (i < n && starts[i]->controlName != from)
                ++i;
            while (j < n && starts[j]->controlName != to)
                ++j;
            return i < n && j < n && !links[i][j].empty() ? links[i][j] : CodeNames::channelName(from, to);
        };
        for (ProcessStart* s : starts)
            s->code = startCode(job, *s, link);
    }

    std::string declarations;
    for (int i = 0; i < n; ++i) {
        if (sends[i][i] || receives[i][i])
            report(job, TALKS_TO_ITSELF);
        for (int j = 0; j < n; ++j) {
            if (sends[i][j] && !receives[j][i])
                report(job, NO_MATCHED_RECV);
            if (receives[j][i] && !sends[i][j])
                report(job, NO_MATCHED_SEND);
            if (!sends[i][j])
                continue;
            declarations += "quv_runtime::ChannelLink " + links[i][j] + ";" + NL;
            // Compared where both processes are known; a control's own type says
            // nothing of its channels. Where a process is declared in another file
            // (or later), the project's link check compares the two.
            if (!receives[j][i])
                continue;
            if (sendType[i][j] && receiveType[j][i]) {
                if (!Type::equal(sendType[i][j], receiveType[j][i]))
                    report(job, DIFFERENT_TYPES);
            } else if (!starts[i]->processName.empty() && !starts[j]->processName.empty()) {
                job.notePendingChannel(starts[i]->processName, sendFormal[i][j], starts[j]->processName,
                                       receiveFormal[j][i]);
            }
        }
    }

    // A block of its own, so that two parallel statements of one body do not
    // declare the same names; it ends only when every started process has ended.
    code = "{" + NL + declarations;
    for (const ProcessStart* s : starts)
        code += s->getCode();
    for (const ProcessStart* s : starts)
        code += s->getThreadStart();
    for (const ProcessStart* s : starts)
        code += CodeNames::instanceParamName(s->controlName) + ".wait_end();" + NL;
    code += "}" + NL;
    return statement;
}
