#include "db/PrivateProfile.h"
#include "db/Cp949.h"

#include <gtest/gtest.h>

namespace {

QByteArray ansi(const char* utf8)
{
    return Cp949::encode(QString::fromUtf8(utf8));
}

QByteArray bytes(const char* s, qsizetype n)
{
    return QByteArray(s, n);
}

// 갂 and 갵: the same lead byte, trail bytes 'A' and 'a'.
const QByteArray kGak("\x81\x41");
const QByteArray kGat("\x81\x61");

struct ReadRow
{
    const char* name;
    QByteArray file;
    QByteArray section;
    QByteArray key;
    QByteArray defaultValue;
    int bufferSize;
    QByteArray expected;
    int copied;
};

void PrintTo(const ReadRow& row, std::ostream* os)
{
    *os << row.name;
}

ReadRow row(const char* name, QByteArray file, QByteArray section, QByteArray key,
            QByteArray expected, QByteArray defaultValue = "dflt", int bufferSize = 255)
{
    const int copied = int(expected.size());
    return {name,         std::move(file), std::move(section),  std::move(key),
            defaultValue, bufferSize,      std::move(expected), copied};
}

class ReadTable : public ::testing::TestWithParam<ReadRow>
{
};

} // namespace

TEST_P(ReadTable, CopiesWhatWindowsCopies)
{
    const ReadRow& r = GetParam();
    const auto result =
        PrivateProfile::read(r.file, r.section, r.key, r.defaultValue, r.bufferSize);
    EXPECT_EQ(result.value, r.expected);
    EXPECT_EQ(result.copied, r.copied);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadTable,
    ::testing::Values(
        row("crlf", "[S]\r\nk=v\r\n", "S", "k", "v"), row("cr_only", "[S]\rk=v\r", "S", "k", "v"),
        row("lf_only", "[S]\nk=v\n", "S", "k", "v"),
        row("blank_lines_and_mixed_ends", "\r\n[S]\r\n\r\na=1\n\rb=2\r", "S", "b", "2"),
        row("empty_file", "", "S", "k", "dflt"),
        row("nuls_before_first_section", bytes("\0\0junk\r\n[S]\r\nk=v", 16), "S", "k", "v"),
        row("utf8_bom_breaks_first_header", "\xEF\xBB\xBF[S]\r\nk=v\r\n[T]\r\nk=w", "S", "k",
            "dflt"),
        row("utf8_bom_later_header_works", "\xEF\xBB\xBF[S]\r\nk=v\r\n[T]\r\nk=w", "T", "k", "w")),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Headers, ReadTable,
    ::testing::Values(
        row("blanks_before_bracket", " \t[S]\r\nk=v", "S", "k", "v"),
        row("blanks_inside_brackets", "[ section1 ]\r\nk=v", "section1", "k", "v"),
        row("name_ends_at_first_bracket", "[S]x]\r\nk=v", "S", "k", "v"),
        row("text_after_bracket_is_no_key", "[S]key=v\r\n", "S", "key", "dflt"),
        row("missing_close_bracket", "[Section   \r\nk=v", "Section", "k", "v"),
        row("missing_open_bracket", "S]\r\nk=v", "S", "k", "dflt"),
        row("open_bracket_inside_name", "[a[b]\r\nk=v", "a[b", "k", "v"),
        row("quotes_kept_in_section", "[\"S\"]\r\nk=v", "\"S\"", "k", "v"),
        row("quoted_section_not_found_bare", "[\"S\"]\r\nk=v", "S", "k", "dflt"),
        row("semicolon_in_section", "[a;b]\r\nk=v", "a;b", "k", "v"),
        row("empty_section_name", "[]\r\nk=v", "", "k", "v"),
        row("keys_before_first_section", "k=v\r\n[S]\r\n", "", "k", "dflt"),
        row("duplicate_section_first_only", "[S]\r\n[S]\r\nkey=v", "S", "key", "dflt"),
        row("duplicate_section_other_case", "[S]\r\na=1\r\n[T]\r\n[s]\r\nb=2", "S", "b", "dflt"),
        row("section_case", "[SeCtion]\r\nNaMe1=Val1", "section", "NAME1", "Val1"),
        row("argument_spaces_trimmed", "[S]\r\nk=v", " S  ", "  k ", "v"),
        row("argument_tab_kept_section", "[S]\r\nk=v", "\tS", "k", "dflt"),
        row("argument_tab_kept_key", "[S]\r\nk=v", "S", "k\t", "dflt")),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Keys, ReadTable,
    ::testing::Values(row("blanks_around_key_and_value", "[S]\r\n  key \t= \t\v v x \t\r\n", "S",
                          "key", "v x"),
                      row("first_equals_splits", "[S]\r\nk=a=b", "S", "k", "a=b"),
                      row("line_without_equals", "[S]\r\nname3\r\n", "S", "name3", "dflt"),
                      row("empty_value_is_not_default", "[S]\r\nname2=\r\n", "S", "name2", ""),
                      row("empty_key_name", "[S]\r\n=val_no_key", "S", "", "val_no_key"),
                      row("comment_by_bare_name", "[S]\r\n;k=v", "S", "k", "dflt"),
                      row("comment_by_full_name", "[S]\r\n;k=v", "S", ";k", "dflt"),
                      row("indented_comment", "[S]\r\n \t;k=v", "S", ";k", "dflt"),
                      row("semicolon_in_value", "[S]\r\nk=;nocomment", "S", "k", ";nocomment"),
                      row("semicolon_in_key", "[S]\r\na;b=v", "S", "a;b", "v"),
                      row("hash_is_no_comment", "[S]\r\n#k=v", "S", "#k", "v"),
                      row("duplicate_key_first_wins", "[S]\r\nk=1\r\nk=2", "S", "k", "1"),
                      row("key_in_next_section_not_found", "[S]\r\n[T]\r\nk=1", "S", "k", "dflt")),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Quotes, ReadTable,
    ::testing::Values(row("double", "[S]\r\nk=\"val2\"", "S", "k", "val2"),
                      row("blanks_inside_kept", "[S]\r\nk=  \"   x   \"  ", "S", "k", "   x   "),
                      row("single", "[S]\r\nk='  x '", "S", "k", "  x "),
                      row("mismatched", "[S]\r\nk=\"   x   '", "S", "k", "\"   x   '"),
                      row("wrong_order", "[S]\r\nk='\"x'\"", "S", "k", "'\"x'\""),
                      row("outer_pair_only", "[S]\r\nk=\"'x'\"", "S", "k", "'x'"),
                      row("lone_quote", "[S]\r\nk=\"", "S", "k", "\""),
                      row("one_end_only", "[S]\r\nk=\"abc", "S", "k", "\"abc"),
                      row("empty_pair", "[S]\r\nk=''", "S", "k", "")),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    BufferAndDefault, ReadTable,
    ::testing::Values(
        row("exact_size_cuts_one", "[S]\r\nk=val1", "S", "k", "val", "", 4),
        row("room_for_nul", "[S]\r\nk=val1", "S", "k", "val1", "", 5),
        row("one_byte_buffer", "[S]\r\nk=val1", "S", "k", "", "", 1),
        row("no_buffer", "[S]\r\nk=val1", "S", "k", "", "", 0),
        row("value_of_300_bytes", "[S]\r\nk=" + QByteArray(300, 'x'), "S", "k",
            QByteArray(254, 'x')),
        row("default_for_missing_section", "[S]\r\nk=v", "T", "k", "default", "default"),
        row("default_trailing_spaces", "", "S", "k", "default", "default  "),
        row("default_leading_spaces_kept", "", "S", "k", "   default", "   default   "),
        row("default_trailing_tab_kept", "", "S", "k", "d\t", "d\t"),
        row("default_quotes_kept", "", "S", "k", "\"q\"", "\"q\""),
        row("empty_default", "", "S", "k", "", ""),
        row("default_cut_too", "", "S", "k", "def", "default", 4)),
    [](const auto& info) { return std::string(info.param.name); });

