#include "mcs51/image/console.h"

#include <fmt/format.h>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;  // NOLINT: POSIX's, for posix_spawnp
#endif

namespace mcs51 {
namespace {

constexpr std::size_t kMostReply = std::size_t{1} << 20;

}  // namespace

#ifdef _WIN32

// The simulator is a Linux program: here every conversation is refused.
Console::Console(const std::vector<std::string>& argv,
                 std::chrono::duration<double>) {
  error_ = fmt::format("{}: not run on Windows", argv.empty() ? "" : argv[0]);
}
Console::~Console() = default;
ConsoleStatus Console::Ask(const std::string&, std::span<const std::string>,
                           std::vector<std::string>& replies) {
  replies.clear();
  return ConsoleStatus::kEnded;
}

#else

namespace {

// A write to a program that has ended must be an answer, not SIGPIPE's
// end of this one.
struct IgnoredPipe {
  struct sigaction old {};
  IgnoredPipe() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &old);
  }
  ~IgnoredPipe() { sigaction(SIGPIPE, &old, nullptr); }
  IgnoredPipe(const IgnoredPipe&) = delete;
  IgnoredPipe& operator=(const IgnoredPipe&) = delete;
};

}  // namespace

Console::Console(const std::vector<std::string>& argv,
                 std::chrono::duration<double> guard)
    : deadline_(std::chrono::steady_clock::now() +
                std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                    guard)) {
  int to[2] = {-1, -1};
  int from[2] = {-1, -1};
  if (pipe2(to, O_CLOEXEC) != 0 || pipe2(from, O_CLOEXEC) != 0) {
    error_ = std::strerror(errno);
    for (const int fd : {to[0], to[1], from[0], from[1]})
      if (fd >= 0) close(fd);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, to[0], 0);
  posix_spawn_file_actions_adddup2(&actions, from[1], 1);
  posix_spawn_file_actions_adddup2(&actions, from[1], 2);
  std::vector<char*> args;
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int failed =
      posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(to[0]);
  close(from[1]);
  in_ = to[1];
  out_ = from[0];
  if (failed != 0) {
    error_ = fmt::format("{}: {}", argv[0], std::strerror(failed));
    return;
  }
  pid_ = pid;
}

Console::~Console() {
  if (in_ >= 0) close(in_);
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  if (out_ >= 0) close(out_);
}

ConsoleStatus Console::Ask(const std::string& commands,
                           std::span<const std::string> marks,
                           std::vector<std::string>& replies) {
  replies.clear();
  if (pid_ <= 0) return ConsoleStatus::kEnded;
  const IgnoredPipe ignored;
  for (std::size_t sent = 0; sent < commands.size();) {
    const ssize_t n =
        write(in_, commands.data() + sent, commands.size() - sent);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return ConsoleStatus::kEnded;
    sent += static_cast<std::size_t>(n);
  }
  // Each reply ends where its mark is printed; what is left is kept for
  // the next batch, moved once.
  std::size_t start = 0;
  while (replies.size() < marks.size()) {
    const std::string& mark = marks[replies.size()];
    const std::size_t at = pending_.find(mark, start);
    if (at != std::string::npos) {
      replies.push_back(pending_.substr(start, at - start));
      start = at + mark.size();
      continue;
    }
    if (pending_.size() - start > kMostReply) return ConsoleStatus::kEnded;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline_ - std::chrono::steady_clock::now());
    if (left.count() <= 0) return ConsoleStatus::kTimedOut;
    pollfd fd{out_, POLLIN, 0};
    const int ready = poll(&fd, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return ConsoleStatus::kTimedOut;
    char buffer[65536];
    const ssize_t n = read(out_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      replies.push_back(pending_.substr(start));
      return ConsoleStatus::kEnded;
    }
    pending_.append(buffer, static_cast<std::size_t>(n));
  }
  pending_.erase(0, start);
  return ConsoleStatus::kOk;
}

#endif

}  // namespace mcs51
