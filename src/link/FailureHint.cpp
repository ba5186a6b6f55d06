#include "link/FailureHint.h"

#include "link/FrameDecoder.h"

#include <algorithm>
#include <vector>

namespace tesmira {

namespace {

std::string PortHint(OpenFailure failure) {
    switch (failure) {
    case OpenFailure::NotFound:
        return "Порт не найден: проверьте, что шнур подключен и выбран верный порт";
    case OpenFailure::Busy:
        return "Порт занят другой программой: закройте ее и повторите";
    case OpenFailure::AccessDenied:
        return "Нет прав на порт: нужно членство в группе dialout (sudo usermod -aG dialout "
               "$USER, затем войти в систему заново)";
    case OpenFailure::Other:
        break;
    }
    return "Порт не открывается: проверьте, что выбран порт прибора";
}

std::string FirmwareHint(const FailureFacts& f) {
    const std::string number =
        std::to_string(f.block) + (f.blocks ? " из " + std::to_string(f.blocks) : "");
    const std::string block = "блок " + number;
    if (f.answer.empty() && !f.sent)
        return f.block == 0
                   ? "Ничего не отправлено: блоки образа выходят за его конец"
                   : "Блок " + number + " ушел в порт не целиком: линия не принимает данные";
    if (f.answer.empty())
        return f.block <= 1 ? std::string(kNoAnswerHint)
                            : "Загрузчик не ответил на " + block + ": передача остановилась на нем";
    if (f.answer[0] == kFirmwareBlockRefused)
        return "Загрузчик отклонил " + block + " (ответ 22)";
    return "На " + block + " пришел ответ " + HexText(f.answer.first(1)) +
           " вместо 11: помехи на линии или неверная скорость порта";
}

// The answer decoded as what the mode expects: the rows of the frames and bytes in it.
std::vector<TraceRow> DecodeAnswer(ExchangeMode mode, std::span<const std::uint8_t> answer) {
    FrameDecoder decoder;
    std::vector<TraceRow> rows;
    TapEvent event;
    event.kind = TapEventKind::ExchangeStarted;
    event.mode = mode;
    decoder.Feed(event, rows);
    event.kind = TapEventKind::Received;
    event.bytes.assign(answer.begin(), answer.end());
    decoder.Feed(event, rows);
    decoder.Finish(rows);
    return rows;
}

} // namespace

std::string_view PortAccessNote(OpenFailure failure) {
    if (failure != OpenFailure::AccessDenied)
        return {};
    // Serial devices on Linux belong to the group dialout; its members may open them.
    return " — нет прав на порт: нужно членство в группе dialout";
}

std::string FailureHint(const FailureFacts& f) {
    switch (f.report) {
    case ExchangeReport::PortFailed:
        return PortHint(f.openFailure);
    case ExchangeReport::NoValidReply:
    case ExchangeReport::Unsupported:
        break;
    default:
        return {};
    }
    if (f.mode == ExchangeMode::Firmware)
        return FirmwareHint(f);
    if (f.answer.empty())
        return f.sent ? std::string(kNoAnswerHint)
                      : "Кадр не ушел в порт целиком: линия не принимает данные";
    if (f.report == ExchangeReport::Unsupported)
        return "Прибор ответил как тип " + std::to_string(ReplyDeviceType(f.answer)) +
               ": такого типа программатор не знает";
    const std::vector<TraceRow> rows = DecodeAnswer(f.mode, f.answer);
    const bool good = std::any_of(rows.begin(), rows.end(),
                                  [](const TraceRow& r) { return r.crc == CrcCheck::Good; });
    if (!good)
        return std::string(kDistortedHint);
    std::string what;
    for (const TraceRow& row : rows)
        what += (what.empty() ? "«" : ", затем «") + DescribeRow(row) + "»";
    return "Ответ не принят: пришло " + what;
}

} // namespace tesmira
