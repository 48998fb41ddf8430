/* Preloaded into 32-bit Wine under qemu's user-mode emulator.
 *
 * qemu-user delivers SIGSEGV, SIGFPE and their kind with the signal context's trap number
 * left at -1, and 32-bit Wine decides from that number which exception a fault is: with -1
 * every access violation (including the guard-page hits Wine itself relies on to grow
 * stacks) becomes an illegal instruction. This library wraps sigaction so that Wine's fault
 * handlers first see the trap number the processor would have reported, derived from the
 * signal and its si_code.
 */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <signal.h>
#include <stddef.h>
#include <ucontext.h>

typedef int (*sigaction_function)(int, const struct sigaction *, struct sigaction *);
typedef void (*fault_handler)(int, siginfo_t *, void *);

static fault_handler wrapped_handlers[NSIG];

/* Trap numbers of the i386 exception vectors. */
enum { TRAP_DIVIDE = 0, TRAP_DEBUG = 1, TRAP_BREAKPOINT = 3, TRAP_OVERFLOW = 4,
       TRAP_INVALID_OPCODE = 6, TRAP_PROTECTION = 13, TRAP_PAGE_FAULT = 14,
       TRAP_FLOATING_POINT = 16 };

static int is_fault_signal(int signal_number)
{
    return signal_number == SIGSEGV || signal_number == SIGBUS || signal_number == SIGFPE ||
           signal_number == SIGILL || signal_number == SIGTRAP;
}

static int trap_number_of(int signal_number, const siginfo_t *info)
{
    switch (signal_number) {
    case SIGSEGV:
        return info->si_code == SI_KERNEL ? TRAP_PROTECTION : TRAP_PAGE_FAULT;
    case SIGBUS:
        return TRAP_PAGE_FAULT;
    case SIGFPE:
        if (info->si_code == FPE_INTDIV) return TRAP_DIVIDE;
        if (info->si_code == FPE_INTOVF) return TRAP_OVERFLOW;
        return TRAP_FLOATING_POINT;
    case SIGILL:
        return TRAP_INVALID_OPCODE;
    case SIGTRAP:
        return info->si_code == TRAP_TRACE ? TRAP_DEBUG : TRAP_BREAKPOINT;
    }
    return -1;
}

static void fill_trap_number(int signal_number, siginfo_t *info, void *context)
{
    ucontext_t *ucontext = context;
    if (ucontext && info && ucontext->uc_mcontext.gregs[REG_TRAPNO] == -1)
        ucontext->uc_mcontext.gregs[REG_TRAPNO] = trap_number_of(signal_number, info);
    wrapped_handlers[signal_number](signal_number, info, context);
}

int sigaction(int signal_number, const struct sigaction *action, struct sigaction *previous)
{
    static sigaction_function real_sigaction;
    if (!real_sigaction) real_sigaction = (sigaction_function)dlsym(RTLD_NEXT, "sigaction");

    if (signal_number <= 0 || signal_number >= NSIG || !is_fault_signal(signal_number))
        return real_sigaction(signal_number, action, previous);

    fault_handler earlier = wrapped_handlers[signal_number];
    int result;
    if (action && (action->sa_flags & SA_SIGINFO) && action->sa_sigaction) {
        struct sigaction wrapping = *action;
        wrapped_handlers[signal_number] = action->sa_sigaction;
        wrapping.sa_sigaction = fill_trap_number;
        result = real_sigaction(signal_number, &wrapping, previous);
    } else {
        result = real_sigaction(signal_number, action, previous);
    }
    /* The caller sees its own handler, never the wrapper. */
    if (result == 0 && previous && (previous->sa_flags & SA_SIGINFO) &&
        previous->sa_sigaction == fill_trap_number)
        previous->sa_sigaction = earlier;
    return result;
}
