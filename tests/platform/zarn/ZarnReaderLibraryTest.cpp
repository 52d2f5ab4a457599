// The reader libraries through the real path: record files written to disk,
// read into an image as the caller does, libzarn90.so / libzarn80.so opened
// with dlopen from MORVELANCE_ZARN_DIR.
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/zarn/ZarnBuilder.h"
#include "platform/zarn/ZarnReader.h"
#include "tests/platform/zarn/ZarnTestUtil.h"

using namespace zarn;
using zarntest::Image;

namespace {

ContainerBuilder Items() {
    ContainerBuilder b;
    b.Set(3001, 0, std::vector<uint8_t>{'I', 'D', '0', '1', 0});
    b.Set(3700, 0, std::vector<uint8_t>(1000, 0x11));
    b.Set(3849, 12, std::vector<uint8_t>{1, 2, 3, 4, 5, 6});
    b.Set(5004, 0, std::vector<uint8_t>{2, 0, 0, 0});
    b.Set(5004, 1, std::vector<uint8_t>{10, 0, 0, 0});
    b.Set(5004, 2, std::vector<uint8_t>{20, 0, 0, 0});
    return b;
}

// Writes the container to a file and reads it back into an image.
Image ImageVia(const std::string& dir, const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = dir + "/" + name;
    zarntest::WriteFile(path, bytes);
    return zarntest::ImageOfFile(path);
}

}  // namespace

TEST(ZarnReaderLibrary, ExportsOnlyTheTwoEntryPoints) {
    ZARN_LOAD_READERS(r90, r80);
    for (const zarntest::ReaderLib* lib : {&r90, &r80}) {
        EXPECT_NE(dlsym(lib->handle(), "efGetData"), nullptr);
        EXPECT_NE(dlsym(lib->handle(), "efSetData"), nullptr);
        EXPECT_EQ(dlsym(lib->handle(), "ReaderGetData"), nullptr);
        EXPECT_EQ(dlsym(lib->handle(), "_ZN4zarn5ParseEPKhmRKNS_12ParseOptionsE"), nullptr);
        // The dynamic symbol table, when nm is available.
        std::string cmd = "nm -D --defined-only '" + lib->path() + "' 2>/dev/null";
        FILE* p = popen(cmd.c_str(), "r");
        if (!p) continue;
        char line[512];
        std::vector<std::string> names;
        while (fgets(line, sizeof line, p)) {
            std::string s(line);
            while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
            size_t sp = s.find_last_of(' ');
            std::string name = sp == std::string::npos ? s : s.substr(sp + 1);
            if (name.find('@') != std::string::npos || name.empty()) continue;  // version definitions
            names.push_back(name);
        }
        int rc = pclose(p);
        if (rc != 0 || names.empty()) continue;  // no nm here
        for (const std::string& n : names) EXPECT_TRUE(n == "efGetData" || n == "efSetData") << lib->path() << " exports " << n;
    }
}

TEST(ZarnReaderLibrary, ProbeAcceptsOnlyItsFlavour) {
    ZARN_LOAD_READERS(r90, r80);
    const std::string dir = zarntest::MakeTempDir("probe");
    Image newer = ImageVia(dir, "n.ecg", Items().Serialize(Flavour::Newer90));
    Image older = ImageVia(dir, "o.ecg", Items().Serialize(Flavour::Older80));
    EXPECT_NE(r90.Probe(newer.image()), 0);
    EXPECT_NE(r80.Probe(older.image()), 0);

    Image newer2 = ImageVia(dir, "n2.ecg", Items().Serialize(Flavour::Newer90));
    Image older2 = ImageVia(dir, "o2.ecg", Items().Serialize(Flavour::Older80));
    EXPECT_EQ(r80.Probe(newer2.image()), 0);
    EXPECT_EQ(r90.Probe(older2.image()), 0);
    // A refused image answers nothing.
    EXPECT_EQ(r80.Get(newer2.image(), 3001, 0, nullptr, 0), 0);
    EXPECT_EQ(r90.Get(older2.image(), 3001, 0, nullptr, 0), 0);
    uint8_t x = 1;
    EXPECT_EQ(r90.Set(older2.image(), 3001, 0, &x, 1), 0);
    EXPECT_EQ(r90.Commit(older2.image()), 0);
    // The fallback the system does: the newer reader first, then the older one.
    EXPECT_NE(r80.Probe(older2.image()), 0);
    EXPECT_EQ(r80.Item(older2.image(), 3001, 0), (std::vector<uint8_t>{'I', 'D', '0', '1', 0}));
}

