// The port's error: a code and its fixed text, as the transfer code reports them.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

namespace telvane {

enum ComPortErrorCode : int {
    kErrOpen = 1,
    kErrWrite = 2,
    kErrRead = 3,
    kErrAsyncParam = 4,
    kErrPurge = 5,
    kErrAsyncStatus = 6,
    kErrSetState = 7,
    kErrSetTimeouts = 8,
    kErrSetupCom = 9,
    kErrClearCom = 10,
    kErrModemStatus = 11,
    kErrEscapeCom = 12,
    kErrTransmitChar = 13,
    kErrConnected = 14,
    kErrEnumPorts = 15,
    kErrStoreSettings = 16,
    kErrLoadSettings = 17,
    kErrLink = 18,
    kErrLedState = 19,
    kErrThreadCreated = 20,
    kErrWaitFailed = 21,
    kErrHasLink = 22,
    kErrRegistry = 23,
};

// The fixed text of a code; the empty string for a code outside 1..23.
const char* com_error_text(int code);

class ComPortError : public std::runtime_error {
public:
    // `system_error` is the platform's error number when it gave one; it is appended to the text.
    // `detail` is the platform's own explanation, kept for diagnostics.
    ComPortError(int code, std::optional<int> system_error = std::nullopt, std::string detail = {});

    int code() const { return code_; }
    std::optional<int> system_error() const { return system_error_; }
    const std::string& detail() const { return detail_; }

private:
    int code_;
    std::optional<int> system_error_;
    std::string detail_;
};

} // namespace telvane
