// One line of what the bytes of a failed exchange suggest, for the link monitor and the status
// bar's failure text.
#pragma once

#include "link/Exchange.h"
#include "link/SerialBackend.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tesmira {

inline constexpr std::string_view kNoAnswerHint =
    "Прибор не отвечает: проверьте, что прибор в сервисном режиме, шнур подключен и выбран "
    "верный порт";
inline constexpr std::string_view kDistortedHint =
    "Ответ искажен: помехи на линии или неверная скорость порта";

struct FailureFacts {
    ExchangeMode mode = ExchangeMode::Read;
    ExchangeReport report = ExchangeReport::NoValidReply;
    OpenFailure openFailure = OpenFailure::Other; // when the port did not open
    // What came back since the last frame (or firmware block) went out.
    std::span<const std::uint8_t> answer;
    bool sent = true;       // that frame or block went out whole
    std::size_t block = 0;  // firmware: the block that failed (from 1) ...
    std::size_t blocks = 0; // ... of n (0: not known)
};

// Empty, or a short note (with its leading separator) to follow the port-failure status text
// when the open was refused for the lack of rights to the device.
std::string_view PortAccessNote(OpenFailure failure);

// Empty for an outcome that is no failure.
std::string FailureHint(const FailureFacts& facts);

} // namespace tesmira
