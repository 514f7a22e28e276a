// For the targets that read the player's files: the files' own one-line
// reports on standard error would drown the fuzzer's, so they go nowhere.
#include <iostream>
#include <sstream>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static std::ostringstream quiet;
    std::cerr.rdbuf(quiet.rdbuf());
    return 0;
}
