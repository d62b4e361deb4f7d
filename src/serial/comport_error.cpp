#include "comport_error.h"

#include <array>

namespace telvane {

namespace {

constexpr std::array<const char*, 23> kTexts = {
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
};

std::string message_of(int code, std::optional<int> system_error) {
    std::string text = com_error_text(code);
    if (system_error)
        text += " (win error code: " + std::to_string(*system_error) + ")";
    return text;
}

} // namespace

const char* com_error_text(int code) {
    if (code < 1 || code > static_cast<int>(kTexts.size()))
        return "";
    return kTexts[static_cast<std::size_t>(code - 1)];
}

ComPortError::ComPortError(int code, std::optional<int> system_error, std::string detail)
    : std::runtime_error(message_of(code, system_error)), code_(code), system_error_(system_error),
      detail_(std::move(detail)) {}

} // namespace telvane
