#include "wordmodel/wordtables.h"

const std::wstring tokenTable[tokenCount] = {
    L"none",  L"en_uk", L"de_de", L"pl_pl", L"DE 01", L"DE 02", L"DE 03", L"DE 04",
    L"DE 05", L"EN 01", L"EN 02", L"EN 03", L"EN 04", L"EN 05", L"PL 01", L"PL 02",
    L"PL 03", L"PL 04", L"PL 05", L"QLYde", L"QLYen", L"QLYpl", L"KR",    L"MOB",
};

CheckCodeTable buildCheckCodeTable() {
    CheckCodeTable table;
    table.codes.fill(-1);
    table.codes[0] = 1;
    for (std::size_t slot = 1; slot <= 5; ++slot) {
        table.codes[slot] = static_cast<int>(slot) + 1;
    }
    table.codes[6] = 9;
    table.codes[7] = 10;
    table.codes[8] = 12;
    table.codes[9] = 13;
    table.codes[10] = 15;
    table.codes[11] = 17;
    table.codes[12] = 18;
    for (std::size_t slot = 13; slot <= 17; ++slot) {
        table.codes[slot] = static_cast<int>(slot) + 9;
    }
    table.codes[18] = 36;
    table.codes[19] = 37;
    table.codes[20] = 38;
    table.codes[21] = 40;
    table.codes[22] = 41;
    table.codes[23] = 42;
    table.codes[24] = -1;
    // The four codes just below slot 18's belong to the same family of checks.
    table.codes[25] = table.codes[18] - 4;
    table.codes[26] = table.codes[18] - 3;
    table.codes[27] = table.codes[18] - 2;
    table.codes[28] = table.codes[18] - 1;
    return table;
}
