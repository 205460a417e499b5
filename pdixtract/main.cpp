#include <unistd.h>

#include <cstdio>

#include "commands.h"
#include "errors.h"

int main(int argc, char** argv) {
    pdix::Console con;
    con.live = ::isatty(STDOUT_FILENO) == 1;
    pdix::Options opts;
    try {
        opts = pdix::parse_args(argc, argv);
    } catch (const pdix::Error& e) {
        std::fprintf(stderr, "pdixtract: %s\n", e.what());
        return static_cast<int>(e.code());
    }
    return pdix::run(opts, con);
}
