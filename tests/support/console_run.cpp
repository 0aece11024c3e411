#include "tests/support/console_run.h"
#include "platform/kernel_handles.h"

#include <thread>

namespace {

// Reads a pipe to its end on a thread of its own, so that neither pipe fills and stalls
// the program.
class PipeReader {
  public:
    explicit PipeReader(HANDLE readEnd) : readEnd_(readEnd) {
        thread_ = std::thread([this] {
            char buffer[4096];
            DWORD got = 0;
            while (ReadFile(readEnd_.get(), buffer, sizeof buffer, &got, nullptr) && got > 0)
                text_.append(buffer, got);
        });
    }
    ~PipeReader() {
        if (thread_.joinable())
            thread_.join();
    }
    std::string take() {
        thread_.join();
        return std::move(text_);
    }

  private:
    KernelHandle readEnd_;
    std::string text_;
    std::thread thread_;
};

bool makePipe(KernelHandle& readEnd, KernelHandle& writeEnd) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0))
        return false;
    readEnd.reset(read);
    writeEnd.reset(write);
    return SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0) != 0;
}

} // namespace

ConsoleRun runConsoleProgram(const std::string& commandLine, DWORD boundMs) {
    ConsoleRun run;
    KernelHandle outRead, outWrite, errRead, errWrite;
    if (!makePipe(outRead, outWrite) || !makePipe(errRead, errWrite))
        return run;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = INVALID_HANDLE_VALUE;
    startup.hStdOutput = outWrite.get();
    startup.hStdError = errWrite.get();
    PROCESS_INFORMATION started = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &started))
        return run;
    KernelHandle process(started.hProcess);
    KernelHandle thread(started.hThread);
    // Only the child holds the write ends now: its end closes the pipes.
    outWrite.reset();
    errWrite.reset();
    PipeReader output(outRead.release());
    PipeReader errors(errRead.release());
    if (WaitForSingleObject(process.get(), boundMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 0xDEAD);
        WaitForSingleObject(process.get(), 10000);
    } else {
        run.finished = GetExitCodeProcess(process.get(), &run.exitCode) != 0;
    }
    run.output = output.take();
    run.errors = errors.take();
    return run;
}

ConsoleRun runConsoleProgram(const std::string& program, const std::string& arguments,
                             DWORD boundMs) {
    std::string commandLine(1, '"');
    commandLine.append(program).append("\" ").append(arguments);
    return runConsoleProgram(commandLine, boundMs);
}
