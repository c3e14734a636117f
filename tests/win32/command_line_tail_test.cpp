#include "win32_command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace nudgewick::win32 {
namespace {

std::wstring Tail(const wchar_t* commandLine) { return std::wstring(CommandLineTail(commandLine)); }

TEST(CommandLineTail, SkipsAnUnquotedNameAndTheBlanksAndTabsAfterIt) {
    EXPECT_EQ(Tail(L"nudgewick.exe 3000 5"), L"3000 5");
    EXPECT_EQ(Tail(L"C:\\bin\\nudgewick.exe \t  3000\t5 "), L"3000\t5 ");
    EXPECT_EQ(Tail(L"nudgewick.exe\t3000"), L"3000");
}

TEST(CommandLineTail, LetsAQuotedNameHoldBlanks) {
    EXPECT_EQ(Tail(L"\"C:\\Program Files\\Nudgewick\\nudgewick.exe\" 3000 5"), L"3000 5");
    EXPECT_EQ(Tail(L"C:\\\"Program Files\"\\nudgewick.exe 3000"), L"3000");
    // Quotes after the name belong to the arguments.
    EXPECT_EQ(Tail(L"\"C:\\Program Files\\nudgewick.exe\"\t\"3000\" 5"), L"\"3000\" 5");
}

TEST(CommandLineTail, IsEmptyWithoutArguments) {
    EXPECT_EQ(Tail(L""), L"");
    EXPECT_EQ(Tail(L"nudgewick.exe"), L"");
    EXPECT_EQ(Tail(L"nudgewick.exe \t "), L"");
    EXPECT_EQ(Tail(L"\"C:\\Program Files\\nudgewick.exe\""), L"");
    // An unclosed quote runs to the end: it is all name.
    EXPECT_EQ(Tail(L"\"C:\\Program Files\\nudgewick.exe 3000"), L"");
}

}  // namespace
}  // namespace nudgewick::win32