TEST(ZarnReaderLibrary, NullAndUnprobedImagesAnswerNothing) {
    ZARN_LOAD_READERS(r90, r80);
    for (const zarntest::ReaderLib* lib : {&r90, &r80}) {
        uint8_t buf[8];
        EXPECT_EQ(lib->Get(nullptr, ZARN_TAG_PROBE, 0, nullptr, 0), 0);
        EXPECT_EQ(lib->Get(nullptr, 3001, 0, buf, 8), 0);
        EXPECT_EQ(lib->Set(nullptr, 3001, 0, buf, 8), 0);
        EXPECT_EQ(lib->Commit(nullptr), 0);
        Image img(Items().Serialize(lib == &r90 ? Flavour::Newer90 : Flavour::Older80));
        // Never probed: nothing answers.
        EXPECT_EQ(lib->Get(img.image(), 3001, 0, nullptr, 0), 0);
        EXPECT_EQ(lib->Get(img.image(), 3001, 0, buf, 8), 0);
        EXPECT_EQ(lib->Set(img.image(), 3001, 0, buf, 8), 0);
        EXPECT_EQ(lib->Commit(img.image()), 0);
        // The probe takes no arguments.
        EXPECT_EQ(lib->Get(img.image(), ZARN_TAG_PROBE, 1, nullptr, 0), 0);
        EXPECT_EQ(lib->Get(img.image(), ZARN_TAG_PROBE, 0, buf, 8), 0);
        EXPECT_EQ(lib->Get(img.image(), ZARN_TAG_PROBE, 0, nullptr, 8), 0);
        EXPECT_FALSE(ReadWorkArea(img.image(), lib == &r90 ? Flavour::Newer90 : Flavour::Older80).accepted);
        EXPECT_NE(lib->Probe(img.image()), 0);
        EXPECT_EQ(lib->Get(img.image(), 3001, 0, nullptr, 0), 5);
    }
}

TEST(ZarnReaderLibrary, SizeQueriesGiveItemLengthsAndReadsCopyThem) {
    ZARN_LOAD_READERS(r90, r80);
    const std::string dir = zarntest::MakeTempDir("reads");
    for (const zarntest::ReaderLib* lib : {&r90, &r80}) {
        const Flavour f = lib == &r90 ? Flavour::Newer90 : Flavour::Older80;
        Image img = ImageVia(dir, "r.ecg", Items().Serialize(f));
        ZarnImage* im = img.image();
        ASSERT_NE(lib->Probe(im), 0);
        EXPECT_EQ(lib->Get(im, 3001, 0, nullptr, 0), 5);
        EXPECT_EQ(lib->Get(im, 3700, 0, nullptr, 0), 1000);
        EXPECT_EQ(lib->Get(im, 3849, 12, nullptr, 0), 6);
        EXPECT_EQ(lib->Get(im, 5004, 2, nullptr, 0), 4);
        // Absent items.
        EXPECT_EQ(lib->Get(im, 3002, 0, nullptr, 0), 0);
        EXPECT_EQ(lib->Get(im, 3849, 13, nullptr, 0), 0);
        EXPECT_EQ(lib->Get(im, 5004, 3, nullptr, 0), 0);
        EXPECT_EQ(lib->Get(im, 3001, (uintptr_t(1) << 32), nullptr, 0), 0);
        uint8_t buf[16];
        std::memset(buf, 0xEE, sizeof buf);
        EXPECT_EQ(lib->Get(im, 3002, 0, buf, 16), 0);
        // Whole item into a bigger buffer: the byte count, the rest untouched.
        EXPECT_EQ(lib->Get(im, 3849, 12, buf, 16), 6);
        EXPECT_EQ(std::memcmp(buf, "\x01\x02\x03\x04\x05\x06", 6), 0);
        EXPECT_EQ(buf[6], 0xEE);
        // Short buffer: what fits, nothing past it.
        std::memset(buf, 0xEE, sizeof buf);
        EXPECT_EQ(lib->Get(im, 3849, 12, buf, 4), 4);
        EXPECT_EQ(std::memcmp(buf, "\x01\x02\x03\x04", 4), 0);
        EXPECT_EQ(buf[4], 0xEE);
        EXPECT_EQ(lib->Get(im, 3849, 12, buf, 0), 0);
        EXPECT_EQ(lib->Get(im, 3849, 12, buf, -5), 0);
        EXPECT_EQ(buf[0], 0x01);
        std::vector<uint8_t> big(1000);
        EXPECT_EQ(lib->Get(im, 3700, 0, big.data(), 1000), 1000);
        EXPECT_EQ(big, std::vector<uint8_t>(1000, 0x11));
        // Reader tags are not items.
        EXPECT_EQ(lib->Get(im, ZARN_TAG_COMMIT, 0, nullptr, 0), 0);
    }
}

