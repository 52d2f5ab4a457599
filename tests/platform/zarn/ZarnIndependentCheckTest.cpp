// The container checked against what it does not share code with: its
// checksum against zlib's CRC-32, and sets whose source bytes lie inside the
// very image being rearranged, against a copy taken before the call.
#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <zlib.h>

#include "platform/zarn/ZarnBuilder.h"
#include "platform/zarn/ZarnContainer.h"
#include "tests/platform/zarn/ZarnTestUtil.h"

using namespace zarn;
using zarntest::Image;

namespace {

uint32_t ZlibCrc(const uint8_t* data, size_t size)
{
    return static_cast<uint32_t>(::crc32(::crc32(0L, Z_NULL, 0), data, static_cast<uInt>(size)));
}

// The file's checksum as the format defines it: CRC-32 of every byte, the CRC
// field read as zeros.
uint32_t ZlibFileCrc(std::vector<uint8_t> file)
{
    std::memset(file.data() + kOffsetCrc, 0, 4);
    return ZlibCrc(file.data(), file.size());
}

std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    return bytes;
}

ContainerBuilder Items()
{
    ContainerBuilder b;
    b.Set(3001, 0, std::vector<uint8_t>{'I', 'D', '0', '1', 0});
    b.Set(3700, 0, RandomBytes(257, 7));
    b.Set(3849, 12, std::vector<uint8_t>{1, 2, 3, 4, 5, 6});
    b.Set(4081, 0, RandomBytes(40, 9));
    b.Set(5004, 0, std::vector<uint8_t>{2, 0, 0, 0});
    return b;
}

}  // namespace

TEST(ZarnChecksum, EveryLengthAndAlignmentAgreesWithZlib)
{
    // Lengths around the 16-byte stride, from every start within a stride.
    const std::vector<uint8_t> bytes = RandomBytes(4200, 1);
    for (size_t start = 0; start < 16; ++start) {
        for (size_t size : {0u, 1u, 3u, 15u, 16u, 17u, 31u, 32u, 33u, 63u, 64u, 65u, 79u, 80u, 127u, 128u, 129u,
                            191u, 255u, 256u, 4097u, 4184u}) {
            EXPECT_EQ(ZlibCrc(bytes.data() + start, size), Crc32(0, bytes.data() + start, size))
                << "start " << start << " size " << size;
        }
    }
    // Carried across calls cut anywhere, as the parser feeds item after item.
    for (size_t cut : {1u, 7u, 16u, 23u, 1000u, 4199u}) {
        const uint32_t carried = Crc32(Crc32(0, bytes.data(), cut), bytes.data() + cut, bytes.size() - cut);
        EXPECT_EQ(ZlibCrc(bytes.data(), bytes.size()), carried) << "cut " << cut;
    }
    // A record-sized run, folded 64 bytes a step.
    const std::vector<uint8_t> large = RandomBytes(3 << 20, 5);
    EXPECT_EQ(ZlibCrc(large.data(), large.size()), Crc32(0, large.data(), large.size()));
    // All-ones and all-zeros runs take the extreme table entries.
    const std::vector<uint8_t> ones(1000, 0xFF), zeros(1000, 0);
    EXPECT_EQ(ZlibCrc(ones.data(), ones.size()), Crc32(0, ones.data(), ones.size()));
    EXPECT_EQ(ZlibCrc(zeros.data(), zeros.size()), Crc32(0, zeros.data(), zeros.size()));
}

TEST(ZarnChecksum, AWrittenFileCarriesZlibsCrcOfItsBytes)
{
    for (Flavour f : {Flavour::Newer90, Flavour::Older80}) {
        const std::vector<uint8_t> file = Items().Serialize(f);
        EXPECT_EQ(ZlibFileCrc(file), ReadU32(file.data() + kOffsetCrc));
        EXPECT_EQ(ZlibFileCrc(file), ContainerChecksum(file.data(), file.size()));
    }
}

