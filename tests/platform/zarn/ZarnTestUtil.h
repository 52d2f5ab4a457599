// Helpers for the zarn tests: load the real reader libraries with dlopen, and
// build record images exactly as the caller does (header + file bytes +
// ZARN_IMAGE_SPARE zero bytes, fileLength set).
#pragma once

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/zarn/ZarnImage.h"
#include "tests/support/TestSupport.h"

namespace zarntest {

inline std::string ZarnDir() { return testsupport::ZarnDir(); }
inline std::string SharedData() { return testsupport::SharedDataDir(); }

inline bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// A reader library opened from MORVELANCE_ZARN_DIR.
class ReaderLib {
public:
    explicit ReaderLib(const std::string& fileName) : path_(ZarnDir() + "/" + fileName) {
        handle_ = ::dlopen(path_.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_) {
            const char* e = ::dlerror();
            error_ = e ? e : "dlopen failed";
            return;
        }
        get_ = reinterpret_cast<ZarnGetDataFn>(::dlsym(handle_, "efGetData"));
        set_ = reinterpret_cast<ZarnSetDataFn>(::dlsym(handle_, "efSetData"));
        if (!get_ || !set_) error_ = "efGetData/efSetData not exported by " + path_;
    }
    ~ReaderLib() {
        if (handle_) ::dlclose(handle_);
    }
    ReaderLib(const ReaderLib&) = delete;
    ReaderLib& operator=(const ReaderLib&) = delete;

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }
    void* handle() const { return handle_; }

    long Get(ZarnImage* image, unsigned tag, uintptr_t index, void* buffer, long length) const {
        return get_(image, tag, index, buffer, length);
    }
    long Set(ZarnImage* image, unsigned tag, uintptr_t index, const void* data, long length) const {
        return set_(image, tag, index, data, length);
    }
    long Probe(ZarnImage* image) const { return get_(image, ZARN_TAG_PROBE, 0, nullptr, 0); }
    long Commit(ZarnImage* image) const { return set_(image, ZARN_TAG_COMMIT, 0, nullptr, 0); }

    // The item through a size query and a read (empty when absent).
    std::vector<uint8_t> Item(ZarnImage* image, unsigned tag, uintptr_t index) const {
        long size = get_(image, tag, index, nullptr, 0);
        if (size <= 0) return {};
        std::vector<uint8_t> out(static_cast<size_t>(size));
        long got = get_(image, tag, index, out.data(), size);
        out.resize(got > 0 ? static_cast<size_t>(got) : 0);
        return out;
    }

private:
    std::string path_;
    void* handle_ = nullptr;
    ZarnGetDataFn get_ = nullptr;
    ZarnSetDataFn set_ = nullptr;
    std::string error_;
};

// One record image as the caller allocates it: exactly header + file + spare.
class Image {
public:
    explicit Image(const std::vector<uint8_t>& file)
        : block_(ZARN_IMAGE_HEADER_SIZE + file.size() + ZARN_IMAGE_SPARE, 0) {
        image()->fileLength = static_cast<uint32_t>(file.size());
        if (!file.empty()) std::memcpy(block_.data() + ZARN_IMAGE_HEADER_SIZE, file.data(), file.size());
    }
    ZarnImage* image() { return reinterpret_cast<ZarnImage*>(block_.data()); }
    uint32_t fileLength() { return image()->fileLength; }
    uint8_t* fileBytes() { return block_.data() + ZARN_IMAGE_HEADER_SIZE; }
    // What the caller writes back to disk: fileLength bytes from fileBytes.
    std::vector<uint8_t> FileContents() {
        return std::vector<uint8_t>(fileBytes(), fileBytes() + fileLength());
    }
    size_t allocated() const { return block_.size(); }
    const std::vector<uint8_t>& block() const { return block_; }

private:
    std::vector<uint8_t> block_;
};

inline std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A fresh folder for one test, removed when the test program ends.
inline std::string MakeTempDir(const std::string& name) {
    return testsupport::ProcessTempFolder("morvelance_zarn_" + name + "_");
}

// A record file read into an image, as the caller does.
inline Image ImageOfFile(const std::string& path) { return Image(ReadFile(path)); }

inline std::vector<int16_t> AsInt16(const std::vector<uint8_t>& bytes) {
    std::vector<int16_t> out(bytes.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return out;
}

inline int32_t AsInt32(const std::vector<uint8_t>& b) {
    if (b.size() < 4) return INT32_MIN;
    return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                                (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24));
}

}  // namespace zarntest

// Loads both readers once per test; fails the test when they cannot be loaded.
#define ZARN_LOAD_READERS(r90, r80)                                      \
    zarntest::ReaderLib r90("libzarn90.so"), r80("libzarn80.so");        \
    ASSERT_TRUE(r90.ok()) << r90.error();                                \
    ASSERT_TRUE(r80.ok()) << r80.error()
