#include "HidHarness.h"
#include "transport/hid/ReportDescriptor.h"

#include <gtest/gtest.h>

namespace ql::hid::test {
namespace {

std::optional<ReportDescriptor> parse(const std::vector<uint8_t>& bytes)
{
    return ReportDescriptor::parse(bytes.data(), bytes.size());
}

TEST(HidReportDescriptor, KeyboardNodeHasThreeTopLevelCollectionsAndRoutesByReportId)
{
    const auto d = parse(configNode(kConfigPath).descriptor);
    ASSERT_TRUE(d);
    // The nested logical collection (0xFF1C, 0x93) is no collection of its own.
    const std::vector<CollectionUsage> expected{{0x000C, 0x0001}, {0xFF1C, 0x0092}, {0x0008, 0x0089}};
    EXPECT_EQ(d->collections(), expected);
    EXPECT_TRUE(d->numbered());
    EXPECT_EQ(d->collectionOfInput(3), 0u);
    EXPECT_EQ(d->collectionOfInput(4), 1u);  // declared inside the nested collection
    EXPECT_EQ(d->collectionOfInput(5), std::nullopt);
    EXPECT_EQ(d->collectionOfInput(0), std::nullopt);
    EXPECT_EQ(d->reportLength(ReportType::Input, 3), 3u);
    EXPECT_EQ(d->reportLength(ReportType::Output, 4), 64u);
    EXPECT_EQ(d->reportLength(ReportType::Output, 5), 2u);
    EXPECT_EQ(d->reportLength(ReportType::Feature, 4), 0u);

    // What the log shows of the node: each report with the collection that declares it.
    const auto reports = d->reports();
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_EQ(reports[0].type, ReportType::Input);
    EXPECT_EQ(reports[0].id, 3);
    EXPECT_EQ(reports[0].collection, 0);
    EXPECT_EQ(reports[2].type, ReportType::Output);
    EXPECT_EQ(reports[2].id, 4);
    EXPECT_EQ(reports[2].length, 64u);
    EXPECT_EQ(reports[2].collection, 1);
    EXPECT_EQ(reports[3].id, 5);
    EXPECT_EQ(reports[3].collection, 2);
}

TEST(HidReportDescriptor, UnnumberedReportsBelongToTheOnlyCollection)
{
    const auto d = parse(bootNode(kBootPath).descriptor);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->collections(), (std::vector<CollectionUsage>{{0x0001, 0x0006}}));
    EXPECT_FALSE(d->numbered());
    EXPECT_EQ(d->collectionOfInput(0x37), 0u);
    EXPECT_EQ(d->reportLength(ReportType::Input, 0), 9u);  // the id byte hidraw leaves out, plus 8
    EXPECT_EQ(d->reportLength(ReportType::Input, 1), 0u);
}

TEST(HidReportDescriptor, CollectionUsageFollowsPageRules)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        std::vector<CollectionUsage> collections;
    };
    const Case cases[] = {
        {"a four-byte usage carries its own page",
         {0x05, 0x01, 0x0B, 0x92, 0x00, 0x1C, 0xFF, 0xA1, 0x01, 0xC0},
         {{0xFF1C, 0x0092}}},
        {"pop restores the page pushed",
         {0x05, 0x01, 0xA4, 0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0xC0, 0xB4, 0x09, 0x02, 0xA1, 0x01, 0xC0},
         {{0x000C, 0x0001}, {0x0001, 0x0002}}},
        {"the first of several usages names the collection",
         {0x05, 0x0C, 0x09, 0x01, 0x09, 0x02, 0xA1, 0x01, 0xC0},
         {{0x000C, 0x0001}}},
        {"a usage does not outlive the main item after it",
         {0x05, 0x01, 0x09, 0x06, 0x81, 0x00, 0xA1, 0x01, 0xC0},
         {{0x0001, 0x0000}}},
        {"long items are skipped",
         {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0xC0},
         {{0x0001, 0x0006}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto d = parse(c.bytes);
        ASSERT_TRUE(d);
        EXPECT_EQ(d->collections(), c.collections);
    }
}

TEST(HidReportDescriptor, MalformedDescriptorsAreRefused)
{
    std::vector<uint8_t> tooDeep;
    for (int i = 0; i < 33; ++i)
        tooDeep.insert(tooDeep.end(), {0xA1, 0x00});
    for (int i = 0; i < 33; ++i)
        tooDeep.push_back(0xC0);
    std::vector<uint8_t> tooLong(ReportDescriptor::kMaxSize + 1, 0x00);
    std::vector<uint8_t> tooManyPushes(17, 0xA4);

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"item data cut off", {0x05, 0x01, 0x06, 0x1C}},
        {"long item cut off", {0xFE, 0x05, 0x10, 0x01}},
        {"long item header cut off", {0xFE, 0x05}},
        {"end without collection", {0xC0}},
        {"collection never ended", {0x09, 0x01, 0xA1, 0x01}},
        {"report id 0", {0x85, 0x00}},
        {"report id above 255", {0x86, 0x00, 0x01}},
        {"pop without push", {0xB4}},
        {"too many pushes", tooManyPushes},
        {"nested too deep", tooDeep},
        {"longer than the kernel allows", tooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(parse(c.bytes));
    }
    EXPECT_FALSE(ReportDescriptor::parse(nullptr, 4));
}

}  // namespace
}  // namespace ql::hid::test