// A file from a later version with a longer header: the extra header bytes
// count in the checksum like any other byte.
TEST(ZarnChecksum, ALongerHeaderIsCoveredByTheChecksum)
{
    const std::vector<uint8_t> plain = Items().Serialize(Flavour::Newer90);
    std::vector<uint8_t> file(plain.begin(), plain.begin() + kHeaderSize);
    const std::vector<uint8_t> extra = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6, 0x07, 0x18};
    file.insert(file.end(), extra.begin(), extra.end());
    file.insert(file.end(), plain.begin() + kHeaderSize, plain.end());
    WriteU16(file.data() + kOffsetHeaderSize, static_cast<uint16_t>(kHeaderSize + extra.size()));
    WriteU32(file.data() + kOffsetTotalLength, static_cast<uint32_t>(file.size()));
    WriteU32(file.data() + kOffsetCrc, ZlibFileCrc(file));
    ParseResult r = Parse(file.data(), file.size());
    EXPECT_TRUE(r.ok()) << StatusName(r.status) << " at " << r.errorOffset;
    EXPECT_EQ(ZlibFileCrc(file), ContainerChecksum(file.data(), file.size()));

    file[kHeaderSize + 3] ^= 0x01;   // damage in the reserved header bytes
    r = Parse(file.data(), file.size());
    EXPECT_EQ(Status::ChecksumMismatch, r.status);
    EXPECT_EQ(kOffsetCrc, r.errorOffset);
}

TEST(ZarnChecksum, TheReadersAcceptZlibsChecksumAndCommitIt)
{
    ZARN_LOAD_READERS(r90, r80);
    for (const zarntest::ReaderLib* lib : {&r90, &r80}) {
        const Flavour f = lib == &r90 ? Flavour::Newer90 : Flavour::Older80;
        std::vector<uint8_t> file = Items().Serialize(f);
        WriteU32(file.data() + kOffsetCrc, 0);
        WriteU32(file.data() + kOffsetCrc, ZlibFileCrc(file));
        Image img(file);
        ASSERT_NE(lib->Probe(img.image()), 0);
        const std::vector<uint8_t> text = RandomBytes(333, 3);
        ASSERT_NE(lib->Set(img.image(), 4082, 0, text.data(), static_cast<long>(text.size())), 0);
        ASSERT_NE(lib->Commit(img.image()), 0);
        const std::vector<uint8_t> committed = img.FileContents();
        EXPECT_EQ(ZlibFileCrc(committed), ReadU32(committed.data() + kOffsetCrc));

        // One flipped bit anywhere but the CRC field: refused.
        for (size_t at : {size_t{0}, size_t{kOffsetItemCount}, size_t{kHeaderSize + 5}, committed.size() - 1}) {
            std::vector<uint8_t> damaged = committed;
            damaged[at] ^= 0x10;
            Image bad(damaged);
            EXPECT_EQ(lib->Probe(bad.image()), 0) << "byte " << at;
        }
    }
}

// ---- sets whose source lies inside the image --------------------------------------

namespace {

// Where the source bytes of a set start.
enum class From {
    Item,         // inside item (fromTag, fromIndex), at offset from its bytes
    FileStart,    // at offset from the file's first byte (its header)
    BeforeFile,   // offset bytes before the file, in the image's own header
    FileEnd,      // offset bytes before the file's end, running on into the spare
};

struct SelfSet {
    const char* what;
    uint32_t tag, index;          // the item set
    From from;
    uint32_t fromTag, fromIndex;  // for From::Item
    uint32_t offset;
    uint32_t length;
};

// clang-format off
static const SelfSet kSelfSets[] = {
    //  what                                      set         from             item         off  length
    {"grow an item from a later item's bytes",    3001, 0,    From::Item,      4081, 0,     0,   40},
    {"grow an item from an earlier item's bytes", 4081, 0,    From::Item,      3001, 0,     0,   5},
    {"insert before the source",                  3002, 0,    From::Item,      3700, 0,     10,  200},
    {"insert after the source",                   6000, 0,    From::Item,      3700, 0,     0,   257},
    {"shrink an item to a later part of itself",  3700, 0,    From::Item,      3700, 0,     100, 50},
    {"grow an item from a part of itself",        3849, 12,   From::Item,      3849, 12,    2,   4},
    {"shrink an item from a later item",          3700, 0,    From::Item,      4081, 0,     8,   16},
    {"take bytes across two items",               3001, 0,    From::Item,      3849, 12,    0,   20},
    {"take the file header as an item",           6001, 0,    From::FileStart, 0, 0,        0,   kHeaderSize},
    {"take bytes from before the file on",        3001, 0,    From::BeforeFile, 0, 0,       16,  100},
    {"take the file's last bytes and the spare",  3001, 0,    From::FileEnd,   0, 0,        4,   12},
    {"take spare bytes the move will fill",       3001, 0,    From::FileEnd,   0, 0,        0,   12},
};
// clang-format on

bool InsideTheFile(const SelfSet& s)
{
    return s.from == From::Item || s.from == From::FileStart;
}

// The source's offset from the file's first byte.
long SourceOffset(const std::vector<uint8_t>& file, const SelfSet& s)
{
    switch (s.from) {
    case From::FileStart: return static_cast<long>(s.offset);
    case From::BeforeFile: return -static_cast<long>(s.offset);
    case From::FileEnd: return static_cast<long>(file.size()) - static_cast<long>(s.offset);
    case From::Item: break;
    }
    ItemRef ref;
    EXPECT_TRUE(FindItem(file.data(), file.size(), s.fromTag, s.fromIndex, &ref)) << s.what;
    return static_cast<long>(ref.dataOffset + s.offset);
}

}  // namespace

