#include <gtest/gtest.h>

#include <zuvo_core/zuvo_core.h>

namespace
{
    /** Frees a joined string exactly when strcat_0 allocated it. */
    struct Joined
    {
        Joined (const char* firstString, const char* result) : first (firstString), text (result) {}
        ~Joined()
        {
            if (text != first)
                std::free (const_cast<char*> (text));
        }

        const char* first;
        const char* text;
    };

    TEST (Strcat, NothingToAddGivesBackTheFirstStringItself)
    {
        const char* first = "abc";

        EXPECT_EQ (strcat_0 (first, nullptr), first);
        EXPECT_EQ (strcat_0 (first, "", "", nullptr), first);

        const char* empty = "";
        EXPECT_EQ (strcat_0 (empty, "", nullptr), empty);
    }

    TEST (Strcat, JoinsIntoANewBuffer)
    {
        struct JoinCase { const char* first; std::vector<const char*> further; const char* joined; };
        const JoinCase cases[] {
            { "a", { "b", "c" }, "abc" },
            { "", { "x" }, "x" },
            { " G(6)", { "  ", "Rewind" }, " G(6)  Rewind" },
            { " D(4)", { "  ", "" }, " D(4)  " },
            { "a", { "", "b", "" }, "ab" }
        };

        for (const auto& c : cases)
        {
            SCOPED_TRACE (c.joined);
            const auto& f = c.further;
            const char* result = f.size() == 1 ? strcat_0 (c.first, f[0], nullptr)
                               : f.size() == 2 ? strcat_0 (c.first, f[0], f[1], nullptr)
                                               : strcat_0 (c.first, f[0], f[1], f[2], nullptr);
            const Joined joined (c.first, result);

            EXPECT_NE (joined.text, c.first);
            EXPECT_STREQ (joined.text, c.joined);
        }
    }
}
