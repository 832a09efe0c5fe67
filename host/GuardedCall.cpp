// MinGW's GCC has no __try/__except. The guard takes the place of one: while
// it is armed on a thread, the process's last-resort exception filter (which
// the system consults once no frame handler took the exception, exactly when
// an __except around the call would have run) jumps back to the guard's
// starting point on that thread. Exceptions that the called code handles
// itself never reach the filter.
#include "host/GuardedCall.h"

namespace {

// __builtin_setjmp keeps five words: frame, resume address, stack and two
// spare.
struct JumpPoint {
    void* words[5];
};

// Each thread's armed point, in a TLS slot (taken once, kept for the run).
DWORD ArmedSlot()
{
    static const DWORD slot = ::TlsAlloc();
    return slot;
}

JumpPoint* Armed() { return static_cast<JumpPoint*>(::TlsGetValue(ArmedSlot())); }
void Arm(JumpPoint* point) { ::TlsSetValue(ArmedSlot(), point); }

LPTOP_LEVEL_EXCEPTION_FILTER g_previous = nullptr;

LONG WINAPI GuardFilter(EXCEPTION_POINTERS* info)
{
    if (JumpPoint* point = Armed()) {
        Arm(nullptr);
        __builtin_longjmp(point->words, 1);
    }
    return g_previous ? g_previous(info) : EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

__attribute__((noinline)) BOOL GuardedCall(void (*fn)(void* context), void* context)
{
    // Only the thread that shows help arms the guard; a nested guard on that
    // thread finds the filter already in place and leaves it to the outer one.
    JumpPoint point;
    JumpPoint* volatile outer = Armed();
    LPTOP_LEVEL_EXCEPTION_FILTER volatile previous = ::SetUnhandledExceptionFilter(GuardFilter);
    if (previous != GuardFilter) g_previous = previous;

    volatile BOOL ok = TRUE;
    if (__builtin_setjmp(point.words) == 0) {
        Arm(&point);
        fn(context);
    } else {
        ok = FALSE;
    }
    Arm(outer);
    if (!outer && previous != GuardFilter) ::SetUnhandledExceptionFilter(previous);
    return ok;
}