TEST(ZarnReaderLibrary, SetAndCommitWriteBackWhatARereadFinds) {
    ZARN_LOAD_READERS(r90, r80);
    const std::string dir = zarntest::MakeTempDir("roundtrip");
    for (const zarntest::ReaderLib* lib : {&r90, &r80}) {
        const Flavour f = lib == &r90 ? Flavour::Newer90 : Flavour::Older80;
        const std::string path = dir + (f == Flavour::Newer90 ? "/rt90.ecg" : "/rt80.ecg");
        zarntest::WriteFile(path, Items().Serialize(f));
        ContainerBuilder expected = Items();
        {
            Image img = zarntest::ImageOfFile(path);
            ZarnImage* im = img.image();
            ASSERT_NE(lib->Probe(im), 0);
            const uint32_t before = img.fileLength();
            // Replace with the same size, grow, shrink, add, add empty.
            const char* name = "\xBB\xB3\xC5\xC4 \xC2\xC0\xCF\xBA";  // EUC-JP
            std::vector<uint8_t> nameBytes(name, name + std::strlen(name) + 1);
            ASSERT_NE(lib->Set(im, 3002, 0, nameBytes.data(), static_cast<long>(nameBytes.size())), 0);
            expected.Set(3002, 0, nameBytes);
            std::vector<uint8_t> grown(3000, 0x22);
            ASSERT_NE(lib->Set(im, 3700, 0, grown.data(), 3000), 0);
            expected.Set(3700, 0, grown);
            ASSERT_NE(lib->Set(im, 3001, 0, "X", 1), 0);
            expected.Set(3001, 0, "X", 1);
            ASSERT_NE(lib->Set(im, 4081, 7, "abc", 3), 0);
            expected.Set(4081, 7, "abc", 3);
            ASSERT_NE(lib->Set(im, 3727, 0, nullptr, 0), 0);
            expected.Set(3727, 0, nullptr, 0);
            EXPECT_EQ(img.fileLength(), before + (12 + nameBytes.size()) + 2000 - 4 + (12 + 3) + 12);
            // The set items read back at once, and the structure is valid
            // (only the checksum waits for the commit).
            EXPECT_EQ(lib->Item(im, 3700, 0), grown);
            EXPECT_EQ(lib->Item(im, 3002, 0), nameBytes);
            ParseOptions noCrc;
            noCrc.verifyChecksum = false;
            EXPECT_TRUE(Parse(img.fileBytes(), img.fileLength(), noCrc).ok());
            EXPECT_TRUE(ReadWorkArea(im, f).checksumStale);
            ASSERT_NE(lib->Commit(im), 0);
            EXPECT_FALSE(ReadWorkArea(im, f).checksumStale);
            EXPECT_TRUE(Parse(img.fileBytes(), img.fileLength()).ok());
            zarntest::WriteFile(path, img.FileContents());
        }
        // Re-read from disk into a fresh image.
        std::vector<uint8_t> disk = zarntest::ReadFile(path);
        ContainerBuilder got;
        uint8_t flavour = 0;
        ParseResult r = LoadContainer(disk.data(), disk.size(), &got, &flavour);
        ASSERT_TRUE(r.ok()) << StatusName(r.status) << " at " << r.errorOffset;
        EXPECT_EQ(flavour, static_cast<uint8_t>(f));
        EXPECT_EQ(got.Items(), expected.Items());
        Image again = zarntest::ImageOfFile(path);
        ASSERT_NE(lib->Probe(again.image()), 0);
        for (const auto& kv : expected.Items())
            EXPECT_EQ(lib->Item(again.image(), kv.first.first, kv.first.second), kv.second)
                << kv.first.first << "/" << kv.first.second;
        // The other reader still refuses it.
        const zarntest::ReaderLib* other = lib == &r90 ? &r80 : &r90;
        EXPECT_EQ(other->Probe(again.image()), 0);
    }
}

