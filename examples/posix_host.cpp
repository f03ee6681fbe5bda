// A host application's "update now" step on Linux: it starts the updater detached, in a session of
// its own, and exits at once, so that the installer the updater starts can replace the host's files.
//
//   example_host <updater executable> <ftp address> <size in bytes>
//
// The updater's folder already holds the update.cfg that the host's own installer wrote.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>

#include <cstdio>
#include <cstring>

extern char** environ;

namespace {

// The spawn attributes and file actions, released on every way out.
struct SpawnAttributes {
  posix_spawnattr_t value;
  SpawnAttributes() { posix_spawnattr_init(&value); }
  ~SpawnAttributes() { posix_spawnattr_destroy(&value); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
};

struct SpawnFileActions {
  posix_spawn_file_actions_t value;
  SpawnFileActions() { posix_spawn_file_actions_init(&value); }
  ~SpawnFileActions() { posix_spawn_file_actions_destroy(&value); }
  SpawnFileActions(const SpawnFileActions&) = delete;
  SpawnFileActions& operator=(const SpawnFileActions&) = delete;
};

// Starts the updater in a new session (no controlling terminal, no share in the host's process group
// or its hang-up), with default signal handling, no signals blocked, the standard streams on
// /dev/null and no other descriptor of the host. Returns 0 or the error number.
int StartDetached(const char* updater, const char* address, const char* size) {
  SpawnAttributes attributes;
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes.value, &signals);
  sigfillset(&signals);
  posix_spawnattr_setsigdefault(&attributes.value, &signals);
  posix_spawnattr_setflags(&attributes.value, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  SpawnFileActions files;
  posix_spawn_file_actions_addopen(&files.value, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files.value, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&files.value, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(&files.value, 3);

  // Three arguments; the updater joins them with blanks, so none may hold a blank. Language 0: the
  // updater speaks the desktop's language, as this host would.
  char language[] = "0";
  char* const arguments[] = {const_cast<char*>(updater), const_cast<char*>(address), const_cast<char*>(size),
                             language, nullptr};
  pid_t child = 0;
  return posix_spawn(&child, updater, &files.value, &attributes.value, arguments, environ);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s <updater executable> <ftp address> <size in bytes>\n", argv[0]);
    return 2;
  }
  if (const int error = StartDetached(argv[1], argv[2], argv[3])) {
    std::fprintf(stderr, "The updater could not be started: %s\n", std::strerror(error));
    return 1;
  }
  std::puts("The updater has taken over; the host ends so that the installer can replace it.");
  return 0;
}