// Hangul names whose trail bytes look like ASCII letters, and cuts across double-byte characters.
INSTANTIATE_TEST_SUITE_P(
    Cp949, ReadTable,
    ::testing::Values(
        row("gak_section_found", "[" + kGak + "]\r\nk=v", kGak, "k", "v"),
        row("gat_is_not_gak_section", "[" + kGak + "]\r\nk=v", kGat, "k", "dflt"),
        row("gak_is_not_gat_key", "[S]\r\n" + kGat + "=v", "S", kGak, "dflt"),
        row("letter_after_hangul_still_folds", "[S]\r\n" + kGak + "b=v", "S", kGak + "B", "v"),
        row("trail_letter_never_folds", "[S]\r\n" + kGak + "b=v", "S", kGat + "B", "dflt"),
        row("local_section_in_capitals", ansi("[로컬IP]\r\nDBNAME=FOOD"), ansi("로컬ip"), "dbname",
            "FOOD"),
        row("hangul_value", ansi("[로컬ip]\r\nDBNAME= 매장 디비 "), ansi("로컬ip"), "DBNAME",
            ansi("매장 디비")),
        row("cut_backs_off_before_split_character", "[S]\r\nk=" + QByteArray(253, 'a') + ansi("가"),
            "S", "k", QByteArray(253, 'a')),
        row("cut_keeps_whole_character_at_254",
            "[S]\r\nk=" + QByteArray(252, 'a') + ansi("가") + "x", "S", "k",
            QByteArray(252, 'a') + ansi("가")),
        row("hangul_only_value_of_300_bytes", "[S]\r\nk=" + ansi("가").repeated(150), "S", "k",
            ansi("가").repeated(127)),
        row("odd_start_hangul_value", "[S]\r\nk=a" + ansi("가").repeated(150), "S", "k",
            "a" + ansi("가").repeated(126)),
        row("quoted_long_value_loses_quotes_then_cut",
            "[S]\r\nk=\"" + ansi("가").repeated(150) + "\"", "S", "k", ansi("가").repeated(127)),
        row("default_cut_on_character", "", "S", "k", "ab", "ab" + ansi("가"), 4)),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct WriteRow
{
    const char* name;
    QByteArray before;
    QByteArray section;
    QByteArray key;
    QByteArray value;
    QByteArray after;
};

void PrintTo(const WriteRow& row, std::ostream* os)
{
    *os << row.name;
}

class WriteTable : public ::testing::TestWithParam<WriteRow>
{
};

} // namespace

