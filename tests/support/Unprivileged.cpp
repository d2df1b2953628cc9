// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/Unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace pictaria::test {

Nobody nobody() {
    const passwd* user = ::getpwnam("nobody");
    if (!user) {
        throw std::runtime_error("this machine has no user nobody");
    }
    return {user->pw_uid, user->pw_gid};
}

void giveToNobody(const std::string& hostPath) {
    const Nobody user = nobody();
    if (::lchown(hostPath.c_str(), user.uid, user.gid) != 0) {
        throw std::runtime_error("cannot give " + hostPath + " to nobody");
    }
}

namespace {

std::string bodyOutcome(const std::function<std::string()>& body) {
    const Nobody user = nobody();
    if (::setgroups(0, nullptr) != 0 || ::setresgid(user.gid, user.gid, user.gid) != 0 ||
        ::setresuid(user.uid, user.uid, user.uid) != 0 || ::geteuid() == 0) {
        return "child failed: could not become nobody";
    }
    try {
        return body();
    } catch (const std::exception& error) {
        return std::string("child failed: ") + error.what();
    }
}

void writeAll(int fd, const std::string& text) {
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0) {
            return;
        }
        written += static_cast<std::size_t>(n);
    }
}

}  // namespace

std::string runAsNobody(const std::function<std::string()>& body) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return "child failed: no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        writeAll(channel[1], bodyOutcome(body));
        ::_exit(0);  // no exit handlers of the parent's test run in the child
    }
    ::close(channel[1]);
    std::string outcome;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        outcome.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return "child failed: ended abnormally";
    }
    return outcome;
}

}  // namespace pictaria::test
