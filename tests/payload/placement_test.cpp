// Which members are placed where, and which names may be joined to a folder.
#include <gtest/gtest.h>

#include <string>

#include "payload/placement.h"

TEST(PlaceByLetter, FollowsTheFirstLetterOfTheExtensionInLowerCaseOnly)
{
    EXPECT_EQ(PlaceProgram, PlaceByLetter('d'));
    EXPECT_EQ(PlaceProgramLinked, PlaceByLetter('e'));
    EXPECT_EQ(PlaceHelpLinked, PlaceByLetter('h'));
    EXPECT_EQ(PlaceSystemIme, PlaceByLetter('i'));
    EXPECT_EQ(PlaceSystem, PlaceByLetter('m'));
    for (int letter : {int('I'), int('E'), int('t'), int('b'), int('w'), 0, 0xB0})
        EXPECT_EQ(PlaceNowhere, PlaceByLetter((uint8_t)letter)) << letter;
}

static int Bare(const std::string& name)
{
    return IsBareFileName(reinterpret_cast<const uint8_t*>(name.c_str()), (uint32_t)name.size() + 1);
}

// Near misses of device names are ordinary files.
TEST(IsBareFileName, AcceptsPlainNamesWithAnExtension)
{
    for (const char* name : {"qmx.mb", "qmxpin.mb", "zub.exe", "a.b.ime", "x.wav", ".hlp", "帮助.hlp", "com0.ime",
                             "com10.ime", "lpt.mb", "console.ime", "icon.ime", "nul1.x", "auxi.d", "c.on.ime", "clock.ime",
                             "clock$$.mb", "xclock$.d", "clock%.ime"})
        EXPECT_EQ(1, Bare(name)) << name;
}

TEST(IsBareFileName, RefusesNamesThatLeaveTheirFolderOrChangeOnTheWayOrNameADevice)
{
    for (const char* name : {"..\\qmx.mb", "sub\\qmx.mb", "../qmx.mb", "/etc.x", "c:qmx.mb", "c:\\x.mb",
                             ".", "..", "...", "qmx.mb.", "qmx.mb ", "readme", "", "con.ime", "lpt1.mb",
                             "nul.exe", "aux.d", "com1.ime", "PRN.hlp", "Com9.mb", "LpT5.x.y", "con .ime",
                             "nul  .wav", "clock$.ime", "CLOCK$.mb", "Clock$ .x"})
        EXPECT_EQ(0, Bare(name)) << name;
}

TEST(IsBareFileName, RefusesANameWithoutItsNul)
{
    const uint8_t unterminated[] = {'q', '.', 'm', 'b'};
    EXPECT_EQ(0, IsBareFileName(unterminated, sizeof unterminated));
    EXPECT_EQ(0, IsBareFileName(unterminated, 0));
}
