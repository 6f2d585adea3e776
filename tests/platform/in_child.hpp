// Runs the body of a test in a child process, as the user nobody when the
// tests run as root: root may read and write any file, so the cases about
// rights need a user without any.
#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "tool_run.hpp"

constexpr uid_t kNobody = 65534;

// Runs `body` in a child process, as nobody when `unprivileged` and this
// process is root; the child's failure text comes back ("" when it passed).
// "skip: ..." when the child could not become nobody.
inline std::string inChild(bool unprivileged, const std::function<std::string()>& body) {
    int report[2];
    if (pipe(report) != 0)
        return "no pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        close(report[0]);
        std::string text;
        if (unprivileged && !becomeNobodyIfRoot())
            text = "skip: cannot become the user nobody";
        else
            text = body();
        (void)!write(report[1], text.data(), text.size());
        _exit(0);
    }
    close(report[1]);
    const std::string text = readToEnd(report[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status))
        return "the child did not end normally";
    return text;
}

#define RUN_IN_CHILD(unprivileged, body)                   \
    do {                                                    \
        const std::string said = inChild(unprivileged, body); \
        if (said.rfind("skip:", 0) == 0)                    \
            GTEST_SKIP() << said;                           \
        ASSERT_EQ(said, "");                                \
    } while (0)
