// GCC has no __try/__except, so the guard builds the frame one would give:
// a real structured-exception frame whose handler takes faults in the
// search pass and then unwinds the way the system does for an __except.
//
// x86_64: exceptions are found through the unwind tables, so the guarded
// call is made from a small assembly function whose table entry names our
// handler. The handler asks RtlUnwindEx to unwind every frame above it and
// to resume in that function with 0 in RAX; the system restores the
// registers the frames saved, and nothing outside the stack refers to them.
//
// i686: exceptions are found through the chain of registration records at
// FS:[0]. The guard pushes a record on its own stack. The handler first
// calls RtlUnwind down to that record, which runs the unwind handlers of
// every frame above it and unlinks them (the dispatcher's own frame
// included), and only then jumps back to the guard, which pops its record.
// Jumping without that unwind would leave FS:[0] pointing into dead stack.
// GCC's own frames here use DWARF tables, never that chain.
//
// C++ exceptions never reach either handler: they are caught inside the
// guarded frame. Every piece of state lives on the guard's stack, so guards
// nest and any thread may use them.
#include "host/GuardedCall.h"

namespace {

struct Call {
    void (*fn)(void*);
    void* context;
};

BOOL RunCaught(void* p)
{
    Call* call = static_cast<Call*>(p);
    try {
        call->fn(call->context);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

bool IsFault(const EXCEPTION_RECORD* record)
{
    if (record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) return false;
    const DWORD code = record->ExceptionCode;
    return (code & 0xC0000000u) == 0xC0000000u && code != STATUS_STACK_OVERFLOW;
}

}  // namespace

#if defined(__x86_64__)

extern "C" {
BOOL toolhost_guard_invoke(BOOL (*body)(void*), void* argument);
extern char toolhost_guard_resume[];
EXCEPTION_DISPOSITION toolhost_guard_handler(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                              DISPATCHER_CONTEXT* dispatch);
}

// body(argument) with our handler on its frame. The nop keeps the return
// address out of the epilogue, where the system would not call the handler.
asm(".text\n"
    ".p2align 4\n"
    ".globl toolhost_guard_invoke\n"
    ".def toolhost_guard_invoke; .scl 2; .type 32; .endef\n"
    ".seh_proc toolhost_guard_invoke\n"
    "toolhost_guard_invoke:\n"
    "  .seh_handler toolhost_guard_handler, @except\n"
    "  subq $40, %rsp\n"
    "  .seh_stackalloc 40\n"
    "  .seh_endprologue\n"
    "  movq %rcx, %rax\n"
    "  movq %rdx, %rcx\n"
    "  call *%rax\n"
    "  nop\n"
    ".globl toolhost_guard_resume\n"
    "toolhost_guard_resume:\n"
    "  addq $40, %rsp\n"
    "  ret\n"
    ".seh_endproc\n");

EXCEPTION_DISPOSITION toolhost_guard_handler(EXCEPTION_RECORD* record, void* frame, CONTEXT* context,
                                              DISPATCHER_CONTEXT* dispatch)
{
    if (!IsFault(record)) return ExceptionContinueSearch;
    ::RtlUnwindEx(frame, toolhost_guard_resume, record, nullptr, context, dispatch->HistoryTable);
    return ExceptionContinueSearch;  // not reached
}

BOOL GuardedCall(void (*fn)(void* context), void* context)
{
    Call call{fn, context};
    return toolhost_guard_invoke(RunCaught, &call);
}

#elif defined(__i386__)

namespace {

// The system's registration record (next, handler), then our resume point.
struct GuardRecord {
    GuardRecord* next;
    void* handler;
    void* resume[5];  // __builtin_setjmp: frame, address, stack, two spare
};

GuardRecord* ChainHead()
{
    GuardRecord* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

void SetChainHead(GuardRecord* head) { asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory"); }

// RtlUnwind down to `frame`, continuing right after the call whether the
// system returns from it or resumes at the target address it was given.
__attribute__((noinline)) void UnwindTo(void* frame, EXCEPTION_RECORD* record)
{
    asm volatile("pushl $0\n\t"
                 "pushl %1\n\t"
                 "pushl $1f\n\t"
                 "pushl %0\n\t"
                 "call _RtlUnwind@16\n"
                 "1:\n\t"
                 :
                 : "r"(frame), "r"(record)
                 : "eax", "ecx", "edx", "memory", "cc");
}

extern "C" EXCEPTION_DISPOSITION __cdecl GuardHandler(EXCEPTION_RECORD* record, void* frame, CONTEXT*, void*)
{
    if (!IsFault(record)) return ExceptionContinueSearch;
    UnwindTo(frame, record);
    __builtin_longjmp(static_cast<GuardRecord*>(frame)->resume, 1);
}

}  // namespace

__attribute__((noinline)) BOOL GuardedCall(void (*fn)(void* context), void* context)
{
    Call call{fn, context};
    GuardRecord record;
    record.next = ChainHead();
    record.handler = reinterpret_cast<void*>(&GuardHandler);
    volatile BOOL ok = FALSE;
    if (__builtin_setjmp(record.resume) == 0) {
        SetChainHead(&record);
        ok = RunCaught(&call);
    }
    SetChainHead(record.next);
    return ok;
}

#else
#error "GuardedCall: x86_64 or i686 only"
#endif
