// The container core: parsing (status and byte position of every kind of
// damage), the builder, in-place editing and the checksum.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/zarn/ZarnBuilder.h"
#include "platform/zarn/ZarnContainer.h"

using namespace zarn;

namespace {

// Three items: (1,0) "abc", (2,0) 4 bytes, (3,5) 10 bytes.
ContainerBuilder ThreeItems() {
    ContainerBuilder b;
    b.Set(1, 0, std::vector<uint8_t>{'a', 'b', 'c'});
    b.Set(2, 0, std::vector<uint8_t>{1, 2, 3, 4});
    b.Set(3, 5, std::vector<uint8_t>(10, 0x77));
    return b;
}

std::vector<uint8_t> Valid(Flavour f = Flavour::Newer90) { return ThreeItems().Serialize(f); }

// Offsets of the three items in Valid().
constexpr uint32_t kItem1 = kHeaderSize;             // 24
constexpr uint32_t kItem2 = kItem1 + 12 + 3;         // 39
constexpr uint32_t kItem3 = kItem2 + 12 + 4;         // 55
constexpr uint32_t kEnd = kItem3 + 12 + 10;          // 77

ParseResult P(const std::vector<uint8_t>& v, uint8_t required = 0) {
    ParseOptions o;
    o.requiredFlavour = required;
    return Parse(v.data(), v.size(), o);
}

void Fix(std::vector<uint8_t>& v) {
    WriteU32(v.data() + kOffsetTotalLength, static_cast<uint32_t>(v.size()));
    UpdateChecksum(v.data(), v.size());
}

#define EXPECT_PARSE(vec, st, pos)                                             \
    do {                                                                       \
        ParseResult r_ = P(vec);                                               \
        EXPECT_EQ(r_.status, st) << StatusName(r_.status);                     \
        EXPECT_EQ(r_.errorOffset, static_cast<uint32_t>(pos));                 \
    } while (0)

}  // namespace

TEST(ZarnContainer, Crc32MatchesTheStandardCheckValue) {
    const char* s = "123456789";
    EXPECT_EQ(Crc32(0, reinterpret_cast<const uint8_t*>(s), 9), 0xCBF43926u);
    // Incremental equals whole.
    uint32_t c = Crc32(0, reinterpret_cast<const uint8_t*>(s), 4);
    c = Crc32(c, reinterpret_cast<const uint8_t*>(s) + 4, 5);
    EXPECT_EQ(c, 0xCBF43926u);
    std::vector<uint8_t> big(100003);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 31 + 7);
    uint32_t slow = 0xFFFFFFFFu;
    for (uint8_t byte : big) {
        slow ^= byte;
        for (int k = 0; k < 8; ++k) slow = (slow & 1) ? (0xEDB88320u ^ (slow >> 1)) : (slow >> 1);
    }
    EXPECT_EQ(Crc32(0, big.data(), big.size()), ~slow);
}

TEST(ZarnContainer, SerializationPutsEveryFieldAtItsOffset) {
    std::vector<uint8_t> v = Valid();
    ASSERT_EQ(v.size(), kEnd);
    EXPECT_EQ(std::memcmp(v.data(), "MZRC", 4), 0);
    EXPECT_EQ(v[kOffsetVersion], 1);
    EXPECT_EQ(v[kOffsetFlavour], 9);
    EXPECT_EQ(ReadU16(v.data() + kOffsetHeaderSize), kHeaderSize);
    EXPECT_EQ(ReadU32(v.data() + kOffsetTotalLength), kEnd);
    EXPECT_EQ(ReadU32(v.data() + kOffsetItemCount), 3u);
    EXPECT_EQ(ReadU32(v.data() + kOffsetReserved), 0u);
    EXPECT_EQ(ReadU32(v.data() + kItem2), 2u);
    EXPECT_EQ(ReadU32(v.data() + kItem3 + 4), 5u);
    EXPECT_EQ(ReadU32(v.data() + kItem3 + 8), 10u);
    EXPECT_EQ(ReadU32(v.data() + kOffsetCrc), ContainerChecksum(v.data(), v.size()));
    EXPECT_EQ(Valid(Flavour::Older80)[kOffsetFlavour], 8);
}

