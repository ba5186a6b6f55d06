// The decoder of what the tap saw: frames of every kind, broken streams, the trace line and the
// hints of failed exchanges.
#include "link/FailureHint.h"
#include "link/FrameDecoder.h"
#include "support/HexBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tesmira {
namespace {

using test::Hex;
using Lines = std::vector<std::string>;

TapEvent Start(std::uint64_t t, ExchangeMode mode, std::size_t blocks = 0) {
    TapEvent e;
    e.kind = TapEventKind::ExchangeStarted;
    e.timeMs = t;
    e.mode = mode;
    e.blocks = blocks;
    return e;
}

TapEvent Bytes(TapEventKind kind, std::uint64_t t, std::string_view hex) {
    TapEvent e;
    e.kind = kind;
    e.timeMs = t;
    e.bytes = Hex(hex);
    return e;
}
TapEvent Out(std::uint64_t t, std::string_view hex) {
    return Bytes(TapEventKind::Sent, t, hex);
}
TapEvent In(std::uint64_t t, std::string_view hex) {
    return Bytes(TapEventKind::Received, t, hex);
}

TapEvent End(std::uint64_t t, ExchangeReport report, OpenFailure failure = OpenFailure::Other) {
    TapEvent e;
    e.kind = TapEventKind::ExchangeEnded;
    e.timeMs = t;
    e.report = report;
    e.openFailure = failure;
    return e;
}

Lines Decode(const std::vector<TapEvent>& events) {
    FrameDecoder decoder;
    std::vector<TraceRow> rows;
    for (const TapEvent& e : events)
        decoder.Feed(e, rows);
    decoder.Finish(rows);
    Lines lines;
    for (const TraceRow& row : rows)
        lines.push_back(FormatTraceLine(row));
    return lines;
}

constexpr auto kOk = ExchangeReport::Identified;
constexpr auto kNoReply = ExchangeReport::NoValidReply;

constexpr std::string_view kRead = "7E 0A 52 01 00 00 00 00 00 E3";
constexpr std::string_view kReply26 = "7E 13 52 1A 09 01 08 05 02 03 04 07 65 3C 1E 00 00 01 F1";

struct Case {
    const char* name;
    std::vector<TapEvent> events;
    Lines lines;
};

class Decoding : public testing::TestWithParam<Case> {};

TEST_P(Decoding, GivesTheseTraceLines) {
    EXPECT_EQ(Decode(GetParam().events), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, Decoding,
    testing::Values(
        Case{"ReadAndAReplyInTwoChunks",
             {Start(1000, ExchangeMode::Read), Out(1000, kRead), In(1100, "7E 13 52 1A 09"),
              In(1200, "01 08 05 02 03 04 07 65 3C 1E 00 00 01 F1"), End(1250, kOk)},
             {"0\t→ прибор\t10\tзапрос чтения\tверна\t7E 0A 52 01 00 00 00 00 00 E3",
              "100\t← прибор\t19\tответ прибора: тип 26, версия 9\tверна\t7E 13 52 1A 09 01 08 "
              "05 02 03 04 07 65 3C 1E 00 00 01 F1"}},
        Case{"ShortWriteAndItsAcknowledgement",
             {Start(0, ExchangeMode::Write),
              Out(0, "7E 13 57 01 1A 01 08 05 02 03 04 07 65 3C 1E 00 00 01 D9"),
              In(40, "7E 07 52 1E 09 00 21"), End(41, ExchangeReport::Written)},
             {"0\t→ прибор\t19\tзапись конфигурации, тип 26\tверна\t7E 13 57 01 1A 01 08 05 02 "
              "03 04 07 65 3C 1E 00 00 01 D9",
              "40\t← прибор\t7\tподтверждение записи\tверна\t7E 07 52 1E 09 00 21"}},
        Case{
            "LongWriteSentInTwoChunksWithALateByteBetween",
            {Start(0, ExchangeMode::Write), Out(0, "14 00 00"), In(2, "FF"), Out(3, "07 20 02 31")},
            {"2\t← прибор\t1\tлишние байты\t\tFF",
             "0\t→ прибор\t7\tзапись конфигурации, тип 32\tверна\t14 00 00 07 20 02 31"}},
        Case{"FileCommandsAndAnAnswer",
             {Start(0, ExchangeMode::FileCommand), Out(0, "14 01 00 06 20 16"),
              In(90, "14 01 00 08 20 01 61 F9"), End(91, ExchangeReport::FileCommandDone),
              Start(500, ExchangeMode::FileCommand),
              Out(500, "14 02 00 10 20 61 2E 61 6D 72 00 00 00 00 00 27"),
              Start(900, ExchangeMode::FileCommand),
              Out(900, "14 03 00 13 20 62 2E 61 6D 72 00 00 00 00 00 01 02 03 7B")},
             {"0\t→ прибор\t6\tкоманда файла: список файлов\tверна\t14 01 00 06 20 16",
              "90\t← прибор\t8\tответ на команду файла: список файлов\tверна\t14 01 00 08 20 "
              "01 61 F9",
              "0\t→ прибор\t16\tкоманда файла: удалить «a.amr»\tверна\t14 02 00 10 20 61 2E 61 "
              "6D 72 00 00 00 00 00 27",
              "0\t→ прибор\t19\tкоманда файла: загрузить «b.amr», 3 байт\tверна\t14 03 00 13 "
              "20 62 2E 61 6D 72 00 00 00 00 00 01 02 03 7B"}},
        Case{"FirmwareBlocksAndLoaderAnswers",
             {Start(0, ExchangeMode::Firmware, 2), Out(0, "00 03 AA BB CC"), In(5, "11"),
              Out(6, "00 01"), Out(7, "DD"), In(9, "22"), End(9, kNoReply)},
             {"0\t→ прибор\t5\tблок прошивки 1 из 2\t\t00 03 AA BB CC",
              "5\t← прибор\t1\tответ загрузчика 11: блок принят\t\t11",
              "6\t→ прибор\t3\tблок прошивки 2 из 2\t\t00 01 DD",
              "9\t← прибор\t1\tответ загрузчика 22: блок отклонен\t\t22",
              "9\t\t\tЗагрузчик отклонил блок 2 из 2 (ответ 22)\t\t"}},
        Case{"AnUnknownLoaderAnswerAndABlockCutShort",
             {Start(0, ExchangeMode::Firmware, 3), Out(0, "00 01 AA"), In(2, "5A"),
              Out(3, "00 02 BB"), End(8, kNoReply)},
             {"0\t→ прибор\t3\tблок прошивки 1 из 3\t\t00 01 AA",
              "2\t← прибор\t1\tответ загрузчика 5A: неизвестный ответ\t\t5A",
              "3\t→ прибор\t3\tобрывок кадра\t\t00 02 BB",
              "8\t\t\tБлок 2 из 3 ушел в порт не целиком: линия не принимает данные\t\t"}},
        Case{"ABadCrcAndAnExtraByteInOneChunk",
             {Start(0, ExchangeMode::Read), Out(0, kRead),
              In(100, "7E 13 52 1A 09 01 08 05 02 03 04 07 65 3C 1E 00 00 01 F0 FF"),
              End(1600, kNoReply)},
             {"0\t→ прибор\t10\tзапрос чтения\tверна\t7E 0A 52 01 00 00 00 00 00 E3",
              "100\t← прибор\t19\tответ прибора: тип 26, версия 9\tневерна\t7E 13 52 1A 09 01 "
              "08 05 02 03 04 07 65 3C 1E 00 00 01 F0",
              "100\t← прибор\t1\tлишние байты\t\tFF",
              "1600\t\t\tОтвет искажен: помехи на линии или неверная скорость порта\t\t"}},
        Case{"TwoFramesInOneChunk",
             {Start(0, ExchangeMode::Read), In(100, "7E 07 52 1E 09 00 21 7E 07 52 24 01 00 42"),
              End(200, kNoReply)},
             {"100\t← прибор\t7\tответ прибора: тип 30, версия 9\tверна\t7E 07 52 1E 09 00 21",
              "100\t← прибор\t7\tответ прибора: тип 36, версия 1\tверна\t7E 07 52 24 01 00 42",
              "200\t\t\tОтвет не принят: пришло «ответ прибора: тип 30, версия 9», затем «ответ "
              "прибора: тип 36, версия 1»\t\t"}},
        Case{"ALoneStartByteBeforeAFrame",
             {Start(0, ExchangeMode::Read), In(100, "7E"), In(150, kReply26), End(160, kOk)},
             {"100\t← прибор\t1\tобрывок кадра\t\t7E",
              "150\t← прибор\t19\tответ прибора: тип 26, версия 9\tверна\t7E 13 52 1A 09 01 08 "
              "05 02 03 04 07 65 3C 1E 00 00 01 F1"}},
        Case{"ALoneStartByteAtTheEnd",
             {Start(0, ExchangeMode::Read), In(100, "14"), End(1600, kNoReply)},
             {"100\t← прибор\t1\tобрывок кадра\t\t14",
              "1600\t\t\tОтвет искажен: помехи на линии или неверная скорость порта\t\t"}},
        Case{"ALengthFieldOfZero",
             {Start(0, ExchangeMode::Read), In(100, "7E 00 52 1A 09"), End(120, kNoReply)},
             {"100\t← прибор\t5\tобрывок кадра\t\t7E 00 52 1A 09",
              "120\t\t\tОтвет искажен: помехи на линии или неверная скорость порта\t\t"}},
        Case{"BytesBeforeAFrameAndAReplyCutShortByANewRequest",
             {In(10, "FF 00"), In(20, "7E 13 52 1A 09 01 08"), Out(30, kRead)},
             {"0\t← прибор\t2\tлишние байты\t\tFF 00",
              "10\t← прибор\t7\tобрывок кадра\t\t7E 13 52 1A 09 01 08",
              "20\t→ прибор\t10\tзапрос чтения\tверна\t7E 0A 52 01 00 00 00 00 00 E3"}},
        Case{"ASilentDevice",
             {Start(0, ExchangeMode::Read), Out(0, kRead), End(10000, kNoReply)},
             {"0\t→ прибор\t10\tзапрос чтения\tверна\t7E 0A 52 01 00 00 00 00 00 E3",
              "10000\t\t\tПрибор не отвечает: проверьте, что прибор в сервисном режиме, шнур "
              "подключен и выбран верный порт\t\t"}},
        Case{"APortThatIsBusy",
             {Start(0, ExchangeMode::Read), End(0, ExchangeReport::PortFailed, OpenFailure::Busy)},
             {"0\t\t\tПорт занят другой программой: закройте ее и повторите\t\t"}}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(Decoding, DroppedEventsBreakTheStreamAndAreCounted) {
    FrameDecoder decoder;
    std::vector<TraceRow> rows;
    decoder.Feed(Start(1000, ExchangeMode::Read), rows);
    decoder.Feed(In(1100, "7E 13 52"), rows);
    TapBatch batch;
    batch.dropped = 3;
    batch.events.push_back(In(1400, "7E 07 52 1E 09 00 21"));
    decoder.Feed(batch, rows);
    Lines lines;
    for (const TraceRow& row : rows)
        lines.push_back(FormatTraceLine(row));
    EXPECT_EQ(lines, (Lines{"100\t← прибор\t3\tобрывок кадра\t\t7E 13 52",
                            "400\t\t\tпропущено событий: 3 (монитор не успевал их забирать)\t\t",
                            "400\t← прибор\t7\tответ прибора: тип 30, версия 9\tверна\t7E 07 52 1E "
                            "09 00 21"}));
}

struct HintCase {
    const char* name;
    FailureFacts facts;
    std::string answerHex;
    std::string hint;
};

class Hints : public testing::TestWithParam<HintCase> {};

TEST_P(Hints, SayWhatTheBytesSuggest) {
    FailureFacts facts = GetParam().facts;
    const std::vector<std::uint8_t> answer = Hex(GetParam().answerHex);
    facts.answer = answer;
    EXPECT_EQ(FailureHint(facts), GetParam().hint);
}

FailureFacts Facts(ExchangeMode mode, ExchangeReport report, std::size_t block = 0,
                   std::size_t blocks = 0, bool sent = true) {
    FailureFacts f;
    f.mode = mode;
    f.report = report;
    f.block = block;
    f.blocks = blocks;
    f.sent = sent;
    return f;
}

FailureFacts PortFacts(OpenFailure failure) {
    FailureFacts f = Facts(ExchangeMode::Read, ExchangeReport::PortFailed);
    f.openFailure = failure;
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, Hints,
    testing::Values(
        HintCase{"Success", Facts(ExchangeMode::Read, kOk), std::string(kReply26), ""},
        HintCase{"WriteWithoutAnswer", Facts(ExchangeMode::Write, kNoReply), "",
                 std::string(kNoAnswerHint)},
        HintCase{"WriteAnsweredAndAnExtraByte", Facts(ExchangeMode::Write, kNoReply),
                 "7E 07 52 1E 09 00 21 00",
                 "Ответ не принят: пришло «подтверждение записи», затем «лишние байты»"},
        HintCase{"ReadOfAnUnknownType", Facts(ExchangeMode::Read, ExchangeReport::Unsupported),
                 "7E 07 52 24 01 00 42",
                 "Прибор ответил как тип 36: такого типа программатор не знает"},
        HintCase{"FrameThatNeverWentOut", Facts(ExchangeMode::Write, kNoReply, 0, 0, false), "",
                 "Кадр не ушел в порт целиком: линия не принимает данные"},
        HintCase{"FirstBlockUnanswered", Facts(ExchangeMode::Firmware, kNoReply, 1, 477), "",
                 std::string(kNoAnswerHint)},
        HintCase{"LaterBlockUnanswered", Facts(ExchangeMode::Firmware, kNoReply, 3, 477), "",
                 "Загрузчик не ответил на блок 3 из 477: передача остановилась на нем"},
        HintCase{"BlockAnsweredWrongly", Facts(ExchangeMode::Firmware, kNoReply, 2, 0), "91",
                 "На блок 2 пришел ответ 91 вместо 11: помехи на линии или неверная скорость "
                 "порта"},
        HintCase{"ImageThatCannotBeSent", Facts(ExchangeMode::Firmware, kNoReply, 0, 0, false), "",
                 "Ничего не отправлено: блоки образа выходят за его конец"},
        HintCase{"PortNotFound", PortFacts(OpenFailure::NotFound), "",
                 "Порт не найден: проверьте, что шнур подключен и выбран верный порт"},
        HintCase{"PortWithoutRights", PortFacts(OpenFailure::AccessDenied), "",
                 "Нет прав на порт: нужно членство в группе dialout (sudo usermod -aG dialout "
                 "$USER, затем войти в систему заново)"},
        HintCase{"PortOtherwiseRefused", PortFacts(OpenFailure::Other), "",
                 "Порт не открывается: проверьте, что выбран порт прибора"}),
    [](const testing::TestParamInfo<HintCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tesmira