TEST(ZarnReaderLibrary, SetBeyondTheSpareIsRefused) {
    ZARN_LOAD_READERS(r90, r80);
    for (const zarntest::ReaderLib* lib : {&r90, &r80}) {
        const Flavour f = lib == &r90 ? Flavour::Newer90 : Flavour::Older80;
        Image img(Items().Serialize(f));
        ZarnImage* im = img.image();
        ASSERT_NE(lib->Probe(im), 0);
        const uint32_t original = img.fileLength();
        const uint32_t capacity = original + ZARN_IMAGE_SPARE;
        EXPECT_EQ(ReadWorkArea(im, f).capacity, capacity);
        std::vector<uint8_t> big(ZARN_IMAGE_SPARE, 0x5A);
        // A new item costs 12 header bytes: 80001 - 12 fits, one more does not.
        const std::vector<uint8_t> snapshot = img.block();
        EXPECT_EQ(lib->Set(im, 6000, 0, big.data(), ZARN_IMAGE_SPARE - 11), 0);
        EXPECT_EQ(img.block(), snapshot) << "a refused set changed the image";
        EXPECT_EQ(lib->Set(im, 6000, 0, big.data(), ZARN_IMAGE_SPARE), 0);
        ASSERT_NE(lib->Set(im, 6000, 0, big.data(), ZARN_IMAGE_SPARE - 12), 0);
        EXPECT_EQ(img.fileLength(), capacity);
        EXPECT_EQ(ZARN_IMAGE_HEADER_SIZE + img.fileLength(), img.allocated());
        // Full: growing anything fails, replacing at the same size works.
        EXPECT_EQ(lib->Set(im, 3001, 0, "123456", 6), 0);
        EXPECT_NE(lib->Set(im, 3001, 0, "ABCDE", 5), 0);
        EXPECT_NE(lib->Commit(im), 0);
        EXPECT_TRUE(Parse(img.fileBytes(), img.fileLength()).ok());
        // A second probe of the grown file does not raise the capacity.
        ASSERT_NE(lib->Probe(im), 0);
        EXPECT_EQ(ReadWorkArea(im, f).capacity, capacity);
        EXPECT_EQ(lib->Set(im, 6001, 0, "x", 1), 0);
        // Shrinking frees room again.
        ASSERT_NE(lib->Set(im, 6000, 0, big.data(), 100), 0);
        EXPECT_NE(lib->Set(im, 6001, 0, "x", 1), 0);
        EXPECT_NE(lib->Commit(im), 0);
        EXPECT_TRUE(Parse(img.fileBytes(), img.fileLength()).ok());
    }
}

TEST(ZarnReaderLibrary, SecondProbeAfterAShrinkingCommitKeepsTheCapacity) {
    ZARN_LOAD_READERS(r90, r80);
    for (const zarntest::ReaderLib* lib : {&r90, &r80}) {
        const Flavour f = lib == &r90 ? Flavour::Newer90 : Flavour::Older80;
        Image img(Items().Serialize(f));
        ZarnImage* im = img.image();
        ASSERT_NE(lib->Probe(im), 0);
        const uint32_t capacity = ReadWorkArea(im, f).capacity;
        // The file shrinks by the emptied item's five bytes and is committed.
        ASSERT_NE(lib->Set(im, 3001, 0, "", 0), 0);
        ASSERT_NE(lib->Commit(im), 0);
        ASSERT_LT(img.fileLength() + ZARN_IMAGE_SPARE, capacity);
        ASSERT_NE(lib->Probe(im), 0);
        EXPECT_EQ(ReadWorkArea(im, f).capacity, capacity);
        // The whole block is still usable: the file grows to its end.
        std::vector<uint8_t> fill(capacity - img.fileLength() - 12, 0x33);
        EXPECT_NE(lib->Set(im, 6000, 0, fill.data(), static_cast<long>(fill.size())), 0);
        EXPECT_EQ(img.fileLength(), capacity);
    }
}

