#include "platform/zarn/ZarnBuilder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace zarn {

void ContainerBuilder::Set(uint32_t tag, uint32_t index, std::vector<uint8_t> bytes) {
    if (bytes.size() > kMaxFileSize) throw std::length_error("zarn item too large");
    items_[Key(tag, index)] = std::move(bytes);
}

void ContainerBuilder::Set(uint32_t tag, uint32_t index, const void* bytes, size_t length) {
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    Set(tag, index, std::vector<uint8_t>(p, p + length));
}

bool ContainerBuilder::Remove(uint32_t tag, uint32_t index) { return items_.erase(Key(tag, index)) != 0; }

const std::vector<uint8_t>* ContainerBuilder::Find(uint32_t tag, uint32_t index) const {
    auto it = items_.find(Key(tag, index));
    return it == items_.end() ? nullptr : &it->second;
}

std::vector<uint8_t> ContainerBuilder::Serialize(Flavour flavour) const {
    uint64_t total = kHeaderSize;
    for (const auto& kv : items_) total += kItemHeaderSize + kv.second.size();
    if (total > kMaxFileSize) throw std::length_error("zarn container too large");
    std::vector<uint8_t> out(static_cast<size_t>(total), 0);
    uint8_t* p = out.data();
    std::memcpy(p + kOffsetMagic, kMagic, 4);
    p[kOffsetVersion] = kFormatVersion;
    p[kOffsetFlavour] = static_cast<uint8_t>(flavour);
    WriteU16(p + kOffsetHeaderSize, static_cast<uint16_t>(kHeaderSize));
    WriteU32(p + kOffsetTotalLength, static_cast<uint32_t>(total));
    WriteU32(p + kOffsetItemCount, static_cast<uint32_t>(items_.size()));
    size_t pos = kHeaderSize;
    for (const auto& kv : items_) {
        WriteU32(p + pos, kv.first.first);
        WriteU32(p + pos + 4, kv.first.second);
        WriteU32(p + pos + 8, static_cast<uint32_t>(kv.second.size()));
        if (!kv.second.empty()) std::memcpy(p + pos + kItemHeaderSize, kv.second.data(), kv.second.size());
        pos += kItemHeaderSize + kv.second.size();
    }
    UpdateChecksum(p, out.size());
    return out;
}

namespace {
bool CopyItem(const ItemRef& item, void* context) {
    auto* ctx = static_cast<std::pair<const uint8_t*, ContainerBuilder*>*>(context);
    ctx->second->Set(item.tag, item.index, ctx->first + item.dataOffset, item.length);
    return true;
}
}  // namespace

ParseResult LoadContainer(const uint8_t* data, size_t size, ContainerBuilder* out, uint8_t* flavour) {
    ParseResult r = Parse(data, size);
    if (out) out->Clear();
    if (!r.ok()) return r;
    if (flavour) *flavour = r.flavour;
    if (out) {
        std::pair<const uint8_t*, ContainerBuilder*> ctx(data, out);
        ForEachItem(data, size, &CopyItem, &ctx);
    }
    return r;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error) {
    bytes->clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (error) *error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes->insert(bytes->end(), buf, buf + n);
    bool bad = std::ferror(f) != 0;
    std::fclose(f);
    if (bad) {
        if (error) *error = "cannot read " + path;
        return false;
    }
    return true;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        if (error) *error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok && error) *error = "cannot write " + path;
    return ok;
}

}  // namespace zarn
