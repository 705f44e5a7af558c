#include "store/dbf/recordcodec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

using namespace kv;

// A text field reads without its trailing blanks (spaces and NULs), whatever the width
// and wherever the text ends, also with blanks, NULs and bytes above 0x7F inside it.
TEST(RecordCodec, TextEndsAtItsLastNonBlankByte)
{
    std::mt19937 rng(5);
    const std::string alphabet = std::string("ab ") + '\0' + "\xE9\x80\x7F";
    for (int width = 1; width <= 40; ++width) {
        const RecordCodec codec({FieldLayout{"TEXT", 'C', width, 0, 1}}, Codepage::Cp1252);
        for (int round = 0; round < 200; ++round) {
            std::string record(std::size_t(width) + 1, ' ');
            const int used = int(rng() % std::uint32_t(width + 1));
            for (int i = 0; i < used; ++i)
                record[std::size_t(1 + i)] = alphabet[rng() % alphabet.size()];
            for (int i = used; i < width; ++i)
                record[std::size_t(1 + i)] = rng() % 2 ? ' ' : '\0';
            int end = width;
            while (end > 0 && (record[std::size_t(end)] == ' ' || record[std::size_t(end)] == '\0'))
                --end;
            ASSERT_EQ(codec.text(record.data(), 0), decode(record.data() + 1, end)) << width << " " << round;
        }
    }
}
