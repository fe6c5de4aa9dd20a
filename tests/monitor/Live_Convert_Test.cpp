#include "monitor/Quorel_Live_Averaging.h"
#include "monitor/Quorel_Live_Convert.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Word_Case
{
    int word;
    int expected;
};

quint8 Lo(int word) { return quint8(word & 0xFF); }
quint8 Hi(int word) { return quint8(word >> 8); }

TEST(Live_Convert, Period_To_RPM_Table)
{
    const Word_Case cases[] = {{0, 0},       {0xFFFF, 0},    {1, 8000},   {3749, 8000}, {3750, 8000},
                               {3751, 7997}, {30000, 1000},  {37500, 800}, {60000, 500}, {0xFFFE, 457}};
    for (const auto& c : cases)
        EXPECT_EQ(Period_To_RPM(Lo(c.word), Hi(c.word)), c.expected) << "period " << c.word;
}

TEST(Live_Convert, Adc_To_Volt_Table)
{
    // Only the low ten bits count; a word of zero bytes is 0.
    const Word_Case cases[] = {{0, 0}, {1, 0}, {3, 1}, {512, 250}, {1022, 499}, {1023, 500}, {0x0400, 0}, {0xFFFF, 500}};
    for (const auto& c : cases)
        EXPECT_EQ(Adc_To_Volt(Lo(c.word), Hi(c.word)), c.expected) << "word " << c.word;
}

TEST(Live_Convert, Adc_To_Power_Table)
{
    const Word_Case cases[] = {{0, 0}, {1, 2}, {700, 1400}, {1023, 2046}, {0x0400, 0}, {0xFC01, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(Adc_To_Power(Lo(c.word), Hi(c.word)), c.expected) << "word " << c.word;
}

TEST(Live_Convert, Word_Value_Is_Low_Byte_First)
{
    EXPECT_EQ(Word_Value(0x34, 0x12), 0x1234);
    EXPECT_EQ(Word_Value(0xFF, 0xFF), 0xFFFF);
    EXPECT_EQ(Adc_Value(0xFF, 0xFF), 0x3FF);
}

TEST(Live_Convert, Adc_To_Pressure_Table)
{
    struct Case
    {
        int adc, c1, c2, expected;
    };
    // adc 512 is 2.50 V, adc 9 is 0.04 V.
    const Case cases[] = {
        {512, 6600, 307, 1619},   // (1 650 000 - 30 700) div 1000
        {9, 6600, 307, 0},        // negative result clamps to 0
        {0, 6600, -500, 50},      // zero bytes are 0 V; offset only
        {1023, 6600, 307, 3269},  // 5.00 V
        {512, 6600, 16500, 0},    // exactly 0
        {512, 6601, 16500, 0},    // 0.25 truncated
        {512, -6600, -20000, 350}, // negative slope and offset
        {512, 0, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Adc_To_Pressure(Lo(c.adc), Hi(c.adc), c.c1, c.c2), c.expected)
            << "adc " << c.adc << " c1 " << c.c1 << " c2 " << c.c2;
}

TEST(Live_Convert, Adc_To_Pressure_Does_Not_Overflow)
{
    // (500 x (2^31 - 1) + 100 x 2^31) div 1000 needs 64 bits on the way.
    EXPECT_EQ(Adc_To_Pressure(0xFF, 0x03, 2147483647, -2147483647 - 1), 1288490188);
}

TEST(Live_Averaging, Depth_Three_Lags_One_Sample)
{
    Averaging_Buffer buffer;
    std::vector<int> shown;
    for (int v : {10, 20, 30, 40, 50})
        shown.push_back(buffer.Step(v, 3));
    EXPECT_EQ(shown, (std::vector<int>{10, 20, 30, 20, 30}));
}

TEST(Live_Averaging, Zero_In_Fill_Phase_Is_Shown_But_Not_Stored)
{
    Averaging_Buffer buffer;
    EXPECT_EQ(buffer.Step(10, 2), 10);
    EXPECT_EQ(buffer.Step(0, 2), 0);
    EXPECT_EQ(buffer.Count(), 1);
    EXPECT_EQ(buffer.Step(30, 2), 30);
    EXPECT_EQ(buffer.Step(0, 2), 20);   // mean of 10 and 30; the zero now enters
    EXPECT_EQ(buffer.Step(50, 2), 15);  // mean of 30 and 0
}

TEST(Live_Averaging, Smaller_Depth_Uses_First_Slots_And_Larger_Refills)
{
    Averaging_Buffer buffer;
    for (int v : {10, 20, 30, 40})
        buffer.Step(v, 4);
    EXPECT_EQ(buffer.Step(100, 2), 15);   // slots 10, 20 of 10, 20, 30, 40
    EXPECT_EQ(buffer.Count(), 4);
    EXPECT_EQ(buffer.Step(0, 6), 0);      // fill phase again, zero not stored
    EXPECT_EQ(buffer.Step(60, 6), 60);
    EXPECT_EQ(buffer.Count(), 5);
}

TEST(Live_Averaging, Depth_One_Shows_Previous_Value)
{
    Averaging_Buffer buffer;
    EXPECT_EQ(buffer.Step(5, 1), 5);
    EXPECT_EQ(buffer.Step(7, 1), 5);
    EXPECT_EQ(buffer.Step(9, 1), 7);
}

}   // namespace