TEST(ZarnContainer, ParseAcceptsValidContainers) {
    ParseResult r = P(Valid());
    EXPECT_TRUE(r.ok()) << StatusName(r.status);
    EXPECT_EQ(r.flavour, 9);
    EXPECT_EQ(r.itemCount, 3u);
    EXPECT_TRUE(P(Valid(Flavour::Older80)).ok());
    ContainerBuilder empty;
    EXPECT_TRUE(P(empty.Serialize(Flavour::Newer90)).ok());
    EXPECT_EQ(empty.Serialize(Flavour::Newer90).size(), kHeaderSize);
    // A zero-length item is fine.
    ContainerBuilder z;
    z.Set(7, 1, std::vector<uint8_t>());
    EXPECT_TRUE(P(z.Serialize(Flavour::Older80)).ok());
}

TEST(ZarnContainer, ParsingRefusesTheOtherFlavour) {
    EXPECT_TRUE(P(Valid(Flavour::Newer90), 9).ok());
    EXPECT_TRUE(P(Valid(Flavour::Older80), 8).ok());
    ParseResult r = P(Valid(Flavour::Older80), 9);
    EXPECT_EQ(r.status, Status::WrongFlavour);
    EXPECT_EQ(r.errorOffset, kOffsetFlavour);
    r = P(Valid(Flavour::Newer90), 8);
    EXPECT_EQ(r.status, Status::WrongFlavour);
}

TEST(ZarnContainer, RefusesEmptyAndShortFiles) {
    std::vector<uint8_t> v = Valid();
    EXPECT_PARSE(std::vector<uint8_t>(), Status::Empty, 0);
    EXPECT_PARSE(std::vector<uint8_t>(v.begin(), v.begin() + 10), Status::HeaderTruncated, 10);
    EXPECT_PARSE(std::vector<uint8_t>(v.begin(), v.begin() + 23), Status::HeaderTruncated, 23);
    EXPECT_PARSE(std::vector<uint8_t>(v.begin(), v.begin() + 2), Status::HeaderTruncated, 2);
    EXPECT_PARSE((std::vector<uint8_t>{'a', 'b'}), Status::BadMagic, 0);
    // Truncated inside the items: the header's length no longer matches.
    EXPECT_PARSE(std::vector<uint8_t>(v.begin(), v.begin() + kItem2 + 5), Status::LengthMismatch, kOffsetTotalLength);
    EXPECT_PARSE(std::vector<uint8_t>(v.begin(), v.end() - 1), Status::LengthMismatch, kOffsetTotalLength);
}

TEST(ZarnContainer, RefusesBadHeaderFields) {
    std::vector<uint8_t> v = Valid();
    v[2] = 'X';
    EXPECT_PARSE(v, Status::BadMagic, 2);

    v = Valid();
    v[kOffsetVersion] = 2;
    Fix(v);
    EXPECT_PARSE(v, Status::BadVersion, kOffsetVersion);

    v = Valid();
    v[kOffsetFlavour] = 7;
    Fix(v);
    EXPECT_PARSE(v, Status::UnknownFlavour, kOffsetFlavour);

    v = Valid();
    WriteU16(v.data() + kOffsetHeaderSize, 20);
    Fix(v);
    EXPECT_PARSE(v, Status::BadHeaderSize, kOffsetHeaderSize);
    WriteU16(v.data() + kOffsetHeaderSize, 0xFFFF);
    Fix(v);
    EXPECT_PARSE(v, Status::BadHeaderSize, kOffsetHeaderSize);

    v = Valid();
    WriteU32(v.data() + kOffsetTotalLength, kEnd + 1);
    EXPECT_PARSE(v, Status::LengthMismatch, kOffsetTotalLength);

    v = Valid();
    v[kOffsetReserved + 3] = 1;
    Fix(v);
    EXPECT_PARSE(v, Status::ReservedNotZero, kOffsetReserved);
}

