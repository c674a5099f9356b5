/* Preloaded into a keying program (LD_PRELOAD), it timestamps every change of the modem lines.
 *
 * Each TIOCMBIS, TIOCMBIC and TIOCMSET on a file descriptor is recorded with CLOCK_MONOTONIC nanoseconds and the
 * DTR and RTS state that results, into a buffer allocated before the program runs; the buffer goes to the file
 * named by KEYING_SHIM_OUT when the program exits or gets SIGTERM. On a pseudo-terminal, which has no modem lines,
 * the real call fails; the shim then keeps the lines of that descriptor itself and reports success, so a keyer
 * works on a pty as on a serial port. TIOCMGET answers from the same state there.
 *
 * Output, one line a change: "<ns> <fd> <dtr> <rts>". */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#define MAX_EVENTS (1 << 18)
#define MAX_FDS 4096

struct event {
    long long ns;
    int fd;
    int lines;
};

typedef int (*ioctl_fn)(int, unsigned long, ...);

static ioctl_fn real_ioctl;
static struct event* events;
static atomic_int event_count;
static atomic_int written;
/* -1: the descriptor has real lines; else its faked TIOCM_* bits. */
static int fake_lines[MAX_FDS];
static unsigned char fake_known[MAX_FDS];

/* dlsym returns an object pointer; POSIX guarantees it converts, ISO C does not, hence the copy. */
static void find_real_ioctl(void) {
    void* symbol = dlsym(RTLD_NEXT, "ioctl");
    memcpy(&real_ioctl, &symbol, sizeof real_ioctl);
}

static long long monotonic_ns(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

static char* put_number(char* p, long long value) {
    char digits[24];
    int n = 0;
    if (value < 0) {
        *p++ = '-';
        value = -value;
    }
    do {
        digits[n++] = (char)('0' + value % 10);
        value /= 10;
    } while (value);
    while (n)
        *p++ = digits[--n];
    return p;
}

/* Async-signal-safe: only open, write and close. */
static void write_events(void) {
    const char* path = getenv("KEYING_SHIM_OUT");
    if (!path || !events || atomic_exchange(&written, 1))
        return;
    int out = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0)
        return;
    int count = atomic_load(&event_count);
    if (count > MAX_EVENTS)
        count = MAX_EVENTS;
    char line[96];
    for (int i = 0; i < count; ++i) {
        char* p = put_number(line, events[i].ns);
        *p++ = ' ';
        p = put_number(p, events[i].fd);
        *p++ = ' ';
        *p++ = (events[i].lines & TIOCM_DTR) ? '1' : '0';
        *p++ = ' ';
        *p++ = (events[i].lines & TIOCM_RTS) ? '1' : '0';
        *p++ = '\n';
        ssize_t left = p - line;
        const char* from = line;
        while (left > 0) {
            ssize_t done = write(out, from, (size_t)left);
            if (done <= 0)
                break;
            from += done;
            left -= done;
        }
    }
    close(out);
}

static void on_sigterm(int signo) {
    write_events();
    signal(signo, SIG_DFL);
    raise(signo);
}

__attribute__((constructor)) static void shim_start(void) {
    find_real_ioctl();
    events = calloc(MAX_EVENTS, sizeof *events);
    /* Touch every page now, so the first edges do not pay for page faults. */
    if (events)
        memset(events, 0, MAX_EVENTS * sizeof *events);
    if (getenv("KEYING_SHIM_OUT")) {
        struct sigaction action;
        memset(&action, 0, sizeof action);
        action.sa_handler = on_sigterm;
        sigaction(SIGTERM, &action, NULL);
    }
}

__attribute__((destructor)) static void shim_stop(void) {
    write_events();
}

static void record(int fd, int lines) {
    int i = atomic_fetch_add(&event_count, 1);
    if (events && i < MAX_EVENTS) {
        events[i].ns = monotonic_ns();
        events[i].fd = fd;
        events[i].lines = lines;
    }
}

static int is_line_request(unsigned long request) {
    return request == TIOCMBIS || request == TIOCMBIC || request == TIOCMSET;
}

int ioctl(int fd, unsigned long request, ...) {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    if (!real_ioctl)
        find_real_ioctl();

    if (!is_line_request(request) && request != TIOCMGET)
        return real_ioctl(fd, request, arg);

    const int saved = errno;
    int result = real_ioctl(fd, request, arg);
    const int failed = result != 0 && (errno == ENOTTY || errno == EINVAL);
    if (fd < 0 || fd >= MAX_FDS || !arg)
        return result;
    if (!failed) {
        if (result == 0 && is_line_request(request)) {
            int now = 0;
            if (real_ioctl(fd, TIOCMGET, &now) == 0)
                record(fd, now);
        }
        return result;
    }
    /* No modem lines here (a pseudo-terminal): keep them ourselves. */
    if (!fake_known[fd]) {
        fake_known[fd] = 1;
        fake_lines[fd] = 0;
    }
    const int bits = *(const int*)arg;
    switch (request) {
    case TIOCMGET:
        *(int*)arg = fake_lines[fd];
        errno = saved;
        return 0;
    case TIOCMBIS:
        fake_lines[fd] |= bits;
        break;
    case TIOCMBIC:
        fake_lines[fd] &= ~bits;
        break;
    default:
        fake_lines[fd] = bits;
        break;
    }
    record(fd, fake_lines[fd]);
    errno = saved;
    return 0;
}
