#include <gtest/gtest.h>

#include <set>
#include <string>

#include "client/replay/StateFields.h"

namespace tessaly {
namespace {

// The build checks that each list names as many fields as its record has;
// a name listed twice could still hide a missing one, so each list must
// visit distinct fields, each inside the record.
template <class Record, class ForEach>
void expectDistinctFields(ForEach forEach)
{
    Record record{};
    std::set<std::string> names;
    std::set<const void*> places;
    const auto* begin = reinterpret_cast<const char*>(&record);
    forEach(record, [&](const char* name, const auto& field) {
        EXPECT_TRUE(names.insert(name).second) << name << " is listed twice";
        EXPECT_TRUE(places.insert(&field).second) << name;
        const auto* at = reinterpret_cast<const char*>(&field);
        EXPECT_TRUE(at >= begin && at + sizeof field <= begin + sizeof record) << name;
    });
    EXPECT_EQ(names.size(), state_fields::dataMemberCount<Record>());
}

TEST(StateFields, EveryFieldOnce)
{
    expectDistinctFields<TableState>([](auto& r, auto&& visit) { forEachTableField(r, visit); });
    expectDistinctFields<SessionValues>([](auto& r, auto&& visit) { forEachSessionField(r, visit); });
}

} // namespace
} // namespace tessaly