TEST(ZarnContainer, RefusesBadItems) {
    // An item whose length reaches past the end.
    std::vector<uint8_t> v = Valid();
    WriteU32(v.data() + kItem2 + 8, 1000);
    Fix(v);
    EXPECT_PARSE(v, Status::ItemOutOfRange, kItem2 + 8);
    WriteU32(v.data() + kItem2 + 8, 0xFFFFFFFFu);
    Fix(v);
    EXPECT_PARSE(v, Status::ItemOutOfRange, kItem2 + 8);
    // Overlapping: the second item's length swallows the third's header.
    v = Valid();
    WriteU32(v.data() + kItem2 + 8, 4 + 12);
    Fix(v);
    // The third header is now data; the walk finds 10 bytes where it expects a header.
    EXPECT_PARSE(v, Status::ItemHeaderTruncated, kItem3 + 12);
    // Overlapping the other way: the second item claims the third's data too.
    v = Valid();
    WriteU32(v.data() + kItem2 + 8, 4 + 12 + 10);
    Fix(v);
    EXPECT_PARSE(v, Status::ItemCountMismatch, kEnd);

    // A last item header cut short.
    v = Valid();
    v.resize(kItem3 + 5);
    Fix(v);
    EXPECT_PARSE(v, Status::ItemHeaderTruncated, kItem3);

    // More items declared than there are.
    v = Valid();
    WriteU32(v.data() + kOffsetItemCount, 4);
    Fix(v);
    EXPECT_PARSE(v, Status::ItemCountMismatch, kEnd);
    WriteU32(v.data() + kOffsetItemCount, 0xFFFFFFFFu);
    Fix(v);
    EXPECT_PARSE(v, Status::ItemCountMismatch, kEnd);
    // Fewer: the bytes after the last declared item are refused.
    WriteU32(v.data() + kOffsetItemCount, 2);
    Fix(v);
    EXPECT_PARSE(v, Status::ItemCountMismatch, kItem3);
    // Trailing bytes.
    v = Valid();
    v.insert(v.end(), {9, 9, 9});
    Fix(v);
    EXPECT_PARSE(v, Status::ItemCountMismatch, kEnd);

    // Out of order and duplicates.
    v = Valid();
    WriteU32(v.data() + kItem2, 9);  // (9,0) before (3,5)
    Fix(v);
    EXPECT_PARSE(v, Status::ItemOutOfOrder, kItem3);
    v = Valid();
    WriteU32(v.data() + kItem2, 1);  // (1,0) twice
    Fix(v);
    EXPECT_PARSE(v, Status::ItemOutOfOrder, kItem2);
}

TEST(ZarnContainer, RefusesWrongChecksum) {
    std::vector<uint8_t> v = Valid();
    v[kItem3 + 12 + 4] ^= 1;
    EXPECT_PARSE(v, Status::ChecksumMismatch, kOffsetCrc);
    v = Valid();
    v[kOffsetCrc] ^= 0x80;
    EXPECT_PARSE(v, Status::ChecksumMismatch, kOffsetCrc);
    // Without verification the structure alone passes.
    v = Valid();
    v[kItem3 + 12] ^= 1;
    ParseOptions o;
    o.verifyChecksum = false;
    EXPECT_TRUE(Parse(v.data(), v.size(), o).ok());
}

TEST(ZarnContainer, RefusesTooLargeBeforeReading) {
    uint8_t one = 'M';
    ParseResult r = Parse(&one, static_cast<size_t>(kMaxFileSize) + 1);
    EXPECT_EQ(r.status, Status::TooLarge);
}

TEST(ZarnContainer, EveryTruncationIsRefusedInBounds) {
    // Every prefix of a valid container, with and without the header's length
    // fixed up, is refused (and, under ASan, never read past its end).
    std::vector<uint8_t> v = Valid();
    for (size_t n = 0; n < v.size(); ++n) {
        std::vector<uint8_t> cut(v.begin(), v.begin() + static_cast<long>(n));
        EXPECT_FALSE(P(cut).ok()) << n;
        if (n >= kHeaderSize) {
            Fix(cut);
            EXPECT_FALSE(P(cut).ok()) << n;
        }
    }
}

