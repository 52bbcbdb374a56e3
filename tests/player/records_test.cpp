// tests/player/records_test.cpp -- best times: the strict records file, the
// rule for a new record, and which attempts may set one.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include "test_support.h"
#include "records.h"

namespace {

const char *const header = "hillhopper records 1\n";

std::string scratch(const char *name)
{
    std::string dir = std::string("/tmp/hh_records_") + std::to_string(getpid()) + "_" + name;
    std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
    return dir;
}

records_read_result parse(const std::string &text)
{
    std::string problem;
    return parse_records(text.data(), text.size(), &problem);
}

}  // namespace

TEST(RecordsFile, WrittenRecordsReadBackTheSame)
{
    clear_records();
    ASSERT_TRUE(offer_record(0x0123456789abcdefULL, 1234, 37.5));
    ASSERT_TRUE(offer_record(0xffffffffffffffffULL, 1, 0));
    ASSERT_TRUE(offer_record(0, max_record_frames, -4));   // no time left is 0
    std::string text = format_records();
    EXPECT_EQ(text, std::string(header) + "0123456789abcdef 1234 3750\nffffffffffffffff 1 0\n"
                                          "0000000000000000 " + std::to_string(max_record_frames) + " 0\n");
    EXPECT_EQ(parse(text), RECORDS_READ);
    EXPECT_EQ(format_records(), text);
    int slot = find_record(0x0123456789abcdefULL);
    ASSERT_GE(slot, 0);
    EXPECT_EQ(records[slot].frames, 1234);
    EXPECT_EQ(records[slot].time_left, 3750);
    EXPECT_EQ(parse(header), RECORDS_READ);
    EXPECT_EQ(find_record(0), -1);
}

// Any fault refuses the whole file and leaves no records.
TEST(RecordsFile, TheStrictReaderRefusesEveryBadLine)
{
    const std::string good = "0123456789abcdef 100 50\n";
    const std::string bad[] = {
        "", "hillhopper records 2\n", "hillhopper records 1", good,
        std::string(header) + "0123456789abcdef 100 50",            // no newline at the end
        std::string(header) + "0123456789ABCDEF 100 50\n",          // upper-case hex
        std::string(header) + "0123456789abcde 100 50\n",           // 15 digits
        std::string(header) + "0123456789abcdef0 100 50\n",
        std::string(header) + "0123456789abcdef 0 50\n",            // no frames
        std::string(header) + "0123456789abcdef -5 50\n",
        std::string(header) + "0123456789abcdef 0100 50\n",         // leading zero
        std::string(header) + "0123456789abcdef 999999999 50\n",    // beyond a day
        std::string(header) + "0123456789abcdef 100 1000001\n",
        std::string(header) + "0123456789abcdef  100 50\n",
        std::string(header) + "0123456789abcdef 100 50 \n",
        std::string(header) + "0123456789abcdef 100\n",
        std::string(header) + "0123456789abcdef 100 5x\n",
        std::string(header) + good + good,                          // a level twice
        std::string(header) + std::string("0123456789abcdef 1\0 50\n", 23),
        std::string(header) + "\n"};
    for (const std::string &b : bad) {
        clear_records();
        offer_record(7, 7, 7);
        EXPECT_EQ(parse(b), RECORDS_DAMAGED) << b;
        EXPECT_EQ(find_record(7), -1) << b;
    }
    std::string many = header;
    char line[64];
    for (int i = 0; i <= max_records; i++) {
        snprintf(line, sizeof(line), "%016x 5 5\n", i);
        many += line;
    }
    EXPECT_EQ(parse(many), RECORDS_DAMAGED);
}

TEST(Records, FewerFramesWinAndATieKeepsTheEarlierRun)
{
    clear_records();
    EXPECT_TRUE(offer_record(42, 500, 10));
    EXPECT_FALSE(offer_record(42, 500, 90));
    EXPECT_EQ(records[find_record(42)].time_left, 1000);
    EXPECT_FALSE(offer_record(42, 501, 90));
    EXPECT_TRUE(offer_record(42, 499, 3));
    EXPECT_EQ(records[find_record(42)].frames, 499);
    EXPECT_FALSE(offer_record(43, 0, 1));
    EXPECT_FALSE(offer_record(43, max_record_frames + 1, 1));
    for (int i = 0; i < max_records; i++) offer_record(1000 + i, 9, 0);
    EXPECT_FALSE(offer_record(5, 9, 0)) << "the table is full";
    EXPECT_TRUE(offer_record(42, 1, 0)) << "an existing level still improves";
}

