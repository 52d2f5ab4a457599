// The item-offset index: lookups through the reader libraries on a record
// whose items repeat one tag thousands of times (as events and beats do),
// answered the same in any order and after writes that move the items; and
// the index itself on damaged or changed bytes.
#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/zarn/ItemIndex.h"
#include "platform/zarn/ZarnBuilder.h"
#include "platform/zarn/ZarnReader.h"
#include "tests/platform/zarn/ZarnTestUtil.h"

using namespace zarn;
using zarntest::Image;

namespace {

constexpr uint32_t kEventTag = 3849;
constexpr uint32_t kEvents = 5000;

// Item i of the event tag holds i * 7 + 3, and every seventh event carries a
// few more bytes, so that the offsets are not a multiple of one size.
std::vector<uint8_t> EventBytes(uint32_t i) {
    std::vector<uint8_t> bytes(4 + (i % 7 == 0 ? i % 5 : 0), 0xEE);
    WriteU32(bytes.data(), i * 7 + 3);
    return bytes;
}

ContainerBuilder ManyEvents() {
    ContainerBuilder b;
    b.Set(3001, 0, std::vector<uint8_t>{'I', 'D', 0});
    for (uint32_t i = 0; i < kEvents; ++i) b.Set(kEventTag, i, EventBytes(i));
    b.Set(5004, 0, std::vector<uint8_t>{1, 0, 0, 0});
    return b;
}

Image ImageOnDisk(const std::string& name, const std::vector<uint8_t>& file) {
    const std::string path = zarntest::MakeTempDir(name) + "/record.ecg";
    zarntest::WriteFile(path, file);
    return zarntest::ImageOfFile(path);
}

// Reads every event in the given order; returns the number that differ
// from the builder's.
int MismatchedEvents(const zarntest::ReaderLib& lib, ZarnImage* image, const ContainerBuilder& expected,
                     const std::vector<uint32_t>& order) {
    int wrong = 0;
    for (uint32_t i : order) {
        const std::vector<uint8_t>* want = expected.Find(kEventTag, i);
        const std::vector<uint8_t> got = lib.Item(image, kEventTag, i);
        if (want == nullptr ? !got.empty() : got != *want) ++wrong;
    }
    return wrong;
}

std::vector<uint32_t> InOrder() {
    std::vector<uint32_t> order(kEvents);
    std::iota(order.begin(), order.end(), 0u);
    return order;
}

std::vector<uint32_t> Shuffled() {
    std::vector<uint32_t> order = InOrder();
    std::mt19937 random(29);
    std::shuffle(order.begin(), order.end(), random);
    return order;
}

}  // namespace

TEST(ItemIndexThroughTheReader, ReadsEveryRepeatedItemInAndOutOfOrder) {
    ZARN_LOAD_READERS(r90, r80);
    const ContainerBuilder items = ManyEvents();
    Image img = ImageOnDisk("index_order", items.Serialize(Flavour::Newer90));
    ASSERT_NE(r90.Probe(img.image()), 0);
    EXPECT_EQ(MismatchedEvents(r90, img.image(), items, InOrder()), 0);
    EXPECT_EQ(MismatchedEvents(r90, img.image(), items, Shuffled()), 0);
    std::vector<uint32_t> backwards = InOrder();
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(MismatchedEvents(r90, img.image(), items, backwards), 0);
    EXPECT_TRUE(r90.Item(img.image(), kEventTag, kEvents).empty());
    EXPECT_TRUE(r90.Item(img.image(), kEventTag - 1, 0).empty());
}

TEST(ItemIndexThroughTheReader, SeesItemsMovedByAWriteAtOnce) {
    ZARN_LOAD_READERS(r90, r80);
    ContainerBuilder items = ManyEvents();
    Image img = ImageOnDisk("index_write", items.Serialize(Flavour::Older80));
    ASSERT_NE(r80.Probe(img.image()), 0);
    ASSERT_EQ(MismatchedEvents(r80, img.image(), items, Shuffled()), 0);

    // A longer first event moves every later one; a removed-and-inserted
    // middle shifts them again; a shorter one moves them back.
    const std::vector<uint8_t> longer(300, 0x42);
    ASSERT_EQ(r80.Set(img.image(), kEventTag, 0, longer.data(), static_cast<long>(longer.size())), 1);
    items.Set(kEventTag, 0, longer);
    EXPECT_EQ(MismatchedEvents(r80, img.image(), items, Shuffled()), 0);

    const std::vector<uint8_t> inserted{9, 9};
    ASSERT_EQ(r80.Set(img.image(), kEventTag, kEvents + 10, inserted.data(), 2), 1);
    items.Set(kEventTag, kEvents + 10, inserted);
    EXPECT_EQ(r80.Item(img.image(), kEventTag, kEvents + 10), inserted);
    EXPECT_EQ(MismatchedEvents(r80, img.image(), items, InOrder()), 0);

    ASSERT_EQ(r80.Set(img.image(), kEventTag, 0, "ab", 2), 1);
    items.Set(kEventTag, 0, std::vector<uint8_t>{'a', 'b'});
    EXPECT_EQ(MismatchedEvents(r80, img.image(), items, Shuffled()), 0);
    EXPECT_EQ(r80.Item(img.image(), 5004, 0), (std::vector<uint8_t>{1, 0, 0, 0}));

    // What the caller writes back reads the same after a commit and a new probe.
    ASSERT_EQ(r80.Commit(img.image()), 1);
    Image again(img.FileContents());
    ASSERT_NE(r80.Probe(again.image()), 0);
    EXPECT_EQ(MismatchedEvents(r80, again.image(), items, Shuffled()), 0);
}

