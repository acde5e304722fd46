// Reading the watched program's memory without ever faulting it.
//
// An address in a message parameter may point anywhere: into memory the
// program has freed, into a guard page at the end of a thread's stack, or
// nowhere at all (another program may post any number). The reader asks the
// system about every page first and copies only from committed, readable
// pages without a guard; the copy itself runs in a small routine of known
// addresses, and an exception handler of this library's turns a fault inside
// it (memory freed by another thread between the look and the copy) into a
// short copy, so the program never sees the fault. Nothing here waits or
// asks another process: a read costs a page query and a copy.

#include "hooklib/hook_core.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

// The copy: to, from, bytes; returns the bytes it did not copy (0 when
// whole). A fault at its one reading instruction resumes right after it,
// with the count of what is left.
extern "C" std::size_t vantrel_guarded_copy(void* to, const void* from, std::size_t bytes);
extern "C" char vantrel_guarded_copy_fault[];
extern "C" char vantrel_guarded_copy_resume[];

#if defined(_WIN64)
// Windows x64: to in rcx, from in rdx, bytes in r8. rsi and rdi belong to
// the caller: kept in r9 and r10, so the stack is never touched (no unwind
// data is needed).
asm(R"(
    .text
    .globl vantrel_guarded_copy
    .globl vantrel_guarded_copy_fault
    .globl vantrel_guarded_copy_resume
vantrel_guarded_copy:
    movq %rsi, %r9
    movq %rdi, %r10
    movq %rcx, %rdi
    movq %rdx, %rsi
    movq %r8, %rcx
vantrel_guarded_copy_fault:
    rep movsb
vantrel_guarded_copy_resume:
    movq %r9, %rsi
    movq %r10, %rdi
    movq %rcx, %rax
    ret
)");
#elif defined(_WIN32) && defined(__i386__)
// 32-bit cdecl: the arguments on the stack. esi and edi belong to the
// caller: kept in edx and eax.
asm(R"(
    .text
    .globl _vantrel_guarded_copy
    .globl _vantrel_guarded_copy_fault
    .globl _vantrel_guarded_copy_resume
_vantrel_guarded_copy:
    movl %esi, %edx
    movl %edi, %eax
    movl 4(%esp), %edi
    movl 8(%esp), %esi
    movl 12(%esp), %ecx
_vantrel_guarded_copy_fault:
    rep movsb
_vantrel_guarded_copy_resume:
    movl %edx, %esi
    movl %eax, %edi
    movl %ecx, %eax
    ret
)");
#else
#error "the guarded copy is written for x86 and x64"
#endif

namespace vantrel::hook {
namespace {

PVOID g_handler = nullptr;
// 0: no handler, 1: being set by one thread, 2: set.
std::atomic<int> g_handlerState{0};

LONG CALLBACK OnGuardedCopyFault(EXCEPTION_POINTERS* pointers) {
    const DWORD code = pointers->ExceptionRecord->ExceptionCode;
    if (code != EXCEPTION_ACCESS_VIOLATION && code != EXCEPTION_IN_PAGE_ERROR && code != STATUS_GUARD_PAGE_VIOLATION)
        return EXCEPTION_CONTINUE_SEARCH;
    CONTEXT& context = *pointers->ContextRecord;
#if defined(_WIN64)
    if (context.Rip != reinterpret_cast<DWORD64>(vantrel_guarded_copy_fault)) return EXCEPTION_CONTINUE_SEARCH;
    context.Rip = reinterpret_cast<DWORD64>(vantrel_guarded_copy_resume);
#else
    if (context.Eip != reinterpret_cast<DWORD>(vantrel_guarded_copy_fault)) return EXCEPTION_CONTINUE_SEARCH;
    context.Eip = reinterpret_cast<DWORD>(vantrel_guarded_copy_resume);
#endif
    return EXCEPTION_CONTINUE_EXECUTION;
}

bool HandlerReady() {
    int state = g_handlerState.load(std::memory_order_acquire);
    if (state == 2) return true;
    if (state == 0 && g_handlerState.compare_exchange_strong(state, 1)) {
        // First in line: a fault of the copy is ours and nobody else's
        // handler needs to see it; every other exception passes by untouched.
        g_handler = ::AddVectoredExceptionHandler(1, OnGuardedCopyFault);
        g_handlerState.store(g_handler ? 2 : 0, std::memory_order_release);
        return g_handler != nullptr;
    }
    // Another thread is setting it up this moment: this read is given up.
    return false;
}

constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                            PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

}  // namespace

std::size_t ReadLiveMemory(std::uint64_t address, void* to, std::size_t bytes) {
    if (!address || !bytes || address > UINTPTR_MAX - bytes || !HandlerReady()) return 0;
    auto* out = static_cast<char*>(to);
    std::size_t done = 0;
    while (done < bytes) {
        const auto* from = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(address + done));
        MEMORY_BASIC_INFORMATION region{};
        if (!::VirtualQuery(from, &region, sizeof region) || region.State != MEM_COMMIT ||
            (region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) || !(region.Protect & kReadable))
            break;
        const auto end = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        const std::size_t inRegion = static_cast<std::size_t>(end - from);
        const std::size_t chunk = bytes - done < inRegion ? bytes - done : inRegion;
        const std::size_t left = vantrel_guarded_copy(out + done, from, chunk);
        done += chunk - left;
        if (left) break;
    }
    return done;
}

void ForgetLiveMemory() {
    int set = 2;
    if (!g_handlerState.compare_exchange_strong(set, 0)) return;
    ::RemoveVectoredExceptionHandler(g_handler);
    g_handler = nullptr;
}

}  // namespace vantrel::hook