TEST(Records, TimesAreShownAsMinutesSecondsAndHundredths)
{
    char s[32];
    format_frames(0, s, sizeof(s));
    EXPECT_STREQ(s, "0:00.00");
    format_frames(1, s, sizeof(s));
    EXPECT_STREQ(s, "0:00.02");
    format_frames(40 * 75 + 20, s, sizeof(s));
    EXPECT_STREQ(s, "1:15.50");
    format_frames(40 * 600, s, sizeof(s));
    EXPECT_STREQ(s, "10:00.00");
    EXPECT_NEAR(time_left_seconds(12000), 100.0, 1e-9);    // 120 clock units at 0.03 a frame
}

// Only an unchanged level played live from its start sets a record.
TEST(Records, OnlyLivePlayOfAnUnchangedLevelCounts)
{
    headless_world();
    std::string home = scratch("attempt");
    const char *old_home = getenv("HILLHOPPER_DATA_HOME");
    std::string kept = old_home ? old_home : "";
    setenv("HILLHOPPER_DATA_HOME", home.c_str(), 1);
    clear_records();
    begin_attempt(77, 1);
    for (int i = 0; i < 300; i++) count_attempt_frame();
    finish_attempt(20, 77, 1);
    count_attempt_frame();
    EXPECT_TRUE(attempt.finished);
    EXPECT_TRUE(attempt.new_best);
    EXPECT_EQ(records[find_record(77)].frames, 300);
    std::string problem;
    clear_records();
    ASSERT_EQ(read_records_file((home + "/records.txt").c_str(), &problem), RECORDS_READ) << "saved at once";
    EXPECT_EQ(records[find_record(77)].frames, 300);

    begin_attempt(77, 1);
    attempt_not_live();                     // a watched replay or an edit mode
    for (int i = 0; i < 10; i++) count_attempt_frame();
    finish_attempt(20, 77, 1);
    EXPECT_FALSE(attempt.new_best);
    begin_attempt(77, 1);
    count_attempt_frame();
    finish_attempt(20, 78, 1);              // the file changed under the attempt
    EXPECT_FALSE(attempt.new_best);
    begin_attempt(77, 0);                   // no checksum to key it by
    count_attempt_frame();
    finish_attempt(20, 77, 1);
    EXPECT_FALSE(attempt.new_best);
    EXPECT_EQ(records[find_record(77)].frames, 300);
    if (kept.empty()) unsetenv("HILLHOPPER_DATA_HOME");
    else setenv("HILLHOPPER_DATA_HOME", kept.c_str(), 1);
}

// A damaged file is moved aside, never overwritten, and play starts clean.
TEST(RecordsFile, DamagedUserFileIsMovedAside)
{
    headless_world();
    std::string home = scratch("damaged");
    const char *old_home = getenv("HILLHOPPER_DATA_HOME");
    std::string kept = old_home ? old_home : "";
    setenv("HILLHOPPER_DATA_HOME", home.c_str(), 1);
    { std::ofstream(home + "/records.txt") << "not records\n"; }
    offer_record(5, 5, 5);
    testing::internal::CaptureStderr();
    load_records();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("records.txt.bad"), std::string::npos) << err;
    EXPECT_EQ(find_record(5), -1);
    std::ifstream bad(home + "/records.txt.bad");
    std::stringstream s;
    s << bad.rdbuf();
    EXPECT_EQ(s.str(), "not records\n");
    EXPECT_NE(access((home + "/records.txt").c_str(), F_OK), 0);
    if (kept.empty()) unsetenv("HILLHOPPER_DATA_HOME");
    else setenv("HILLHOPPER_DATA_HOME", kept.c_str(), 1);
}
