#include "DemoGame.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;
extern char** environ;

fs::path DemoGame::binDirectory() { return fs::read_symlink("/proc/self/exe").parent_path(); }

fs::path DemoGame::sourceDirectory() {
  if (const char* dir = std::getenv("GORVANE_SOURCE_DIR")) return dir;
  return GORVANE_SOURCE_DIR;
}

DemoGame::DemoGame() {
  char pattern[] = "/tmp/gorvane-test-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("cannot make a scratch folder");
  root_ = pattern;
  fs::copy(sourceDirectory() / "demo", root_, fs::copy_options::recursive);
  setenv("TARNBOOK_GAME_APP", app().c_str(), 1);
  setenv("TARNBOOK_GAME_SANDBOX", sandbox().c_str(), 1);
}

DemoGame::~DemoGame() {
  unsetenv("TARNBOOK_GAME_APP");
  unsetenv("TARNBOOK_GAME_SANDBOX");
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::vector<std::string> DemoGame::environment() const {
  return {"TARNBOOK_GAME_APP=" + app().string(), "TARNBOOK_GAME_SANDBOX=" + sandbox().string()};
}

std::vector<std::string> ProgramRun::errorLines() const {
  std::vector<std::string> lines;
  std::istringstream in(standardError);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

ProgramRun runProgram(const fs::path& program, const std::vector<std::string>& extraEnvironment, int uid,
                      std::function<bool()> terminateWhen, double timeoutSeconds, int* started) {
  // Standard error goes to a file, which needs no draining while we wait.
  FILE* errors = std::tmpfile();
  if (!errors || fcntl(fileno(errors), F_SETFD, FD_CLOEXEC) != 0) throw std::runtime_error("tmpfile");
  std::vector<std::string> env = extraEnvironment;
  env.push_back("QT_QPA_PLATFORM=offscreen");
  for (char** e = environ; *e; ++e) env.push_back(*e);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string name = program.string();
  char* argv[] = {name.data(), nullptr};

  pid_t pid = fork();
  if (pid == 0) {
    dup2(fileno(errors), 2);
    // An ordinary user: none of root's groups either.
    if (uid >= 0 && (setgroups(0, nullptr) != 0 || setgid(gid_t(uid)) != 0 || setuid(uid_t(uid)) != 0)) _exit(126);
    execve(name.c_str(), argv, envp.data());
    _exit(127);
  }
  if (started) *started = pid;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
  bool termSent = false;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) != pid) {
    if (terminateWhen && !termSent && (termSent = terminateWhen())) kill(pid, SIGTERM);
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    poll(nullptr, 0, 20);
  }
  ProgramRun run;
  std::rewind(errors);
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, errors)) > 0;) run.standardError.append(buffer, n);
  std::fclose(errors);
  if (WIFEXITED(status)) run.exitStatus = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
  return run;
}

bool gameLockIsHeld(const fs::path& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool held = flock(fd, LOCK_EX | LOCK_NB) != 0;
  if (!held) flock(fd, LOCK_UN);
  close(fd);
  return held;
}
