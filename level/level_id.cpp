// level/level_id.cpp -- CRC-64 as in ECMA-182: polynomial 0x42F0E1EBA9EA3693,
// most significant bit first, initial value 0, no final xor. The check value
// of "123456789" is 0x6C40DF5F0B497347.
#include <cstdio>
#include "level_id.h"
#include "platform.h"

uint64_t current_level_checksum = 0;

static const uint64_t ecma182_polynomial = 0x42F0E1EBA9EA3693ull;

struct crc_table {
    uint64_t v[256];
    crc_table()
    {
        for (int n = 0; n < 256; n++) {
            uint64_t c = (uint64_t)n << 56;
            for (int b = 0; b < 8; b++)
                c = (c & (1ull << 63)) ? (c << 1) ^ ecma182_polynomial : c << 1;
            v[n] = c;
        }
    }
};

uint64_t crc64_update(uint64_t crc, const void *data, size_t size)
{
    static const crc_table table;
    const unsigned char *p = (const unsigned char *)data;
    for (size_t i = 0; i < size; i++)
        crc = table.v[((crc >> 56) ^ p[i]) & 0xff] ^ (crc << 8);
    return crc;
}

uint64_t level_checksum_of_file(const char *path, bool *ok)
{
    if (ok) *ok = false;
    FILE *fp = path ? open_file(path, "rb") : nullptr;
    if (!fp) return 0;
    unsigned char buf[65536];
    uint64_t crc = 0;
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), fp)) > 0) crc = crc64_update(crc, buf, n);
    bool read_ok = !ferror(fp);
    fclose(fp);
    if (!read_ok) return 0;
    if (ok) *ok = true;
    return crc;
}
