// The names a macro may have.
#include "core/macros/MacroNameRule.h"

#include <gtest/gtest.h>

namespace trevolin::macros {
namespace {

TEST(MacroNameRuleTest, NamesThatCannotBeShownOrLookLikeAnIdAreRefused)
{
    struct Case {
        std::u16string name;
        std::string problem;  // a part of the reason; empty when accepted
    };
    const Case cases[] = {
        {u"Copy line", ""},
        {u"F5 twice", ""},
        {u"007 agent", ""},
        {u" padded ", ""},
        {u"Ä", ""},
        {u"", "1 to 249"},
        {std::u16string(250, u'n'), "1 to 249"},
        {std::u16string(249, u'n'), ""},
        {u"   ", "only blanks"},
        {u"\u00A0\u3000", "only blanks"},
        {u"two\nlines", "line break"},
        {u"carriage\rreturn", "line break"},
        {u"tab\there", "tab"},
        {u"separator\u2028here", "line break"},
        {u"bell\a", "control character"},
        {u"12", "bare number"},
        {u"0", "bare number"},
    };
    for (const Case& c : cases) {
        const std::string problem = MacroNameProblem(c.name);
        if (c.problem.empty())
            EXPECT_EQ(problem, "") << c.name.size();
        else
            EXPECT_NE(problem.find(c.problem), std::string::npos) << problem;
    }
}

}  // namespace
}  // namespace trevolin::macros