TEST(ZarnReaderLibrary, SecondProbeRefusesAFileLongerThanTheCapacity) {
    ZARN_LOAD_READERS(r90, r80);
    for (const zarntest::ReaderLib* lib : {&r90, &r80}) {
        const Flavour f = lib == &r90 ? Flavour::Newer90 : Flavour::Older80;
        Image img(Items().Serialize(f));
        ZarnImage* im = img.image();
        ASSERT_NE(lib->Probe(im), 0);
        // The work area claims a smaller block than the file now needs.
        const uint32_t shrunk = img.fileLength() - 1;
        std::memcpy(im->work + zarn::kWorkOffsetCapacity, &shrunk, 4);
        EXPECT_EQ(lib->Probe(im), 0);
        EXPECT_FALSE(ReadWorkArea(im, f).accepted);
    }
}

TEST(ZarnReaderLibrary, RefusesBadSetArguments) {
    ZARN_LOAD_READERS(r90, r80);
    for (const zarntest::ReaderLib* lib : {&r90, &r80}) {
        Image img(Items().Serialize(lib == &r90 ? Flavour::Newer90 : Flavour::Older80));
        ZarnImage* im = img.image();
        ASSERT_NE(lib->Probe(im), 0);
        const std::vector<uint8_t> snapshot = img.block();
        EXPECT_EQ(lib->Set(im, 3001, 0, nullptr, 4), 0);
        EXPECT_EQ(lib->Set(im, 3001, 0, "abcd", -1), 0);
        EXPECT_EQ(lib->Set(im, ZARN_TAG_PROBE, 0, "abcd", 4), 0);
        EXPECT_EQ(lib->Set(im, 5002, 0, "abcd", 4), 0);
        EXPECT_EQ(lib->Set(im, 3001, uintptr_t(1) << 33, "abcd", 4), 0);
        // A length past 4 GiB is refused, not cut to its low 32 bits (4).
        if (sizeof(long) > 4) {
            EXPECT_EQ(lib->Set(im, 3001, 0, "abcd", static_cast<long>((1ULL << 32) + 4)), 0);
        }
        EXPECT_EQ(img.block(), snapshot);
    }
}

TEST(ZarnReaderLibrary, OnlyTheNewerReaderTakesTheBuildText) {
    ZARN_LOAD_READERS(r90, r80);
    const wchar_t* build = L"morvelance 0.1.0 (x86_64) 検査";
    const std::string utf8 = "morvelance 0.1.0 (x86_64) \xE6\xA4\x9C\xE6\x9F\xBB";
    {
        Image img(Items().Serialize(Flavour::Newer90));
        ZarnImage* im = img.image();
        ASSERT_NE(r90.Probe(im), 0);
        EXPECT_EQ(r90.Get(im, ZARN_TAG_BUILD, 0, nullptr, 0), 0);  // nothing sent yet
        const std::vector<uint8_t> fileBefore = img.FileContents();
        ASSERT_NE(r90.Set(im, ZARN_TAG_BUILD, reinterpret_cast<uintptr_t>(build), nullptr, 0), 0);
        EXPECT_EQ(r90.Get(im, ZARN_TAG_BUILD, 0, nullptr, 0), static_cast<long>(utf8.size()));
        std::vector<uint8_t> got = r90.Item(im, ZARN_TAG_BUILD, 0);
        EXPECT_EQ(std::string(got.begin(), got.end()), utf8);
        EXPECT_EQ(img.FileContents(), fileBefore) << "the build text is not a record item";
        EXPECT_EQ(r90.Set(im, ZARN_TAG_BUILD, 0, nullptr, 0), 0);  // null text
        // A long text is cut at a character boundary to what the work area holds.
        std::wstring longText(200, L'検');
        ASSERT_NE(r90.Set(im, ZARN_TAG_BUILD, reinterpret_cast<uintptr_t>(longText.c_str()), nullptr, 0), 0);
        got = r90.Item(im, ZARN_TAG_BUILD, 0);
        EXPECT_EQ(got.size(), kWorkBuildTextMax / 3 * 3);
        EXPECT_EQ(got.size() % 3, 0u);
    }
    {
        Image img(Items().Serialize(Flavour::Older80));
        ZarnImage* im = img.image();
        ASSERT_NE(r80.Probe(im), 0);
        const std::vector<uint8_t> snapshot = img.block();
        EXPECT_EQ(r80.Set(im, ZARN_TAG_BUILD, reinterpret_cast<uintptr_t>(build), nullptr, 0), 0);
        EXPECT_EQ(img.block(), snapshot) << "the older reader stored something for 5003";
        EXPECT_EQ(r80.Get(im, ZARN_TAG_BUILD, 0, nullptr, 0), 0);
        uint8_t buf[64];
        EXPECT_EQ(r80.Get(im, ZARN_TAG_BUILD, 0, buf, 64), 0);
    }
}