TEST(ZarnContainer, FindItemGivesTheItemOrWhereItWouldGo) {
    std::vector<uint8_t> v = Valid();
    ItemRef ref;
    ASSERT_TRUE(FindItem(v.data(), v.size(), 2, 0, &ref));
    EXPECT_EQ(ref.length, 4u);
    EXPECT_EQ(ref.headerOffset, kItem2);
    EXPECT_EQ(ref.dataOffset, kItem2 + 12);
    uint32_t insert = 0;
    EXPECT_FALSE(FindItem(v.data(), v.size(), 2, 1, &ref, &insert));
    EXPECT_EQ(insert, kItem3);
    EXPECT_FALSE(FindItem(v.data(), v.size(), 100, 0, &ref, &insert));
    EXPECT_EQ(insert, kEnd);
    EXPECT_FALSE(FindItem(v.data(), v.size(), 0, 0, &ref, &insert));
    EXPECT_EQ(insert, kItem1);
    // A damaged length is never followed outside the range.
    WriteU32(v.data() + kItem1 + 8, 0xFFFFFF00u);
    EXPECT_FALSE(FindItem(v.data(), v.size(), 3, 5, &ref, &insert));
    EXPECT_EQ(insert, UINT32_MAX);
}

TEST(ZarnContainer, LoadingASerializedContainerGivesItsItemsBack) {
    ContainerBuilder b = ThreeItems();
    std::vector<uint8_t> v = b.Serialize(Flavour::Older80);
    ContainerBuilder back;
    uint8_t flavour = 0;
    ASSERT_TRUE(LoadContainer(v.data(), v.size(), &back, &flavour).ok());
    EXPECT_EQ(flavour, 8);
    EXPECT_EQ(back.Items(), b.Items());
}

TEST(ZarnContainer, SetItemInPlaceKeepsTheStructureValid) {
    std::vector<uint8_t> v = Valid();
    const uint32_t capacity = static_cast<uint32_t>(v.size()) + 100;
    std::vector<uint8_t> buf(v);
    buf.resize(capacity, 0);
    uint32_t size = static_cast<uint32_t>(v.size());
    ContainerBuilder model = ThreeItems();

    auto check = [&]() {
        UpdateChecksum(buf.data(), size);
        ContainerBuilder got;
        ASSERT_TRUE(LoadContainer(buf.data(), size, &got).ok());
        EXPECT_EQ(got.Items(), model.Items());
        for (uint32_t i = size; i < capacity; ++i) ASSERT_EQ(buf[i], 0) << "byte " << i << " past the file";
    };
    const uint8_t grow[20] = {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5};
    ASSERT_EQ(SetItemInPlace(buf.data(), &size, capacity, 2, 0, grow, 20), Status::Ok);  // grow in the middle
    model.Set(2, 0, grow, 20);
    check();
    ASSERT_EQ(SetItemInPlace(buf.data(), &size, capacity, 2, 0, grow, 1), Status::Ok);  // shrink
    model.Set(2, 0, grow, 1);
    check();
    ASSERT_EQ(SetItemInPlace(buf.data(), &size, capacity, 0, 0, "xy", 2), Status::Ok);  // insert first
    model.Set(0, 0, "xy", 2);
    check();
    ASSERT_EQ(SetItemInPlace(buf.data(), &size, capacity, 9, 9, "z", 1), Status::Ok);  // append
    model.Set(9, 9, "z", 1);
    check();
    ASSERT_EQ(SetItemInPlace(buf.data(), &size, capacity, 4, 0, nullptr, 0), Status::Ok);  // empty item
    model.Set(4, 0, nullptr, 0);
    check();
    // Source inside the buffer itself (the bytes of item (1,0)).
    ItemRef ref;
    ASSERT_TRUE(FindItem(buf.data(), size, 1, 0, &ref));
    ASSERT_EQ(SetItemInPlace(buf.data(), &size, capacity, 0, 1, buf.data() + ref.dataOffset, ref.length), Status::Ok);
    model.Set(0, 1, "abc", 3);
    check();
    // Too big for the capacity: refused, nothing changed.
    std::vector<uint8_t> before(buf.begin(), buf.end());
    std::vector<uint8_t> huge(capacity, 1);
    EXPECT_EQ(SetItemInPlace(buf.data(), &size, capacity, 50, 0, huge.data(), capacity - size - 11),
              Status::ItemOutOfRange);
    EXPECT_EQ(buf, before);
    // Exactly filling it works.
    ASSERT_EQ(SetItemInPlace(buf.data(), &size, capacity, 50, 0, huge.data(), capacity - size - 12), Status::Ok);
    EXPECT_EQ(size, capacity);
    // Removal.
    EXPECT_TRUE(RemoveItemInPlace(buf.data(), &size, 50, 0));
    EXPECT_FALSE(RemoveItemInPlace(buf.data(), &size, 50, 0));
    check();
}
