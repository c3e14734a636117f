#include "win32_command_line.h"

#include <gtest/gtest.h>

namespace nudgewick::win32 {
namespace {

TEST(CommandLineTail, IsWhatFollowsTheNameAndTheOneBlankAfterIt) {
    const struct {
        const wchar_t* commandLine;
        const wchar_t* tail;
    } rows[] = {
        {L"nudgewick.exe 3000 5", L"3000 5"},
        {L"nudgewick.exe\t3000", L"3000"},
        {L"C:\\bin\\nudgewick.exe \t  3000\t5 ", L"\t  3000\t5 "},
        {L"\"nudgewick.exe\"   ", L"  "},
        {L"nudgewick.exe ", L""},
        {L"nudgewick.exe", L""},
        {L"", L""},
        {L"\"C:\\Program Files\\Nudgewick\\nudgewick.exe\" 3000 5", L"3000 5"},
        {L"C:\\\"Program Files\"\\nudgewick.exe 3000", L"3000"},
        {L"\"C:\\Program Files\\nudgewick.exe\"\t\"3000\" 5", L"\"3000\" 5"},  // later quotes are the arguments'
        {L"\"C:\\Program Files\\nudgewick.exe 3000", L""},                    // an unclosed quote runs to the end
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CommandLineTail(row.commandLine), row.tail) << "for [" << row.commandLine << "]";
    }
}

}  // namespace
}  // namespace nudgewick::win32
