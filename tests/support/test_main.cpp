#include <windows.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// GoogleTest's main, plus --require-acp=N: a run meant for a given ANSI code page (a
// Japanese system, say) fails outright instead of passing on the wrong one.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--require-acp=", 14) == 0) {
            unsigned wanted = static_cast<unsigned>(std::atoi(argv[i] + 14));
            if (GetACP() != wanted) {
                std::fprintf(stderr, "this run needs ANSI code page %u, the system has %u\n",
                             wanted, GetACP());
                return 1;
            }
        }
    }
    return RUN_ALL_TESTS();
}