TEST(ZarnSelfSet, ASourceInsideTheImageIsWrittenAsItWasBeforeTheCall)
{
    ZARN_LOAD_READERS(r90, r80);
    for (const zarntest::ReaderLib* lib : {&r90, &r80}) {
        const Flavour f = lib == &r90 ? Flavour::Newer90 : Flavour::Older80;
        const std::vector<uint8_t> file = Items().Serialize(f);
        for (const SelfSet& s : kSelfSets) {
            SCOPED_TRACE(s.what);
            Image img(file);
            ASSERT_NE(lib->Probe(img.image()), 0);
            const uint8_t* from = img.fileBytes() + SourceOffset(file, s);
            ASSERT_GE(from, img.block().data());
            ASSERT_LE(from + s.length, img.block().data() + img.block().size());
            const std::vector<uint8_t> source(from, from + s.length);   // as it is before the call
            ContainerBuilder expected = Items();
            expected.Set(s.tag, s.index, source);

            ASSERT_NE(lib->Set(img.image(), s.tag, s.index, from, static_cast<long>(s.length)), 0);
            EXPECT_EQ(source, lib->Item(img.image(), s.tag, s.index));
            ASSERT_NE(lib->Commit(img.image()), 0);
            ContainerBuilder got;
            const std::vector<uint8_t> written = img.FileContents();
            ASSERT_TRUE(LoadContainer(written.data(), written.size(), &got).ok());
            EXPECT_EQ(expected.Items(), got.Items());
        }
    }
}

// The same through the container call, with a capacity that leaves no room
// past the grown file: the copy aside must not need the spare.
TEST(ZarnSelfSet, ASourceInsideAFullBufferIsStillReadBeforeTheMove)
{
    const std::vector<uint8_t> file = Items().Serialize(Flavour::Newer90);
    for (const SelfSet& s : kSelfSets) {
        if (!InsideTheFile(s)) continue;
        SCOPED_TRACE(s.what);
        const uint32_t from = static_cast<uint32_t>(SourceOffset(file, s));
        const std::vector<uint8_t> source(file.begin() + from, file.begin() + from + s.length);
        ItemRef old;
        const bool replaces = FindItem(file.data(), file.size(), s.tag, s.index, &old);
        const uint32_t grown = static_cast<uint32_t>(file.size()) + s.length - (replaces ? old.length : 0) +
                               (replaces ? 0 : kItemHeaderSize);
        const uint32_t capacity = std::max<uint32_t>(grown, static_cast<uint32_t>(file.size()));
        std::vector<uint8_t> buffer(file);
        buffer.resize(capacity, 0);
        uint32_t size = static_cast<uint32_t>(file.size());
        ASSERT_EQ(Status::Ok, SetItemInPlace(buffer.data(), &size, capacity, s.tag, s.index,
                                             buffer.data() + from, s.length));
        EXPECT_EQ(grown, size);
        UpdateChecksum(buffer.data(), size);
        ContainerBuilder got;
        ASSERT_TRUE(LoadContainer(buffer.data(), size, &got).ok());
        ContainerBuilder expected = Items();
        expected.Set(s.tag, s.index, source);
        EXPECT_EQ(expected.Items(), got.Items());
    }
}
