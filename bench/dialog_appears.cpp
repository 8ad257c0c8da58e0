// Seconds from starting a program until its first top-level window is mapped. The map
// is seen from the X server's own events, so waiting costs no processor time that the
// program could have used (polling with xdotool costs a good part of a core). The
// program is then ended. Usage: dialog_appears PROGRAM [ARGUMENTS...]
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <cstdio>

extern char** environ;

namespace {

double Seconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Waits for a map of an ordinary top-level window; false when the program ended first.
bool WaitForTopLevelMap(Display* display, pid_t program) {
  pollfd connection{ConnectionNumber(display), POLLIN, 0};
  for (;;) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && !event.xmap.override_redirect) return true;
    }
    if (waitpid(program, nullptr, WNOHANG) == program) return false;
    poll(&connection, 1, 100);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENTS...]\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "cannot open the X display\n");
    return 1;
  }
  // Without a window manager, top-level windows are children of the root window.
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const double start = Seconds();
  pid_t program = 0;
  if (posix_spawn(&program, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
    std::perror(argv[1]);
    return 1;
  }
  if (!WaitForTopLevelMap(display, program)) {
    std::fprintf(stderr, "%s ended without showing a window\n", argv[1]);
    return 1;
  }
  const double elapsed = Seconds() - start;
  kill(program, SIGKILL);
  waitpid(program, nullptr, 0);
  std::printf("%.4f\n", elapsed);
  return 0;
}
