#pragma once
// The part of the hook library that every build of it shares: VANTREL.DLL,
// which vantrel.exe loads, and the companions' VANTREL32.DLL and VANTREL64.DLL.
// It opens the shared record and the details object beside it, sets and
// removes this process's hooks on one thread, and holds the hook procedures
// that report the watched window's messages in the watched thread.

#include "hooklib/hook_channel.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace vantrel::hook {

// This process's views of the shared record and of the details object,
// opened together on first use.
struct Channel {
    HANDLE recordMapping = nullptr;
    HANDLE detailsMapping = nullptr;
    HookRecord* record = nullptr;
    HookDetailsHeader* details = nullptr;
};
// nullptr when either does not exist (no Catch Messages window is open) or is
// smaller than it must be.
Channel* OpenChannel();
void CloseChannel();

// Atomic access to the library's words of the record.
std::uint32_t Load(const std::uint32_t& word);
void Store(std::uint32_t& word, std::uint32_t value);
bool CompareExchange(std::uint32_t& word, std::uint32_t expected, std::uint32_t desired);

// The 32 significant bits of a window handle, and back.
std::uint32_t WindowValue(HWND window);
HWND ValueWindow(std::uint32_t value);

// The registered message of Start's handshake; its lParam carries the number
// that the hook procedure answers with HandshakeAnswer.
UINT HandshakeMessage();

// Sets this process's two hooks on one thread (removing earlier ones of this
// process first); false when the system refused.
bool SetThreadHooks(DWORD thread);
void RemoveThreadHooks();
bool HasThreadHooks();

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

}  // namespace vantrel::hook
