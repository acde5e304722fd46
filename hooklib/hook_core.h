#pragma once
// The part of the hook library that every build of it shares: VANTREL.DLL,
// which vantrel.exe loads, and the companions' VANTREL32.DLL and VANTREL64.DLL.
// It opens the shared record and the details object beside it, sets and
// removes this process's hooks, and holds the hook procedures that report
// the watched windows' messages in the watched threads.

#include "hooklib/hook_channel.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace vantrel::hook {

// This process's views of the shared record and of the details object,
// opened together on first use.
struct Channel {
    HANDLE recordMapping = nullptr;
    HANDLE detailsMapping = nullptr;
    HookRecord* record = nullptr;
    HookDetailsHeader* details = nullptr;  // the whole details object (kDetailsObjectSize)

    MessageDetails& Details() const {
        return *reinterpret_cast<MessageDetails*>(reinterpret_cast<char*>(details) + kDetailsOffset);
    }
    ReturnEntry* Returns() const {
        return reinterpret_cast<ReturnEntry*>(reinterpret_cast<char*>(details) + kReturnRingOffset);
    }
};
// nullptr when either does not exist (no Catch Messages window is open) or is
// smaller than it must be.
Channel* OpenChannel();
void CloseChannel();

// Atomic access to the library's words of the shared objects.
std::uint32_t Load(const std::uint32_t& word);
void Store(std::uint32_t& word, std::uint32_t value);
bool CompareExchange(std::uint32_t& word, std::uint32_t expected, std::uint32_t desired);

// The 32 significant bits of a window handle, and back.
std::uint32_t WindowValue(HWND window);
HWND ValueWindow(std::uint32_t value);

// The registered message of Start's handshake; its lParam carries the number
// that the hook procedure answers with HandshakeAnswer.
UINT HandshakeMessage();

// ---- The hooks this process sets (vantrel.exe, or a companion) ----------------

// The message hooks on one more thread: the call-window-procedure and
// get-message hooks, and the return hook while returns are on. True when
// the thread has them (also when it had them already).
bool AddThreadHooks(DWORD thread);
// Every hook this process set: on every thread, and the scout.
void RemoveThreadHooks();
bool HasThreadHooks();
// The return hooks on every hooked thread, and on those hooked later.
bool SetReturnHooks(bool on);
// The scout: a hook on every thread of the desktop that has a thread of
// process (0: none) ask for the message hooks when it makes its first window.
bool SetScout(DWORD process);
// A scout's request: the message hooks on thread, when it belongs to the
// scouted process.
bool TakeThreadRequest(DWORD thread);

// The module of this library, and the folder it was loaded from ("X:\...\",
// with the closing backslash), "" when that is not a full path.
HINSTANCE LibraryModule();
std::string LibraryFolder();
// The folder of a process's program, the same way; "" when it cannot be told.
std::string ProgramFolder(DWORD processId);
// Two folders as the system compares names: letters of either case alike.
bool SameFolder(const std::string& a, const std::string& b);

// A number no other program can foresee (the handshake's, the companion's key).
std::uint32_t UnforeseeableNumber();

// The watched program's memory, read without faulting it (hook_memory.cpp):
// the readable start of the range, as many bytes as were copied.
std::size_t ReadLiveMemory(std::uint64_t address, void* to, std::size_t bytes);
// Removes the fault handler the reads put in place (the library is unloaded).
void ForgetLiveMemory();

}  // namespace vantrel::hook
