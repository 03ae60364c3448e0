// Runs a command again and again with standard input from a file and
// standard output to /dev/null; prints the median wall time of a run in
// microseconds and the largest peak resident memory seen, in KiB.
//
//   spawn_timer RUNS INPUT_FILE COMMAND [ARGUMENT...]
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

// Peak resident memory of a running process since its exec (VmHWM), in KiB.
long peak_kib(pid_t pid) {
  std::FILE* status = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
  if (status == nullptr) return 0;
  char line[256];
  long kib = 0;
  while (std::fgets(line, sizeof line, status) != nullptr && std::sscanf(line, "VmHWM: %ld kB", &kib) != 1) {
  }
  std::fclose(status);
  return kib;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: spawn_timer RUNS INPUT_FILE COMMAND [ARGUMENT...]\n");
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const bool sample_memory = std::getenv("SPAWN_TIMER_MEMORY") != nullptr;
  std::vector<double> micros;
  long peak = 0;
  for (int i = 0; i < runs; ++i) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, argv[2], O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid;
    if (posix_spawn(&pid, argv[3], &files, nullptr, argv + 3, environ) != 0) {
      std::perror("posix_spawn");
      return 1;
    }
    int status = 0;
    if (sample_memory) {
      // Sampled every millisecond until the process ends; VmHWM only grows.
      while (waitpid(pid, &status, WNOHANG) == 0) {
        peak = std::max(peak, peak_kib(pid));
        usleep(1000);
      }
    } else {
      waitpid(pid, &status, 0);
    }
    micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    posix_spawn_file_actions_destroy(&files);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "spawn_timer: %s ended with status %d\n", argv[3], status);
      return 1;
    }
  }
  std::nth_element(micros.begin(), micros.begin() + runs / 2, micros.end());
  std::printf("%.1f %ld\n", micros[static_cast<std::size_t>(runs / 2)], peak);
  return 0;
}
