#include "platform/win32/win32_processes.h"

#include <tlhelp32.h>

#include "core/windows_command_line.h"
#include "platform/win32/win32_text.h"

namespace nudgewick::win32 {
namespace {

// The command shares standard input, output and error: this program's own
// where a script gave it some, else the console of the prompt that started
// it (start /wait), which a console program then shares.
bool ShareStandardHandles(STARTUPINFOW& startup) {
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    if (IsUsableHandle(startup.hStdOutput) || IsUsableHandle(startup.hStdError)) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        return true;
    }
    AttachConsole(ATTACH_PARENT_PROCESS);
    return false;
}

// The program a command line starts, as it names it, quotes aside.
std::string ProgramName(std::wstring_view commandLine) {
    std::wstring name(commandLine.substr(0, commandLine.size() - CommandLineTail(commandLine).size()));
    std::erase(name, L'"');
    if (name.ends_with(L' ') || name.ends_with(L'\t')) name.pop_back();
    return Narrow(name);
}

}  // namespace

bool IsUsableHandle(HANDLE handle) {
    const DWORD type = GetFileType(handle);
    return type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE || type == FILE_TYPE_CHAR;
}

Win32Processes::Win32Processes(std::wstring command, std::function<void(std::int32_t, const ProcessEnd&)> ended)
    : Processes(ProcessNaming::FileNameAnyCase), command_(std::move(command)), ended_(std::move(ended)) {}

Win32Processes::~Win32Processes() {
    for (const HANDLE handle : handles_) CloseHandle(handle);
}

// The loop waits on one handle fewer than the system allows, beside the messages.
std::optional<std::string> Win32Processes::Watch(std::int32_t pid) {
    if (handles_.size() + 1 >= MAXIMUM_WAIT_OBJECTS) return "Nudgewick follows too many processes";
    const HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) {
        const DWORD error = GetLastError();
        return error == ERROR_INVALID_PARAMETER ? Tr(kNoSuchProcess) : SystemMessage(error);
    }
    handles_.push_back(process);
    pids_.push_back(pid);
    return std::nullopt;
}

// The command line goes to the system as given: the program finds its own
// arguments in it, as from a prompt.
CommandStart Win32Processes::StartCommand() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const BOOL inherit = ShareStandardHandles(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = command_;  // CreateProcessW may write into it
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, inherit, 0, nullptr, nullptr, &startup,
                        &process)) {
        const DWORD error = GetLastError();
        const bool found = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
        return {std::nullopt, found, ProgramName(command_), SystemMessage(error)};
    }
    CloseHandle(process.hThread);
    handles_.push_back(process.hProcess);
    pids_.push_back(static_cast<std::int32_t>(process.dwProcessId));
    return {pids_.back(), true, {}, {}};
}

void Win32Processes::OnSignalled(std::size_t index) {
    DWORD code = 0;
    GetExitCodeProcess(handles_[index], &code);
    CloseHandle(handles_[index]);
    const std::int32_t pid = pids_[index];
    handles_.erase(handles_.begin() + static_cast<std::ptrdiff_t>(index));
    pids_.erase(pids_.begin() + static_cast<std::ptrdiff_t>(index));
    ended_(pid, {static_cast<int>(code), std::nullopt});
}

bool Win32Processes::AnyNamed(const std::function<bool(std::string_view)>& named) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
        found = named(Narrow(entry.szExeFile));
    }
    CloseHandle(snapshot);
    return found;
}

}  // namespace nudgewick::win32
