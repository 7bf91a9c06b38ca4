#include "program_copy.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "os/fs.h"

std::string ProgramRun::state(const std::string& key) const {
    if (states.empty()) return "<no state>";
    auto found = states.back().find(key);
    return found == states.back().end() ? "<missing " + key + ">" : found->second;
}

namespace {

std::string readAll(int fd) {
    std::string out;
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) return out;
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

void parse(ProgramRun& run) {
    std::size_t start = 0;
    while (start < run.output.size()) {
        std::size_t end = run.output.find('\n', start);
        if (end == std::string::npos) end = run.output.size();
        std::string line = run.output.substr(start, end - start);
        start = end + 1;
        if (line == "state") {
            run.states.emplace_back();
            continue;
        }
        std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string key = line.substr(0, equals);
        std::string value = line.substr(equals + 1);
        if (key == "dialog")
            run.dialogs.push_back(DialogSeen::decode(value));
        else if (!run.states.empty() && key.find('.') != std::string::npos && key.rfind("path.", 0) != 0)
            run.states.back()[key] = unescapeValue(value);
        else
            run.values[key] = unescapeValue(value);
    }
}

}  // namespace

ProgramRun runProgram(const ProgramCopy& copy, const std::vector<std::string>& steps) {
    std::string folder = copy.folder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    const std::string exe = folder + copy.exeName;
    os::copyFile(os::executablePath(), exe);
    ::chmod(exe.c_str(), 0755);

    std::vector<std::string> args = {exe, "--drive"};
    args.insert(args.end(), steps.begin(), steps.end());
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const std::string cwd = copy.workingFolder.empty() ? folder : copy.workingFolder;

    int pipe[2];
    if (::pipe(pipe) != 0) throw std::runtime_error("pipe failed");
    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        ::dup2(pipe[1], 1);
        ::close(pipe[0]);
        ::close(pipe[1]);
        if (::chdir(cwd.c_str()) != 0) ::_exit(126);
        ::execv(exe.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipe[1]);
    ProgramRun run;
    run.output = readAll(pipe[0]);
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    parse(run);
    return run;
}