// Characters at the edges of the UTF-8 lengths, and values that are no
// character (a surrogate, past U+10FFFF), which become U+FFFD.
TEST(ZarnReaderLibrary, TheBuildTextIsKeptAsUtf8AtEveryCharacterLength) {
    ZARN_LOAD_READERS(r90, r80);
    Image img(Items().Serialize(Flavour::Newer90));
    ASSERT_NE(r90.Probe(img.image()), 0);
    const wchar_t text[] = {0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF, 0xD800, 0x110000, 0};
    ASSERT_NE(r90.Set(img.image(), ZARN_TAG_BUILD, reinterpret_cast<uintptr_t>(text), nullptr, 0), 0);
    const std::vector<uint8_t> expected = {
        0x7F,                     // U+007F
        0xC2, 0x80,               // U+0080
        0xDF, 0xBF,               // U+07FF
        0xE0, 0xA0, 0x80,         // U+0800
        0xEF, 0xBF, 0xBF,         // U+FFFF
        0xF0, 0x90, 0x80, 0x80,   // U+10000
        0xF4, 0x8F, 0xBF, 0xBF,   // U+10FFFF
        0xEF, 0xBF, 0xBD,         // U+D800 -> U+FFFD
        0xEF, 0xBF, 0xBD,         // 0x110000 -> U+FFFD
    };
    EXPECT_EQ(expected, r90.Item(img.image(), ZARN_TAG_BUILD, 0));
}

// A file damaged after it was accepted: the next probe refuses it and takes
// the acceptance back, so nothing more is answered from it.
TEST(ZarnReaderLibrary, AFailedProbeOfAnAcceptedImageTakesTheAcceptanceBack) {
    ZARN_LOAD_READERS(r90, r80);
    for (const zarntest::ReaderLib* lib : {&r90, &r80}) {
        const Flavour f = lib == &r90 ? Flavour::Newer90 : Flavour::Older80;
        Image img(Items().Serialize(f));
        ASSERT_NE(lib->Probe(img.image()), 0);
        ASSERT_EQ(lib->Get(img.image(), 3001, 0, nullptr, 0), 5);
        img.fileBytes()[img.fileLength() - 1] ^= 0x40;   // the checksum no longer holds
        EXPECT_EQ(lib->Probe(img.image()), 0);
        EXPECT_FALSE(ReadWorkArea(img.image(), f).accepted);
        EXPECT_EQ(lib->Get(img.image(), 3001, 0, nullptr, 0), 0);
        EXPECT_EQ(lib->Set(img.image(), 3001, 0, "x", 1), 0);
        // The other reader's acceptance is not its to take back.
        const zarntest::ReaderLib* other = lib == &r90 ? &r80 : &r90;
        Image mine(Items().Serialize(f));
        ASSERT_NE(lib->Probe(mine.image()), 0);
        EXPECT_EQ(other->Probe(mine.image()), 0);
        EXPECT_TRUE(ReadWorkArea(mine.image(), f).accepted);
        EXPECT_EQ(lib->Get(mine.image(), 3001, 0, nullptr, 0), 5);
    }
}