TEST(ItemIndexThroughTheReader, ANewImageAtTheSameAddressIsNotAnsweredFromTheOldOne) {
    ZARN_LOAD_READERS(r90, r80);
    ContainerBuilder first = ManyEvents();
    ContainerBuilder second;
    for (uint32_t i = 0; i < 100; ++i) second.Set(kEventTag, i * 2, std::vector<uint8_t>{static_cast<uint8_t>(i)});
    std::vector<uint8_t> a = first.Serialize(Flavour::Newer90), b = second.Serialize(Flavour::Newer90);
    // One block, reused for the second file as a caller reusing its buffer would.
    std::vector<uint8_t> block(ZARN_IMAGE_HEADER_SIZE + std::max(a.size(), b.size()) + ZARN_IMAGE_SPARE, 0);
    ZarnImage* image = reinterpret_cast<ZarnImage*>(block.data());
    image->fileLength = static_cast<uint32_t>(a.size());
    std::memcpy(ImageFileBytes(image), a.data(), a.size());
    ASSERT_NE(r90.Probe(image), 0);
    ASSERT_EQ(MismatchedEvents(r90, image, first, InOrder()), 0);

    std::fill(block.begin(), block.end(), 0);
    image->fileLength = static_cast<uint32_t>(b.size());
    std::memcpy(ImageFileBytes(image), b.data(), b.size());
    ASSERT_NE(r90.Probe(image), 0);
    EXPECT_EQ(MismatchedEvents(r90, image, second, InOrder()), 0);
}

TEST(ItemIndex, FindsWhatTheWalkFinds) {
    const std::vector<uint8_t> file = ManyEvents().Serialize(Flavour::Newer90);
    ItemIndex index;
    ASSERT_TRUE(index.Build(file.data(), file.size()));
    EXPECT_EQ(index.Count(), kEvents + 2u);
    for (uint32_t i = 0; i < kEvents + 3; i += 97) {
        ItemRef walked, indexed;
        const bool w = FindItem(file.data(), file.size(), kEventTag, i, &walked);
        ASSERT_EQ(index.Find(file.data(), file.size(), kEventTag, i, &indexed), w) << i;
        if (!w) continue;
        EXPECT_EQ(indexed.dataOffset, walked.dataOffset);
        EXPECT_EQ(indexed.length, walked.length);
    }
}

TEST(ItemIndex, RefusesToIndexDamagedItems) {
    std::vector<uint8_t> file = ManyEvents().Serialize(Flavour::Newer90);
    ItemIndex index;
    std::vector<uint8_t> longItem = file;
    WriteU32(longItem.data() + kHeaderSize + 8, 0xFFFFFFF0u);
    EXPECT_FALSE(index.Build(longItem.data(), longItem.size()));
    EXPECT_FALSE(index.Find(longItem.data(), longItem.size(), kEventTag, 1, nullptr));

    std::vector<uint8_t> tooMany = file;
    WriteU32(tooMany.data() + kOffsetItemCount, 0x7FFFFFFFu);
    EXPECT_FALSE(index.Build(tooMany.data(), tooMany.size()));

    std::vector<uint8_t> truncated(file.begin(), file.end() - 3);
    EXPECT_FALSE(index.Build(truncated.data(), truncated.size()));
}

TEST(ItemIndex, AHitWhoseHeaderChangedIsNotFound) {
    std::vector<uint8_t> file = ManyEvents().Serialize(Flavour::Newer90);
    ItemIndex index;
    ASSERT_TRUE(index.Build(file.data(), file.size()));
    ItemRef ref;
    ASSERT_TRUE(index.Find(file.data(), file.size(), kEventTag, 10, &ref));
    WriteU32(file.data() + ref.headerOffset + 4, 11);  // now claims another index
    EXPECT_FALSE(index.Find(file.data(), file.size(), kEventTag, 10, nullptr));
    WriteU32(file.data() + ref.headerOffset + 4, 10);
    WriteU32(file.data() + ref.headerOffset + 8, 0x10000000u);  // runs past the end
    EXPECT_FALSE(index.Find(file.data(), file.size(), kEventTag, 10, nullptr));
    // A shorter range than the one indexed is not read past either.
    EXPECT_FALSE(index.Find(file.data(), ref.headerOffset + 6, kEventTag, 10, nullptr));
    EXPECT_FALSE(index.Describes(file.data(), file.size() - 1));
}
