#include "model/EventTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace tesmira {
namespace {

struct ExpectedRow {
    int code;
    const char* name;
};

// Every row by index, as the event list gives it, written out by hand: an event code goes to the
// monitoring station as it stands, so a typo in any one row is a fault. Rows 1..238 are listed.
const ExpectedRow kRows[256] = {
    {0, "НЕИЗВЕСТ.КОД"},   {100, "МЕД.ТРЕВОГА"},  {101, "МЕД.ВЫЗОВ"},    {102, "НЕТ МЕД.СООБ"},
    {110, "ПОЖАР"},        {111, "ДАТЧИК ДЫМА"},  {112, "ВОЗГОРАНИЕ"},   {113, "ПРОРЫВ ВОДЫ"},
    {114, "ТЕПЛ.ДАТЧИК"},  {115, "ПОЖАР.КНОПКА"}, {116, "ТРУБОПРОВОД"},  {117, "ДАТЧИК ПЛАМ."},
    {118, "ПОЖ.ПРЕДУПР."}, {120, "ТРЕВ.КНОПКА"},  {121, "ПРИНУЖДЕНИЕ"},  {122, "Т.К.ТИХАЯ"},
    {123, "Т.К.ГРОМКАЯ"},  {124, "ПРИНУЖД.ВХОД"}, {125, "ПРИНУЖД.ВЫХ."}, {130, "ВТОРЖЕНИЕ"},
    {131, "ПЕРИМЕТР"},     {132, "ВНУТРЕННЯЯ"},   {133, "24Ч. ЗОНА"},    {134, "ВХОД/ВЫХОД"},
    {135, "ПРОБЛ./ТРЕВ."}, {136, "НАРУЖНАЯ"},     {137, "ТАМПЕР"},       {138, "ПРЕДУПРЕЖД."},
    {139, "ВЕРИФИКАТОР"},  {140, "ОБЩ.ТРЕВОГА"},  {141, "ШИНА ОБРЫВ"},   {142, "ШИНА К.З."},
    {143, "ОТКАЗ РАСШ."},  {144, "ТАМПЕР ДАТЧ."}, {145, "ТАМПЕР РАСШ."}, {146, "ТИХ.ВТОРЖЕН."},
    {147, "ОПРОС ДАТЧ."},  {150, "НЕ ОХР.ЗОНА"},  {151, "ДАТЧИК ГАЗА"},  {152, "ОХЛАЖДЕНИЕ"},
    {153, "ОТОПЛЕНИЕ"},    {154, "УТЕЧКА ВОДЫ"},  {155, "ОБРЫВ ФОЛЬГИ"}, {156, "ПРОБЛ.(СНЯТ)"},
    {157, "МАЛО ГАЗА"},    {158, "ВЫС.ТЕМПЕР."},  {159, "НИЗК.ТЕМПЕР."}, {161, "ВЕНТИЛЯЦИЯ"},
    {162, "УГАРНЫЙ ГАЗ"},  {163, "УРОВЕНЬ ВОДЫ"}, {200, "ПОЖАР.КОНТР."}, {201, "ДАВЛЕН.ВОДЫ"},
    {202, "МАЛО СО2"},     {203, "ДАТЧ.ВЕНТИЛЯ"}, {204, "МАЛО ВОДЫ"},    {205, "НАСОС ВКЛ."},
    {206, "ОТКАЗ НАСОСА"}, {300, "АВАРИЯ"},       {301, "СЕТЬ 220В"},    {302, "АКК.РАЗРЯЖЕН"},
    {303, "ОШИБКА RAM"},   {304, "ОШИБКА ROM"},   {305, "СБРОС СИСТ."},  {306, "ИЗМ.ПРОГРАММ"},
    {307, "ОШИБКА ТЕСТА"}, {308, "СИСТ.ОТКЛЮЧ."}, {309, "АКК.НЕИСПР."},  {310, "ЗАЗЕМЛЕНИЕ"},
    {311, "АКК.ОТСУТСТВ"}, {312, "ПЕРЕГРУЗК.БП"}, {313, "ИНЖ.СБРОС"},    {320, "СИРЕНА/РЕЛЕ"},
    {321, "СИРЕНА 1"},     {322, "СИРЕНА 2"},     {323, "РЕЛЕ ТРЕВОГА"}, {324, "РЕЛЕ НЕИСПР "},
    {325, "РЕЛЕ РЕВЕРС "}, {326, "ОПОВЕЩАТЕЛЬ3"}, {327, "ОПОВЕЩАТЕЛЬ4"}, {330, "ПЕРИФЕРИЯ"},
    {331, "ШИНА ОБРЫВ"},   {332, "ШИНА К.З."},    {333, "РАСШИРИТЕЛЬ"},  {334, "ПОВТОРИТЕЛЬ"},
    {335, "НЕТ БУМАГИ"},   {336, "ПРИНТЕР"},      {337, "=ПИТ.РАСШ."},   {338, "БАТАРЕЯ РАСШ"},
    {339, "RESET РАСШ."},  {341, "ТАМПЕР РАСШ."}, {342, "~ПИТ.РАСШ."},   {343, "ТЕСТ РАСШ."},
    {344, "РАДИОПОМЕХИ"},  {350, "НЕТ СВЯЗИ"},    {351, "ТФ ЛИНИЯ 1"},   {352, "ТФ ЛИНИЯ 2"},
    {353, "ПЕРЕДАТЧИК"},   {354, "СООБ.НЕ ДОСТ"}, {355, "ПОТЕРЯ РАДИО"}, {356, "ПОТЕРЯ ОПРОС"},
    {357, "КСВ АНТЕННЫ"},  {370, "ШЛЕЙФ НЕИСПР"}, {371, "ШЛЕЙФ ОБРЫВ"},  {372, "ШЛЕЙФ К.З."},
    {373, "ПОЖ.ШЛ.НЕИСП"}, {374, "ТРЕВ.ПРИ ВЫХ"}, {375, "ШЛ.Т.К.НЕИСП"}, {376, "ШЛЕЙФ HOLDUP"},
    {377, "ПЕРЕМЕЖ.НЕИС"}, {378, "СВЯЗАН.ЗОНЫ"},  {380, "ПРОБЛЕМА"},     {381, "РАДИОДАТЧИК"},
    {382, "МОДУЛЬ РАСШ."}, {383, "ТАМПЕР ДАТЧ."}, {384, "БАТАРЕЯ ДАТ."}, {385, "ДЫМ.ДАТ.ВЫС."},
    {386, "ДЫМ.ДАТ.НИЗК"}, {387, "ОХР.ДАТ.ВЫС."}, {388, "ОХР.ДАТ.НИЗК"}, {389, "ДАТ.САМОДИАГ"},
    {391, "ТАЙМЕР ДАТЧ."}, {392, "ДРЕЙФ ЧАСТОТ"}, {393, "ТЕХ.ОБСЛУЖ."},  {400, "СНЯТ"},
    {401, "СНЯТ ПОЛЬЗ."},  {402, "СНЯТ РАЗДЕЛ"},  {403, "СНЯТ АВТОМАТ"}, {404, "НЕ СНЯТ ВОВР"},
    {405, "ОТЛОЖ.СНЯТИЕ"}, {406, "СБРОС ТРЕВОГ"}, {407, "СНЯТ С ПЦН"},   {408, "СНЯТ БЫСТРО"},
    {409, "СНЯТ КЛЮЧОМ"},  {441, "СНЯТ С ПОЛЬЗ"}, {442, "СНЯТ С ПОЛЬЗ"}, {450, "СБОЙ ПРИ СН."},
    {451, "СНЯТ РАНО"},    {452, "СНЯТ ПОЗДНО"},  {453, "НЕ СНЯТ ВОВР"}, {454, "НЕ ВЗЯТ ВОВР"},
    {455, "НЕУД.АВТОВЗ."}, {456, "ВЗЯТ ЧАСТИЧН"}, {457, "ВЫХ.ПОСЛЕ ВЗ"}, {458, "ПОЛЬЗ.В ПОМ."},
    {459, "ВЗЯТ НЕДАВНО"}, {461, "НЕПРАВ.КОД"},   {462, "ПРАВ.КОД"},     {463, "ПЕРЕВЗЯТИЕ"},
    {464, "ВРЕМ.АВТОВЗ+"}, {465, "Т.К.СБРОШЕНА"}, {466, "СЕРВИС СНЯЛ"},  {411, "ЗАПРОС С ПЦН"},
    {412, "ЗАГР. С ПЦН"},  {413, "НЕУДАЧ.ЗАГР."}, {414, "ОТКЛЮЧ.СИСТ."}, {415, "ОТКЛЮЧ.КОММ."},
    {416, "ВЫГР. НА ПЦН"}, {421, "ОТКАЗ ДОСТУП"}, {422, "РАЗР. ДОСТУП"}, {423, "ПРИН. ДОСТУП"},
    {424, "ВЫХОД ЗАПР."},  {425, "ВЫХОД РАЗР."},  {426, "ДВЕРЬ РАЗБЛ."}, {427, "ДАТ.СОСТ.ДВ."},
    {428, "УСТ.ЗАПР.ВЫХ"}, {429, "ПРОГР.КД НАЧ"}, {430, "ПРОГР.КД ЗАК"}, {431, "УРОВ.КД ИЗМ."},
    {432, "РЕЛЕ НЕ СРАБ"}, {433, "ЗАПР.ВХ.ШУНТ"}, {434, "ДВ.ДАТЧ.ШУНТ"}, {501, "СЧИТ.ОТКЛЮЧ."},
    {520, "ЗВ/РЕЛЕ ОТКЛ"}, {521, "СИРЕНА1 ОТКЛ"}, {522, "СИРЕНА2 ОТКЛ"}, {523, "РЕЛЕ ТР ОТКЛ"},
    {524, "РЕЛЕ НИ ОТКЛ"}, {525, "РЕЛЕ РВ ОТКЛ"}, {526, "ОПОВЕЩ3 ОТКЛ"}, {527, "ОПОВЕЩ4 ОТКЛ"},
    {531, "МОДУЛЬ ДОБАВ"}, {532, "МОДУЛЬ УДАЛ."}, {551, "ТФ КОММ.ОТКЛ"}, {552, "РПД ОТКЛЮЧЕН"},
    {553, "УД.ЗАГР.ОТКЛ"}, {570, "ОБХОД ЗОНЫ"},   {571, "ОБХ.ПОЖ.ЗОНЫ"}, {572, "ОБХ.24Ч ЗОНЫ"},
    {573, "ОБХ.ОХР.ЗОНЫ"}, {574, "ОБХ. РАЗДЕЛА"}, {575, "ОБХ.ПЕРЕМЕЖ."}, {576, "ЗОН.ДОСТ.ШУН"},
    {577, "ОБХ.ЗОН ДОСТ"}, {601, "РУЧНОЙ ТЕСТ"},  {602, "ПЕРИОД.ТЕСТ"},  {603, "РАДИО ТЕСТ"},
    {604, "ПОЖАРН.ТЕСТ"},  {605, "ОТПР.СТАТУСА"}, {606, "ГОЛОС.СВЯЗЬ"},  {607, "ТЕСТ-ПРОХОД"},
    {608, "ТЕСТ->НЕИСПР"}, {609, "ВИДЕОПЕРЕДАЧ"}, {611, "ТОЧКА ПРОВ."},  {612, "ТОЧК.НЕ ПРОВ"},
    {613, "ОХР.ЗОН.ПРОВ"}, {614, "ПОЖ.ЗОН.ПРОВ"}, {615, "Т.К. ПРОВЕР."}, {616, "ВЫЗОВ СЕРВИС"},
    {621, "ЖУРНАЛ ОЧИЩ."}, {622, "ЖУРНАЛ 50%"},   {623, "ЖУРНАЛ 90%"},   {624, "ЖУРНАЛ 100%"},
    {625, "ВРЕМ/ДАТ ИЗМ"}, {626, "ЧАСЫ НЕКОРР."}, {627, "ПРОГР.НАЧАТО"}, {628, "ПРОГР.ЗАКОНЧ"},
    {629, "32Ч МАРКЕР"},   {630, "РАСПИС.ИЗМ."},  {631, "СБОЙ РАСПИС."}, {632, "РАСП.КД ИЗМ."},
    {641, "КОНТР.ОХРАНЫ"}, {642, "КОНТР.КЛЮЧЕЙ"}, {651, "РЕЗЕРВ"},       {652, "РЕЗЕРВ"},
    {653, "РЕЗЕРВ"},       {654, "СИСТ.НЕАКТИВ"}, {221, "АВТОМ.ВКЛ"},    {222, "ПУСК"},
    {223, "АВАРИЙН ПУСК"}, {224, "СРАБАТ.СДУ"},   {225, "НЕУДАЧН.ПУСК"}, {226, "БЛОКИР.ПУСКА"},
    {227, "ОТМЕНА ПУСКА"}, {228, "ТУШЕНИЕ"},      {229, "ЗАДЕРЖ.ПУСКА"}, {230, "ОТКАЗ СДУ"},
    {231, "ПУСК РО"},      {232, "РАБОЧЕЕ СОСТ"}, {394, "ПОМЕХА"},       {0, "CID_939"},
    {0, "CID_940"},        {0, "CID_941"},        {0, "CID_942"},        {0, "CID_943"},
    {0, "CID_944"},        {0, "CID_945"},        {0, "CID_946"},        {0, "CID_947"},
    {0, "CID_948"},        {654, "ВХ.БУФ.ПЕРЕП"}, {654, "ОШИБКА НА ВХ"}, {654, "ИЗВ.ПРИНЯТО"},
    {654, "ОТКЛ.НА.ПЦН"},  {654, "ПОДКЛ.НА.ПЦН"}, {654, "УДАЛ.НА.ПЦН"},  {654, "ОБУЧ.НА.ПЦН"},
};

TEST(EventTable, EveryRowCarriesItsCodeAndNameAndIsListedExactlyFrom1To238) {
    for (int index = 0; index < 256; ++index) {
        SCOPED_TRACE(index);
        const auto i = static_cast<std::uint8_t>(index);
        const EventRow& row = EventRowAt(i);
        EXPECT_EQ(row.deviceCode, index);
        EXPECT_EQ(row.code, kRows[index].code);
        EXPECT_EQ(row.name, kRows[index].name);
        EXPECT_EQ(row.listed, index >= 1 && index <= 238 ? 1 : 0);
        EXPECT_EQ(EventCode(i), kRows[index].code);
        EXPECT_EQ(EventName(i), kRows[index].name);
    }
}

TEST(EventTable, EventTextsJoinCodeAndNameKeepingTrailingSpaces) {
    EXPECT_EQ(EventText(19), "130 - ВТОРЖЕНИЕ");
    EXPECT_EQ(EventText(75), "324 - РЕЛЕ НЕИСПР ");
    EXPECT_EQ(EventText(76), "325 - РЕЛЕ РЕВЕРС ");
    EXPECT_EQ(EventText(0), "0 - НЕИЗВЕСТ.КОД");
    EXPECT_EQ(EventText(248), "0 - CID_948");
    EXPECT_EQ(EventText(255), "654 - ОБУЧ.НА.ПЦН");
}

TEST(EventTable, UserEventsAreExactlyTheFortySevenListed) {
    const std::set<int> expected = {9,   14,  70,  123, 124, 125, 126, 127, 128, 129, 130, 131,
                                    132, 133, 134, 135, 136, 137, 138, 140, 141, 142, 143, 144,
                                    146, 147, 148, 150, 151, 152, 153, 154, 155, 157, 158, 160,
                                    161, 165, 166, 167, 189, 196, 199, 212, 221, 223, 224};
    ASSERT_EQ(expected.size(), 47U);
    std::set<int> actual;
    for (int i = 0; i < 256; ++i) {
        if (EventRowAt(static_cast<std::uint8_t>(i)).userEvent == 1) {
            actual.insert(i);
        }
    }
    EXPECT_EQ(actual, expected);
}

TEST(EventTable, BoxesOfferListedRowsInRowOrder) {
    const std::vector<std::uint8_t> common = EventBoxRows(false);
    const std::vector<std::uint8_t> all = EventBoxRows(true);
    ASSERT_EQ(common.size(), 191U);
    ASSERT_EQ(all.size(), 238U);
    EXPECT_EQ(common.front(), 1);
    EXPECT_EQ(common.back(), 238);
    EXPECT_EQ(all.front(), 1);
    EXPECT_EQ(all.back(), 238);
    // Codes 411.. follow 466, and the extinguishing events follow 654: row order, not code order.
    EXPECT_EQ(EventCode(all[149]), 466);
    EXPECT_EQ(EventCode(all[150]), 411);
    EXPECT_EQ(EventCode(all[224]), 654);
    EXPECT_EQ(EventCode(all[225]), 221);
    EXPECT_FALSE(EventOfferedInBox(124, false));
    EXPECT_TRUE(EventOfferedInBox(124, true));
    EXPECT_FALSE(EventOfferedInBox(0, true));
    EXPECT_FALSE(EventOfferedInBox(239, true));
}

TEST(EventTable, NoTwoListedRowsShareAnEventText) {
    std::set<std::string> texts;
    for (int i = 1; i <= 238; ++i) {
        EXPECT_TRUE(texts.insert(EventText(static_cast<std::uint8_t>(i))).second) << i;
    }
}

TEST(EventTable, BoxTextIsTheRowsTextOnlyWhereTheBoxOffersTheRow) {
    const std::tuple<std::uint8_t, bool, std::string> rows[] = {
        {19, false, "130 - ВТОРЖЕНИЕ"},
        {124, true, "401 - СНЯТ ПОЛЬЗ."},
        {124, false, ""} /* a user event */,
        {249, true, ""} /* unlisted */,
        {0, true, ""},
    };
    for (const auto& [index, allEvents, text] : rows)
        EXPECT_EQ(EventBoxText(index, allEvents), text) << int{index};
}

TEST(EventTable, TextLookupFindsTheExactRowOnly) {
    EXPECT_EQ(EventIndexByText("130 - ВТОРЖЕНИЕ"), 19);
    // Same name, told apart by the code.
    EXPECT_EQ(EventIndexByText("441 - СНЯТ С ПОЛЬЗ"), 133);
    EXPECT_EQ(EventIndexByText("442 - СНЯТ С ПОЛЬЗ"), 134);
    EXPECT_EQ(EventIndexByText("141 - ШИНА ОБРЫВ"), 30);
    EXPECT_EQ(EventIndexByText("331 - ШИНА ОБРЫВ"), 80);
    EXPECT_EQ(EventIndexByText("324 - РЕЛЕ НЕИСПР "), 75);
    EXPECT_EQ(EventIndexByText("324 - РЕЛЕ НЕИСПР"), 0);
    EXPECT_EQ(EventIndexByText("0 - CID_939"), 239);
    EXPECT_EQ(EventIndexByText("654 - ОБУЧ.НА.ПЦН"), 255);
    EXPECT_EQ(EventIndexByText("130 - вторжение"), 0);
    EXPECT_EQ(EventIndexByText(""), 0);
    EXPECT_EQ(EventIndexByText("0 - НЕИЗВЕСТ.КОД"), 0);
}

TEST(EventTable, CodeLookupGivesTheFirstRowWithThatCode) {
    EXPECT_EQ(EventIndexByCode(654), 225);
    EXPECT_EQ(EventIndexByCode(999), 0);
    EXPECT_EQ(EventIndexByCode(100), 1);
    EXPECT_EQ(EventIndexByCode(394), 238);
    EXPECT_EQ(EventIndexByCode(331), 80);
    EXPECT_EQ(EventIndexByCode(-1), 0);
    // Row 0 is skipped, so code 0 finds the first unlisted CID row.
    EXPECT_EQ(EventIndexByCode(0), 239);
}

TEST(EventTable, DeviceCodeLookupSkipsRowZero) {
    EXPECT_FALSE(EventRowByDeviceCode(0).has_value());
    EXPECT_EQ(EventRowByDeviceCode(1), 1);
    EXPECT_EQ(EventRowByDeviceCode(124), 124);
    EXPECT_EQ(EventRowByDeviceCode(255), 255);
}

} // namespace
} // namespace tesmira
