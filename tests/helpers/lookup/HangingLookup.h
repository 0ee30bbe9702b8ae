#pragma once

#include <string>

/** A library of the tests' own that stands in front of the C library's name
    look-up, linked into the test programs and preloaded into the editor when
    a test starts it: a look-up of any name under "hang.test" hangs for
    twenty seconds, as one does when the name server does not answer, and
    then fails; every other name is looked up as usual.

    When the environment variable below names a file, each hanging look-up
    adds a line to it as it begins, so that a test can act once one runs,
    in this process or in another. */
namespace hanging_lookup
{
    /** A host whose look-up hangs. */
    inline const char* const host = "firmware.hang.test";

    /** The environment variable naming the file of begun look-ups. */
    inline const char* const markFileVariable = "VTR_TEST_HANGING_LOOKUPS";

    /** The number of lines in that file. */
    int countBegun (const std::string& markFile);

    /** For its lifetime, this process's environment names a fresh file of
        begun look-ups. */
    struct ScopedMarks
    {
        ScopedMarks();
        ~ScopedMarks();

        int countBegun() const   { return hanging_lookup::countBegun (file); }

        const std::string file;
    };
}
