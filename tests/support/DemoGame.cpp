#include "DemoGame.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <thread>

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
  int errPipe[2];
  if (pipe(errPipe) != 0) throw std::runtime_error("pipe");
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
    dup2(errPipe[1], 2);
    close(errPipe[0]);
    close(errPipe[1]);
    // An ordinary user: none of root's groups either.
    if (uid >= 0 && (setgroups(0, nullptr) != 0 || setgid(gid_t(uid)) != 0 || setuid(uid_t(uid)) != 0)) _exit(126);
    execve(name.c_str(), argv, envp.data());
    _exit(127);
  }
  close(errPipe[1]);
  if (started) *started = pid;
  ProgramRun run;
  auto start = std::chrono::steady_clock::now();
  bool termSent = false;
  int status = 0;
  for (;;) {
    double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    pollfd p{errPipe[0], POLLIN, 0};
    if (poll(&p, 1, 20) > 0) {
      char buffer[4096];
      ssize_t n = read(errPipe[0], buffer, sizeof buffer);
      if (n > 0) run.standardError.append(buffer, size_t(n));
    }
    if (waitpid(pid, &status, WNOHANG) == pid) break;
    if (terminateWhen && !termSent && terminateWhen()) {
      kill(pid, SIGTERM);
      termSent = true;
    }
    if (elapsed > timeoutSeconds) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
  }
  char buffer[4096];
  ssize_t n;
  while ((n = read(errPipe[0], buffer, sizeof buffer)) > 0) run.standardError.append(buffer, size_t(n));
  close(errPipe[0]);
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
