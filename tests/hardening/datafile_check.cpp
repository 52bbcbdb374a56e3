// tests/hardening/datafile_check.cpp -- a walk over a datafile's structure
// that reads every size field itself, so that a short file is seen as short
// instead of as a stream of EOF values.
// Layout: "ALL." magic, object count, then per object any number of
// properties ("prop", type, size, bytes), the type, and a chunk: stored size
// (negative when the chunk is compressed), unpacked size, stored bytes.
#include "datafile_check.h"
#include <allegro.h>

const long max_objects = 1L << 20;      // far above any real datafile

// A big-endian 32-bit field; 0 when the file ends first.
static int read_long(PACKFILE *f, long *v)
{
    unsigned char b[4];
    if (pack_fread(b, 4, f) != 4) return 0;
    *v = (long)(int)((unsigned)b[0] << 24 | (unsigned)b[1] << 16 | (unsigned)b[2] << 8 | b[3]);
    return 1;
}

static int skip_bytes(PACKFILE *f, long n)
{
    char buf[4096];
    while (n > 0) {
        long k = n < (long)sizeof(buf) ? n : (long)sizeof(buf);
        if (pack_fread(buf, k, f) != k) return 0;
        n -= k;
    }
    return 1;
}

static int properties_and_type(PACKFILE *f, long *type)
{
    if (!read_long(f, type)) return 0;
    while (*type == DAT_PROPERTY) {
        long prop, size;
        if (!read_long(f, &prop) || !read_long(f, &size) || size < 0 || !skip_bytes(f, size)) return 0;
        if (!read_long(f, type)) return 0;
    }
    return *type != DAT_END;
}

static int object_complete(PACKFILE *f)
{
    long type, stored, unpacked;
    if (!properties_and_type(f, &type)) return 0;
    if (!read_long(f, &stored) || !read_long(f, &unpacked) || unpacked < 0) return 0;
    if (stored < -0x7fffffffL) return 0;
    return skip_bytes(f, stored < 0 ? -stored : stored);
}

int datafile_complete(const char *file)
{
    PACKFILE *f = pack_fopen(file, F_READ_PACKED);
    if (!f) return 0;
    long magic, count;
    int ok = read_long(f, &magic) && magic == DAT_MAGIC && read_long(f, &count) && count >= 0 &&
             count <= max_objects;
    for (long i = 0; ok && i < count; i++) ok = object_complete(f);
    pack_fclose(f);
    return ok;
}
