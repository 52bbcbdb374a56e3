// Damaged and hostile replay files: the reader takes a replay whole or
// refuses it with a reason, for every way a file can be cut, flipped or lie
// about its lengths, and never reads past its end.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "replay.h"
#include "actions.h"
#include "level_id.h"

namespace {

typedef std::vector<unsigned char> bytes;

replay_record sample(void)
{
    replay_record r;
    r.seed = 12345;
    r.level = 2;
    r.level_file = "map2.trn";
    r.level_checksum = 0x1122334455667788ull;
    r.frames = 40;
    r.finished = true;
    r.time_left = 21.08;
    r.input = {{(uint8_t)input_steps, 1u << ACT_RIGHT, 20},
               {(uint8_t)input_steps, (1u << ACT_RIGHT) | (1u << ACT_JUMP), 10},
               {(uint8_t)input_steps, 1u << ACT_CONTROLS, 1},
               {(uint8_t)input_wait, 3u << (2 * ACT_RIGHT), 1},
               {(uint8_t)input_steps, 0, 11}};
    for (uint32_t k = 0; k < r.frames; k++) r.ghost.push_back({k * 0.1f, -1.5f, 3.0f, 2, (uint8_t)(k & 1)});
    return r;
}

// The CRC is made right again, so the check behind it is the one tested.
void reseal(bytes &b)
{
    uint64_t c = crc64(b.data(), b.size() - 8);
    for (int i = 0; i < 8; i++) b[b.size() - 8 + i] = (unsigned char)(c >> (8 * i));
}

std::string refusal(const bytes &b)
{
    replay_record r = sample();
    r.seed = 999;
    std::string why;
    if (decode_replay(b.data(), b.size(), &r, &why)) return "";
    EXPECT_EQ(r.seed, 999u) << "a refused file changed the record";
    EXPECT_FALSE(why.empty());
    return why;
}

// Offsets of the fixed header.
const size_t at_version = 8, at_level = 16, at_frames = 28, at_finished = 32, at_time = 33, at_name_len = 41;

void put32(bytes &b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++) b[at + i] = (unsigned char)(v >> (8 * i));
}

} // namespace

TEST(ReplayFile, WrittenAndReadBackUnchanged)
{
    replay_record r = sample(), back;
    bytes b = encode_replay(r);
    std::string why;
    ASSERT_TRUE(decode_replay(b.data(), b.size(), &back, &why)) << why;
    EXPECT_EQ(encode_replay(back), b);
    EXPECT_EQ(back.level_file, "map2.trn");
    EXPECT_EQ(back.level_checksum, r.level_checksum);
    EXPECT_EQ(back.input.size(), r.input.size());
    EXPECT_EQ(replay_step_count(back), 42u);
    EXPECT_EQ(back.ghost.size(), 40u);
    // Without a ghost it is still a replay.
    r.ghost.clear();
    b = encode_replay(r);
    EXPECT_TRUE(decode_replay(b.data(), b.size(), &back, &why)) << why;
}

TEST(ReplayFile, EveryCutAndEveryFlippedBitIsRefused)
{
    bytes good = encode_replay(sample());
    for (size_t n = 0; n < good.size(); n++) {
        bytes cut(good.begin(), good.begin() + n);
        EXPECT_NE(refusal(cut), "") << "cut at " << n;
    }
    for (size_t i = 0; i < good.size(); i++) {
        bytes b = good;
        b[i] ^= 0x10;
        EXPECT_NE(refusal(b), "") << "flipped byte " << i;
    }
    bytes longer = good;
    longer.push_back(0);
    EXPECT_NE(refusal(longer), "");
}

TEST(ReplayFile, LyingHeadersAndInputAreRefusedWithTheirReason)
{
    const bytes good = encode_replay(sample());
    struct hostile {
        const char *reason_part;
        void (*spoil)(bytes &);
    };
    const hostile cases[] = {
        {"not a replay", [](bytes &b) { b[0] = 'X'; }},
        {"version", [](bytes &b) { put32(b, at_version, 2); }},
        {"checksum", [](bytes &b) { b[b.size() - 1] ^= 1; }},
        {"level number", [](bytes &b) { put32(b, at_level, 0xffffffffu); }},
        {"no frames", [](bytes &b) { put32(b, at_frames, 0); }},
        {"longer than a level", [](bytes &b) { put32(b, at_frames, max_replay_frames + 1); }},
        {"finish flag", [](bytes &b) { b[at_finished] = 7; }},
        {"time left", [](bytes &b) { double nan = std::nan(""); memcpy(&b[at_time], &nan, 8); }},
        {"name too long", [](bytes &b) { b[at_name_len] = 0; b[at_name_len + 1] = 1; }},
        {"folder", [](bytes &b) { b[at_name_len + 2 + 3] = '/'; }},
        // 2x the frames is the most input a run can use; half is too little.
        {"more input than", [](bytes &b) { put32(b, at_frames, 20); }},
        {"less input than", [](bytes &b) { put32(b, at_frames, 43); }},
    };
    for (const hostile &h : cases) {
        bytes b = good;
        h.spoil(b);
        if (std::string(h.reason_part) != "checksum") reseal(b);
        std::string why = refusal(b);
        EXPECT_NE(why.find(h.reason_part), std::string::npos) << h.reason_part << ": got '" << why << "'";
    }
}

TEST(ReplayFile, HostileInputEntriesAreRefused)
{
    struct hostile {
        const char *reason_part;
        replay_input entry;
    };
    const hostile cases[] = {
        {"unknown actions", {(uint8_t)input_steps, 1u << NUM_ACTIONS, 1}},
        {"unknown actions", {(uint8_t)input_wait, 1u << (2 * NUM_ACTIONS), 1}},
        {"empty run", {(uint8_t)input_steps, 0, 0}},
        {"not one entry", {(uint8_t)input_wait, 0, 2}},
    };
    for (const hostile &h : cases) {
        replay_record r = sample();
        r.input.insert(r.input.begin() + 1, h.entry);
        bytes b = encode_replay(r);
        std::string why = refusal(b);
        EXPECT_NE(why.find(h.reason_part), std::string::npos) << h.reason_part << ": got '" << why << "'";
    }
    // A ghost out of the world or of another length, a count written long.
    replay_record r = sample();
    r.ghost[3].x = 1e9f;
    EXPECT_NE(refusal(encode_replay(r)).find("ghost position"), std::string::npos);
    r = sample();
    r.ghost[5].frame = 200;
    EXPECT_NE(refusal(encode_replay(r)).find("ghost position"), std::string::npos);
    r = sample();
    r.ghost.pop_back();
    EXPECT_NE(refusal(encode_replay(r)).find("ghost length"), std::string::npos);
    bytes b = encode_replay(sample());
    size_t input_at = at_name_len + 2 + 8 + 4;      // after the name and the input length
    ASSERT_EQ(b[input_at], 20u << 1);               // the first run: 20 steps
    b[input_at] = 0x80 | (20u << 1);
    b.insert(b.begin() + input_at + 1, 0x00);       // the same count in two bytes
    uint32_t input_len = b[input_at - 4] | (b[input_at - 3] << 8);
    put32(b, input_at - 4, input_len + 1);
    reseal(b);
    EXPECT_NE(refusal(b).find("count too long"), std::string::npos);
}
