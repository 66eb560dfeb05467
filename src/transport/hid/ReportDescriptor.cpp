#include "ReportDescriptor.h"

#include <algorithm>

namespace ql::hid {

namespace {

constexpr int kMaxDepth = 32;
constexpr size_t kMaxPush = 16;
constexpr uint64_t kMaxBits = (ReportDescriptor::kMaxReportLength - 1) * 8;

enum ItemType { Main = 0, Global = 1, Local = 2 };
enum MainTag { InputItem = 0x8, OutputItem = 0x9, CollectionItem = 0xA, FeatureItem = 0xB, EndCollectionItem = 0xC };
enum GlobalTag {
    UsagePageItem = 0x0,
    ReportSizeItem = 0x7,
    ReportIdItem = 0x8,
    ReportCountItem = 0x9,
    PushItem = 0xA,
    PopItem = 0xB
};
enum LocalTag { UsageItem = 0x0 };

struct Globals {
    uint32_t usagePage = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

}  // namespace

ReportDescriptor::ReportDescriptor()
{
    for (auto& owners : owner_)
        owners.fill(-1);
}

std::optional<ReportDescriptor> ReportDescriptor::parse(const uint8_t* bytes, size_t size)
{
    if (!bytes || size == 0 || size > kMaxSize)
        return std::nullopt;

    ReportDescriptor d;
    Globals globals;
    std::vector<Globals> pushed;
    bool hasUsage = false;       // a Usage came since the last main item
    uint32_t usage = 0;          // the first one
    bool usageExtended = false;  // a four-byte Usage carries its own page
    int depth = 0;
    int topLevel = -1;  // index of the top-level collection being read

    size_t at = 0;
    while (at < size) {
        const uint8_t prefix = bytes[at];
        if (prefix == 0xFE) {  // long item: skipped, but must fit
            if (size - at < 3 || size - at - 3 < bytes[at + 1])
                return std::nullopt;
            at += 3 + size_t{bytes[at + 1]};
            continue;
        }
        const size_t length = (prefix & 3) == 3 ? 4 : (prefix & 3);
        if (size - at - 1 < length)
            return std::nullopt;
        uint32_t value = 0;
        for (size_t k = 0; k < length; ++k)
            value |= uint32_t{bytes[at + 1 + k]} << (8 * k);
        const int type = (prefix >> 2) & 3;
        const int tag = prefix >> 4;
        at += 1 + length;

        if (type == Main) {
            switch (tag) {
            case CollectionItem:
                if (depth == 0) {
                    CollectionUsage c{static_cast<uint16_t>(globals.usagePage), 0};
                    if (hasUsage) {
                        c.usage = static_cast<uint16_t>(usage & 0xFFFF);
                        if (usageExtended)
                            c.usagePage = static_cast<uint16_t>(usage >> 16);
                    }
                    d.collections_.push_back(c);
                    topLevel = static_cast<int>(d.collections_.size() - 1);
                }
                if (++depth > kMaxDepth)
                    return std::nullopt;
                break;
            case EndCollectionItem:
                if (depth == 0)
                    return std::nullopt;
                if (--depth == 0)
                    topLevel = -1;
                break;
            case InputItem:
            case OutputItem:
            case FeatureItem: {
                const size_t kind = tag == InputItem ? 0 : tag == OutputItem ? 1 : 2;
                uint32_t& bits = d.bits_[kind][globals.reportId];
                const uint64_t added = uint64_t{globals.reportSize} * globals.reportCount;
                bits = static_cast<uint32_t>(std::min<uint64_t>(bits + added, kMaxBits));
                if (topLevel >= 0 && d.owner_[kind][globals.reportId] < 0)
                    d.owner_[kind][globals.reportId] = static_cast<int16_t>(topLevel);
                break;
            }
            default:
                break;
            }
            hasUsage = false;
            usage = 0;
            usageExtended = false;
        } else if (type == Global) {
            switch (tag) {
            case UsagePageItem:
                globals.usagePage = value;
                break;
            case ReportSizeItem:
                globals.reportSize = value;
                break;
            case ReportCountItem:
                globals.reportCount = value;
                break;
            case ReportIdItem:
                if (value == 0 || value > 255)
                    return std::nullopt;
                globals.reportId = static_cast<uint8_t>(value);
                d.numbered_ = true;
                break;
            case PushItem:
                if (pushed.size() >= kMaxPush)
                    return std::nullopt;
                pushed.push_back(globals);
                break;
            case PopItem:
                if (pushed.empty())
                    return std::nullopt;
                globals = pushed.back();
                pushed.pop_back();
                break;
            default:
                break;
            }
        } else if (type == Local && tag == UsageItem && !hasUsage) {
            hasUsage = true;
            usage = value;
            usageExtended = length == 4;
        }
    }
    if (depth != 0)
        return std::nullopt;
    return d;
}

std::optional<size_t> ReportDescriptor::collectionOfInput(uint8_t reportId) const
{
    if (!numbered_) {
        if (collections_.size() == 1)
            return 0;
        return std::nullopt;
    }
    const int16_t owner = owner_[0][reportId];
    if (owner < 0)
        return std::nullopt;
    return static_cast<size_t>(owner);
}

size_t ReportDescriptor::reportLength(ReportType type, uint8_t reportId) const
{
    if (numbered_ == (reportId == 0))
        return 0;
    const uint32_t bits = bits_[static_cast<size_t>(type)][reportId];
    if (bits == 0)
        return 0;
    return 1 + (size_t{bits} + 7) / 8;
}

std::vector<ReportDescriptor::Report> ReportDescriptor::reports() const
{
    std::vector<Report> all;
    for (size_t kind = 0; kind < 3; ++kind) {
        for (size_t id = 0; id < 256; ++id) {
            const auto type = static_cast<ReportType>(kind);
            const size_t length = reportLength(type, static_cast<uint8_t>(id));
            if (length != 0)
                all.push_back(Report{type, static_cast<uint8_t>(id), length, owner_[kind][id]});
        }
    }
    return all;
}

}  // namespace ql::hid
