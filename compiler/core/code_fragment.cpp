#include "compiler/core/code_fragment.hpp"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <unordered_set>

#include "compiler/core/base.hpp"
#include "compiler/core/gbk.hpp"
#include "compiler/core/job_state.hpp"

Expression::Expression(const std::string& name, Type* t, int attribute_) : attribute(attribute_), type(t) {
    typeset = name;
    code = CodeNames::varName(name);
}

Expression::Expression() : attribute(-1), type(nullptr) {}

namespace {
std::string numbered(const std::string& text, int& number) {
    return text + std::to_string(number++);
}

// ORDER: reference kinds 0..8.
const char* const refKindsUtf8[] = {"包块/代理", "过程", "进程", "类型", "变量", "输入通道", "输出通道", "控制变量",
                                    "文件变量"};
// ORDER: definition kinds 0..15, the DefType numbering.
const char* const defKindsUtf8[] = {"工程",     "程序",     "代理",       "包块",         "过程",     "进程",
                                    "数据类型", "共享变量", "常数变量",   "局部变量",     "控制变量", "文件变量",
                                    "值引用参数", "地址引用参数", "输入通道", "输出通道"};

std::string kindEntry(const char* const* table, int size, int k) {
    return k >= 0 && k < size ? gbk::fromUtf8(table[k]) : std::string();
}

// The words that follow "_" at the start of the names the generator makes
// from a user's name or a number ("_t_" + type, "_proc_" + name + "_" +
// number, ...), and the escape mark itself.
const char* const underscorePrefixes[] = {"t_",  "f_",  "class_", "l_",  "proc_", "pros_", "next_temp_",
                                          "d_",  "dt_", "do_",    "p_",  "i_",    "u_"};
// Names that "_" + a user's name would meet in the link or in the headers a
// program includes: the run-time library's thread calls, and what the C start
// files, the C, maths and C++ libraries, libgcc, the dynamic loader and the
// linker's default script define as "_" and a lower-case word. A variable of
// such a name at file scope fails to link (_start, _init) or, worse, takes
// the place of the system's own at run time (_edata, _environ, _rtld_global).
// The table is fixed, so a program translates alike on every machine; the
// driver tests read the machine's own files and name any word it lacks.
const char* const systemNames[] = {
    "authenticate", "beginthread", "dl_addr", "dl_allocate_tls", "dl_allocate_tls_init", "dl_argv",
    "dl_audit_preinit", "dl_audit_symbind_alt", "dl_catch_error", "dl_catch_exception", "dl_deallocate_tls",
    "dl_debug_state", "dl_exception_create", "dl_exception_create_format", "dl_exception_free", "dl_fatal_printf",
    "dl_find_dso_for_object", "dl_find_object", "dl_get_tls_static_info", "dl_make_stack_executable", "dl_mcount",
    "dl_mcount_wrapper", "dl_mcount_wrapper_check", "dl_open_hook", "dl_open_hook2", "dl_relocate_static_pie",
    "dl_rtld_di_serinfo", "dl_signal_error", "dl_signal_exception", "dl_starting_up", "dl_sym", "dl_tls_setup",
    "dl_vsym", "dl_x86_get_cpu_features", "edata", "end", "endthread", "environ", "etext", "fini", "flushlbf",
    "init", "itoa_lower_digits", "libc_intl_domainname", "longjmp", "mcleanup", "mcount", "nl_default_dirname",
    "nl_domain_bindings", "nl_msg_cat_cntr", "nss_dns_getcanonname_r", "nss_dns_gethostbyaddr2_r",
    "nss_dns_gethostbyaddr_r", "nss_dns_gethostbyname2_r", "nss_dns_gethostbyname3_r", "nss_dns_gethostbyname4_r",
    "nss_dns_gethostbyname_r", "nss_dns_getnetbyaddr_r", "nss_dns_getnetbyname_r", "nss_files_endaliasent",
    "nss_files_endetherent", "nss_files_endgrent", "nss_files_endhostent", "nss_files_endnetent",
    "nss_files_endnetgrent", "nss_files_endprotoent", "nss_files_endpwent", "nss_files_endrpcent",
    "nss_files_endservent", "nss_files_endsgent", "nss_files_endspent", "nss_files_getaliasbyname_r",
    "nss_files_getaliasent_r", "nss_files_getetherent_r", "nss_files_getgrent_r", "nss_files_getgrgid_r",
    "nss_files_getgrnam_r", "nss_files_gethostbyaddr_r", "nss_files_gethostbyname2_r",
    "nss_files_gethostbyname3_r", "nss_files_gethostbyname4_r", "nss_files_gethostbyname_r",
    "nss_files_gethostent_r", "nss_files_gethostton_r", "nss_files_getnetbyaddr_r", "nss_files_getnetbyname_r",
    "nss_files_getnetent_r", "nss_files_getnetgrent_r", "nss_files_getntohost_r", "nss_files_getprotobyname_r",
    "nss_files_getprotobynumber_r", "nss_files_getprotoent_r", "nss_files_getpwent_r", "nss_files_getpwnam_r",
    "nss_files_getpwuid_r", "nss_files_getrpcbyname_r", "nss_files_getrpcbynumber_r", "nss_files_getrpcent_r",
    "nss_files_getservbyname_r", "nss_files_getservbyport_r", "nss_files_getservent_r", "nss_files_getsgent_r",
    "nss_files_getsgnam_r", "nss_files_getspent_r", "nss_files_getspnam_r", "nss_files_init",
    "nss_files_initgroups_dyn", "nss_files_parse_etherent", "nss_files_parse_grent", "nss_files_parse_netent",
    "nss_files_parse_protoent", "nss_files_parse_pwent", "nss_files_parse_rpcent", "nss_files_parse_servent",
    "nss_files_parse_sgent", "nss_files_parse_spent", "nss_files_setaliasent", "nss_files_setetherent",
    "nss_files_setgrent", "nss_files_sethostent", "nss_files_setnetent", "nss_files_setnetgrent",
    "nss_files_setprotoent", "nss_files_setpwent", "nss_files_setrpcent", "nss_files_setservent",
    "nss_files_setsgent", "nss_files_setspent", "nss_netgroup_parseline", "null_auth", "obstack",
    "obstack_allocated_p", "obstack_begin", "obstack_begin_1", "obstack_free", "obstack_memory_used",
    "obstack_newchunk", "pthread_cleanup_pop", "pthread_cleanup_pop_restore", "pthread_cleanup_push",
    "pthread_cleanup_push_defer", "r_debug", "res", "res_hconf", "rpc_dtablesize", "rtld_global", "rtld_global_ro",
    "seterr_reply", "setjmp", "start", "sys_errlist", "sys_nerr", "sys_siglist", "thread_db___nptl_last_event",
    "thread_db___nptl_nthreads", "thread_db___nptl_rtld_global", "thread_db___pthread_keys",
    "thread_db_const_thread_area", "thread_db_dtv_dtv", "thread_db_dtv_slotinfo_gen",
    "thread_db_dtv_slotinfo_list_len", "thread_db_dtv_slotinfo_list_next", "thread_db_dtv_slotinfo_list_slotinfo",
    "thread_db_dtv_slotinfo_map", "thread_db_dtv_t_counter", "thread_db_dtv_t_pointer_val",
    "thread_db_link_map_l_tls_modid", "thread_db_link_map_l_tls_offset", "thread_db_list_t_next",
    "thread_db_list_t_prev", "thread_db_pthread_cancelhandling", "thread_db_pthread_dtvp",
    "thread_db_pthread_eventbuf", "thread_db_pthread_eventbuf_eventmask",
    "thread_db_pthread_eventbuf_eventmask_event_bits", "thread_db_pthread_key_data_data",
    "thread_db_pthread_key_data_level2_data", "thread_db_pthread_key_data_seq",
    "thread_db_pthread_key_struct_destr", "thread_db_pthread_key_struct_seq", "thread_db_pthread_list",
    "thread_db_pthread_nextevent", "thread_db_pthread_report_events",
    "thread_db_pthread_schedparam_sched_priority", "thread_db_pthread_schedpolicy", "thread_db_pthread_specific",
    "thread_db_pthread_start_routine", "thread_db_pthread_tid", "thread_db_rtld_global__dl_stack_used",
    "thread_db_rtld_global__dl_stack_user", "thread_db_rtld_global__dl_tls_dtv_slotinfo_list",
    "thread_db_sizeof_dtv_slotinfo", "thread_db_sizeof_dtv_slotinfo_list", "thread_db_sizeof_list_t",
    "thread_db_sizeof_pthread", "thread_db_sizeof_pthread_key_data", "thread_db_sizeof_pthread_key_data_level2",
    "thread_db_sizeof_pthread_key_struct", "thread_db_sizeof_td_eventbuf_t", "thread_db_sizeof_td_thr_events_t",
    "thread_db_td_eventbuf_t_eventdata", "thread_db_td_eventbuf_t_eventnum",
    "thread_db_td_thr_events_t_event_bits", "tolower", "toupper"};
// The beginnings of the generated names that a user's name starts in turn
// (channel links "ch_" + control + "_" + control, a package's instance
// "global_instance_of_" + package), and the escape mark.
const char* const leadingPrefixes[] = {"ch_", "global_instance_of_", "u_"};
const char escapeMark[] = "u_";

bool isSystemName(const std::string& n) {
    static const std::unordered_set<std::string> names(std::begin(systemNames), std::end(systemNames));
    return names.count(n) != 0;
}

bool beginsWithAny(const std::string& n, const char* const* prefixes, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (n.compare(0, std::strlen(prefixes[i]), prefixes[i]) == 0)
            return true;
    return false;
}
}  // namespace