TEST_P(WriteTable, ChangesOnlyWhatItMust)
{
    const WriteRow& r = GetParam();
    EXPECT_EQ(PrivateProfile::write(r.before, r.section, r.key, r.value), r.after);
}

INSTANTIATE_TEST_SUITE_P(
    New, WriteTable,
    ::testing::Values(
        WriteRow{"empty_file", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
        WriteRow{"empty_value", "", "App", "key", "", "[App]\r\nkey=\r\n"},
        WriteRow{"section_appended_without_blank_line", "[App1]\r\nk=v\r\n", "App2", "key4",
                 "string4", "[App1]\r\nk=v\r\n[App2]\r\nkey4=string4\r\n"},
        WriteRow{"missing_final_line_end", "[A]\r\nk=v", "B", "x", "y",
                 "[A]\r\nk=v\r\n[B]\r\nx=y\r\n"},
        WriteRow{"cr_only_file_keeps_its_ends", "[A]\rk=v\r", "B", "x", "y",
                 "[A]\rk=v\r[B]\r\nx=y\r\n"},
        WriteRow{"bom_only_file", "\xEF\xBB\xBF", "S", "k", "v", "\xEF\xBB\xBF\r\n[S]\r\nk=v\r\n"},
        WriteRow{"bom_hides_first_header", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "2",
                 "\xEF\xBB\xBF[S]\r\nk=1\r\n[S]\r\nk=2\r\n"},
        WriteRow{"argument_spaces_dropped", "", " S ", "  k ", "v", "[S]\r\nk=v\r\n"},
        WriteRow{"value_written_verbatim", "", "S", "k", " \t v ", "[S]\r\nk= \t v \r\n"},
        WriteRow{"keys_before_sections_do_not_count", "k=1\r\n[S]\r\n", "S", "k", "2",
                 "k=1\r\n[S]\r\nk=2\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    AddKey, WriteTable,
    ::testing::Values(
        WriteRow{"after_last_key_before_comments",
                 ";c0\r\n[S]\r\n;c1\r\nb=\r\n;c2\r\na=\r\nz=\r\n;x=\r\n", "S", "y", "",
                 ";c0\r\n[S]\r\n;c1\r\nb=\r\n;c2\r\na=\r\nz=\r\ny=\r\n;x=\r\n"},
        WriteRow{"before_blank_line_and_next_section", "[S]\r\na=1\r\n\r\n[T]\r\nb=2\r\n", "s", "c",
                 "3", "[S]\r\na=1\r\nc=3\r\n\r\n[T]\r\nb=2\r\n"},
        WriteRow{"section_without_entries", "[S]\r\n\r\n[T]\r\n", "S", "k", "v",
                 "[S]\r\nk=v\r\n\r\n[T]\r\n"},
        WriteRow{"header_is_last_line", "[S]", "S", "k", "v", "[S]\r\nk=v\r\n"},
        WriteRow{"last_key_without_line_end", "[S]\r\na=1", "S", "k", "v", "[S]\r\na=1\r\nk=v\r\n"},
        WriteRow{"lf_file_gets_crlf_line", "[S]\na=1\n", "S", "c", "3", "[S]\na=1\nc=3\r\n"},
        WriteRow{"after_line_without_equals",
                 "[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\n", "s", "name5", "val5",
                 "[s]\r\nname1=val1\r\nname2=\r\nname3\r\nname4=val4\r\nname5=val5\r\n"},
        WriteRow{"into_first_of_duplicate_sections", "[S]\r\na=1\r\n[S]\r\nb=2\r\n", "S", "b", "3",
                 "[S]\r\na=1\r\nb=3\r\n[S]\r\nb=2\r\n"},
        WriteRow{"tab_in_key_is_another_key", "[S]\r\nk=1\r\n", "S", "\tk", "2",
                 "[S]\r\nk=1\r\n\tk=2\r\n"},
        WriteRow{"comment_key_is_never_found", "[S]\r\n;k=old\r\n", "S", ";k", "new",
                 "[S]\r\n;k=new\r\n;k=old\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Replace, WriteTable,
    ::testing::Values(WriteRow{"keeps_key_case_adds_final_crlf", "[S]\r\nTestKey=TestValue", "s",
                               "TESTKEY", "TestValue2", "[S]\r\nTestKey=TestValue2\r\n"},
                      WriteRow{"keeps_neighbours_and_lf_ends", "[S]\na=1\nb=2\n\n[T]\nb=5\n", "S",
                               "B", "3", "[S]\na=1\nb=3\n\n[T]\nb=5\n"},
                      WriteRow{"keeps_text_up_to_equals", "[S]\r\n  key = old  \r\nz=1\r\n", "S",
                               "key", "new", "[S]\r\n  key =new\r\nz=1\r\n"},
                      WriteRow{"blank_value", "[S]\r\nDBNAME=   \r\n", "S", "DBNAME", "FOOD",
                               "[S]\r\nDBNAME=FOOD\r\n"},
                      WriteRow{"first_duplicate_only", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "9",
                               "[S]\r\nk=9\r\nk=2\r\n"},
                      WriteRow{"bytes_before_first_section_kept",
                               bytes("\0\x01junk\r\n;c\r\n[S]\r\nk=1\r\n", 22), "S", "k", "2",
                               bytes("\0\x01junk\r\n;c\r\n[S]\r\nk=2\r\n", 22)},
                      WriteRow{"same_value_leaves_file_alone", "[S]\r\nk = v \r\n", "S", "k", "v",
                               "[S]\r\nk = v \r\n"},
                      WriteRow{"same_value_on_last_line_gets_line_end", "[S]\r\nk=v", "S", "k", "v",
                               "[S]\r\nk=v\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Cp949, WriteTable,
    ::testing::Values(WriteRow{"gat_section_is_new", "[" + kGak + "]\r\nk=1\r\n", kGat, "k", "2",
                               "[" + kGak + "]\r\nk=1\r\n[" + kGat + "]\r\nk=2\r\n"},
                      WriteRow{"gat_key_is_new", "[S]\r\n" + kGak + "=1\r\n", "S", kGat, "2",
                               "[S]\r\n" + kGak + "=1\r\n" + kGat + "=2\r\n"},
                      WriteRow{"local_section_in_capitals", ansi("[로컬IP]\r\ndbname=X"),
                               ansi("로컬ip"), "DBNAME", "FOOD",
                               ansi("[로컬IP]\r\ndbname=FOOD\r\n")},
                      WriteRow{"hangul_value_replaced",
                               ansi("[로컬ip]\r\nDBNAME=매장\r\n; 주석\r\n"), ansi("로컬ip"),
                               "DBNAME", ansi("식당"),
                               ansi("[로컬ip]\r\nDBNAME=식당\r\n; 주석\r\n")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PrivateProfileRoundTrip, WhatIsWrittenReadsBack)
{
    QByteArray file = ansi("; 설정\r\n[agent]\r\nURL=http://x/\r\n\r\n");
    const QByteArray sections[] = {ansi("로컬ip"), "agent", kGak, kGat};
    const QByteArray keys[] = {"DBNAME", "dbname2", kGak, kGat};
    int n = 0;
    for (const QByteArray& s : sections) {
        for (const QByteArray& k : keys) {
            file = PrivateProfile::write(file, s, k, QByteArray::number(++n) + ansi("값"));
        }
    }
    n = 0;
    for (const QByteArray& s : sections) {
        for (const QByteArray& k : keys) {
            EXPECT_EQ(PrivateProfile::read(file, s, k, "").value,
                      QByteArray::number(++n) + ansi("값"))
                << s.toHex().toStdString() << " " << k.toHex().toStdString();
        }
    }
    EXPECT_TRUE(file.startsWith(ansi("; 설정\r\n[agent]\r\nURL=http://x/\r\n")));
}
