// The parallel port's register bits on their own: connector levels to the control register and
// the status register to connector levels, with the hardware's inversions undone.
#include "hardware/ports/LptProtocol.h"

#include <gtest/gtest.h>

TEST(LptProtocol, ControlRegisterKeepsTheUpperBitsAndUndoesTheInversions)
{
    struct Case {
        uint8_t current;
        lpt::TControlLines lines;
        uint8_t expected;
    } const cases[] = {
        {0x00, {false, false, false}, 0x0A}, // AUTOFEED and SELECT IN low: their bits set
        {0x00, {true, true, true}, 0x04},
        {0xFF, {true, false, true}, 0xF0},   // upper bits kept, strobe bit never set
        {0x21, {false, true, false}, 0x2E},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.current));
        EXPECT_EQ(lpt::ControlRegister(c.current, c.lines), c.expected);
    }
}

TEST(LptProtocol, StatusLinesFollowTheirBitsAndBusyIsInverted)
{
    const lpt::TStatusLines idle = lpt::StatusLines(0x00);
    EXPECT_FALSE(idle.Error || idle.Select || idle.PaperEnd || idle.Ack);
    EXPECT_TRUE(idle.Busy);
    const lpt::TStatusLines all = lpt::StatusLines(0xF8);
    EXPECT_TRUE(all.Error && all.Select && all.PaperEnd && all.Ack);
    EXPECT_FALSE(all.Busy);
    const lpt::TStatusLines select = lpt::StatusLines(0x10 | 0x80 | 0x07);
    EXPECT_TRUE(select.Select);
    EXPECT_FALSE(select.Error || select.PaperEnd || select.Ack || select.Busy);
}