namespace CodeNames {

std::string userName(const std::string& n) {
    // "_" and a capital letter start a name that C++ keeps for itself (the
    // predefined and library macros, keywords such as _Complex).
    bool escape = (!n.empty() && n[0] >= 'A' && n[0] <= 'Z') ||
                  beginsWithAny(n, underscorePrefixes, std::size(underscorePrefixes));
    return escape || isSystemName(n) ? escapeMark + n : n;
}

std::string leadingName(const std::string& n) {
    return beginsWithAny(n, leadingPrefixes, std::size(leadingPrefixes)) ? escapeMark + n : n;
}

std::string varName(std::string n) {
    return "_" + userName(n);
}

std::string paramName(std::string n) {
    return "_" + userName(n);
}

std::string className(std::string n) {
    return "_class_" + n;
}

std::string agentClassName(std::string n) {
    return "_class_" + n;
}

std::string labelName(std::string n) {
    return "_l_" + n;
}

std::string nextTemp(JobState& job) {
    return numbered("_next_temp_", job.numbering.temp);
}

std::string callName(std::string n) {
    return leadingName(n) + "_call";
}

std::string dpName(std::string n) {
    return n + "_dp";
}

std::string dptName(JobState& job, std::string n) {
    return numbered(n + "_dpt", job.numbering.dpt);
}

std::string dName(std::string n) {
    return "_d_" + n;
}

std::string dtName(const std::string& n) {
    return "_dt_" + n;
}

std::string doName(const std::string& n) {
    return "_do_" + n;
}

std::string instanceParamName(std::string n) {
    return leadingName(n) + "_ip";
}

std::string instanceParamType(JobState& job, std::string n) {
    return numbered(n + "_instance_param_type", job.numbering.instanceType);
}

std::string instanceName(std::string n) {
    return "_i_" + n;
}

std::string globalInstance(std::string n) {
    return n.empty() ? std::string() : "global_instance_of_" + leadingName(n);
}

std::string channelName(std::string a, std::string b) {
    return "ch_" + leadingName(a) + "_" + leadingName(b);
}

std::string globalInstanceDecl(std::string n) {
    return n.empty() ? std::string() : className(n) + " " + globalInstance(n) + ";" + base::newline();
}

std::string assignment(std::string a, std::string b) {
    return varName(a) + " = " + callName(b);
}

std::string deleteProsComment(std::string n) {
    return " // delete pros: " + varName(n);
}

std::string channelRecv(const JobState& job, std::string a, std::string b) {
    return a + (job.isSynchronous() ? "->syn_recv(&" : "->asyn_recv(&") + b + ")";
}

std::string channelSend(const JobState& job, std::string a, std::string b) {
    return a + (job.isSynchronous() ? "->syn_send(" : "->asyn_send(") + b + ")";
}

std::string channelCanSend(const JobState& job, std::string n) {
    return varName(n) + (job.isSynchronous() ? "->syn_can_send()" : "->asyn_can_send()");
}

std::string channelCanRecv(const JobState& job, std::string n) {
    return varName(n) + (job.isSynchronous() ? "->syn_can_recv()" : "->asyn_can_recv()");
}

std::string channelStyle(const JobState& job) {
    return job.isSynchronous() ? "Syn" : "Asyn";
}

std::string pointerDeref(std::string n, std::string path) {
    return path.empty() ? n : "*(" + path + "_p_" + n + ")";
}

std::string pointerInit(std::string n) {
    return "local._p_" + n + " = &" + n + ";" + base::newline();
}

std::string programKind(int k) {
    static const char* const kinds[] = {"%Prog", "%DProg", "%MProg"};
    return k >= 0 && k <= 2 ? kinds[k] : "error!";
}

int controlWordKind(std::string w) {
    if (w.empty() || w == "next")
        return 1;
    if (w == "exit")
        return 2;
    if (w == "stop")
        return 3;
    if (w == "return")
        return 4;
    return 0;
}

std::string threadDeclarations(JobState& job, std::string name, int mode) {
    std::vector<std::string>& list = job.names.externalProcesses;
    if (name.empty()) {
        std::string text;
        for (const std::string& n : list)
            text += "void " + callName(n) + "(void *params);\n";
        return text;
    }
    auto it = std::find(list.begin(), list.end(), name);
    if (mode == 0 && it == list.end())
        list.push_back(name);
    else if (mode != 0 && it != list.end())
        list.erase(it);
    return std::string();
}

void beginProgram(JobState& job) {
    job.names = ProgramNames();
}

std::string fieldName(const std::string& n) {
    return "_f_" + n;
}

std::string typeName(const std::string& n) {
    return "_t_" + n;
}

std::string procName(GeneratorNumbering& numbering, const std::string& n) {
    return "_proc_" + n + "_" + std::to_string(numbering.procedure++);
}

std::string prosName(GeneratorNumbering& numbering, const std::string& n) {
    return "_pros_" + n + "_" + std::to_string(numbering.process++);
}

std::string refKindName(int k) {
    return kindEntry(refKindsUtf8, sizeof refKindsUtf8 / sizeof *refKindsUtf8, k);
}

std::string defKindName(int k) {
    return kindEntry(defKindsUtf8, sizeof defKindsUtf8 / sizeof *defKindsUtf8, k);
}

}  // namespace CodeNames