TEST(ZarnReaderLibrary, MalformedFilesAreRefusedWithTheirPosition) {
    ZARN_LOAD_READERS(r90, r80);
    const std::string dir = zarntest::MakeTempDir("malformed");
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        Status status;
        uint32_t offset;
    };
    const std::vector<uint8_t> good = Items().Serialize(Flavour::Newer90);
    const uint32_t firstItem = kHeaderSize, secondItem = kHeaderSize + 12 + 5;
    auto fix = [](std::vector<uint8_t> v) {
        WriteU32(v.data() + kOffsetTotalLength, static_cast<uint32_t>(v.size()));
        UpdateChecksum(v.data(), v.size());
        return v;
    };
    std::vector<Case> cases;
    cases.push_back({"empty", {}, Status::Empty, 0});
    cases.push_back({"short", std::vector<uint8_t>(good.begin(), good.begin() + 12), Status::HeaderTruncated, 12});
    cases.push_back({"foreign", std::vector<uint8_t>(100, 'x'), Status::BadMagic, 0});
    {
        auto v = good;
        v[kOffsetVersion] = 3;
        cases.push_back({"version", fix(v), Status::BadVersion, kOffsetVersion});
    }
    {
        auto v = good;
        v[kOffsetFlavour] = 0;
        cases.push_back({"flavour", fix(v), Status::UnknownFlavour, kOffsetFlavour});
    }
    cases.push_back({"truncated", std::vector<uint8_t>(good.begin(), good.end() - 100), Status::LengthMismatch,
                     kOffsetTotalLength});
    {
        auto v = good;
        WriteU32(v.data() + secondItem + 8, 0x80000000u);
        cases.push_back({"out_of_range", fix(v), Status::ItemOutOfRange, secondItem + 8});
    }
    {
        auto v = good;
        WriteU32(v.data() + secondItem, 3000);
        cases.push_back({"out_of_order", fix(v), Status::ItemOutOfOrder, secondItem});
    }
    {
        auto v = good;
        WriteU32(v.data() + secondItem, 3001);  // duplicates (3001, 0)
        cases.push_back({"duplicate", fix(v), Status::ItemOutOfOrder, secondItem});
    }
    {
        auto v = good;
        WriteU32(v.data() + kOffsetItemCount, 7);
        cases.push_back({"count", fix(v), Status::ItemCountMismatch, static_cast<uint32_t>(v.size())});
    }
    {
        auto v = good;
        v.resize(v.size() - 4);  // the last item's bytes lost, its length kept
        cases.push_back({"last_item_cut", fix(v), Status::ItemOutOfRange, static_cast<uint32_t>(v.size() - 12 + 8)});
    }
    {
        auto v = good;
        v[firstItem + 12] ^= 0x20;
        cases.push_back({"checksum", v, Status::ChecksumMismatch, kOffsetCrc});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ParseResult r = Parse(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(r.status, c.status) << StatusName(r.status);
        EXPECT_EQ(r.errorOffset, c.offset);
        for (Flavour f : {Flavour::Newer90, Flavour::Older80}) {
            std::vector<uint8_t> bytes = c.bytes;
            if (bytes.size() > kOffsetFlavour && c.status != Status::UnknownFlavour && f == Flavour::Older80) {
                bytes[kOffsetFlavour] = 8;
                if (c.status != Status::ChecksumMismatch && bytes.size() >= kHeaderSize &&
                    c.status != Status::LengthMismatch)
                    UpdateChecksum(bytes.data(), bytes.size());
            }
            const std::string path = dir + "/" + c.name + (f == Flavour::Newer90 ? "_90.ecg" : "_80.ecg");
            zarntest::WriteFile(path, bytes);
            for (const zarntest::ReaderLib* lib : {&r90, &r80}) {
                Image img = zarntest::ImageOfFile(path);
                EXPECT_EQ(lib->Probe(img.image()), 0) << lib->path() << " accepted " << path;
                EXPECT_EQ(lib->Get(img.image(), 3001, 0, nullptr, 0), 0);
                EXPECT_EQ(lib->Set(img.image(), 3001, 0, "a", 1), 0);
            }
        }
    }
}

TEST(ZarnReaderLibrary, DamageAfterTheProbeStaysInBounds) {
    // The caller corrupts the bytes after an accepted probe: lookups fail
    // instead of reading outside the file (ASan would catch a stray read).
    ZARN_LOAD_READERS(r90, r80);
    Image img(Items().Serialize(Flavour::Newer90));
    ZarnImage* im = img.image();
    ASSERT_NE(r90.Probe(im), 0);
    WriteU32(img.fileBytes() + kHeaderSize + 8, 0xFFFFFFF0u);  // first item's length
    EXPECT_EQ(r90.Get(im, 5004, 2, nullptr, 0), 0);
    EXPECT_EQ(r90.Set(im, 5004, 2, "abcd", 4), 0);
    im->fileLength = 0xFFFFFFF0u;  // a length beyond the capacity
    EXPECT_EQ(r90.Get(im, 3001, 0, nullptr, 0), 0);
    EXPECT_EQ(r90.Set(im, 3001, 0, "a", 1), 0);
    EXPECT_EQ(r90.Commit(im), 0);
}
